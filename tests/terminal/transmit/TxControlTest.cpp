// The transmit button, F12 and the abort item with each engine: the calls the
// PSK library records, the commands the RTTY program takes and the members of
// the multi-mode control that are set.
#include "terminal/transmit/TxFixture.h"

#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/transmit/TxControl.h"
#include "terminal/transmit/TxDispatch.h"
#include <QClipboard>
#include <QGuiApplication>

namespace {

using mmtty::Pair;
using zvtest::charPairs;

class TxControl : public zvtest::TxTest {};

TEST_F(TxControl, PskStartAndEndByTheButtonAndF12) {
    struct Case {
        const char* name;
        int opMode;
        int satellite;
        QString txPpm;
        int macroTxOffPending;
        int transmitting;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"BPSK start", core::ModeBpsk, 0, "0", 0, 0, {"fnStartTX(0)"}},
        {"QPSK(LSB) start with its own transmit clock",
         core::ModeQpskLsb,
         0,
         "-12",
         0,
         0,
         {"fnSetClockErrorAdjustment(-12)", "fnStartTX(2)"}},
        {"satellite start keeps the clock", core::ModeQpskUsb, 1, "-12", 0, 0, {"fnStartTX(129)"}},
        {"after a macro with TXOFF only", core::ModeBpsk, 0, "0", 1, 0, {"fnStartTX(0)", "fnStopTX()"}},
        {"end after the buffer", core::ModeBpsk, 0, "0", 0, 1, {"fnSendTXString(\"\r\n\")", "fnStopTX()"}},
    };
    for (const Case& c : cases) {
        for (bool byKey : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (byKey ? " (F12)" : " (button)"));
            core::g.OpMode = c.opMode;
            core::g.SatelliteMode = c.satellite;
            core::g.ClockAdjRxPpm = QStringLiteral("0");
            core::g.ClockAdjTxPpm = c.txPpm;
            core::g.MacroTxOffPending = c.macroTxOffPending;
            if (c.transmitting) transmitByF12();
            terminal::transmit::g.TxCharCount = 5;
            w->ScanStopRequest = 0;
            w->Timer5->start();
            w->RichTextBox4->hide();
            pskcore::lib().clearCalls();
            if (byKey)
                QTest::keyClick(w->Text5, Qt::Key_F12);
            else
                QTest::mouseClick(w->Command1, Qt::LeftButton);
            EXPECT_EQ(calls(), c.expected);
            EXPECT_FALSE(w->Timer5->isActive()) << "a scan ends";
            EXPECT_EQ(w->ScanStopRequest, 1);
            EXPECT_EQ(w->RichTextBox4->isVisibleTo(w), c.satellite == 1 && c.transmitting == 0);
            EXPECT_EQ(terminal::transmit::g.TxCharCount, c.transmitting == 1 ? 0 : 5);
            if (c.transmitting) {
                EXPECT_TRUE(zvtest::waitUntil([] { return core::g.Transmitting == 0; }));
            }
        }
    }
}

TEST_F(TxControl, InhibitedTransmitOnlyFocusesTheBox) {
    QTest::mouseClick(w->StatusBar1->panel(4), Qt::LeftButton); // "送信禁止"
    ASSERT_EQ(w->TxInhibited, 1);
    pskcore::lib().clearCalls();
    for (int mode : {core::ModeBpsk, core::ModeQpskUsb}) {
        core::g.OpMode = mode;
        QTest::keyClick(w->Text5, Qt::Key_F12);
        EXPECT_EQ(w->focusWidget(), w->Text1);
    }
    useMmvari();
    QTest::keyClick(w->Text5, Qt::Key_F12);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(w->MMVARI->calls().isEmpty());
    EXPECT_EQ(core::g.MmvariTxOn, 0);
    EXPECT_FALSE(w->Text3->isVisibleTo(w)) << "the status bar says it already";
}

TEST_F(TxControl, RttyStartPostsTheBoxTextWithItsReplacements) {
    runRttyProgram();
    struct Case {
        const char* name;
        QString box;
        int macroTxOff;
        QList<Pair> afterCrLf;
    };
    const QList<Pair> crLfHead = {{mmtty::CmdTx, mmtty::TxOn}, {mmtty::CmdChar, 13}, {mmtty::CmdChar, 10}};
    const QList<Case> cases = {
        {"empty box", {}, 0, {}},
        {"empty box after a macro with TXOFF", {}, 1, {{mmtty::CmdTx, mmtty::TxOffAfterQueue}}},
        {"replaced characters", "a#b[c]", 0, charPairs("a b(c)")},
        {"every replacement", "%*+\\~|{<}>`=_", 0, charPairs("      (())'--")},
        {"a line break goes as CR LF", "ab\ncd", 0, charPairs("ab\r\ncd")},
        {"a double-byte character as its signed code", "あ", 0, {{mmtty::CmdChar, std::int16_t(0x82A0)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        link->clearPosted();
        w->Text1->setText(c.box);
        core::g.MacroTxOff = c.macroTxOff;
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        EXPECT_EQ(posted(), crLfHead + c.afterCrLf);
        EXPECT_EQ(w->Text1->text(), c.box) << "the box keeps its text";
        EXPECT_EQ(w->Text1->selStart(), w->Text1->length());
        // Unheard, the start stays the program's to report: Esc ends it, so
        // that the next click is a start again and not its stop.
        QTest::keyClick(w->Text1, Qt::Key_Escape);
    }
    EXPECT_TRUE(calls().isEmpty()) << "nothing goes to the PSK library";
}

TEST(RttyStart, WhatTheProgramDoesNotHaveYet) {
    struct Case {
        const char* box;
        const char* typed;
        const char* rest;
    } cases[] = {
        {"", "", ""},         {"abc", "abc", ""},
        {"abc", "", "abc"},   {"ab XYZ c", "abc", " XYZ "}, // pasted in the middle of typing
        {"XYab", "ab", "XY"}, {"aab", "ab", "a"},
        {"a\nb", "a\nb", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        EXPECT_EQ(terminal::transmit::notYetHanded(QString::fromUtf8(c.box), QString::fromUtf8(c.typed)),
                  QString::fromUtf8(c.rest));
    }
}

// Text typed while receiving went to the program key by key, characters it
// cannot send in their substitutes: the start takes it back and hands the box
// over after its CR LF, so that nothing goes on air twice or out of its place.
TEST_F(TxControl, RttyTypedAheadGoesOnAirOnce) {
    runRttyProgram();
    w->Text1->setFocus();
    QTest::keyClicks(w->Text1, QStringLiteral("cq"));
    QGuiApplication::clipboard()->setText(QStringLiteral(" de"));
    QTest::keyClick(w->Text1, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(w->Text1, QStringLiteral(" k#b[c]"));
    ASSERT_EQ(w->Text1->text(), QStringLiteral("cq de k#b[c]"));
    // A new line typed in the receive pane goes to the program, not into the box.
    QTest::keyClick(w->RichTextBox1, Qt::Key_Return);
    ASSERT_EQ(w->Text1->text(), QStringLiteral("cq de k#b[c]"));
    // Typed and pasted text went to the program at once, in the order typed.
    EXPECT_EQ(posted(), charPairs("cq de k b(c)\r\n"));
    link->clearPosted();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdTx, mmtty::TxClear},
                                     {mmtty::CmdTx, mmtty::TxOn},
                                     {mmtty::CmdChar, 13},
                                     {mmtty::CmdChar, 10}}) +
                            charPairs("cq de k b(c)\r\n"))
        << "the box once, after the start's new line, then what the receive pane took";
}

TEST_F(TxControl, RttyEndAndAbort) {
    runRttyProgram(core::ModeCw, true);
    QTest::keyClick(w->Text1, Qt::Key_F12);
    ASSERT_TRUE(zvtest::waitUntil([] { return core::g.MmttyTxOn == 1; })) << "no transmit-start notice";
    QTest::keyClicks(w->Text1, QStringLiteral("tu 73"));
    link->clearPosted();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    EXPECT_EQ(
        posted(),
        (QList<Pair>{{mmtty::CmdChar, 13}, {mmtty::CmdChar, 10}, {mmtty::CmdTx, mmtty::TxOffAfterQueue}}));
    EXPECT_TRUE(w->Text1->text().isEmpty());
    ASSERT_TRUE(zvtest::waitUntil([] { return core::g.MmttyTxOn == 0; })) << "the program goes on sending";

    // A repeating macro on the air, stopped by the abort item.
    zvtest::sendMacro(*w, 0, QStringLiteral("'TXON'cq cq cq de ja1zvk ja1zvk ja1zvk k'RPT 30''TXOFF'"));
    ASSERT_TRUE(zvtest::waitUntil([] { return core::g.MmttyTxOn == 1; }));
    ASSERT_EQ(core::g.RepeatTxOn, 1);
    ASSERT_EQ(core::g.MacroTxOff, 1);
    ASSERT_TRUE(w->Text3->isVisibleTo(w));
    link->clearPosted();
    ASSERT_TRUE(zvtest::chooseMenuItem(w->TXBC));
    EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdTx, mmtty::TxOffNow}, {mmtty::CmdTx, mmtty::TxClear}}));
    EXPECT_TRUE(w->Text1->text().isEmpty());
    EXPECT_EQ(core::g.RepeatTxOn, 0);
    EXPECT_EQ(core::g.MacroTxOff, 0);
    EXPECT_FALSE(w->Text3->isVisibleTo(w));
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_FALSE(w->Command3->isEnabled()) << "no CW ID with the RTTY program";
    EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
    EXPECT_TRUE(zvtest::waitUntil([] { return core::g.MmttyTxOn == 0; }));
}

TEST_F(TxControl, RttyProgramGoneGivesAMessageAndStopsTheSequence) {
    core::g.OpMode = core::ModeRtty;
    w->Text1->setText(QStringLiteral("cq"));
    terminal::transmit::StartTx();
    EXPECT_TRUE(w->Text3->isVisibleTo(w));
    EXPECT_TRUE(w->Text3->text().contains(QStringLiteral("MMTTY")));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("cq"));
    // The start it did not take is owed no report: F12 again tries again, and says so again.
    w->Text3->setText(QString());
    terminal::transmit::StartTx();
    EXPECT_TRUE(w->Text3->text().contains(QStringLiteral("MMTTY")));
}

TEST_F(TxControl, PskAbortClearsAndRestoresTheSquelch) {
    core::g.OpMode = core::ModeBpsk;
    w->Timer2_Timer(); // the engine starts
    // A repeating macro with a CW ID on the air.
    zvtest::sendMacro(*w, 0, QStringLiteral("'TXON'abc 'CWID''RPT 30'"));
    ASSERT_TRUE(zvtest::waitUntil([] { return core::g.Transmitting == 1; }));
    ASSERT_EQ(core::g.RepeatTxOn, 1);
    ASSERT_EQ(core::g.MacroCwId, 1);
    ASSERT_FALSE(w->Text1->text().isEmpty());
    ASSERT_FALSE(w->Command3->isEnabled());
    ASSERT_NE(colour::backColor(w->Command1), colour::kButtonFace);
    pskcore::lib().clearCalls();
    QTest::keyClick(w->Text1, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(calls(),
              (QStringList{"fnAbortTX()", "fnSetSquelchThreshold(300, 20, 0)",
                           "fnSetSquelchThreshold(300, 20, 1)", "fnSetSquelchThreshold(300, 20, 2)"}));
    EXPECT_TRUE(w->Text1->text().isEmpty());
    EXPECT_EQ(core::g.MacroCwId, 0);
    EXPECT_EQ(core::g.RepeatTxOn, 0);
    EXPECT_EQ(terminal::transmit::g.TxCharCount, 0);
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_TRUE(w->Command3->isEnabled());
    EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
    EXPECT_TRUE(zvtest::waitUntil([] { return core::g.Transmitting == 0; }));
}

TEST_F(TxControl, MmvariIsKeyedHereAndEndedByTheButtonOrTheAbort) {
    useMmvari();
    QTest::mouseClick(w->Command19[3], Qt::LeftButton); // the panel's switch for reception after the text
    ASSERT_EQ(core::g.MmvariSwitches[3], 1);
    w->MMVARI->clearCalls();
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(setsOf(mmvari::IdTransmit), QVariantList{true});
    EXPECT_EQ(setsOf(mmvari::IdReqRx), QVariantList{true});
    EXPECT_EQ(core::g.MmvariTxOn, 1);
    EXPECT_EQ(colour::backColor(w->Command1), 0x0000FFu);

    w->MMVARI->clearCalls();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    EXPECT_EQ(setsOf(mmvari::IdTuneReset), QVariantList{0});
    EXPECT_EQ(setsOf(mmvari::IdTransmit), QVariantList{false});

    w->MMVARI->clearCalls();
    w->Text1->setText(QStringLiteral("keep"));
    QTest::keyClick(w->Text1, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(setsOf(mmvari::IdTransmit), QVariantList{false}) << "Alt+X ends the control's transmission";
    EXPECT_EQ(w->Text1->text(), QStringLiteral("keep"));
    w->MMVARI->clearCalls();
    ASSERT_TRUE(zvtest::chooseMenuItem(w->TXBC));
    EXPECT_EQ(setsOf(mmvari::IdTransmit), QVariantList{false}) << "so does the abort item";
    EXPECT_TRUE(w->Text1->text().isEmpty());
    EXPECT_TRUE(calls().isEmpty()) << "the stopped PSK library is left alone";
}

TEST_F(TxControl, MmvariStartWithoutReqRxLeavesItOff) {
    useMmvari();
    terminal::transmit::StartTx();
    EXPECT_EQ(setsOf(mmvari::IdTransmit), QVariantList{true});
    EXPECT_TRUE(setsOf(mmvari::IdReqRx).isEmpty());
}

TEST_F(TxControl, ShortcutsWaitWhileAMacroShortcutIsBeingRegistered) {
    beginShortcutRegistration();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    EXPECT_TRUE(calls().isEmpty());
}

} // namespace

namespace {

class TxKeys : public zvtest::TxTest {};

// Esc in RTTY, from the transmit box or another box: the program gets the
// transmit-off posts at once and no Esc character for its next transmission.
TEST_F(TxKeys, RttyEscPostsTheStopFromEveryBox) {
    runRttyProgram(core::ModeRtty, true);
    for (QWidget* box : std::initializer_list<QWidget*>{w->Text1, w->Text5, w->RichTextBox1}) {
        QTest::keyClick(w->Text1, Qt::Key_F12);
        ASSERT_TRUE(zvtest::waitUntil([] { return core::g.MmttyTxOn == 1; })) << "no transmit-start notice";
        QTest::keyClicks(w->Text1, QStringLiteral("RYRY"));
        link->clearPosted();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdTx, mmtty::TxOffNow}, {mmtty::CmdTx, mmtty::TxClear}}));
        EXPECT_TRUE(w->Text1->text().isEmpty());
        EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
        ASSERT_TRUE(zvtest::waitUntil([] { return core::g.MmttyTxOn == 0; }))
            << "the program goes on sending";
    }
}

// A macro's text handed to the RTTY program goes once, after F12's new line.
TEST_F(TxKeys, RttyMacroThenF12SendsTheMacroOnce) {
    runRttyProgram();
    zvtest::sendMacro(*w, 0, QStringLiteral("CQ DE JA1ZVK\r\n"));
    ASSERT_EQ(core::g.MacroText, QStringLiteral("CQ DE JA1ZVK\r\n"));
    link->clearPosted();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdTx, mmtty::TxClear},
                                     {mmtty::CmdTx, mmtty::TxOn},
                                     {mmtty::CmdChar, 13},
                                     {mmtty::CmdChar, 10}}) +
                            charPairs("CQ DE JA1ZVK\r\n"));
}

// Alt with a letter or digit no shortcut has types nothing into any box, in
// any mode; Ctrl+C still copies from the box that has the focus.
TEST_F(TxKeys, UnusedAltKeysTypeNothingAndCtrlCCopies) {
    w->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    for (int mode : {core::ModeBpsk, core::ModeRtty, core::ModeMmvari}) {
        core::g.OpMode = mode;
        for (QWidget* box : std::initializer_list<QWidget*>{w->Text1, w->Text5, w->Text6}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_B, Qt::AltModifier);
            QTest::keyClick(box, Qt::Key_J, Qt::AltModifier);
            QTest::keyClick(box, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
            QTest::keyClick(box, Qt::Key_1, Qt::AltModifier);
            EXPECT_TRUE(w->Text1->text().isEmpty());
            EXPECT_TRUE(w->Text5->text().isEmpty());
            EXPECT_TRUE(w->Text6->text().isEmpty());
        }
    }
    core::g.OpMode = core::ModeBpsk;
    w->Text1->setText(QStringLiteral("abc def"));
    w->Text1->setFocus();
    QTest::keyClick(w->Text1, Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(w->Text1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc def"));
}

} // namespace
