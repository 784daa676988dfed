// The keyword expansion as a table: each row a macro text, the QSO state it
// meets and what goes on the air, with the flags and values it leaves behind.
#include "terminal/macros/MacroExpand.h"

#include "core/SharedRoutines.h"
#include "platform/os/Clock.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using terminal::macros::Expansion;
using terminal::macros::QsoState;

class MacroExpand : public ::testing::Test {
  protected:
    void SetUp() override { sysclock::setUtcForTest(QDateTime(QDate(2026, 3, 1), QTime(0, 5, 7), Qt::UTC)); }
    void TearDown() override { sysclock::resetForTest(); }

    static QsoState baseState() {
        QsoState s;
        s.UserCall = QStringLiteral("JA1ZVK");
        s.HisCall = QStringLiteral("JH3ABC");
        s.HisName = QStringLiteral("Taro");
        s.QthText = QStringLiteral("Osaka");
        s.HisRst = QStringLiteral("599");
        s.SerialNo = QStringLiteral("012");
        s.DefaultCwId = QStringLiteral(" DE JA1ZVK ");
        s.CwIdList = {QStringLiteral("ID1"), QStringLiteral("ID2"), QStringLiteral("ID3"),
                      QStringLiteral("ID4"), QStringLiteral("ID5")};
        s.TimeStampText = QStringLiteral("<< 2026/03/01 9:05:07/JST >>");
        s.GreetingText = QStringLiteral("GE");
        s.pcClock = sysclock::jstNow(); // 09:05:07 JST
        return s;
    }
};

TEST_F(MacroExpand, KeywordsTable) {
    struct Row {
        const char* what;
        QString raw;
        std::function<void(QsoState&)> state;
        QString sent;
        std::function<void(const Expansion&)> check;
    };
    const auto none = [](QsoState&) {};
    const auto nothing = [](const Expansion&) {};
    const Row rows[] = {
        {"own call, lower case stays", "CQ DE 'MYCALL' 'mycall'", none, "CQ DE JA1ZVK 'mycall'", nothing},
        {"QSO boxes", "'HISCALL' DE 'MYCALL' UR 'HISRST' NR 'NUMB'", none, "JH3ABC DE JA1ZVK UR 599 NR 012",
         nothing},
        {"name with San, Japanese input", "'HISNAME'",
         [](QsoState& s) { s.SanChecked = true, s.ImeState = 2; }, "Taroさん ", nothing},
        {"name with San", "'HISNAME'", [](QsoState& s) { s.SanChecked = true; }, "Taro San ", nothing},
        {"bare name", "'HISNAME'!", none, "Taro!", nothing},
        {"no name", "Hi 'HISNAME'!", [](QsoState& s) { s.HisName.clear(); }, "Hi  Dear Friend !", nothing},
        {"no name in a contest", "Hi 'HISNAME'!", [](QsoState& s) { s.HisName.clear(), s.ContestMode = 1; },
         "Hi !", nothing},
        {"QTH", "QTH 'HISQTH'", none, "QTH Osaka", nothing},
        {"empty QTH drops the phrase", "OP Taro FROM 'HISQTH' hw?", [](QsoState& s) { s.QthText.clear(); },
         "OP Taro  hw?", nothing},
        {"empty QTH, two spaces", "OP From  'HISQTH' hw?", [](QsoState& s) { s.QthText.clear(); },
         "OP From   hw?", nothing},
        {"round QSO is not expanded again", "'CP' de 'MYCALL'",
         [](QsoState& s) { s.RoundQsoText = QStringLiteral("JA2A 'MYCALL'"); }, "JA2A 'MYCALL' de JA1ZVK",
         nothing},
        {"a later step expands an inserted value", "'HISNAME'",
         [](QsoState& s) { s.HisName = QStringLiteral("'NOW'"); }, "0905", nothing},
        {"TXON and TXOFF frame the text", "'TXON'CQ CQ'TXOFF'", none, "\r\nCQ CQ\r\n",
         [](const Expansion& e) {
             EXPECT_EQ(e.MacroTxOn, 1);
             EXPECT_EQ(e.MacroTxOff, 1);
             EXPECT_EQ(e.MacroTxOffPending, 0);
         }},
        {"no second line break", "\r\n'TXON'CQ\r\n'TXOFF'", none, "\r\nCQ\r\n", nothing},
        {"TXOFF in the middle", "CQ 'TXOFF'DE 'MYCALL'", none, "CQ DE JA1ZVK\r\n",
         [](const Expansion& e) { EXPECT_EQ(e.MacroTxOffPending, 1); }},
        {"TXON from the name box sets no flag", "'HISNAME'",
         [](QsoState& s) { s.HisName = QStringLiteral("'TXON'"); }, "\r\n",
         [](const Expansion& e) { EXPECT_EQ(e.MacroTxOn, 0); }},
        {"CW ID default", "73 'CWID'", none, "73 ",
         [](const Expansion& e) {
             EXPECT_EQ(e.MacroCwId, 1);
             EXPECT_EQ(e.CwIdText, QStringLiteral("DE JA1ZVK"));
         }},
        {"lowest numbered CW ID wins", "'CWID3' x 'CWID1'", none, "'CWID3' x ",
         [](const Expansion& e) { EXPECT_EQ(e.CwIdText, QStringLiteral("ID1")); }},
        {"no CW ID without an own call", "73 'CWID'",
         [](QsoState& s) { s.DefaultCwId = QStringLiteral("Pse Your Call Setting!"); }, "73 ",
         [](const Expansion& e) {
             EXPECT_EQ(e.MacroCwId, 0);
             EXPECT_EQ(e.cwIdRefused, core::CwIdRefusedText());
             EXPECT_EQ(e.MacroTxOff, 1) << "the over ends all the same";
         }},
        {"an empty CW ID entry is named, not the own call", "'TXON' TEST 'CWID3'",
         [](QsoState& s) { s.CwIdList[2] = QStringLiteral("  "); }, "\r\n TEST ",
         [](const Expansion& e) {
             EXPECT_EQ(e.MacroCwId, 0);
             EXPECT_EQ(e.cwIdRefused, QStringLiteral("CW ID List の CWID3 が空のため、CW IDは送信しません"));
             EXPECT_EQ(e.MacroTxOff, 1);
         }},
        {"time stamp", "'TIME'", none, "<< 2026/03/01 9:05:07/JST >>", nothing},
        {"now in JST", "'NOW'", none, "0905", nothing},
        {"now in UTC", "'NOW'", [](QsoState& s) { s.TimeZoneOffsetH = -9; }, "0005", nothing},
        {"greeting", "Good 'GREET'", none, "Good GE", nothing},
        {"log time after nine", "'LOGTIME'ok", none, "ok",
         [](const Expansion& e) {
             EXPECT_TRUE(e.logTime);
             EXPECT_EQ(e.logTimeBox, QStringLiteral("00:05U"));
             EXPECT_EQ(e.logDateBox, QStringLiteral("2026-03-01"));
         }},
        {"log time before nine is yesterday in UTC", "'LOGTIME'",
         [](QsoState& s) { s.pcClock = QDateTime(QDate(2026, 3, 1), QTime(8, 59)); }, "",
         [](const Expansion& e) {
             EXPECT_EQ(e.logTimeBox, QStringLiteral("23:59U"));
             EXPECT_EQ(e.logDateBox, QStringLiteral("2026-02-28"));
         }},
        {"rig call", "'RIGCALL'QRV", none, "QRV", [](const Expansion& e) { EXPECT_TRUE(e.rigCall); }},
        {"varitype outside the multi-mode modem", "'VARITYPE'", none, "VariSTD/JA", nothing},
        {"varitype in the multi-mode modem", "'VARITYPE'",
         [](QsoState& s) { s.OpMode = 99, s.VariType = QStringLiteral("VariJA"); }, "VariJA",
         [](const Expansion& e) { EXPECT_FALSE(e.MacroRxPskMode); }},
        {"PSK keywords sent as typed in RTTY", "'TXBPSK'", [](QsoState& s) { s.OpMode = 3; }, "'TXBPSK'",
         [](const Expansion& e) { EXPECT_FALSE(e.OpMode); }},
        {"transmit BPSK, receive QPSK(LSB)", "'TXBPSK'CQ'RXQPSKL'", [](QsoState& s) { s.OpMode = 1; }, "CQ",
         [](const Expansion& e) {
             EXPECT_EQ(e.OpMode, 0);
             EXPECT_EQ(e.RepeatPskMode, 0);
             EXPECT_EQ(e.MacroRxPskMode, 2);
             EXPECT_EQ(e.shownPskMode, 2);
         }},
        {"last transmit keyword wins, first receive", "'TXQPSKL''TXQPSKU''RXQPSKU''RXBPSK'", none,
         "'RXQPSKU'",
         [](const Expansion& e) {
             EXPECT_EQ(e.OpMode, 2);
             EXPECT_EQ(e.MacroRxPskMode, 0);
         }},
        {"a repeat keeps the mode it was sent in", "CQ 'RPT 30'", [](QsoState& s) { s.OpMode = 1; }, "CQ ",
         [](const Expansion& e) {
             EXPECT_FALSE(e.OpMode);
             EXPECT_EQ(e.RepeatPskMode, 1);
             EXPECT_EQ(e.MacroRxPskMode, 1);
             EXPECT_FALSE(e.shownPskMode);
         }},
    };
    for (const Row& r : rows) {
        QsoState s = baseState();
        r.state(s);
        const Expansion e = terminal::macros::expandMacro(r.raw, s);
        EXPECT_EQ(e.MacroText, r.sent) << r.what;
        SCOPED_TRACE(r.what);
        r.check(e);
    }
}

TEST_F(MacroExpand, RepeatCounts) {
    struct Row {
        const char* raw;
        bool present, valid;
        int seconds;
        const char* sent;
    } rows[] = {
        {"CQ 'RPT 30'", true, true, 30, "CQ "},
        {"CQ 'RPT30' 'TXOFF'", true, true, 30, "CQ  \r\n"},
        {"'RPT 120'CQ", true, true, 65, "CQ"},
        {"'RPT 65'", true, true, 65, ""},
        {"'RPT 99999999999'", true, true, 65, ""},
        {"'RPT0'CQ", true, false, 0, "CQ"},
        {"'RPT'CQ", true, false, 0, "CQ"},
        {"'RPT x'CQ", true, false, 0, "CQ"},
        {"'RPT -5'CQ", true, false, 0, "CQ"},
        {"CQ 'RPT 30", true, false, 0, "CQ 'RPT 30"},
        {"CQ", false, false, 0, "CQ"},
        {"'RPT 10' 'RPT 20'", true, true, 10, " 'RPT 20'"},
    };
    for (const Row& r : rows) {
        const Expansion e = terminal::macros::expandMacro(QString::fromUtf8(r.raw), baseState());
        EXPECT_EQ(e.repeat.present, r.present) << r.raw;
        EXPECT_EQ(e.repeat.valid, r.valid) << r.raw;
        if (r.valid) {
            EXPECT_EQ(e.repeat.seconds, r.seconds) << r.raw;
        }
        EXPECT_EQ(e.MacroText, QString::fromUtf8(r.sent)) << r.raw;
    }
}

} // namespace
