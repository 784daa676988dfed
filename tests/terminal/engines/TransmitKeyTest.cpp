// The transmitter's key has one owner: every path that stops or restarts the
// sound card ends a running transmission first, so that the rig keyed by CAT
// is released and the screen says receive; and a rig left keyed with nothing
// sending is released by the key watch.
#include "terminal/engines/PskFixture.h"

#include "core/IniValues.h"
#include "platform/forms/Colour.h"
#include "platform/forms/ControlColour.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/RichTextPane.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/dialogs/CLKadj.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "support/Popups.h"
#include "support/RigSimulator.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
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
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
        EXPECT_TRUE(zvtest::openUnpolledRigLink(*sim));
        // Stored as well, so that the settings sheet keeps the port open.
        const QString rigCfg = QStringLiteral("RIG_CON_CFG");
        core::PutIniText(rigCfg, QStringLiteral("RIGCOMCONT"), sim->devicePath());
        core::PutIniText(rigCfg, QStringLiteral("RIG_TYPE"), QStringLiteral("KENWOOD"));
        return w;
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
    void soundTab() {
        QTabBar* tabs = forms::CFGSHEET().SSTab1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    }
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

// A play-back that ends by itself during a transmission restarts the sound card
// through the same end.
TEST_F(TransmitKey, APlaybackEndingWhileKeyedReleasesTheRig) {
    PSK31MAIN& w = start();
    pskcore::lib().hooks().waveSecondMs = 300;
    ui::script::push(waveFile());
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.PlayPsk));
    w.Text1->setText(QStringLiteral("PSKTEST"));
    f12(w);
    ASSERT_TRUE(rigKeyed(true));
    ASSERT_TRUE(zvtest::waitUntil([] { return g.RecPlayState == 0; }, 5000));
    EXPECT_TRUE(rigKeyed(false));
    EXPECT_EQ(g.Transmitting, 0);
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
}

// The key watch: a rig keyed by this program while no engine sends (an end
// notice lost) is released within a couple of its ticks, the screen back to receive.
TEST_F(TransmitKey, TheKeyWatchReleasesARigNoEngineIsSendingWith) {
    PSK31MAIN& w = start();
    w.Text1->setText(QStringLiteral("PSKTEST"));
    f12(w);
    ASSERT_TRUE(rigKeyed(true));
    // The engine's end that never arrives: its state goes, the key stays.
    pskcore::lib().fnStopSoundCard();
    g.Transmitting = 0;
    EXPECT_TRUE(rigKeyed(false));
    EXPECT_EQ(rig::g.PttKeyedByCat, 0);
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
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

// A mode change in a repeat's pause ends the repeat, as Esc does: nothing is
// sent in the new mode and the buttons are those of plain operation.
TEST_F(TransmitKey, AModeChangeEndsARepeat) {
    PSK31MAIN& w = start();
    pskcore::lib().hooks().charIntervalMs = 2;
    terminal::macros::putInStore(
        forms::MACRO_FORM(), 0, {QStringLiteral("CQ"), 0xC0FFC0, QStringLiteral("'TXON'CQ k'TXOFF''RPT10'")});
    QTest::mousePress(w.Command8[0], Qt::LeftButton);
    ASSERT_TRUE(rigKeyed(true));
    EXPECT_FALSE(w.Command3->isEnabled()) << "no CW ID during a repeat";
    ASSERT_TRUE(zvtest::waitUntil([&] { return w.Timer1->isActive(); }, 5000)) << "the pause";
    ASSERT_TRUE(rigKeyed(false));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.PSKMODE[core::ModeQpskUsb]));
    ASSERT_EQ(g.OpMode, core::ModeQpskUsb);
    EXPECT_EQ(g.RepeatTxOn, 0);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(w.Text3->isHidden());
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_TRUE(w.Command3->isEnabled());
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
}

} // namespace
