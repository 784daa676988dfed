// The pending transmission handed to the engine of each mode.
#include "terminal/engines/PskFixture.h"

#include "core/engines/MmttyCommand.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Paths.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/transmit/TxDispatch.h"

namespace {

using core::g;

class TxSend : public psktest::PskWindowTest {};

struct Pending {
    int txOn, txOff, cwId, satellite;
    QString rxClock, txClock, pttControl;
};

void leave(const Pending& p, const QString& text) {
    g.MacroText = text;
    g.MacroTxOn = p.txOn;
    g.MacroTxOff = p.txOff;
    g.MacroCwId = p.cwId;
    g.MacroRxPskMode = core::ModeQpskUsb;
    g.SatelliteMode = p.satellite;
    g.ClockAdjRxPpm = p.rxClock;
    g.ClockAdjTxPpm = p.txClock;
    g.PttPortControl = p.pttControl;
    g.CwIdText = "DE QQ9ABC";
    g.CwIdSpeed = "3";
}

TEST_F(TxSend, PskCallsPerPendingTransmission) {
    const QStringList stopAndReceive = {"fnStopTX()", "fnSetRXPSKMode(1, 0)"};
    const QStringList cwId = {"fnSetCWIDSpeed(3)", "fnSetCWIDString(\" DE QQ9ABC\")",
                              "fnSendTXCharacter(2, 1)"};
    struct Case {
        const char* name;
        Pending pending;
        QStringList calls;
        bool satellitePaneShown;
    } cases[] = {
        {"queue only", {0, 0, 0, 0, "5", "-3", "1"}, {"fnSendTXString(\"こんにちは\")"}, false},
        {"start with the transmit clock",
         {1, 0, 0, 0, "5", "-3", "1"},
         {"fnSetClockErrorAdjustment(-3)", "fnStartTX(0)", "fnSendTXString(\"こんにちは\")"},
         false},
        {"equal clocks need no correction",
         {1, 1, 0, 0, "5", "5", "1"},
         QStringList{"fnStartTX(0)", "fnSendTXString(\"こんにちは\")"} + stopAndReceive,
         false},
        {"satellite keeps the clock",
         {1, 0, 0, 1, "5", "-3", "1"},
         {"fnStartTX(128)", "fnSendTXString(\"こんにちは\")"},
         true},
        {"CW identification and the end both return to receive",
         {0, 1, 1, 0, "5", "5", "1"},
         QStringList{"fnSendTXString(\"こんにちは\")"} + stopAndReceive + cwId + stopAndReceive,
         false},
    };
    PSK31MAIN& w = loadIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pskcore::lib().clearCalls();
        w.RichTextBox4->setText("old");
        w.RichTextBox4->setVisible(!c.satellitePaneShown);
        g.OpMode = core::ModeBpsk;
        leave(c.pending, "こんにちは");
        terminal::transmit::TxSend();
        EXPECT_EQ(calls(), c.calls);
        if (c.pending.txOn == 1) {
            EXPECT_EQ(!w.RichTextBox4->isHidden(), c.satellitePaneShown);
            EXPECT_EQ(w.RichTextBox4->text().isEmpty(), c.satellitePaneShown);
        }
        EXPECT_EQ(g.OpMode, c.pending.txOff || c.pending.cwId ? core::ModeQpskUsb : core::ModeBpsk);
    }
}

TEST_F(TxSend, CwIdentificationWithPttByCatEndsInABlank) {
    loadIdle();
    leave({0, 0, 1, 0, "0", "0", "0"}, "");
    terminal::transmit::TxSend();
    EXPECT_TRUE(calls().contains("fnSetCWIDString(\" DE QQ9ABC \")"));
}

TEST_F(TxSend, MultiModeStartsTransmittingOnceAndQueuesEveryText) {
    PSK31MAIN& w = loadIdle();
    g.OpMode = core::ModeMmvari;
    w.MMVARI->clearCalls();
    leave({1, 0, 0, 0, "0", "0", "1"}, "first");
    terminal::transmit::TxSend();
    leave({1, 0, 0, 0, "0", "0", "1"}, "second");
    terminal::transmit::TxSend();
    EXPECT_EQ(g.MmvariTxOn, 1);
    EXPECT_EQ(colour::backColor(w.Command1), 0x0000FFu);
    const QList<dispatch::Call> transmit = w.MMVARI->callsOf(dispatch::Call::Set, mmvari::IdTransmit);
    ASSERT_EQ(transmit.size(), 1);
    EXPECT_EQ(transmit.first().args, QVariantList{true});
    const QList<dispatch::Call> sent = w.MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodSend);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].args, QVariantList{"first"});
    EXPECT_EQ(sent[1].args, QVariantList{"second"});
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(TxSend, SstvSendsNothing) {
    PSK31MAIN& w = loadIdle();
    g.OpMode = core::ModeSstv;
    w.MMVARI->clearCalls();
    leave({1, 1, 1, 0, "0", "0", "0"}, "text");
    terminal::transmit::TxSend();
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(w.MMVARI->calls().isEmpty());
}

class TxSendRtty : public psktest::PskWindowTest {
  protected:
    void SetUp() override {
        PskWindowTest::SetUp();
        loadIdle();
        mmtty::MmttyLink& link = core::MmttyProgram();
        QObject::connect(&link, &mmtty::MmttyLink::notice, &link, [this](std::int32_t c, std::int32_t v) {
            got.append({c, v});
        });
        ASSERT_GT(link.start(paths::join(paths::executableFolder(), "MMTTY.EXE"),
                             terminal::engines::MainWindowHandle),
                  0);
        ASSERT_TRUE(zvtest::waitUntil([&] { return link.programWindow() != 0; }));
        g.OpMode = core::ModeRtty;
    }
    void TearDown() override {
        core::MmttyProgram().close();
        QObject::disconnect(&core::MmttyProgram(), nullptr, nullptr, nullptr);
        PskWindowTest::TearDown();
    }
    // What the program sent back once it returned to receive.
    QList<mmtty::Pair> transmission() {
        auto ended = [&] { return got.contains(mmtty::Pair{mmtty::NtfTxState, 0}); };
        EXPECT_TRUE(zvtest::waitUntil(ended));
        QList<mmtty::Pair> out;
        for (const mmtty::Pair& p : got)
            if (p.code == mmtty::NtfTxState || p.code == mmtty::NtfRxChar) out.append(p);
        return out;
    }
    QList<mmtty::Pair> got;
};

QList<mmtty::Pair> echoOf(const QByteArray& text) {
    QList<mmtty::Pair> out{{mmtty::NtfTxState, 1}};
    for (char c : text)
        out.append({mmtty::NtfRxChar, std::uint8_t(c)});
    out.append({mmtty::NtfTxState, 0});
    return out;
}

TEST_F(TxSendRtty, CharactersTheProgramCannotSendAreReplaced) {
    leave({1, 1, 0, 0, "0", "0", "1"}, "A=B_C<1> #%*+[]{}\\~`|");
    terminal::transmit::TxSend();
    EXPECT_EQ(g.MacroText, "A-B-C(1)     ()()  ' ");
    EXPECT_EQ(transmission(), echoOf("A-B-C(1)     ()()  ' "));
}

// The over ends after the text with 'TXOFF', and with 'CWID', which the
// program cannot send but whose over ends all the same.
TEST_F(TxSendRtty, AnOverEndsAfterItsText) {
    struct Case {
        const char* name;
        int txOff, cwId;
        QString text;
    } cases[] = {
        {"an empty text only keys and unkeys", 1, 0, ""},
        {"the CW ID", 0, 1, "CQ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        got.clear();
        leave({1, c.txOff, c.cwId, 0, "0", "0", "1"}, c.text);
        terminal::transmit::TxSend();
        EXPECT_EQ(transmission(), echoOf(c.text.toLatin1()));
    }
}

} // namespace
