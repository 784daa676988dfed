// The mode change as the operator makes it from the mode menus: the engine that
// runs afterwards (one, and the right one), the mode, the menus and panel 2,
// the rig's mode on a simulated rig, the mode kept for the next start, the
// swap to the SSTV window and back, and the refusals.
#include "terminal/engines/ModeChange.h"
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/sheet/CFGSHEET.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"
#include "support/Transmit.h"
#include "terminal/engines/EngineResume.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroFile.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/rxtext/RCVDAT.h"
#include "terminal/transmit/TxDispatch.h"

#include <QAction>
#include <QCloseEvent>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

#include <csignal>
#include <functional>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>

namespace {

using core::g;

// Rig mode digits, one for each engine so that the rig shows which was set;
// QPSK takes the family's sideband codes (KENWOOD: 2 USB, 1 LSB).
const QString kRigCodes = QStringLiteral("[RIG_CON_CFG]\nPSK31Mode=9\nRTTYMode=6\nCWMode=3\n");
const QString kPsk = QStringLiteral("9"), kRtty = QStringLiteral("6"), kCw = QStringLiteral("3");
const QString kUsb = QStringLiteral("2"), kLsb = QStringLiteral("1");

enum Start { FromBpsk, FromRtty, FromCw, FromMmvari, FromSstv };
// Where the operator chooses: the main window's PSKMODE items, its multi-mode
// items, or the SSTV window's menus.
enum Menu { MainMode, MainMmvari, SstvMenu };

class ModeChange : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        core::mm = {};
        mmvstate::g = {};
        ui::script::begin();
    }
    void TearDown() override {
        ui::script::end();
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        forms::unloadAllExcept();
        sim.reset();
        ProgramFolderTest::TearDown();
    }

    // The system as a start-up in that mode leaves it, with a rig on the line.
    void start(Start s) {
        static const char* last[] = {"PSK31", "RTTY", "RTTY", "MMVARI", "SSTV"};
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nCOMPORT=%3\nCOMCONT=%2\nSOUNDCARDnum=0\n"
                                "TRX_TimeStmp=NO\nLastMode=%1\n")
                     .arg(QString::fromLatin1(last[s]), pttControl, pttPort) +
                 pskcfgExtra + QStringLiteral("[MMVCFG]\nLastMode=14\n") + kRigCodes + extraIni);
        ASSERT_FALSE(mmtty::provideProgram(folder()).isEmpty());
        writeFile("Mmtty.INI", "[Mmtty]\r\n");
        g.MmttyExePath = path("MMTTY.EXE");
        g.LogModeTextPsk = QStringLiteral("PSK31");
        g.LogModeTextRtty = QStringLiteral("RTTY");
        g.LogModeTextSstv = QStringLiteral("SSTV");
        g.LastModeText = QString::fromLatin1(last[s]);
        sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
        zvtest::pointRigLinkAt(*sim);
        rig::g.RigPollMode = 1;
        static const int modes[] = {core::ModeBpsk, core::ModeRtty, core::ModeRtty, core::ModeMmvari,
                                    core::ModeSstv};
        g.OpMode = modes[s];
        forms::AboutZORVATEK();
        if (s == FromSstv) {
            forms::SSTVForm().show();
        } else {
            forms::PSK31MAIN().show();
            if (s == FromBpsk) {
                ASSERT_TRUE(zvtest::waitUntil([] { return pskcore::lib().isRunning(); }));
            }
        }
        if (s == FromCw) terminal::engines::ChangeMode(core::ModeCw);
        ASSERT_EQ(g.OpMode, s == FromCw ? int(core::ModeCw) : modes[s]);
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        sim->modeCommands.clear();
    }

    // The same with the rig's device stored: a settings sheet's load keeps the rig on its port.
    void startWithRigStored(Start s) {
        start(s);
        if (HasFatalFailure()) return;
        core::PutIniName(QStringLiteral("RIG_CON_CFG"), QStringLiteral("RIGCOMCONT"), sim->devicePath());
        core::PutIniText(QStringLiteral("RIG_CON_CFG"), "RIG_TYPE", QStringLiteral("KENWOOD"));
    }

    // The end of one case of a table: the next starts from nothing open,
    // no engine running, the rig's port closed and no look at questions.
    bool endCase() {
        ui::script::whenAsked(nullptr);
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        forms::unloadAllExcept();
        core::MmttyProgram().close(0);
        pskcore::lib().fnStopSoundCard();
        return zvtest::waitForPostedEvents();
    }

    void choose(Menu menu, int index) {
        if (menu == SstvMenu) {
            SSTVForm& f = forms::SSTVForm();
            QAction* item = index >= 10 ? f.mmvMODE[std::size_t(index)] : f.PSKMODE[std::size_t(index)];
            ASSERT_TRUE(zvtest::chooseMenuItem(item));
        } else if (menu == MainMmvari) {
            ASSERT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().mvrMODEsel[std::size_t(index)]));
        } else {
            PSK31MAIN& w = forms::PSK31MAIN();
            ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.PSKMODE[std::size_t(index)]));
        }
    }

    static bool mmvariRuns() {
        if (!forms::isLoaded<PSK31MAIN>()) return false;
        QVariant on;
        return forms::PSK31MAIN().MMVARI->get(mmvari::IdRun, on) && on.toBool();
    }
    // The engines that run, by name; exactly one is expected.
    static QStringList running() {
        QStringList r;
        if (pskcore::lib().isRunning()) r << "PSK";
        if (core::MmttyProgram().isRunning()) r << "RTTY";
        if (mmvariRuns()) r << "MMVARI";
        return r;
    }
    static QString stored(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QString());
    }
    // The checked items of the main window's mode menus, by index.
    static QList<int> ticked() {
        QList<int> t;
        PSK31MAIN& w = forms::PSK31MAIN();
        for (int i = 0; i < 6; ++i)
            if (w.PSKMODE[std::size_t(i)]->isChecked()) t << i;
        for (int i = 10; i <= 18; ++i)
            if (w.mvrMODEsel[std::size_t(i)]->isChecked()) t << i;
        return t;
    }

    QString pttControl = QStringLiteral("1");
    QString pttPort = QStringLiteral("0");
    QString pskcfgExtra; // more keys of [PSKCFG]
    QString extraIni;    // more sections
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(ModeChange, EachTransitionLeavesTheRightEngineRunning) {
    struct Case {
        const char* name;
        Start from;
        Menu menu;
        int index;
        int opMode;
        const char* engine; // "" in SSTV: no engine of the main window runs
        const char* panel;  // panel 2; "" for the SSTV window
        const char* lastMode;
        QString rigMode; // empty: the rig is not given a mode
    } cases[] = {
        {"BPSK to QPSK(USB)", FromBpsk, MainMode, 1, 1, "PSK", "QPSK(USB)", "PSK31", kUsb},
        {"BPSK to BPSK runs the PSK branch again", FromBpsk, MainMode, 0, 0, "PSK", "BPSK", "PSK31", kPsk},
        {"BPSK to RTTY", FromBpsk, MainMode, 3, 3, "RTTY", "RTTY", "RTTY", kRtty},
        {"RTTY to QPSK(LSB)", FromRtty, MainMode, 2, 2, "PSK", "QPSK(LSB)", "PSK31", kLsb},
        {"multi-mode to QPSK(LSB)", FromMmvari, MainMode, 2, 2, "PSK", "QPSK(LSB)", "PSK31", kLsb},
        {"RTTY to CW", FromRtty, MainMode, 4, 4, "RTTY", "CW", "RTTY", kCw},
        {"CW to RTTY", FromCw, MainMode, 3, 3, "RTTY", "RTTY", "RTTY", kRtty},
        {"CW to BPSK", FromCw, MainMode, 0, 0, "PSK", "BPSK", "PSK31", kPsk},
        {"multi-mode to BPSK", FromMmvari, MainMode, 0, 0, "PSK", "BPSK", "PSK31", kPsk},
        {"multi-mode to RTTY", FromMmvari, MainMode, 3, 3, "RTTY", "RTTY", "RTTY", kRtty},
        {"BPSK to a multi-mode sub-mode", FromBpsk, MainMmvari, 17, 99, "MMVARI", "", "MMVARI", {}},
        {"RTTY to a multi-mode sub-mode", FromRtty, MainMmvari, 12, 99, "MMVARI", "", "MMVARI", {}},
        {"BPSK to SSTV", FromBpsk, MainMode, 5, 5, "", "", "SSTV", {}},
        {"RTTY to SSTV", FromRtty, MainMode, 5, 5, "", "", "SSTV", {}},
        {"multi-mode to SSTV", FromMmvari, MainMode, 5, 5, "", "", "SSTV", {}},
        {"SSTV to QPSK(USB)", FromSstv, SstvMenu, 1, 1, "PSK", "QPSK(USB)", "PSK31", {}},
        {"SSTV to RTTY", FromSstv, SstvMenu, 3, 3, "RTTY", "RTTY", "RTTY", {}},
        {"SSTV to bpsk(STD)", FromSstv, SstvMenu, 14, 99, "MMVARI", "", "MMVARI", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.from);
        if (HasFatalFailure()) return;
        choose(c.menu, c.index);
        ASSERT_EQ(g.OpMode, c.opMode);
        const QString engine = QString::fromLatin1(c.engine);
        // The PSK library of a change out of the RTTY program or SSTV starts one tick later.
        ASSERT_TRUE(zvtest::waitUntil([&] {
            return running() == (engine.isEmpty() ? QStringList{} : QStringList{engine});
        })) << running().join(',').toStdString();
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QString::fromLatin1(c.lastMode));
        EXPECT_EQ(g.LastModeText, QString::fromLatin1(c.lastMode));
        // The log takes the mode on the air: the multi-mode control's is the PSK text, CW's the RTTY one.
        EXPECT_EQ(g.ModeDisplayText, c.opMode == 3 || c.opMode == 4 ? "RTTY"
                                     : c.opMode == 5                ? "SSTV"
                                                                    : "PSK31");
        if (c.opMode == core::ModeSstv) {
            EXPECT_FALSE(forms::isLoaded<PSK31MAIN>());
            EXPECT_TRUE(forms::SSTVForm().isVisible());
            // The SSTV window holds the rig port again.
            EXPECT_EQ(rig::g.RigPortOpen, 1);
        } else {
            ASSERT_TRUE(forms::isLoaded<PSK31MAIN>());
            PSK31MAIN& w = forms::PSK31MAIN();
            EXPECT_FALSE(forms::isLoaded<SSTVForm>());
            EXPECT_TRUE(w.isVisible());
            const QList<int> menus = {c.opMode == 99 ? c.index : c.opMode};
            EXPECT_EQ(ticked(), menus);
            if (c.opMode != 99) {
                EXPECT_EQ(w.StatusBar1->text(2), QString::fromLatin1(c.panel));
            }
            EXPECT_EQ(w.PSKMODE[core::ModeCw]->isEnabled(), c.opMode == 3 || c.opMode == 4);
        }
        if (c.opMode == 99) {
            EXPECT_EQ(stored("MMVCFG", "LastMode"), QString::number(c.index));
        }
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        if (!c.rigMode.isEmpty()) {
            ASSERT_FALSE(sim->modeCommands.isEmpty());
            EXPECT_EQ(sim->modeCommands.last(), c.rigMode.toLatin1());
        } else if (c.from != FromSstv && c.opMode == 99) {
            EXPECT_TRUE(sim->modeCommands.isEmpty());
        }
        ASSERT_TRUE(endCase());
    }
}

TEST_F(ModeChange, NoChangeWhileAnyEngineTransmits) {
    struct Case {
        const char* name;
        int* flag;
        Menu menu;
        int index;
    } cases[] = {
        {"PSK transmits, RTTY chosen", &g.Transmitting, MainMode, 3},
        {"the RTTY program transmits, SSTV chosen", &g.MmttyTxOn, MainMode, 5},
        {"the multi-mode control transmits, QPSK chosen", &g.MmvariTxOn, MainMode, 1},
        {"PSK transmits, a multi-mode sub-mode chosen", &g.Transmitting, MainMmvari, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(FromBpsk);
        if (HasFatalFailure()) return;
        const QString before = stored("PSKCFG", "LastMode");
        *c.flag = 1;
        forms::PSK31MAIN().Text3->clear();
        choose(c.menu, c.index);
        *c.flag = 0;
        ASSERT_TRUE(forms::isLoaded<PSK31MAIN>());
        EXPECT_EQ(forms::PSK31MAIN().Text3->text(), QStringLiteral("送信中は変更できません")) << "says why";
        EXPECT_EQ(g.OpMode, core::ModeBpsk);
        EXPECT_EQ(ticked(), QList<int>{0});
        EXPECT_EQ(running(), QStringList{"PSK"});
        EXPECT_EQ(stored("PSKCFG", "LastMode"), before);
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_TRUE(sim->modeCommands.isEmpty());
        rig::RigClosePort();
        forms::unloadAllExcept();
        pskcore::lib().fnStopSoundCard();
    }
}

// A change to QPSK(USB) waits for the rig's answer to a poll, events
// running: F12, or another mode chosen, meanwhile is refused. The change ends
// as chosen, with one engine and nothing sent.
// A mode chosen, then F12, while a poll waits: the F12, asked of the engine
// that goes, goes with it.
TEST_F(ModeChange, NothingStartsWhileAChangeWaitsForTheRig) {
    enum Meanwhile { F12, Rtty, ChangeThenF12 };
    for (const Meanwhile m : {F12, Rtty, ChangeThenF12}) {
        SCOPED_TRACE(m == F12 ? "F12 meanwhile" : m == Rtty ? "RTTY chosen meanwhile" : "a change, then F12");
        start(FromBpsk);
        if (HasFatalFailure()) return;
        PSK31MAIN& w = forms::PSK31MAIN();
        w.Text1->setText(QStringLiteral("CQ"));
        bool acted = false;
        QTimer meanwhile;
        QObject::connect(&meanwhile, &QTimer::timeout, [&] {
            if (acted || !rig::exchangeInProgress()) return;
            acted = true;
            if (m == ChangeThenF12) choose(MainMode, core::ModeQpskUsb);
            if (m == Rtty)
                zvtest::chooseInMenuBar(w.menuBar(), w.PSKMODE[core::ModeRtty]);
            else
                QTest::keyClick(w.Text1, Qt::Key_F12);
            sim->holdingAnswers = false;
            sim->releaseAnswers();
        });
        meanwhile.start(0);
        sim->holdingAnswers = true;
        rig::RigReadStatus();
        // The change waits for the rig; in the last row a command does.
        if (m == ChangeThenF12)
            rig::awaitQuietLine();
        else
            choose(MainMode, core::ModeQpskUsb);
        meanwhile.stop();
        EXPECT_TRUE(acted);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_EQ(g.OpMode, core::ModeQpskUsb);
        EXPECT_EQ(ticked(), QList<int>{core::ModeQpskUsb});
        EXPECT_EQ(running(), QStringList{"PSK"});
        EXPECT_EQ(g.Transmitting, 0);
        EXPECT_FALSE(pskcore::lib().isTransmitting());
        rig::RigClosePort();
        forms::unloadAllExcept();
        pskcore::lib().fnStopSoundCard();
    }
}

// A window's own handler waits for the rig (its port opened again, a poll),
// events running, and another mode is chosen meanwhile: the window that goes
// is destroyed only once that handler is done, and a change from the SSTV
// window is not entered again while its port comes back. A macro that reads
// the rig is a transmission on its way: the change is refused and the macro
// goes out by the engine it was written for, ended by Esc with the rig unkeyed.
TEST_F(ModeChange, AModeChosenWhileAWindowWaitsForTheRig) {
    const auto clickM1 = [] {
        core::MmttyProgram().clearPosted();
        terminal::macros::putInStore(forms::MACRO_FORM(), 0,
                                     {QStringLiteral("CQ"), 0xC0FFC0,
                                      QStringLiteral("'TXON''RIGCALL'CQ CQ de 'MYCALL' 'MYCALL' pse k")});
        QTest::mouseClick(forms::PSK31MAIN().Command8[0], Qt::LeftButton);
        return true;
    };
    const auto macroGoesOut = [] {
        if (g.OpMode == core::ModeBpsk) return pskcore::lib().isTransmitting();
        for (const auto& p : core::MmttyProgram().posted())
            if (p.code == mmtty::CmdTx && p.value == mmtty::TxOn) return true;
        return false;
    };
    struct Case {
        const char* name;
        Start from;
        std::function<bool()> outer;
        std::function<void()> meanwhile;
        int opMode;
        QStringList engines;
        bool macroSent = false;
        // What the operator is told instead, when the macro does not go out.
        const char* told = nullptr;
    } cases[] = {
        {"settings opened from the SSTV window, RTTY chosen meanwhile",
         FromSstv,
         [] { return zvtest::chooseMenuItem(forms::SSTVForm().PSKCFG); },
         [this] { choose(SstvMenu, core::ModeRtty); },
         core::ModeRtty,
         {"RTTY"}},
        {"SSTV chosen again in the SSTV window, bpsk(STD) chosen meanwhile",
         FromSstv,
         [] { return zvtest::chooseMenuItem(forms::SSTVForm().PSKMODE[core::ModeSstv]); },
         [this] { choose(SstvMenu, 14); },
         core::ModeSstv,
         {}},
        {"the rig's frequency clicked in the main window, SSTV chosen meanwhile",
         FromBpsk,
         [] {
             QTest::mouseClick(forms::PSK31MAIN().Label11, Qt::LeftButton);
             return true;
         },
         [this] { choose(MainMode, core::ModeSstv); },
         core::ModeSstv,
         {}},
        {"M1 reads the rig in BPSK, RTTY chosen meanwhile",
         FromBpsk,
         clickM1,
         [this] { choose(MainMode, core::ModeRtty); },
         core::ModeBpsk,
         {"PSK"},
         true},
        {"M1 reads the rig in RTTY, BPSK chosen meanwhile",
         FromRtty,
         clickM1,
         [this] { choose(MainMode, core::ModeBpsk); },
         core::ModeRtty,
         {"RTTY"},
         true},
        {"M1 reads the rig in RTTY, a multi-mode sub-mode chosen meanwhile",
         FromRtty,
         clickM1,
         [this] { choose(MainMmvari, 14); },
         core::ModeRtty,
         {"RTTY"},
         true},
        {"M1 reads the rig in RTTY, the RTTY program ends meanwhile",
         FromRtty,
         clickM1,
         [] {
             ASSERT_EQ(::kill(pid_t(core::mm.MmttyPid), SIGKILL), 0);
             ASSERT_TRUE(zvtest::waitUntil([] { return core::mm.MmttyPid == 0; }));
         },
         core::ModeBpsk,
         {"PSK"},
         false,
         "MMTTYが終了しました\r\n送信は取り消しました"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startWithRigStored(c.from);
        if (HasFatalFailure()) return;
        core::PutIniText(QStringLiteral("RIG_CON_CFG"), "VFOCHECK", QStringLiteral("YesP"));
        bool acted = false;
        QTimer meanwhile;
        QObject::connect(&meanwhile, &QTimer::timeout, [&] {
            if (acted || !rig::exchangeInProgress() || rig::g.RigPortOpen != 1) return;
            acted = true;
            c.meanwhile();
            sim->holdingAnswers = false;
            sim->releaseAnswers();
        });
        meanwhile.start(0);
        sim->holdingAnswers = true;
        // A reading whose answer the rig holds back: the window's command waits for it.
        rig::RigReadStatus();
        ui::script::clearAsked();
        bool askedInExchange = false;
        ui::script::whenAsked([&](const ui::Asked&) { askedInExchange = rig::exchangeInProgress(); });
        EXPECT_TRUE(c.outer());
        meanwhile.stop();
        sim->holdingAnswers = false;
        EXPECT_TRUE(acted);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_EQ(g.OpMode, c.opMode);
        EXPECT_EQ(forms::isLoaded<SSTVForm>(), c.opMode == core::ModeSstv);
        EXPECT_EQ(forms::isLoaded<PSK31MAIN>(), c.opMode != core::ModeSstv);
        // The sheet goes with the window it was opened from.
        EXPECT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<CFGSHEET>(); }));
        EXPECT_TRUE(zvtest::waitUntil([&] { return running() == c.engines; }))
            << running().join(',').toStdString();
        if (c.macroSent) {
            EXPECT_TRUE(zvtest::waitUntil(macroGoesOut)) << "by the engine of the mode in use";
            EXPECT_TRUE(zvtest::endByEscape(forms::PSK31MAIN()));
            EXPECT_TRUE(zvtest::waitUntil([] { return rig::g.PttKeyedByCat == 0; }));
        }
        if (c.told) {
            ASSERT_EQ(ui::script::asked().size(), 1);
            EXPECT_EQ(ui::script::asked().front().prompt, QString::fromUtf8(c.told));
            EXPECT_FALSE(askedInExchange) << "the ended engine is replaced once the waits are over";
            EXPECT_FALSE(macroGoesOut()) << "through another engine";
            EXPECT_FALSE(sim->ptt);
        }
        ASSERT_TRUE(endCase());
    }
}

TEST_F(ModeChange, ARttyProgramThatDoesNotStartLeavesBpskRecorded) {
    start(FromBpsk);
    QFile::remove(path("MMTTY.EXE"));
    ui::script::clearAsked();
    choose(MainMode, core::ModeRtty);
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_TRUE(ui::script::asked().last().prompt.endsWith(QStringLiteral("MMTTYがOPEN出来ませんでした")));
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_EQ(ticked(), QList<int>{0});
    EXPECT_EQ(forms::PSK31MAIN().StatusBar1->text(2), QStringLiteral("BPSK"));
    EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("PSK31"));
    EXPECT_EQ(g.ModeDisplayText, QStringLiteral("PSK31"));
    EXPECT_TRUE(zvtest::waitUntil([] { return running() == QStringList{"PSK"}; }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    ASSERT_FALSE(sim->modeCommands.isEmpty());
    EXPECT_EQ(sim->modeCommands.last(), kPsk.toLatin1());
}

// A mode chosen while the scan steps up the band: the scan gives way, the
// display goes back to the view the scan interrupted, and the change is made
// once the scan's loop has returned. Out of SSTV again the new main window
// is whole (the old one went after the scan, not inside it).
TEST_F(ModeChange, AModeChosenDuringAScanEndsTheScanFirst) {
    struct Case {
        const char* name;
        int index;
        bool backToBpsk;
    } cases[] = {
        {"RTTY chosen", core::ModeRtty, false},
        {"SSTV chosen, then BPSK from the SSTV window", core::ModeSstv, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(FromBpsk);
        if (HasFatalFailure()) return;
        PSK31MAIN& w = forms::PSK31MAIN();
        ASSERT_TRUE(zvtest::waitExposed(&w));
        g.SpectrumDisplayMode = 0; // the waterfall
        w.ScanThreshold = 1000;    // no station stops this scan
        bool chosen = false;
        QTimer::singleShot(100, &w, [&] {
            EXPECT_EQ(g.WfDrawState, 1) << "the scan runs";
            EXPECT_EQ(g.SpectrumDisplayMode, 1);
            chosen = zvtest::chooseInMenuBar(w.menuBar(), w.PSKMODE[std::size_t(c.index)]);
        });
        // The scan runs inside the click until the mode chosen ends it.
        QTest::mouseClick(w.Command11, Qt::LeftButton);
        EXPECT_TRUE(chosen);
        EXPECT_EQ(g.WfDrawState, 0);
        EXPECT_EQ(g.SpectrumDisplayMode, 0);
        EXPECT_FALSE(w.Line15->isVisible());
        EXPECT_FALSE(w.Timer5->isActive());
        EXPECT_TRUE(zvtest::waitUntil([&] { return g.OpMode == c.index; }));
        if (c.backToBpsk) {
            choose(SstvMenu, core::ModeBpsk);
            ASSERT_TRUE(zvtest::waitForPostedEvents());
            EXPECT_EQ(g.OpMode, core::ModeBpsk);
            ASSERT_TRUE(forms::isLoaded<PSK31MAIN>());
            EXPECT_TRUE(forms::PSK31MAIN().isVisible());
            EXPECT_TRUE(zvtest::waitUntil([] { return running() == QStringList{"PSK"}; }));
        }
        ASSERT_TRUE(endCase());
    }
}

// A run-time failure on the way into SSTV brings the main window back with an
// engine that runs, the one stopped on the way started again, and says so.
TEST_F(ModeChange, AFailureOnTheWayIntoSstvBringsTheMainWindowBack) {
    using terminal::engines::SstvStep;
    struct Case {
        const char* name;
        Start from;
        SstvStep failAt;
        int opMode;
        const char* engine;
    } cases[] = {
        {"clipboard, from BPSK", FromBpsk, SstvStep::ClipboardEmptied, core::ModeBpsk, "PSK"},
        {"after the RTTY program has ended", FromRtty, SstvStep::EngineStopped, core::ModeRtty, "RTTY"},
        {"after the PSK library stopped", FromBpsk, SstvStep::EngineStopped, core::ModeBpsk, "PSK"},
        {"after the main window went", FromRtty, SstvStep::MainWindowUnloaded, core::ModeRtty, "RTTY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.from);
        if (HasFatalFailure()) return;
        const QString lastMode = stored("PSKCFG", "LastMode");
        terminal::engines::setSstvFailureHookForTest([&](SstvStep step) {
            if (step == c.failAt) throw std::runtime_error("no SSTV window");
        });
        choose(MainMode, core::ModeSstv);
        terminal::engines::setSstvFailureHookForTest({});
        EXPECT_FALSE(forms::isLoaded<SSTVForm>());
        ASSERT_TRUE(forms::isLoaded<PSK31MAIN>());
        EXPECT_TRUE(forms::PSK31MAIN().isVisible());
        EXPECT_EQ(g.OpMode, c.opMode) << "the mode names the engine that runs";
        EXPECT_TRUE(zvtest::waitUntil([&] {
            return running() == QStringList{QString::fromLatin1(c.engine)};
        })) << running().join(',').toStdString();
        EXPECT_EQ(g.StatusMessage, QStringLiteral("OPEN出来ませんでした"));
        EXPECT_EQ(stored("PSKCFG", "LastMode"), lastMode);
        EXPECT_EQ(rig::g.RigPortOpen, 1);
        ASSERT_TRUE(endCase());
    }
}

TEST_F(ModeChange, TheMultiModeControlGivesWayToPskWithItsFrequency) {
    start(FromMmvari);
    PSK31MAIN& w = forms::PSK31MAIN();
    w.MMVARI->set(mmvari::PRxFreq, 0, 1234);
    choose(MainMode, core::ModeBpsk);
    EXPECT_EQ(g.RxFreqHz, 1234);
    EXPECT_EQ(g.TxFreqHz, 1234);
    EXPECT_EQ(g.MmvariActive, 0);
    // The PSK library's notices are handled again: its display and text work.
    EXPECT_EQ(g.EngineMsgHold, 0);
    EXPECT_TRUE(pskcore::lib().isSubclassed());
}

// Back in BPSK from the multi-mode control and from SSTV the main window
// shows its channel buttons as the PSK arrangement has them and, with a rig
// port configured, its frequency labels red.
TEST_F(ModeChange, BackInBpskTheChannelButtonsAndRigLabelsAreThePsks) {
    start(FromMmvari);
    const auto rigLabelsRed = [] {
        PSK31MAIN& w = forms::PSK31MAIN();
        for (QLabel* l : {w.Label11, w.Label16, w.Label3, w.Label35})
            if (colour::foreColor(l) != 0x0000FFu) return false;
        return true;
    };
    EXPECT_TRUE(rigLabelsRed());
    choose(MainMode, core::ModeBpsk);
    PSK31MAIN& w = forms::PSK31MAIN();
    const std::pair<QPushButton*, const char*> buttons[] = {
        {w.Command15, "1"}, {w.Command16, "2"}, {w.Command17, "3"}};
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(button->text(), QString::fromLatin1(caption));
        EXPECT_FALSE(button->isEnabled());
    }
    choose(MainMode, core::ModeSstv);
    ASSERT_EQ(g.OpMode, core::ModeSstv);
    choose(SstvMenu, core::ModeBpsk);
    ASSERT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_TRUE(rigLabelsRed());
}

// While recording, every way into another mode says so and changes nothing:
// the PSK library keeps running and the menus still tick BPSK.
TEST_F(ModeChange, RecordingRefusesEveryChangeBeforeAnythingStops) {
    start(FromBpsk);
    PSK31MAIN& w = forms::PSK31MAIN();
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.RecPsk));
    ASSERT_EQ(g.RecPlayState, 1);
    const QString refusal = QStringLiteral("録音再生モード中は変更できません");
    const std::pair<Menu, int> choices[] = {{MainMmvari, 14},
                                            {MainMode, core::ModeRtty},
                                            {MainMode, core::ModeQpskUsb},
                                            {MainMode, core::ModeSstv}};
    for (const auto& [menu, index] : choices) {
        SCOPED_TRACE(index);
        ui::script::clearAsked();
        choose(menu, index);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_EQ(ui::script::asked()[0].prompt, refusal);
        EXPECT_EQ(running(), QStringList{"PSK"});
        EXPECT_EQ(g.OpMode, core::ModeBpsk);
        EXPECT_EQ(g.MmvariActive, 0);
        EXPECT_EQ(ticked(), QList<int>{core::ModeBpsk});
        EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("BPSK"));
    }
    ui::script::clearAsked();
    QTest::keyClick(w.Text1, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("BPSK"));
    // The recording ends: the library was never stopped, and a change goes through.
    ASSERT_TRUE(zvtest::chooseInMenuBar(forms::CFG_RecPlay().menus, forms::CFG_RecPlay().CLOSE_CFG));
    EXPECT_EQ(running(), QStringList{"PSK"});
    choose(MainMmvari, 14);
    EXPECT_EQ(running(), QStringList{"MMVARI"});
}

// A "No" to dropping a QSO handed over to the logging program keeps the
// multi-mode control running with its panel, menus and status as they were.
TEST_F(ModeChange, NoToDroppingAHandedOverQsoLeavesTheMultiModeControlRunning) {
    logbook::g.HamlogLink = 2; // the window link, as the start reads it
    start(FromMmvari);
    PSK31MAIN& w = forms::PSK31MAIN();
    ASSERT_TRUE(mmvariRuns());
    const QString panel = w.StatusBar1->text(2);
    // The call handed to the logging program's window with LOG作成.
    ASSERT_TRUE(hamlog::createLog(path(QStringLiteral("HAMLOG"))));
    QProcess program;
    program.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                  {QStringLiteral("--log"), path(QStringLiteral("HAMLOG.HDB"))});
    ASSERT_TRUE(program.waitForStarted(zvtest::kSafetyNetMsecs));
    const auto stop = qScopeGuard([&] {
        hamlog::window::disconnect();
        program.kill();
        program.waitForFinished(zvtest::kSafetyNetMsecs);
    });
    ASSERT_TRUE(zvtest::waitUntil([] { return hamlog::window::findWindow() > 0; }));
    zvtest::setBoxText(w.Text5, QStringLiteral("QQ3OSA"));
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    ASSERT_EQ(g.HamlogEntrySent, 1);
    ui::script::clearAsked();
    ui::script::push(ui::No);
    choose(MainMode, core::ModeSstv);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("まだ保存されていません")));
    EXPECT_EQ(running(), QStringList{"MMVARI"});
    EXPECT_EQ(g.OpMode, core::ModeMmvari);
    EXPECT_EQ(g.MmvariActive, 1);
    EXPECT_EQ(ticked(), QList<int>{14});
    EXPECT_EQ(w.StatusBar1->text(2), panel);
    EXPECT_TRUE(forms::isLoaded<PSK31MAIN>());
    EXPECT_EQ(g.HamlogEntrySent, 1);
}

} // namespace

namespace {

// Ctrl+Alt+Z, and the exit item, in every engine while it transmits with PTT
// by CAT: the rig is unkeyed, the engine released, the port closed and the
// process ended; only the exit item saves the last mode.
TEST_F(ModeChange, TheEndOfARunUnkeysTheRigAndReleasesTheEngine) {
    struct Case {
        const char* name;
        Start from;
        bool exitItem;
        const char* lastMode;
        // Receiving, the RTTY program is gone, unnoticed, before the end asks
        // it to close: its end, seen in the wait of that request, is expected.
        bool programGoneFirst = false;
    } cases[] = {
        {"Ctrl+Alt+Z in BPSK", FromBpsk, false, "kept"},
        {"Ctrl+Alt+Z in RTTY", FromRtty, false, "kept"},
        {"Ctrl+Alt+Z in the multi-mode control", FromMmvari, false, "kept"},
        {"exit item in BPSK", FromBpsk, true, "PSK31"},
        {"exit item in RTTY", FromRtty, true, "RTTY"},
        {"exit item in RTTY, the program gone first", FromRtty, true, "RTTY", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pttControl = QStringLiteral("0");
        start(c.from);
        if (HasFatalFailure()) return;
        PSK31MAIN& w = forms::PSK31MAIN();
        // Keyed by CAT alone: no status reads cross the PTT commands.
        rig::g.RigPollMode = 0;
        int ended = 0;
        terminal::mainwindow::setProcessEndForTest([&] { ++ended; });
        core::PutIniText(QStringLiteral("PSKCFG"), "LastMode", QStringLiteral("kept"));
        g.MacroText = QStringLiteral("CQ CQ");
        g.MacroTxOn = 1;
        g.MacroTxOff = 0;
        if (!c.programGoneFirst) terminal::transmit::TxSend();
        ASSERT_TRUE(zvtest::waitUntil([&] {
            if (c.from == FromMmvari) w.MMVARI->stepForTest();
            return c.programGoneFirst || (terminal::engines::AnyEngineTransmits() && sim->ptt);
        }));
        if (c.programGoneFirst) {
            const pid_t pid = pid_t(core::mm.MmttyPid);
            ASSERT_EQ(::kill(pid, SIGKILL), 0);
            siginfo_t info{};
            ASSERT_EQ(::waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT), 0);
        }
        ui::script::clearAsked();
        if (c.exitItem)
            ASSERT_TRUE(zvtest::chooseMenuItem(w.pEnd));
        else
            QTest::keyClick(w.Text1, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        terminal::mainwindow::setProcessEndForTest({});
        EXPECT_EQ(ended, 1);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        for (const ui::Asked& a : ui::script::asked())
            EXPECT_NE(a.prompt, QStringLiteral("MMTTYが終了しました"));
        EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->ptt; }));
        EXPECT_FALSE(terminal::engines::AnyEngineTransmits());
        EXPECT_TRUE(zvtest::waitUntil([] { return running().isEmpty(); }))
            << running().join(',').toStdString();
        EXPECT_FALSE(pskcore::lib().isSubclassed());
        EXPECT_EQ(rig::g.RigPortOpen, 0);
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QString::fromLatin1(c.lastMode));
        forms::unloadAllExcept();
        core::MmttyProgram().close(0);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
    }
}

// The settings sheet open when the window that owns it goes (a mode change
// that swaps the operating window, the operator's end): it closes as its close
// box closes it, so the call typed into it is in the file and on the window in
// use. A call the file cannot hold keeps the sheet on its box and the window
// with it; mended, the same choice goes through.
TEST_F(ModeChange, TheSettingsSheetClosesBeforeTheWindowThatOwnsItGoes) {
    const auto closeBox = [](QWidget& w) {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject*>(&w)->event(&e);
    };
    struct Case {
        const char* name;
        Start from;
        std::function<void()> ownerGoes;
        int opMode; // after a mode change; -1 for the end
        bool held = false;
    } cases[] = {
        {"SSTV window, BPSK chosen there", FromSstv, [this] { choose(SstvMenu, core::ModeBpsk); },
         core::ModeBpsk},
        {"main window, SSTV chosen there", FromBpsk, [this] { choose(MainMode, core::ModeSstv); },
         core::ModeSstv},
        {"SSTV window, its close box", FromSstv, [&] { closeBox(forms::SSTVForm()); }, -1},
        {"main window, its exit item", FromRtty,
         [] { ASSERT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().pEnd)); }, -1},
        {"SSTV window, a call the file cannot hold, BPSK chosen there", FromSstv,
         [this] { choose(SstvMenu, core::ModeBpsk); }, core::ModeBpsk, true},
        {"main window, a call the file cannot hold, its close box", FromBpsk,
         [&] { closeBox(forms::PSK31MAIN()); }, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startWithRigStored(c.from);
        if (HasFatalFailure()) return;
        int ended = 0;
        terminal::mainwindow::setProcessEndForTest([&] { ++ended; });
        const int mode = g.OpMode;
        const QString storedCall = stored("PSKCFG", "USERCALL");
        ASSERT_TRUE(zvtest::chooseMenuItem(c.from == FromSstv ? forms::SSTVForm().PSKCFG
                                                              : forms::PSK31MAIN().PSKCFG));
        ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
        CFGSHEET& s = forms::CFGSHEET();
        QTest::mouseClick(s.Text1, Qt::LeftButton);
        QTest::keyClick(s.Text1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(s.Text1, QStringLiteral("jh2abc"));
        ui::script::clearAsked();
        if (c.held) {
            QTest::sendKeyEvent(QTest::Click, s.Text1, Qt::Key_unknown, QStringLiteral("€"), {});
            c.ownerGoes();
            ASSERT_FALSE(ui::script::asked().isEmpty());
            EXPECT_TRUE(ui::script::asked().last().prompt.startsWith(
                QStringLiteral("「Call Sign.」の「€」は設定ファイルに保存できない文字です。")));
            EXPECT_EQ(g.OpMode, mode);
            EXPECT_EQ(ended, 0);
            ASSERT_TRUE(forms::isLoaded<CFGSHEET>()) << "the sheet stays on the box to mend";
            EXPECT_EQ(s.focusWidget(), s.Text1);
            EXPECT_EQ(forms::isLoaded<SSTVForm>(), c.from == FromSstv);
            EXPECT_EQ(stored("PSKCFG", "USERCALL"), storedCall) << "nothing stored in its place";
            QTest::keyClick(s.Text1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(s.Text1, QStringLiteral("jh2abc"));
        }
        c.ownerGoes();
        EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
        EXPECT_TRUE(readFile(QStringLiteral("ZORVATEK.INI")).contains("\r\nUSERCALL=JH2ABC\r\n"));
        EXPECT_EQ(g.UserCall, QStringLiteral("JH2ABC"));
        if (c.opMode < 0) {
            EXPECT_EQ(ended, 1);
        } else {
            EXPECT_EQ(g.OpMode, c.opMode);
            if (c.opMode == core::ModeSstv)
                EXPECT_EQ(forms::SSTVForm().Text16->text(), QStringLiteral("JH2ABC"));
            else
                EXPECT_EQ(forms::PSK31MAIN().Label7->text(), QStringLiteral("JH2ABC"));
        }
        terminal::mainwindow::setProcessEndForTest({});
        ASSERT_TRUE(endCase());
    }
}

// Every editor holding what the operator typed, and every way its window
// goes or its text is replaced: the editor asks first; No keeps the window,
// the text, the mode, the engine and the macro file in use as they were; Yes
// lets the text go and leaves every stored file as it was. A mode change
// between engines keeps the editor open as it is, and another macro file
// replaces no CW ID list typed beside the macros.
TEST_F(ModeChange, EveryEditorAsksBeforeItsTypingGoes) {
    const auto closeBox = [](QWidget& w) {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject*>(&w)->event(&e);
    };
    const QString nothingStored = QStringLiteral("何も保存されません\r\n宜しいですか");
    const QString rsvQuestion = QStringLiteral("RSVリストの変更は保存されません\r\n宜しいですか");
    const QString memoQuestion = QStringLiteral("受信ﾃﾞｰﾀ表示の変更は保存されません\r\n宜しいですか");
    enum Editor { MacroText, CwIdList, RsvList, MemoPad, SheetRstList };
    enum Way { CloseBox, ExitItem, EmergencyKey, ToSstv, ToRtty, ToBpsk, LoadMacros, CwIdListAgain };
    struct Case {
        const char* name;
        Editor editor;
        Way way;
        ui::MsgResult answer;
        bool typing = true;           // false: the editor opened, nothing typed
        bool restored = false;        // the editor minimised and restored after the typing
        bool savedByMoveMode = false; // the typing saved as the move mode ends, the editor open
    };
    std::vector<Case> cases;
    const std::pair<Editor, const char*> mainEditors[] = {
        {MacroText, "macro text"}, {CwIdList, "CW ID list"}, {MemoPad, "memo pad"}};
    const std::pair<Way, const char*> mainWays[] = {{CloseBox, "close box"},
                                                    {ExitItem, "exit item"},
                                                    {EmergencyKey, "Ctrl+Alt+Z"},
                                                    {ToSstv, "mode SSTV"}};
    const std::pair<Way, const char*> sstvWays[] = {{CloseBox, "SSTV close box"},
                                                    {ExitItem, "SSTV exit item"},
                                                    {EmergencyKey, "SSTV Ctrl+Alt+Z"},
                                                    {ToBpsk, "SSTV mode BPSK"}};
    static std::vector<std::string> names;
    names.clear();
    names.reserve(64);
    const auto add = [&](Editor e, const char* en, Way w, const char* wn, ui::MsgResult a) {
        names.push_back(std::string(en) + ", " + wn + (a == ui::Yes ? ", Yes" : ", No"));
        cases.push_back({names.back().c_str(), e, w, a});
    };
    for (const auto& [e, en] : mainEditors) {
        for (const auto& [w, wn] : mainWays)
            for (ui::MsgResult a : {ui::No, ui::Yes})
                if (!(e == MemoPad && w == ToSstv)) add(e, en, w, wn, a);
        add(e, en, ToRtty, "mode RTTY", ui::No);
    }
    for (const auto& [w, wn] : sstvWays)
        for (ui::MsgResult a : {ui::No, ui::Yes})
            add(RsvList, "RSV list", w, wn, a);
    for (const auto& [e, en] : mainEditors)
        add(e, en, CloseBox, "close box, nothing typed", ui::Yes);
    add(RsvList, "RSV list", CloseBox, "SSTV close box, nothing typed", ui::Yes);
    add(MacroText, "macro text", LoadMacros, "another macro file, nothing typed", ui::Yes);
    for (std::size_t i = cases.size() - 5; i < cases.size(); ++i)
        cases[i].typing = false;
    for (ui::MsgResult a : {ui::No, ui::Yes})
        add(MacroText, "macro text", LoadMacros, "another macro file", a);
    add(CwIdList, "CW ID list", LoadMacros, "another macro file", ui::No);
    add(CwIdList, "CW ID list", CwIdListAgain, "the list's menu item again", ui::No);
    add(MacroText, "macro text, minimised and restored", CloseBox, "close box", ui::No);
    cases.back().restored = true;
    add(MacroText, "macro text, saved as the move mode ends", CloseBox, "close box", ui::Yes);
    cases.back().savedByMoveMode = true;
    // The settings sheet's RST list stores as its button does: a line longer
    // than the list takes is asked about first.
    for (ui::MsgResult a : {ui::No, ui::Yes})
        add(SheetRstList, "sheet's RST list, a long line", EmergencyKey, "Ctrl+Alt+Z", a);

    std::array<terminal::macros::Macro, terminal::macros::kCount> macros{};
    macros[0] = {QStringLiteral("CQ"), 0xC0C0C0, QStringLiteral("CQ CQ de 'MYCALL'")};
    const QByteArray macroFile = terminal::macros::formatMacroFile(macros);
    macros[0] = {QStringLiteral("QRZ"), 0xC0FFC0, QStringLiteral("QRZ? de 'MYCALL'")};
    const QByteArray otherFile = terminal::macros::formatMacroFile(macros);
    const QByteArray rsvFile("595\r\n579\r\n");
    const QByteArray memoFile("memo\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("ZORVATEK.MAC"), macroFile);
        writeFile(QStringLiteral("OTHER.MAC"), otherFile);
        writeFile(QStringLiteral("RSVmenu.DAT"), rsvFile);
        writeFile(QStringLiteral("PSKMEMO.DAT"), memoFile);
        pskcfgExtra = QStringLiteral("MacroFile=%1\n").arg(path("ZORVATEK.MAC"));
        extraIni = QStringLiteral("[PG_CWID]\nCWID3=DE JA1ZVK\n");
        start(c.editor == RsvList ? FromSstv : FromBpsk);
        if (HasFatalFailure()) return;
        int ended = 0;
        terminal::mainwindow::setProcessEndForTest([&] { ++ended; });
        const int mode = g.OpMode;
        QWidget* typedIn = nullptr;
        QString question;
        const auto typed = [&] {
            if (auto* plain = qobject_cast<QPlainTextEdit*>(typedIn)) return plain->toPlainText();
            return qobject_cast<QLineEdit*>(typedIn)->text();
        };
        if (c.editor == RsvList) {
            SSTVForm& f = forms::SSTVForm();
            QTest::mouseClick(f.Command3, Qt::LeftButton);
            ASSERT_TRUE(f.Text10->isVisible());
            typedIn = f.Text10;
            question = rsvQuestion;
            if (c.typing) QTest::keyClicks(f.Text10, QStringLiteral("577X"));
        } else if (c.editor == SheetRstList) {
            ASSERT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().PSKCFG));
            CFGSHEET& s = forms::CFGSHEET();
            QTabBar* bar = s.SSTab1->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
            QTest::mouseClick(s.Command15, Qt::LeftButton);
            ASSERT_TRUE(s.Text10->isVisible());
            typedIn = s.Text10;
            question = QStringLiteral("RSTの一覧には各行の先頭3文字だけが使われます:\r\n");
            QTest::keyClick(typedIn, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(typedIn, Qt::Key_Return);
            QTest::keyClicks(typedIn, QStringLiteral("5995"));
        } else if (c.editor == MemoPad) {
            ASSERT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().MEMOR));
            ASSERT_TRUE(forms::isLoaded<RCVDAT>());
            typedIn = forms::RCVDAT().Text1;
            question = memoQuestion;
            if (c.typing) QTest::keyClicks(typedIn, QStringLiteral("QRV 14MHz"));
        } else {
            QTest::mouseClick(forms::PSK31MAIN().Command8[0], Qt::RightButton);
            MACRO_FORM& m = forms::MACRO_FORM();
            ASSERT_TRUE(m.isVisible());
            question = nothingStored;
            if (c.editor == CwIdList) {
                ASSERT_TRUE(zvtest::chooseInMenuBar(m.findChild<QMenuBar*>(), m.CWIDSET));
                ASSERT_TRUE(m.Frame1->isVisible());
                typedIn = m.Text3[2];
            } else {
                typedIn = m.Text1[0];
            }
            QTest::mouseClick(typedIn, Qt::LeftButton);
            if (c.typing) QTest::keyClicks(typedIn, QStringLiteral(" TEST"));
        }
        if (c.restored) {
            // As the window system tells a window minimised and restored.
            QHideEvent hidden;
            QShowEvent shown;
            QSpontaneKeyEvent::setSpontaneous(&hidden);
            QSpontaneKeyEvent::setSpontaneous(&shown);
            static_cast<QObject*>(typedIn->window())->event(&hidden);
            static_cast<QObject*>(typedIn->window())->event(&shown);
        }
        if (c.savedByMoveMode) {
            PSK31MAIN& w = forms::PSK31MAIN();
            ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.MACROMOV));
            ui::script::push(path("SAVED.MAC"));
            ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.MACROMOV));
            ASSERT_TRUE(readFile(QStringLiteral("SAVED.MAC")).contains(" TEST"));
        }
        const QString text = typed();
        // Replaced by another macro file: only the macros typed.
        const bool unasked = c.way == ToRtty || c.way == CwIdListAgain || c.savedByMoveMode ||
                             (c.way == LoadMacros && c.editor != MacroText);
        ui::script::clearAsked();
        if (c.way == LoadMacros) ui::script::push(path("OTHER.MAC"));
        if (!unasked && c.typing) ui::script::push(c.answer);
        PSK31MAIN* main = forms::isLoaded<PSK31MAIN>() ? &forms::PSK31MAIN() : nullptr;
        switch (c.way) {
        case CloseBox:
            closeBox(main ? static_cast<QWidget&>(*main) : forms::SSTVForm());
            break;
        case ExitItem:
            ASSERT_TRUE(zvtest::chooseMenuItem(main ? main->pEnd : forms::SSTVForm().pEnd));
            break;
        case EmergencyKey:
            if (main)
                QTest::keyClick(main->Text1, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
            else
                QTest::keyClick(&forms::SSTVForm(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
            break;
        case ToSstv:
            choose(MainMode, core::ModeSstv);
            break;
        case ToRtty:
            choose(MainMode, core::ModeRtty);
            break;
        case ToBpsk:
            choose(SstvMenu, core::ModeBpsk);
            break;
        case LoadMacros:
            ASSERT_TRUE(zvtest::chooseInMenuBar(main->menuBar(), main->MAC_LOAD));
            break;
        case CwIdListAgain:
            ASSERT_TRUE(zvtest::chooseInMenuBar(forms::MACRO_FORM().findChild<QMenuBar*>(),
                                                forms::MACRO_FORM().CWIDSET));
            break;
        }
        QList<ui::Asked> questions = ui::script::asked();
        questions.removeIf([](const ui::Asked& a) { return a.kind != QLatin1String("msgBox"); });
        if (unasked || !c.typing) {
            EXPECT_TRUE(questions.isEmpty());
            EXPECT_EQ(g.OpMode, c.way == ToRtty ? int(core::ModeRtty) : mode);
        } else {
            ASSERT_FALSE(questions.isEmpty());
            EXPECT_TRUE(questions[0].prompt.startsWith(question)) << questions[0].prompt.toStdString();
        }
        // The macro file in use, as the settings and the first button name it.
        const bool loaded = c.way == LoadMacros && (c.answer == ui::Yes || unasked);
        EXPECT_EQ(stored("PSKCFG", "MacroFile"), path(loaded              ? "OTHER.MAC"
                                                      : c.savedByMoveMode ? "SAVED.MAC"
                                                                          : "ZORVATEK.MAC"));
        if (forms::isLoaded<PSK31MAIN>()) {
            EXPECT_EQ(forms::PSK31MAIN().Command8[0]->text(),
                      loaded ? QStringLiteral("QRZ") : QStringLiteral("CQ"));
        }
        if (c.answer == ui::No) {
            ASSERT_TRUE(typedIn->isVisible()) << "the editor stays open";
            EXPECT_EQ(typed(), text);
            EXPECT_EQ(ended, 0);
            if (!unasked) {
                EXPECT_EQ(questions.size(), 1);
                EXPECT_EQ(g.OpMode, mode);
                EXPECT_EQ(typedIn->window()->focusWidget(), typedIn);
                // Still receiving: the engine was never stopped for a question.
                if (c.editor == RsvList) {
                    EXPECT_TRUE(sstveng::lib().isRunning());
                } else {
                    EXPECT_EQ(running(), QStringList{"PSK"});
                }
            }
        } else {
            EXPECT_EQ(questions.size(), c.typing && !unasked ? 1 : 0);
            if (c.way == ToSstv || c.way == ToBpsk) {
                EXPECT_NE(g.OpMode, mode);
            } else if (c.way == LoadMacros) {
                // The editor stays open on the file's macros, counted as stored.
                EXPECT_EQ(ended, 0);
                EXPECT_EQ(typed(), QStringLiteral("QRZ? de 'MYCALL'"));
                EXPECT_FALSE(forms::MACRO_FORM().holdsTyping());
            } else {
                EXPECT_EQ(ended, 1);
            }
            // Gone with its window; the emergency key's end takes every window with the process.
            if (c.way != EmergencyKey && c.way != LoadMacros) {
                EXPECT_FALSE(forms::isLoaded<MACRO_FORM>() && forms::MACRO_FORM().isVisible());
            }
        }
        EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.MAC")), macroFile);
        EXPECT_EQ(readFile(QStringLiteral("RSVmenu.DAT")), rsvFile);
        const bool rstStored = c.editor == SheetRstList && c.answer == ui::Yes;
        EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")).contains("5995"), rstStored);
        EXPECT_EQ(stored("PG_CWID", "CWID3"), QStringLiteral("DE JA1ZVK"));
        terminal::mainwindow::setProcessEndForTest({});
        ASSERT_TRUE(endCase());
    }
}

} // namespace

namespace {

int libStarts() {
    int n = 0;
    for (const pskcore::LibCall& c : pskcore::lib().calls())
        n += c.name == QLatin1String("fnStartSoundCard") ? 1 : 0;
    return n;
}

// The suspend item and an outside program lend the sound card and the rig
// port; restoring the main window takes them back with the engine of the mode.
TEST_F(ModeChange, SuspensionReleasesTheEngineAndTheRestoreReattachesIt) {
    struct Case {
        const char* name;
        Start from;
        int outsideProgram;         // 0 for the suspend item
        QStringList whileSuspended; // the RTTY program keeps running, told to suspend
        QString engine;
        int opMode;
        QString logMode; // what the log takes once the engine is back
    } cases[] = {
        {"BPSK", FromBpsk, 0, {}, "PSK", 0, "PSK31"},
        {"RTTY", FromRtty, 0, {"RTTY"}, "RTTY", 3, "RTTY"},
        {"multi-mode", FromMmvari, 0, {}, "MMVARI", 99, "PSK31"},
        {"outside program from BPSK", FromBpsk, 1, {}, "PSK", 0, "PSK31"},
        {"outside program from RTTY", FromRtty, 1, {"RTTY"}, "RTTY", 3, "RTTY"},
        {"outside program from CW", FromCw, 1, {"RTTY"}, "RTTY", 4, "RTTY"},
        {"outside program from the multi-mode control", FromMmvari, 1, {}, "MMVARI", 99, "PSK31"},
        {"second outside program from BPSK", FromBpsk, 2, {}, "PSK", 0, "PSK31"},
        {"second outside program from RTTY", FromRtty, 2, {"RTTY"}, "RTTY", 3, "RTTY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        extraIni = QStringLiteral("[Other_App]\nOther_App1_pos=/bin/true\nOther_App2_pos=/bin/true\n"
                                  "MODE_Disp2=OTHER1\nMODE_Disp3=OTHER2\n");
        start(c.from);
        if (HasFatalFailure()) return;
        PSK31MAIN& w = forms::PSK31MAIN();
        ASSERT_TRUE(zvtest::waitExposed(&w));
        g.LogModeTextApp1 = QStringLiteral("OTHER1");
        g.LogModeTextApp2 = QStringLiteral("OTHER2");
        const QString rx = w.Text4->text();
        QAction* item = c.outsideProgram == 0   ? w.ZORVAT_SUSP
                        : c.outsideProgram == 1 ? w.OPAPP1_STRT
                                                : w.OPAPP2_STRT;
        ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), item));
        EXPECT_TRUE(w.isMinimized());
        EXPECT_EQ(w.Suspended, 1);
        EXPECT_EQ(rig::g.RigPortOpen, 0);
        EXPECT_FALSE(pskcore::lib().isSubclassed());
        EXPECT_EQ(running(), c.whileSuspended);
        if (c.opMode != 3 && c.opMode != 4) {
            EXPECT_EQ(stored("PSKCFG", "RX1Freq"), rx);
        }
        if (c.outsideProgram) {
            EXPECT_EQ(g.OtherAppRunning, 1);
            EXPECT_EQ(g.ModeDisplayText, c.outsideProgram == 1 ? "OTHER1" : "OTHER2");
        }
        core::MmttyProgram().clearPosted();
        // Without a stored sub-mode the multi-mode control resumes in bpsk(STD).
        w.CBMode->setCurrentIndex(0);
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nLastMode=%1\n").arg(g.LastModeText));
        w.showNormal();
        EXPECT_TRUE(zvtest::waitUntil([&] { return running() == QStringList{c.engine}; }))
            << running().join(',').toStdString();
        if (c.from == FromRtty || c.from == FromCw) {
            // The program takes up its ports again, then resumes.
            QList<mmtty::Pair> resumed;
            for (const mmtty::Pair& p : core::MmttyProgram().posted())
                if (p.code == mmtty::CmdPortUpdate || p.code == mmtty::CmdSuspend) resumed << p;
            EXPECT_EQ(resumed, (QList<mmtty::Pair>{{mmtty::CmdPortUpdate, 0}, {mmtty::CmdSuspend, 0}}));
        }
        if (c.from == FromMmvari) {
            EXPECT_EQ(w.CBMode->currentIndex(), 14 - 10);
            QVariant mode;
            ASSERT_TRUE(w.MMVARI->get(mmvari::PModeName, 0, mode));
            EXPECT_EQ(mode.toString(), QStringLiteral("bpsk"));
        }
        EXPECT_EQ(w.Suspended, 0);
        EXPECT_EQ(rig::g.RigPortOpen, 1);
        EXPECT_EQ(g.OpMode, c.opMode);
        EXPECT_EQ(g.ModeDisplayText, c.logMode);
        // A second resume finds the engine attached and starts nothing.
        const int starts = libStarts();
        terminal::engines::ResumeEngine();
        EXPECT_EQ(libStarts(), starts);
        EXPECT_EQ(running(), QStringList{c.engine});
        ASSERT_TRUE(endCase());
    }
}

// The RTTY program does not take the suspend (here: it goes as the suspend is
// posted): its end is said, BPSK runs in its place and is brought back at
// once, and the rig port stays with the system; the window stays down.
TEST_F(ModeChange, ASuspendTheRttyProgramDoesNotTakeBringsTheEngineBack) {
    start(FromRtty);
    PSK31MAIN& w = forms::PSK31MAIN();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    core::MmttyProgram().dropConnection();
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.ZORVAT_SUSP));
    EXPECT_TRUE(w.isMinimized());
    EXPECT_EQ(w.Suspended, 0);
    // Said once the suspend's own waits are over, as the change is made then.
    ASSERT_TRUE(zvtest::waitUntil([] { return !ui::script::asked().isEmpty(); }));
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt, QStringLiteral("MMTTYが終了しました"));
    EXPECT_EQ(rig::g.RigPortOpen, 1);
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_TRUE(zvtest::waitUntil([] { return running() == QStringList{"PSK"}; }))
        << running().join(',').toStdString();
    EXPECT_EQ(core::mm.MmttyPid, 0);
}

// Whichever engine lent the sound card, a program that cannot start gives it
// back, and the log takes that engine's mode again.
TEST_F(ModeChange, AnOutsideProgramThatCannotStartBringsTheSystemBack) {
    struct Case {
        const char* name;
        Start from;
        QString engine;
        QString logMode;
    } cases[] = {
        {"BPSK", FromBpsk, "PSK", "PSK31"},
        {"RTTY", FromRtty, "RTTY", "RTTY"},
        {"CW", FromCw, "RTTY", "RTTY"},
        {"multi-mode", FromMmvari, "MMVARI", "PSK31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        extraIni = QStringLiteral("[Other_App]\nOther_App2_pos=OTHER.EXE\n");
        start(c.from);
        if (HasFatalFailure()) return;
        PSK31MAIN& w = forms::PSK31MAIN();
        ASSERT_TRUE(zvtest::waitExposed(&w));
        g.LogModeTextApp1 = QStringLiteral("OTHER1");
        g.LogModeTextApp2 = QStringLiteral("OTHER2");
        ui::script::clearAsked();
        // The window never goes down: a window manager could leave it down.
        struct MinimiseWatch : QObject {
            bool minimised = false;
            bool eventFilter(QObject* o, QEvent* e) override {
                if (e->type() == QEvent::WindowStateChange)
                    minimised |= static_cast<QWidget*>(o)->isMinimized();
                return false;
            }
        } watch;
        w.installEventFilter(&watch);
        ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.OPAPP2_STRT));
        ASSERT_FALSE(ui::script::asked().isEmpty());
        EXPECT_EQ(ui::script::asked().last().prompt, QStringLiteral("OPEN出来ませんでした"));
        w.removeEventFilter(&watch);
        EXPECT_FALSE(watch.minimised);
        EXPECT_FALSE(w.isMinimized());
        EXPECT_EQ(w.Suspended, 0);
        EXPECT_EQ(g.OtherAppRunning, 0);
        EXPECT_EQ(g.ModeDisplayText, c.logMode);
        EXPECT_EQ(rig::g.RigPortOpen, 1);
        EXPECT_TRUE(zvtest::waitUntil([&] { return running() == QStringList{c.engine}; }))
            << running().join(',').toStdString();
        ASSERT_TRUE(endCase());
    }
}

// A log-mode name changed on the settings sheet is the log's as the sheet
// closes, not at the next mode change: the name of what is on the air, an
// outside program that holds the sound card included, in the log's mode text
// and on the log entry's new page.
TEST_F(ModeChange, TheSheetsCloseGivesTheLogTheNewNameOfWhatIsOnTheAir) {
    struct Case {
        const char* name;
        Start from;
        QLineEdit* CFGSHEET::*box;
        QString typed;
        int outsideProgram = 0; // started while the sheet is open
    } cases[] = {
        {"PSK, in BPSK", FromBpsk, &CFGSHEET::Text2, "BPSK31"},
        {"PSK, in the multi-mode control", FromMmvari, &CFGSHEET::Text2, "MMVARI"},
        {"RTTY, in RTTY", FromRtty, &CFGSHEET::Text6, "RTTY45"},
        {"RTTY, in CW", FromCw, &CFGSHEET::Text6, "FSK"},
        {"SSTV, in SSTV", FromSstv, &CFGSHEET::Text15, "SSTV2"},
        {"the first outside program's", FromBpsk, &CFGSHEET::Text7, "MFS", 1},
        {"the second outside program's", FromBpsk, &CFGSHEET::Text8, "OLV", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        extraIni = QStringLiteral("[Other_App]\nOther_App1_pos=/bin/true\nOther_App2_pos=/bin/true\n"
                                  "[HamLog]\nHAMLOGtype=1\nHAMLOGPOS=%1\n")
                       .arg(path("HAMLOG.HDB"));
        start(c.from);
        if (HasFatalFailure()) return;
        g.LogModeTextApp1 = QStringLiteral("OTHER1");
        g.LogModeTextApp2 = QStringLiteral("OTHER2");
        QWidget& window = c.from == FromSstv ? static_cast<QWidget&>(forms::SSTVForm())
                                             : static_cast<QWidget&>(forms::PSK31MAIN());
        ASSERT_TRUE(zvtest::waitExposed(&window));
        ASSERT_TRUE(zvtest::chooseMenuItem(c.from == FromSstv ? forms::SSTVForm().PSKCFG
                                                              : forms::PSK31MAIN().PSKCFG));
        CFGSHEET& s = forms::CFGSHEET();
        QTabBar* tabs = s.SSTab1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QLineEdit* box = s.*c.box;
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, c.typed);
        ASSERT_EQ(box->text(), c.typed);
        if (c.outsideProgram) {
            PSK31MAIN& w = forms::PSK31MAIN();
            ASSERT_TRUE(
                zvtest::chooseInMenuBar(w.menuBar(), c.outsideProgram == 1 ? w.OPAPP1_STRT : w.OPAPP2_STRT));
            ASSERT_EQ(g.OtherAppRunning, 1);
            ASSERT_EQ(g.ModeDisplayText, c.outsideProgram == 1 ? "OTHER1" : "OTHER2");
        } else {
            ASSERT_NE(g.ModeDisplayText, c.typed) << "the name in use until the sheet closes";
        }
        ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
        EXPECT_EQ(g.ModeDisplayText, c.typed);
        ASSERT_TRUE(forms::isLoaded<TEMP_LOG>());
        EXPECT_EQ(forms::TEMP_LOG().Text8->text(), c.typed) << "the new page of the log entry";
        ASSERT_TRUE(endCase());
    }
}

// The log's mode text has one writer: a start, a change, a suspend, a resume
// or a failure that wrote it itself could leave another engine's mode behind.
// The questions come first and all of them: Yes for the macro editor, then No
// for the memo pad, keeps the program with both texts as they were typed.
TEST_F(ModeChange, ANoToALaterQuestionKeepsWhatAnEarlierYesWouldHaveLetGo) {
    writeFile(QStringLiteral("PSKMEMO.DAT"), "memo\r\n");
    start(FromBpsk);
    if (HasFatalFailure()) return;
    int ended = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ended; });
    PSK31MAIN& w = forms::PSK31MAIN();
    QTest::mouseClick(w.Command8[0], Qt::RightButton);
    MACRO_FORM& m = forms::MACRO_FORM();
    QTest::mouseClick(m.Text1[0], Qt::LeftButton);
    QTest::keyClicks(m.Text1[0], QStringLiteral("TEST"));
    ASSERT_TRUE(zvtest::chooseMenuItem(w.MEMOR));
    QTest::keyClicks(forms::RCVDAT().Text1, QStringLiteral("QRV"));
    ui::script::clearAsked();
    ui::script::push(ui::Yes);
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseMenuItem(w.pEnd));
    EXPECT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ended, 0);
    ASSERT_TRUE(forms::isLoaded<MACRO_FORM>());
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.Text1[0]->toPlainText(), QStringLiteral("TEST"));
    EXPECT_TRUE(forms::RCVDAT().Text1->toPlainText().contains(QStringLiteral("QRV")));
    EXPECT_EQ(running(), QStringList{"PSK"});
    terminal::mainwindow::setProcessEndForTest({});
}

// Every editing flag of the code, and every window that shows a file in a
// box for editing or writes a file from what a box of its holds, has a row in the table the questions are
// asked from: an editor added later without one fails here.
TEST(TypedTextEditors, EveryEditorOfTheCodeIsAskedAbout) {
    QStringList marks, windows;
    for (const terminal::engines::TypedTextEditor& e : terminal::engines::TypedTextEditors()) {
        marks << QString::fromLatin1(e.marks).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        windows << QString::fromLatin1(e.window);
    }
    const QDir src(QStringLiteral(ZV_SOURCE_DIR "/src"));
    ASSERT_TRUE(src.exists(QStringLiteral("terminal/engines/LeaveQuestions.cpp")));
    const QRegularExpression flag(
        QStringLiteral(R"(\b(?:int|bool)\s+(\w+(?:EditMode|Editing|EditOpen|EditorOpen_))\s*=)"));
    const QRegularExpression boxToFile(QStringLiteral(
        R"((?:replaceWhole|writeWhole|WriteListFile)\(.*\b(?:(?:Text\d+|box)->(?:toPlainText|text)\(\)|plainText\(\*Text\d+->document\(\)\))|macros::SaveMacroFile\(\)|core::OpenListBox\()"));
    QStringList missing, flagsFound, filesFound;
    QDirIterator it(src.path(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        const QString name = QFileInfo(f.fileName()).fileName();
        for (auto m = flag.globalMatch(text); m.hasNext();) {
            const QString found = m.next().captured(1);
            flagsFound << found;
            if (!marks.contains(found)) missing << name + QStringLiteral(": ") + found;
        }
        if (!boxToFile.match(text).hasMatch()) continue;
        filesFound << name;
        const bool listed = std::any_of(windows.begin(), windows.end(), [&](const QString& w) {
            return name.startsWith(w + QLatin1Char('.')) || name.startsWith(w + QLatin1Char('_'));
        });
        if (!listed) missing << name + QStringLiteral(": writes a file from a box");
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
    // The search itself still finds what it is meant to find.
    for (const char* known : {"RsvEditMode", "LogEditMode", "TitleBarEditing", "rstEditorOpen_"})
        EXPECT_TRUE(flagsFound.contains(QLatin1String(known))) << known;
    for (const char* known :
         {"MACRO_FORM.cpp", "SSTVForm_qso_log.cpp", "CFGSHEET_lists.cpp", "RCVDAT.cpp", "SSTVMACRO.cpp"})
        EXPECT_TRUE(filesFound.contains(QLatin1String(known))) << known;
}

// Every match of the pattern over the program's sources, as "file:text"; a
// file that cannot be read is named as such.
QStringList matchesInSources(const QRegularExpression& pattern) {
    const QDir src(QStringLiteral(ZV_SOURCE_DIR "/src"));
    QStringList found;
    QDirIterator it(src.path(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        const QString name = src.relativeFilePath(f.fileName());
        if (!f.open(QIODevice::ReadOnly)) {
            found << name + QStringLiteral(": cannot be read");
            continue;
        }
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = pattern.globalMatch(text); m.hasNext();)
            found << name + QLatin1Char(':') + m.next().captured();
    }
    return found;
}

// The macro editor's boxes are written by the store (a load, a save, a file
// read in), the move of a button's macro, the editor's own commands and the
// main window's start, as it loads the editor: each asks, stores or finds
// nothing typed. A writer elsewhere fails here until it is routed so.
TEST(TypedTextEditors, OnlyTheMacroStoreWritesTheMacroBoxes) {
    ASSERT_TRUE(QFile::exists(QStringLiteral(ZV_SOURCE_DIR "/src/terminal/macros/MacroStore.cpp")));
    QStringList writers;
    for (const QString& found : matchesInSources(QRegularExpression(QStringLiteral(
             R"(\b(?:setMacroText|setMacroName|putInStore|fillStoreAtLoad|LoadMacroFile|MACCLR_Click)\s*\(|)"
             R"(\bText[123]\[[^\]]*\]->(?:setText|setPlainText|clear|insert|paste|appendPlainText))"))))
        writers << found.section(QLatin1Char(':'), 0, 0);
    writers.removeDuplicates();
    writers.sort();
    EXPECT_EQ(writers.join(QLatin1Char('\n')).toStdString(), "terminal/macros/MACRO_FORM.cpp\n"
                                                             "terminal/macros/MACRO_FORM.h\n"
                                                             "terminal/macros/MACRO_FORM_shortcuts.cpp\n"
                                                             "terminal/macros/MacroButtons.cpp\n"
                                                             "terminal/macros/MacroStore.cpp\n"
                                                             "terminal/macros/MacroStore.h\n"
                                                             "terminal/mainwindow/PSK31MAIN_appearance.cpp\n"
                                                             "terminal/mainwindow/PSK31MAIN_start.cpp");
}

TEST(LogModeOwner, NothingElseWritesTheLogsModeText) {
    ASSERT_TRUE(QFile::exists(QStringLiteral(ZV_SOURCE_DIR "/src/core/LogMode.cpp")));
    const QStringList writers = matchesInSources(QRegularExpression(QStringLiteral(
        R"(ModeDisplayText\s*(?:[-+]?=(?!=)|\.\s*(?:assign|append|prepend|clear|replace|insert|remove|swap|fill|resize|truncate|chop|operator)\b)|(?:swap|exchange)\s*\([^;]*ModeDisplayText)")));
    EXPECT_EQ(writers.join(QLatin1Char('\n')).toStdString(), "core/LogMode.cpp:ModeDisplayText =");
}

} // namespace

namespace {

// CW is keyed by the running RTTY program: the port it keys through is handed
// to the scope library before the port word, and back again for RTTY.
TEST_F(ModeChange, CwAndBackHandTheRttyProgramItsKeyingPort) {
    struct Case {
        const char* name;
        Start from;
        QString pttPort; // COMPORT
        bool extfsk;     // EXTFSK.DLL beside the program
        int index;
        QString scopeCall; // empty: no call
    } cases[] = {
        {"RTTY to CW with EXTFSK.DLL", FromRtty, "0", true, 4, "fnBOBMAKOInit(MMTTY/ZORVAT, EXTFSK, NONE)"},
        {"RTTY to CW without it", FromRtty, "0", false, 4, {}},
        {"CW to RTTY with a PTT port", FromCw, "3", false, 3, "fnBOBMAKOInit(MMTTY/ZORVAT, COM3, NONE)"},
        {"CW to RTTY without one", FromCw, "0", true, 3, "fnBOBMAKOInit(MMTTY/ZORVAT, NONE, NONE)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pttPort = c.pttPort;
        if (c.extfsk) writeFile("EXTFSK.DLL", "");
        start(c.from);
        if (HasFatalFailure()) return;
        const qsizetype before = bobmako::lib().calls().size();
        const qint64 pid = core::mm.MmttyPid;
        choose(MainMode, c.index);
        EXPECT_EQ(g.OpMode, c.index);
        EXPECT_EQ(g.MmttyCwOn, c.index == core::ModeCw ? 1 : 0);
        const QStringList calls = bobmako::lib().calls().mid(before);
        EXPECT_EQ(calls, c.scopeCall.isEmpty() ? QStringList{} : QStringList{c.scopeCall});
        // The program keeps running: no new start.
        EXPECT_EQ(core::mm.MmttyPid, pid);
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("RTTY"));
        rig::RigClosePort();
        forms::unloadAllExcept();
        core::MmttyProgram().close(0);
        QFile::remove(path("EXTFSK.DLL"));
        ASSERT_TRUE(zvtest::waitForPostedEvents());
    }
}

} // namespace
