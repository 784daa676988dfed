// The transmitter's key has one owner: every path that stops or restarts the
// sound card ends a running transmission first, so that the rig keyed by CAT
// is released and the screen says receive; and a rig left keyed with nothing
// sending is released by the key watch.
#include "terminal/engines/PskFixture.h"

#include "core/SharedRoutines.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/dialogs/CLKadj.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"

#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

namespace {

using core::g;

class TransmitKey : public psktest::PskWindowTest {
  protected:
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        sim.reset();
        PskWindowTest::TearDown();
    }
    PSK31MAIN& start() {
        PSK31MAIN& w = loadAndStart();
        g.MainHwnd = terminal::engines::MainWindowHandle;
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        rigOnTheLine(QStringLiteral("KENWOOD"));
        return w;
    }
    // A rig of the family on the line, its port open; stored as well, so that
    // the settings sheet keeps the port open.
    void rigOnTheLine(const QString& family) {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        sim = std::make_unique<zvtest::RigSimulator>(family);
        EXPECT_TRUE(zvtest::openUnpolledRigLink(*sim));
        const QString rigCfg = QStringLiteral("RIG_CON_CFG");
        core::PutIniName(rigCfg, QStringLiteral("RIGCOMCONT"), sim->devicePath());
        core::PutIniText(rigCfg, "RIG_TYPE", family);
        core::PutIniText(rigCfg, "ICOM_RIGadrs", QStringLiteral("58"));
    }
    // A KENWOOD rig behind a link at `device`, an over keyed on it by F12,
    // then the rig gone with its link: the line is lost under the over.
    void keyAnOverThenLoseItsLine(PSK31MAIN& w, const QString& device, const QString& text) {
        rig::RigClosePort();
        sim = std::make_unique<zvtest::RigSimulator>(QStringLiteral("KENWOOD"));
        ASSERT_TRUE(QFile::link(sim->devicePath(), device));
        core::PutIniName(QStringLiteral("RIG_CON_CFG"), QStringLiteral("RIGCOMCONT"), device);
        rig::g.RigPortName = device;
        rig::RigOpenPort();
        ASSERT_EQ(rig::g.RigPortOpen, 1);
        w.Text1->setText(text);
        f12(w);
        ASSERT_TRUE(rigKeyed(true));
        QFile::remove(device);
        sim.reset();
        ASSERT_TRUE(zvtest::waitUntil([] { return rig::g.RigLineLost == 1; }));
    }
    bool rigKeyed(bool keyed) {
        return zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(*sim) && sim->ptt == keyed; });
    }
    void f12(PSK31MAIN& w) {
        w.Text1->setFocus();
        QTest::keyClick(w.Text1, Qt::Key_F12);
    }
    QString waveFile() {
        const QString file = path(QStringLiteral("qso.WAV"));
        EXPECT_TRUE(psktest::writeShortWave(file));
        return file;
    }
    void sheetTab(int tab) {
        QTabBar* tabs = forms::CFGSHEET().SSTab1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    }
    void soundTab() { sheetTab(1); }
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(TransmitKey, EveryStopOfTheSoundCardEndsTheTransmissionFirst) {
    PSK31MAIN& w = start();
    const QString file = waveFile();
    auto choose = [&](QAction* item) { return zvtest::chooseInMenuBar(w.menuBar(), item); };
    auto typedF12 = [&] {
        w.Text1->setText(QStringLiteral("PSKTEST"));
        f12(w);
    };
    auto tune = [&] { QTest::mouseClick(w.Command1, Qt::RightButton); };
    struct Case {
        const char* name;
        std::function<void()> key;
        std::function<void()> stop;
        // Back to plain reception afterwards, where the path leaves something open.
        std::function<void()> after;
    } cases[] = {
        {"stop item", typedF12, [&] { ASSERT_TRUE(choose(w.RecStop)); }, [] {}},
        {"tune carrier, then the stop item", tune, [&] { ASSERT_TRUE(choose(w.RecStop)); }, [] {}},
        {"play item", typedF12,
         [&] {
             ui::script::push(file);
             ASSERT_TRUE(choose(w.PlayPsk));
         },
         [&] { ASSERT_TRUE(choose(w.RecStop)); }},
        {"recording started", typedF12,
         [&] {
             ASSERT_TRUE(choose(w.RecPsk));
             ui::script::push(path(QStringLiteral("evening")));
             QTest::mouseClick(forms::CFG_RecPlay().Command28, Qt::LeftButton);
             QTest::mouseClick(forms::CFG_RecPlay().Command29, Qt::LeftButton);
         },
         [&] { ASSERT_TRUE(choose(w.RecStop)); }},
        {"RX clock correction", typedF12,
         [&] {
             ASSERT_TRUE(zvtest::chooseMenuItem(w.PSKCFG));
             soundTab();
             QTest::mouseClick(forms::CFGSHEET().Command20, Qt::LeftButton);
             ASSERT_TRUE(forms::isLoaded<CLKadj>());
         },
         [&] {
             forms::CLKadj().pEnd_Click();
             forms::unload<CFGSHEET>();
         }},
        {"another sound card", typedF12,
         [&] {
             ASSERT_TRUE(zvtest::chooseMenuItem(w.PSKCFG));
             soundTab();
             QAbstractButton* card = forms::CFGSHEET().Option3[2];
             QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(8, card->height() / 2));
         },
         [&] { forms::unload<CFGSHEET>(); }},
        {"the exit item asking about a handed-over QSO, answered No", typedF12,
         [&] {
             logbook::g.HamlogLink = 2;
             g.HamlogEntrySent = 1;
             bool keyedAtTheQuestion = true;
             ui::script::whenAsked([&](const ui::Asked&) {
                 keyedAtTheQuestion = rig::g.PttKeyedByCat == 1 || g.Transmitting == 1;
             });
             ui::script::push(ui::No);
             ASSERT_TRUE(choose(w.pEnd));
             ui::script::whenAsked(nullptr);
             logbook::g.HamlogLink = 0;
             g.HamlogEntrySent = 0;
             EXPECT_FALSE(keyedAtTheQuestion);
         },
         [] {}},
        {"the macro editor waiting for a shortcut key, closed unsaved, then Esc", typedF12,
         [&] {
             QTest::mouseClick(w.Command8[0], Qt::RightButton);
             MACRO_FORM& editor = forms::MACRO_FORM();
             ASSERT_TRUE(editor.isVisible());
             QTest::mouseDClick(editor.Text1[0]->viewport(), Qt::LeftButton);
             ASSERT_TRUE(editor.Label3->isVisible()) << "the editor waits for Alt and a letter";
             // No key of the main window acts meanwhile: the sending goes on.
             QTest::keyClick(w.Text1, Qt::Key_Escape);
             EXPECT_TRUE(rigKeyed(true));
             ui::script::push(ui::Yes);
             editor.close();
             ASSERT_FALSE(forms::isLoaded<MACRO_FORM>());
             QTest::keyClick(w.Text1, Qt::Key_Escape);
         },
         [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.key();
        ASSERT_TRUE(rigKeyed(true));
        ASSERT_EQ(g.Transmitting, 1);
        c.stop();
        EXPECT_TRUE(rigKeyed(false));
        EXPECT_EQ(g.Transmitting, 0);
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
        c.after();
        // Nothing is stuck: F12 transmits again and Esc ends it.
        typedF12();
        EXPECT_TRUE(rigKeyed(true));
        QTest::keyClick(w.Text1, Qt::Key_Escape);
        EXPECT_TRUE(rigKeyed(false));
        EXPECT_TRUE(zvtest::waitUntil([] { return g.Transmitting == 0; }));
    }
}

// A play-back or a timed recording that ends by itself during a transmission
// restarts the sound card through the same end, and the rig is released before
// the box that says so waits for the operator.
TEST_F(TransmitKey, APlaybackOrRecordingEndingWhileKeyedReleasesTheRigBeforeItsBox) {
    PSK31MAIN& w = start();
    const QString file = waveFile();
    struct Case {
        const char* name;
        std::function<void()> begin;
        QString box;
    } cases[] = {
        {"play-back",
         [&] {
             pskcore::lib().hooks().waveSecondMs = 300;
             ui::script::push(file);
             ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.PlayPsk));
         },
         QStringLiteral("再生が終了しました")},
        {"timed recording",
         [&] {
             pskcore::lib().hooks().waveSecondMs = 20;
             ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.RecPsk));
             ui::script::push(path(QStringLiteral("evening")));
             QTest::mouseClick(forms::CFG_RecPlay().Command28, Qt::LeftButton);
             ui::script::push(ui::No);
             QTest::mouseClick(forms::CFG_RecPlay().Command29, Qt::LeftButton);
         },
         QStringLiteral("分)の録音を終了しました")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool keyedAtTheBox = true;
        ui::script::whenAsked([&](const ui::Asked& asked) {
            if (asked.prompt.contains(c.box))
                keyedAtTheBox = rig::g.PttKeyedByCat == 1 || g.Transmitting == 1;
        });
        c.begin();
        w.Text1->setText(QStringLiteral("PSKTEST"));
        f12(w);
        ASSERT_TRUE(rigKeyed(true));
        ASSERT_TRUE(zvtest::waitUntil([] { return g.RecPlayState == 0; }));
        ui::script::whenAsked(nullptr);
        EXPECT_FALSE(keyedAtTheBox);
        EXPECT_TRUE(rigKeyed(false));
        EXPECT_EQ(g.Transmitting, 0);
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
    }
}

// The key watch asks the engine: a sound card whose output fails during a
// transmission stops the engine with its error alone, no end notice; the rig
// is released within a couple of the watch's ticks, the screen back to receive.
TEST_F(TransmitKey, TheKeyWatchReleasesARigNoEngineIsSendingWith) {
    PSK31MAIN& w = start();
    w.Text1->setText(QStringLiteral("PSKTEST"));
    f12(w);
    ASSERT_TRUE(rigKeyed(true));
    pskcore::lib().outputFailed();
    ASSERT_TRUE(zvtest::waitUntil(
        [&] { return w.Text3->text() == QStringLiteral("Timed out waiting for output buffers"); }));
    EXPECT_EQ(g.Transmitting, 1) << "the error alone does not end the transmission";
    EXPECT_TRUE(rigKeyed(false));
    EXPECT_EQ(rig::g.PttKeyedByCat, 0);
    EXPECT_EQ(g.Transmitting, 0);
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
}

// The key is taken off with the family, address and port that put it on,
// whatever the rig tab changes meanwhile; the rig that was keyed is released.
TEST_F(TransmitKey, TheRigKeyedIsReleasedWhateverTheRigTabChangesMeanwhile) {
    PSK31MAIN& w = start();
    struct Case {
        const char* name;
        const char* family;
        std::function<void(CFGSHEET&)> change;
    } cases[] = {
        {"another family", "KENWOOD",
         [](CFGSHEET& s) { ASSERT_TRUE(zvtest::chooseInCombo(s.Combo1, int(s.Combo1->findText("ICOM")))); }},
        {"another ICOM address", "ICOM",
         [](CFGSHEET& s) {
             s.Text11->selectAll();
             QTest::keyClicks(s.Text11, QStringLiteral("5E"));
             ASSERT_EQ(rig::g.IcomAddress, QStringLiteral("5E"));
         }},
        {"no rig port", "KENWOOD",
         [](CFGSHEET& s) {
             QTest::mouseClick(s.Option2[0], Qt::LeftButton, {}, QPoint(8, s.Option2[0]->height() / 2));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case on a rig of its own: a release the case before left owed
        // (a rig at another address never answers it) holds no key of this one.
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        zvtest::freshRigGlobals();
        rigOnTheLine(QString::fromLatin1(c.family));
        w.Text1->setText(QStringLiteral("PSKTEST"));
        f12(w);
        ASSERT_TRUE(rigKeyed(true));
        const int keyOns = sim->pttOnCount;
        ASSERT_TRUE(zvtest::chooseMenuItem(w.PSKCFG));
        sheetTab(3);
        CFGSHEET& sheet = forms::CFGSHEET();
        c.change(sheet);
        ASSERT_TRUE(zvtest::chooseInMenuBar(sheet.menus, sheet.CFGEND));
        QTest::keyClick(w.Text1, Qt::Key_Escape);
        ASSERT_TRUE(zvtest::waitUntil([] { return g.Transmitting == 0; }));
        // (A rig of another family would not read the marker among commands it cannot parse.)
        if (rig::g.RigPortOpen == 1 && rig::g.RigType == sim->family()) {
            EXPECT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        }
        EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->ptt; })) << "the rig keyed is released";
        // A release repeated until the rig is heard is sound; a key-on after it is not.
        EXPECT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_FALSE(sim->ptt);
        EXPECT_EQ(sim->pttOnCount, keyOns);
        EXPECT_EQ(rig::g.PttKeyedByCat, 0);
    }
}

// The settings sheet during a transmission: the PTT choice is refused (the key
// is released by the means that put it on), and closing the sheet, which opens
// the rig port again, leaves the rig keyed for as long as the engine sends.
TEST_F(TransmitKey, TheSettingsSheetLeavesARunningTransmissionAsItIs) {
    PSK31MAIN& w = start();
    w.Text1->setText(QStringLiteral("PSKTEST"));
    f12(w);
    ASSERT_TRUE(rigKeyed(true));
    ASSERT_TRUE(zvtest::chooseMenuItem(w.PSKCFG));
    soundTab();
    CFGSHEET& sheet = forms::CFGSHEET();
    ui::script::clearAsked();
    const int shown = settings::SelectedOption(sheet.Option1);
    ASSERT_NE(shown, 1);
    QAbstractButton* com1 = sheet.Option1[1];
    QTest::mouseClick(com1, Qt::LeftButton, {}, QPoint(8, com1->height() / 2));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt, QStringLiteral("送信中は変更できません"));
    EXPECT_TRUE(zvtest::waitUntil([&] { return settings::SelectedOption(sheet.Option1) == shown; }));
    EXPECT_EQ(g.PttPortControl, QStringLiteral("0"));

    ASSERT_TRUE(zvtest::chooseInMenuBar(sheet.menus, sheet.CFGEND));
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    EXPECT_TRUE(rigKeyed(true));
    EXPECT_EQ(sim->pttOffCount, 0) << "keyed at every moment";
    EXPECT_EQ(g.Transmitting, 1);
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_TRUE(rigKeyed(false));
    EXPECT_EQ(sim->pttOffCount, sim->pttOnCount);
}

// A rig lost during the over and plugged back (by the same device name) is
// keyed again once, whether the key watch finds its line back or the settings
// sheet closes while it is away; a 設定完了 after that keys nothing more.
TEST_F(TransmitKey, AnOverWhoseRigComesBackIsKeyedOnce) {
    PSK31MAIN& w = start();
    const QString device = path(QStringLiteral("rig"));
    for (const bool sheetClosesWhileAway : {false, true}) {
        SCOPED_TRACE(sheetClosesWhileAway ? "the sheet closes while it is away" : "its line found back");
        ASSERT_NO_FATAL_FAILURE(
            keyAnOverThenLoseItsLine(w, device, QStringLiteral("PSKTEST PSKTEST PSKTEST")));
        const auto closeSheet = [&] {
            ASSERT_TRUE(zvtest::chooseMenuItem(w.PSKCFG));
            ASSERT_TRUE(zvtest::chooseInMenuBar(forms::CFGSHEET().menus, forms::CFGSHEET().CFGEND));
        };
        if (sheetClosesWhileAway) closeSheet();
        sim = std::make_unique<zvtest::RigSimulator>(QStringLiteral("KENWOOD"));
        ASSERT_TRUE(QFile::link(sim->devicePath(), device));
        EXPECT_TRUE(rigKeyed(true)) << "keyed again";
        EXPECT_EQ(g.Transmitting, 1);
        closeSheet();
        ASSERT_EQ(rig::g.RigPortOpen, 1);
        EXPECT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_EQ(sim->pttOnCount, 1) << "once";
        QTest::keyClick(w.Text1, Qt::Key_Escape);
        EXPECT_TRUE(rigKeyed(false));
        EXPECT_EQ(sim->pttOffCount, 1);
        QFile::remove(device);
    }
}

// F12 while the rig's line is lost and owed the release of the over before:
// the over is refused and the loss said, and what the operator typed waits in
// the box; with the rig back, the release goes first and F12 sends it.
TEST_F(TransmitKey, F12RefusedForALostLineKeepsTheTypedText) {
    PSK31MAIN& w = start();
    const QString device = path(QStringLiteral("rig"));
    ASSERT_NO_FATAL_FAILURE(keyAnOverThenLoseItsLine(w, device, QStringLiteral("PSKTEST")));
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitUntil([] { return g.Transmitting == 0 && rig::releaseOwedIn(rig::g); }));

    QTest::keyClicks(w.Text1, QStringLiteral("CQ TEST"));
    pskcore::lib().clearCalls();
    f12(w);
    // The refused over's end notice empties the engine's buffer.
    const QRegularExpression clear(QStringLiteral("fnClearTXBuffer.*"));
    ASSERT_TRUE(zvtest::waitUntil([&] { return pskcore::lib().callTexts().lastIndexOf(clear) >= 0; }));
    EXPECT_EQ(g.Transmitting, 0);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("CQ TEST"));
    // The engine has it again.
    const QStringList calls = pskcore::lib().callTexts();
    const qsizetype cleared = calls.lastIndexOf(clear);
    EXPECT_TRUE(calls.mid(cleared).join(QLatin1Char('\n')).contains(QStringLiteral("CQ TEST")))
        << calls.mid(cleared).join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(w.Text3->text().startsWith(QStringLiteral("RIG Control Port-")))
        << w.Text3->text().toStdString();

    sim = std::make_unique<zvtest::RigSimulator>(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(QFile::link(sim->devicePath(), device));
    ASSERT_TRUE(zvtest::waitUntil([] { return !rig::releaseOwedIn(rig::g); }));
    f12(w);
    EXPECT_TRUE(rigKeyed(true));
    EXPECT_EQ(sim->pttOnCount, 1);
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_TRUE(rigKeyed(false));
    QFile::remove(device);
}

// A change of mode in a repeat's pause ends the repeat, as Esc does, whether
// from the mode menu or from the multi-mode panel's mode list: nothing is sent
// in the new mode and the buttons are those of plain operation.
TEST_F(TransmitKey, AModeChangeEndsARepeat) {
    PSK31MAIN& w = start();
    pskcore::lib().hooks().charIntervalMs = 2;
    terminal::macros::putInStore(
        forms::MACRO_FORM(), 0, {QStringLiteral("CQ"), 0xC0FFC0, QStringLiteral("'TXON'CQ k'TXOFF''RPT10'")});
    struct Case {
        const char* name;
        std::function<void()> before;
        std::function<void()> change;
        int opMode;
    } cases[] = {
        {"QPSK(USB) from the mode menu", [] {},
         [&] { ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.PSKMODE[core::ModeQpskUsb])); },
         core::ModeQpskUsb},
        {"GMSK from the multi-mode panel's list",
         [&] { ASSERT_TRUE(zvtest::chooseMenuItem(w.mvrMODEsel[14])); },
         [&] { ASSERT_TRUE(zvtest::chooseInCombo(w.CBMode, 0)); }, core::ModeMmvari},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        const int ons = sim->pttOnCount;
        QTest::mousePress(w.Command8[0], Qt::LeftButton);
        ASSERT_TRUE(rigKeyed(true));
        EXPECT_FALSE(w.Command3->isEnabled()) << "no CW ID during a repeat";
        ASSERT_TRUE(zvtest::waitUntil([&] { return w.Timer1->isActive(); })) << "the pause";
        ASSERT_TRUE(rigKeyed(false));
        c.change();
        ASSERT_EQ(g.OpMode, c.opMode);
        EXPECT_EQ(g.RepeatTxOn, 0);
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_TRUE(w.Text3->isHidden());
        EXPECT_TRUE(w.Command1->isEnabled());
        EXPECT_TRUE(w.Command3->isEnabled());
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
        EXPECT_EQ(sim->pttOnCount, ons + 1);
    }
}

// F12 pressed twice while the rig's line is busy: the second press is the
// operator's stop and ends the start the first one asked for; nothing is
// sent once the line is free, and F12 then transmits as ever.
TEST_F(TransmitKey, F12PressedAgainBeforeItsStartCouldBeginStopsIt) {
    PSK31MAIN& w = start();
    rig::g.RigReplyMarginMs = 5000;
    sim->holdingAnswers = true;
    // A command waits for the reading's answer, held back by the rig.
    QTimer::singleShot(0, &w, [] {
        rig::RigReadStatus();
        rig::awaitQuietLine();
    });
    QTimer::singleShot(50, &w, [&] {
        ASSERT_TRUE(forms::waitsRun());
        f12(w);
        f12(w);
        sim->holdingAnswers = false;
        sim->releaseAnswers();
    });
    ASSERT_TRUE(zvtest::waitUntil([&] { return sim->readingsAnswered >= 1 && !forms::waitsRun(); }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_EQ(sim->pttOnCount, 0);
    EXPECT_EQ(g.Transmitting, 0);
    f12(w);
    EXPECT_TRUE(rigKeyed(true));
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_TRUE(rigKeyed(false));
}

// A start asked while a stop's release waits for the rig's line keys nothing
// after the operator's stop, and says so: the CW ID button pressed while
// each stop releases an over. (In PSK, Alt+X and the abort item leave
// the release to the library's end report, as its own end does.)
TEST_F(TransmitKey, NothingKeysTheRigWhileAStopReleasesIt) {
    g.UserCall = QStringLiteral("QQ1ABC");
    PSK31MAIN& w = start();
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    rig::g.RigReplyMarginMs = 5000;
    QAction* multiMode = w.mvrMODEsel[10];
    QAction* psk = w.PSKMODE[core::ModeBpsk];
    const auto esc = [&] { QTest::keyClick(w.Text1, Qt::Key_Escape); };
    const auto altX = [&] { QTest::keyClick(w.Text1, Qt::Key_X, Qt::AltModifier); };
    const auto cwId = [&] { QTest::mouseClick(w.Command3, Qt::LeftButton); };
    struct Case {
        const char* name;
        QAction* mode;
        std::function<void()> stop;
        std::function<void()> press;
    } cases[] = {
        {"Esc", multiMode, esc, cwId},
        {"Alt+X", multiMode, altX, cwId},
        {"the abort item", multiMode, [&] { ASSERT_TRUE(zvtest::chooseMenuItem(w.TXBC)); }, cwId},
        {"a sub-mode chosen, which ends the transmission", multiMode,
         [&] { ASSERT_TRUE(zvtest::chooseInCombo(w.CBMode, (w.CBMode->currentIndex() + 1) % 2)); }, cwId},
        {"the exit item, its question answered No", multiMode,
         [&] {
             logbook::g.HamlogLink = 2;
             g.HamlogEntrySent = 1;
             ui::script::push(ui::No);
             ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.pEnd));
             logbook::g.HamlogLink = 0;
             g.HamlogEntrySent = 0;
         },
         cwId},
        {"PSK: Esc", psk, esc, cwId},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.mode->isChecked()) {
            ASSERT_TRUE(zvtest::chooseMenuItem(c.mode));
        }
        const int ons = sim->pttOnCount;
        w.Text1->setText(QStringLiteral("CQ CQ CQ DE QQ1ABC"));
        f12(w);
        // The multi-mode control keyed for has not begun to send: stopped
        // here, it leaves the release to the stop, not to its end event.
        const bool control = c.mode == multiMode;
        if (control) w.MMVARI->set(mmvari::IdRun, false);
        ASSERT_TRUE(rigKeyed(true));
        // The rig holds back its answer to a reading: the stop's release waits for it.
        sim->holdingAnswers = true;
        rig::RigReadStatus();
        bool asked = false;
        QTimer button;
        QObject::connect(&button, &QTimer::timeout, [&] {
            if (asked || !forms::waitsRun()) return;
            asked = true;
            sim->holdingAnswers = false;
            sim->releaseAnswers();
            c.press();
        });
        w.Text3->setText(QString());
        pskcore::lib().clearCalls();
        button.start(0);
        c.stop();
        button.stop();
        ASSERT_TRUE(asked);
        EXPECT_EQ(w.Text3->text(), QStringLiteral("送信を停止中のため、送信しません"));
        EXPECT_FALSE(pskcore::lib().callTexts().contains(QStringLiteral("fnStartTX(4)")))
            << "nor does a CW ID go out into the unkeyed rig";
        EXPECT_TRUE(rigKeyed(false));
        ASSERT_TRUE(
            zvtest::waitUntil([] { return g.MmvariTxOn == 0 && g.Transmitting == 0 && !forms::waitsRun(); }));
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_EQ(sim->pttOnCount, ons + 1) << "only F12 keyed the rig";
        if (control) w.MMVARI->set(mmvari::IdRun, true);
    }
}

// Every key-on by CAT for a start goes through the stop guard's one door, so
// that a start asked while a stop releases the rig is refused and said.
TEST(KeyOns, EveryStartKeysTheRigThroughTheStopGuard) {
    QStringList around;
    QDirIterator files(QStringLiteral(ZV_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        if (file.contains(QLatin1String("/src/rig/")) || file.endsWith(QLatin1String("EngineStop.cpp")))
            continue;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        if (QString::fromUtf8(f.readAll()).contains(QLatin1String("RigPttOn("))) around += file;
    }
    EXPECT_TRUE(around.isEmpty()) << around.join(QLatin1Char(' ')).toStdString();
}

// A macro that asks for the CW ID and no 'TXOFF' ends its over with the
// identification, or without it when there is no own call to send (said):
// in every engine the rig is released and the screen says receive.
TEST_F(TransmitKey, AMacrosCwIdEndsItsOverInEveryEngine) {
    g.UserCall = QStringLiteral("QQ1ABC");
    PSK31MAIN& w = start();
    pskcore::lib().hooks().charIntervalMs = 2;
    terminal::macros::putInStore(forms::MACRO_FORM(), 0,
                                 {QStringLiteral("CQ"), 0xC0FFC0, QStringLiteral("'TXON'CQ TEST 'CWID'")});
    const QString ownCwId = g.DefaultCwId;
    struct Case {
        const char* name;
        QAction* mode;
        bool ownCall;
    } cases[] = {
        {"PSK with the own call", w.PSKMODE[core::ModeBpsk], true},
        {"PSK without an own call", w.PSKMODE[core::ModeBpsk], false},
        {"MMVARI with the own call", w.mvrMODEsel[10], true},
        {"MMVARI without an own call", w.mvrMODEsel[10], false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.mode->isChecked()) {
            ASSERT_TRUE(zvtest::chooseMenuItem(c.mode));
        }
        g.DefaultCwId = c.ownCall ? ownCwId : core::CallPrompt();
        pskcore::lib().clearCalls();
        w.MMVARI->clearCalls();
        const int ons = sim->pttOnCount;
        QTest::mousePress(w.Command8[0], Qt::LeftButton);
        ASSERT_TRUE(zvtest::waitUntil([&] { return sim->pttOnCount > ons; }));
        EXPECT_TRUE(rigKeyed(false)) << "the over ends";
        EXPECT_TRUE(zvtest::waitUntil([] { return g.Transmitting == 0 && g.MmvariTxOn == 0; }));
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
        const bool heard =
            pskcore::lib().callTexts().contains(QStringLiteral("fnSetCWIDString(\" DE QQ1ABC \")")) ||
            !w.MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodCwId).isEmpty();
        EXPECT_EQ(heard, c.ownCall);
        EXPECT_EQ(sim->pttOnCount, ons + 1);
    }
}

// The multi-mode control stopped for the clock calibration sends nothing: F12
// keys nothing and the text waits; once the calibration gives the sound card
// back, F12 transmits and Esc ends it.
TEST_F(TransmitKey, F12WhileTheMultiModeControlIsStoppedKeysNothing) {
    PSK31MAIN& w = start();
    ASSERT_TRUE(zvtest::chooseMenuItem(w.mvrMODEsel[10]));
    QTest::mouseClick(w.Command19[7], Qt::LeftButton);
    QTest::mouseClick(forms::CFG_MMVARI().Command1, Qt::LeftButton);
    ASSERT_TRUE(forms::isLoaded<CLKadj>());
    CLKadj& clk = forms::CLKadj();
    ASSERT_TRUE(zvtest::chooseMenuItem(clk.stopSound1));
    ASSERT_TRUE(clk.stopSound1->isChecked());
    w.Text1->setText(QStringLiteral("PSKTEST"));
    f12(w);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_EQ(sim->pttOnCount, 0);
    EXPECT_EQ(g.MmvariTxOn, 0);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("PSKTEST"));
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);

    ASSERT_TRUE(zvtest::chooseMenuItem(clk.pEnd));
    f12(w);
    EXPECT_TRUE(rigKeyed(true));
    // The control has begun to send, as one of its ticks on a busy machine
    // makes it: Esc releases the rig at once, and the over ends with the
    // control's own end of transmission at its next tick.
    w.MMVARI->stepForTest();
    ASSERT_EQ(g.Transmitting, 1);
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_TRUE(rigKeyed(false));
    EXPECT_TRUE(zvtest::waitUntil([] { return g.MmvariTxOn == 0 && g.Transmitting == 0; }));
    EXPECT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt) << "the control's end releases nothing keyed again";
}

} // namespace
