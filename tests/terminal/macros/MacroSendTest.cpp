// Sending macros from the main window: a press on a macro button or its ALT
// letter puts the expansion into the transmit box and leaves the pending
// transmission; the repeat is armed, paused and stopped by Esc.
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/os/Clock.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/macros/MacroCwIdCombo.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QTest>
#include <utility>

namespace {

class MacroSend : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        zvtest::ProgramFolderTest::SetUp();
        terminal::macros::g = {};
        terminal::macros::g = {};
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nCWIDSTR=DE JA1ZVK\n"
                                "SQ_LEVEL=300\nSQ_SPEED=20\n"));
        sysclock::setUtcForTest(QDateTime(QDate(2026, 5, 3), QTime(3, 4, 5), Qt::UTC));
        core::g.UserCall = QStringLiteral("JA1ZVK"); // start-up reads it
        w = &forms::PSK31MAIN();
        zvtest::setBoxText(w->Text5, QStringLiteral("JH3ABC"));
        zvtest::setBoxText(w->Text6, QStringLiteral("Taro"));
    }
    void setMacro(int i, const QString& name, const QString& text) {
        terminal::macros::putInStore(forms::MACRO_FORM(), i, {name, 0xC0FFC0, text});
        terminal::macros::rebuildShortcuts(forms::MACRO_FORM());
    }
    int squelchCalls(int response) {
        int n = 0;
        for (const QString& c : pskcore::lib().callTexts())
            n += c.startsWith(QStringLiteral("fnSetSquelchThreshold(300, %1,").arg(response));
        return n;
    }
    PSK31MAIN* w = nullptr;
};

TEST_F(MacroSend, ButtonPressSendsTheExpansion) {
    setMacro(1, QStringLiteral("CQ"),
             QStringLiteral("'TXON'CQ CQ DE 'MYCALL' 'NOW'\r\n'HISCALL' 'HISNAME''TXOFF'"));
    QTest::mousePress(w->Command8[1], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("\r\nCQ CQ DE JA1ZVK 1204\r\nJH3ABC Taro\r\n"));
    EXPECT_EQ(core::g.MacroTxOn, 1);
    EXPECT_EQ(core::g.MacroTxOff, 1);
    EXPECT_EQ(core::g.MacroRxPskMode, core::ModeBpsk);
    EXPECT_TRUE(w->Text1->text().contains(QStringLiteral("CQ CQ DE JA1ZVK 1204")));
    EXPECT_EQ(w->Text1->selStart(), w->Text1->length()) << "caret after the text";
    EXPECT_EQ(core::g.RepeatArmed, 0);
    EXPECT_EQ(squelchCalls(20), 3) << "a plain macro restores the squelch of the three channels";
}

TEST_F(MacroSend, GreetSendsTheGreetingForTheOtherStationsHour) {
    setMacro(2, QStringLiteral("GM"), QStringLiteral("'GREET' 'HISNAME'"));
    // 03:04 UTC; the last entry looked up lies 120 degrees west: 19:04 there.
    logbook::g.Longitude = 120;
    logbook::g.LongitudeSide = QStringLiteral("西経");
    logbook::g.HamlogLink = 1;
    QTest::mousePress(w->Command8[2], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("Good Evening Taro"));
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("19:04"));
    EXPECT_EQ(forms::TEMP_LOG().LT->text(), QStringLiteral("Local Time(Abt)=> 19:04"));

    // Without the library link the last greeting stays.
    logbook::g.HamlogLink = 0;
    logbook::g.Longitude = 135;
    logbook::g.LongitudeSide = QStringLiteral("東経");
    QTest::mousePress(w->Command8[2], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("Good Evening Taro"));
}

TEST_F(MacroSend, PskModeKeywordsAndInhibitedTransmit) {
    core::g.OpMode = core::ModeQpskUsb;
    setMacro(2, QStringLiteral("mode"), QStringLiteral("'TXBPSK'test'RXQPSKL'"));
    QTest::mouseClick(w->Command8[2], Qt::LeftButton);
    EXPECT_EQ(core::g.OpMode, core::ModeBpsk);
    EXPECT_EQ(core::g.MacroRxPskMode, core::ModeQpskLsb);
    EXPECT_EQ(w->StatusBar1->text(2), QStringLiteral("QPSK(LSB)"));
    EXPECT_TRUE(w->PSKMODE[2]->isChecked());
    EXPECT_FALSE(w->PSKMODE[0]->isChecked());
    EXPECT_EQ(terminal::macros::g.RepeatPskMode, core::ModeBpsk);

    core::g.MacroText = QStringLiteral("unchanged");
    w->TxInhibited = 1;
    setMacro(3, QStringLiteral("rpt"), QStringLiteral("CQ 'RPT 30'"));
    QTest::mouseClick(w->Command8[3], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("unchanged"));
    EXPECT_EQ(core::g.RepeatTxOn, 0);
}

TEST_F(MacroSend, VaritypeAsTheMultiModeModemReportsIt) {
    setMacro(4, QStringLiteral("type"), QStringLiteral("'VARITYPE'"));
    QTest::mouseClick(w->Command8[4], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("VariSTD/JA"));
    core::g.OpMode = core::ModeMmvari;
    QVariant type;
    ASSERT_TRUE(w->MMVARI->get(mmvari::PChannelText, 0, type));
    ASSERT_FALSE(type.toString().isEmpty());
    QTest::mouseClick(w->Command8[4], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, type.toString());
}

TEST_F(MacroSend, RigcallReadsTheRig) {
    zvtest::RigSimulator sim(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(sim.isOpen());
    zvtest::freshRigGlobals();
    zvtest::pointRigLinkAt(sim);
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(sim));
    sim.commands.clear();
    setMacro(8, QStringLiteral("rig"), QStringLiteral("'RIGCALL'QRV"));
    QTest::mouseClick(w->Command8[8], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("QRV"));
    EXPECT_TRUE(zvtest::waitUntil([&] { return !sim.commands.isEmpty(); })) << "a status request";
    rig::RigClosePort();
}

TEST_F(MacroSend, LogtimeFillsTheLogEntryWindowInUtc) {
    sysclock::setUtcForTest(QDateTime(QDate(2026, 5, 2), QTime(23, 59, 30), Qt::UTC)); // 08:59 JST
    setMacro(9, QStringLiteral("log"), QStringLiteral("'LOGTIME'73"));
    QTest::mouseClick(w->Command8[9], Qt::LeftButton);
    EXPECT_EQ(core::g.LogTimeMacroUsed, 1);
    EXPECT_EQ(logbook::g.QsoTime, QTime(8, 59, 30));
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>()) << "without the library link the window is not touched";

    logbook::g.HamlogLink = 1;
    QTest::mouseClick(w->Command8[9], Qt::LeftButton);
    TEMP_LOG& log = forms::TEMP_LOG();
    EXPECT_EQ(log.Text4->text(), QStringLiteral("23:59U"));
    EXPECT_EQ(log.Text3->text(), QStringLiteral("2026-05-02"));
    EXPECT_EQ(log.Label4->text(), QStringLiteral("Time(UTC)"));
    EXPECT_EQ(core::g.MacroText, QStringLiteral("73"));
}

TEST_F(MacroSend, MoveModeByTwoPressesThenSave) {
    setMacro(2, QStringLiteral("CQ"), QStringLiteral("CQ CQ"));
    terminal::macros::showAllOnButtons();
    ASSERT_TRUE(zvtest::chooseMenuItem(w->MACROMOV));
    EXPECT_EQ(terminal::macros::g.MacroMoveMode, 1);
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_FALSE(w->Command5->isEnabled());
    EXPECT_FALSE(w->Text3->isHidden());
    QTest::mousePress(w->Command8[2], Qt::LeftButton);
    EXPECT_EQ(w->Text3->text(), QStringLiteral("移動先の釦をクリックして下さい。"));
    QTest::mousePress(w->Command8[7], Qt::LeftButton);
    EXPECT_EQ(w->Command8[7]->text(), QStringLiteral("CQ"));
    EXPECT_TRUE(core::g.MacroText.isEmpty()) << "nothing is sent in move mode";

    ui::script::push(path(QStringLiteral("MOVED.MAC")));
    ASSERT_TRUE(zvtest::chooseMenuItem(w->MACROMOV));
    EXPECT_EQ(terminal::macros::g.MacroMoveMode, 0);
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Text3->isHidden());
    EXPECT_TRUE(readFile(QStringLiteral("MOVED.MAC")).contains("<MACNAME7>\r\nCQ\r\n"));
}

TEST_F(MacroSend, RoundQsoParticipantsAreTheCpKeyword) {
    ui::script::push(QStringLiteral("JA2AAA JA3BBB"));
    ASSERT_TRUE(zvtest::chooseMenuItem(w->Roundqso));
    setMacro(0, QStringLiteral("rnd"), QStringLiteral("'CP' de 'MYCALL'"));
    QTest::mouseClick(w->Command8[0], Qt::LeftButton);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("JA2AAA JA3BBB de JA1ZVK"));
    ASSERT_TRUE(zvtest::chooseMenuItem(w->Roundqso)); // cancelled
    EXPECT_TRUE(terminal::macros::g.RoundQsoCalls.isEmpty());
}

TEST_F(MacroSend, AltLetterSendsAndRightPressOpensTheEditor) {
    setMacro(5, QStringLiteral("QRZ(sQ)"), QStringLiteral("QRZ? de 'MYCALL'"));
    QTest::keyClick(w->Text1, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("QRZ? de JA1ZVK"));

    core::g.MacroText.clear();
    QTest::keyClick(w->Text1, Qt::Key_J, Qt::AltModifier);
    EXPECT_TRUE(core::g.MacroText.isEmpty()) << "a letter without a macro sends nothing";

    QTest::mousePress(w->Command8[14], Qt::RightButton);
    EXPECT_TRUE(forms::MACRO_FORM().isVisible()) << "open at the press, before the release";
    EXPECT_EQ(forms::MACRO_FORM().SSTab1->currentIndex(), 14);
    EXPECT_EQ(forms::MACRO_FORM().Label6->text(), QStringLiteral("2頁目"));
    // A button left held would be held for the tests that follow.
    QTest::mouseRelease(w->Command8[14], Qt::RightButton);
}

TEST_F(MacroSend, RepeatPausesAndEscapeStopsIt) {
    setMacro(0, QStringLiteral("CQ"), QStringLiteral("'TXON'CQ 'NOW' 'RPT 30''TXOFF'"));
    QTest::mouseClick(w->Command8[0], Qt::LeftButton);
    EXPECT_EQ(core::g.RepeatTxOn, 1);
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(squelchCalls(0), 3) << "no squelch response while repeating";
    const QString first = core::g.MacroText;

    terminal::macros::repeatOnTxStart(terminal::macros::TxEngine::PskCore);
    EXPECT_FALSE(w->Text3->isHidden());
    terminal::macros::repeatOnTxEnd(terminal::macros::TxEngine::PskCore);
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 30000);
    EXPECT_EQ(colour::backColor(w->Command1), terminal::macros::kPauseColour);

    sysclock::advanceForTest(30000);
    terminal::macros::mainCycle().Timer1_Timer();
    EXPECT_EQ(core::g.MacroText, first) << "the repeat sends the first expansion";

    QTest::keyClick(w->Text1, Qt::Key_Escape);
    EXPECT_EQ(core::g.RepeatTxOn, 0);
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Text3->isHidden());
}

} // namespace

namespace {

class CwIdList : public MacroSend {
  protected:
    QString ini(const QString& key) {
        core::g.IniSection = QStringLiteral("PSKCFG");
        QString v;
        core::GetIniString(key, v);
        return v;
    }
};

TEST_F(CwIdList, TypeAddPickAndDelete) {
    QLineEdit* edit = w->Combo1->lineEdit();
    ASSERT_EQ(w->Combo1->count(), 1);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("de ja1zvk/p"));
    EXPECT_EQ(edit->text(), QStringLiteral("DE JA1ZVK/P"));
    EXPECT_EQ(core::g.CwIdText, QStringLiteral("DE JA1ZVK/P"));
    EXPECT_EQ(w->Command3->toolTip(), QStringLiteral("DE JA1ZVK/P"));
    EXPECT_EQ(ini(QStringLiteral("CWIDSTR")), QStringLiteral("DE JA1ZVK/P"));

    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(w->Combo1->count(), 2);
    EXPECT_EQ(w->Combo1->itemText(1), QStringLiteral("DE JA1ZVK/P"));
    EXPECT_EQ(ini(QStringLiteral("MSG_CNT")), QStringLiteral("1"));
    EXPECT_EQ(ini(QStringLiteral("MESG1")), QStringLiteral("DE JA1ZVK/P"));

    ASSERT_TRUE(zvtest::chooseInList(w->Combo1, 0));
    EXPECT_EQ(core::g.CwIdText, QStringLiteral("DE JA1ZVK"));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(w->Combo1->count(), 2) << "entry 0 is never deleted";
    EXPECT_EQ(edit->text(), QStringLiteral("DE JA1ZVK"));

    ASSERT_TRUE(zvtest::chooseInList(w->Combo1, 1));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(w->Combo1->count(), 1);
    EXPECT_EQ(ini(QStringLiteral("MSG_CNT")), QStringLiteral("0"));
}

// A first run has no own call yet and so no own-call entry: what the operator
// adds is stored as the first message and is there after a restart.
TEST_F(CwIdList, AnEntryAddedOnAFirstRunIsThereAfterARestart) {
    forms::unload<PSK31MAIN>();
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n"));
    const QString call = std::exchange(core::g.UserCall, QStringLiteral("NO CALL"));
    w = &forms::PSK31MAIN();
    ASSERT_EQ(w->Combo1->count(), 0);
    QLineEdit* edit = w->Combo1->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("cq test"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(ini(QStringLiteral("MSG_CNT")), QStringLiteral("1"));
    EXPECT_EQ(ini(QStringLiteral("MESG1")), QStringLiteral("CQ TEST"));

    forms::unload<PSK31MAIN>();
    core::g.UserCall = call;
    w = &forms::PSK31MAIN();
    ASSERT_EQ(w->Combo1->count(), 2);
    EXPECT_EQ(w->Combo1->itemText(0), QStringLiteral("DE JA1ZVK"));
    EXPECT_EQ(w->Combo1->itemText(1), QStringLiteral("CQ TEST"));
    // Deleting it again leaves no message counted.
    ASSERT_TRUE(zvtest::chooseInList(w->Combo1, 1));
    w->Combo1->lineEdit()->clear();
    QTest::keyClick(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(ini(QStringLiteral("MSG_CNT")), QStringLiteral("0"));
}

// Keys go where the focus is: with the list focused, Return and the keypad's
// Enter add the typed text, and an empty text deletes the entry picked last.
TEST_F(CwIdList, EnterWorksWithTheFocusInTheList) {
    w->show();
    w->Frame2->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    w->activateWindow();
    w->Combo1->setFocus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return QApplication::focusWidget() == w->Combo1; }));
    w->Combo1->lineEdit()->clear();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cq test"));
    // A pasted line break becomes a blank: the stored message stays one line.
    clipboard::hold(QStringLiteral("\r\n[Mmtty]"));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
    EXPECT_EQ(w->Combo1->currentText(), QStringLiteral("CQ TEST [MMTTY]"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(w->Combo1->count(), 2);
    EXPECT_EQ(ini(QStringLiteral("MSG_CNT")), QStringLiteral("1"));
    EXPECT_EQ(ini(QStringLiteral("MESG1")), QStringLiteral("CQ TEST [MMTTY]"));
    EXPECT_FALSE(readFile(QStringLiteral("ZORVATEK.INI")).contains("\n[MMTTY]"));
    EXPECT_FALSE(w->Frame2->isVisibleTo(w)) << "the frame closes";

    w->Frame2->show();
    ASSERT_TRUE(zvtest::chooseInList(w->Combo1, 1));
    w->Frame2->show();
    w->Combo1->setFocus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return QApplication::focusWidget() == w->Combo1; }));
    w->Combo1->lineEdit()->clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(w->Combo1->count(), 1);
    EXPECT_EQ(ini(QStringLiteral("MSG_CNT")), QStringLiteral("0"));
}

} // namespace
