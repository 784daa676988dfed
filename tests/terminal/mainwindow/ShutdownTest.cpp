// The end of a run from the main window: what is refused, what is stored and
// written, what is released, and that every window goes before the process ends.
#include "terminal/mainwindow/Shutdown.h"
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "platform/os/ProcessStop.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "startup/AboutZORVATEK.h"
#include "support/Contest.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

namespace {

using core::g;

const QString kScanRefusal = QStringLiteral("Scan 動作を止めてからにしてください");

enum class Via { CloseBox, ExitItem };

// Windows that note the order in which they are unloaded.
QStringList unloadOrder;
struct FirstWindow : QWidget {
    void Form_Unload() { unloadOrder << QStringLiteral("first"); }
};
struct SecondWindow : QWidget {
    void Form_Unload() { unloadOrder << QStringLiteral("second"); }
};

class Shutdown : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        ends = 0;
        terminal::mainwindow::setProcessEndForTest([this] {
            // By the end every other window is gone and the main window is unloaded.
            loadedAtEnd = forms::loadedCount();
            ++ends;
        });
    }
    void TearDown() override {
        terminal::mainwindow::setProcessEndForTest({});
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        sim.reset();
        ProgramFolderTest::TearDown();
    }

    PSK31MAIN& load(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nLastMode=OLD\n") + extra);
        return forms::PSK31MAIN();
    }

    // The window on the screen with its engine started, as the operator finds it
    // before choosing from its menus.
    static void showStarted(PSK31MAIN& w) {
        w.show();
        ASSERT_TRUE(zvtest::waitExposed(&w));
        ASSERT_TRUE(zvtest::waitUntil([&] { return !w.Timer2->isActive(); }));
    }

    // The operator's close: a close event from the window system.
    static bool closeBox(PSK31MAIN& w) {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject&>(w).event(&e);
        return e.isAccepted();
    }

    static void end(PSK31MAIN& w, Via via) {
        if (via == Via::CloseBox)
            closeBox(w);
        else
            ASSERT_TRUE(zvtest::chooseMenuItem(w.pEnd));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString stored(const char* section, const char* key) const {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key))
            .value_or(QStringLiteral("-"));
    }

    zvtest::RigSimulator& openRig() {
        sim = std::make_unique<zvtest::RigSimulator>(QStringLiteral("KENWOOD"));
        zvtest::pointRigLinkAt(*sim);
        rig::RigOpenPort();
        EXPECT_EQ(rig::g.RigPortOpen, 1) << core::g.StatusMessage.toStdString();
        return *sim;
    }

    void startPskEngine(PSK31MAIN& w) {
        pskcore::PskCore& lib = pskcore::lib();
        ASSERT_TRUE(lib.subclass(0x10010, &w, [](std::int32_t, std::int32_t, std::int32_t) {}));
        ASSERT_EQ(lib.fnStartSoundCard(0x10010, -1, 1), 0);
        ASSERT_TRUE(lib.isRunning());
    }

    int ends = 0;
    int loadedAtEnd = -1;
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(Shutdown, AScanRefusesBothEntriesAndChangesNothing) {
    for (Via via : {Via::CloseBox, Via::ExitItem}) {
        SCOPED_TRACE(via == Via::CloseBox ? "close box" : "exit item");
        PSK31MAIN& w = load(QStringLiteral("ScanLevel=99\n")); // the scan stops on no signal
        showStarted(w);
        writeFile(QStringLiteral("PSKMEMO.DAT"), "memo\r\n");
        w.RichTextBox1->setText(QStringLiteral("CQ"));
        // The end is asked for while the scan runs; a second click on the
        // scan button then stops it.
        bool asked = false;
        QTimer::singleShot(0, &w, [&] {
            ASSERT_EQ(g.WfDrawState, 1) << "the scan runs";
            const QByteArray iniBefore = readFile(QStringLiteral("ZORVATEK.INI"));
            ui::script::clearAsked();
            if (via == Via::CloseBox)
                EXPECT_FALSE(closeBox(w));
            else
                EXPECT_TRUE(zvtest::chooseMenuItem(w.pEnd));
            asked = true;
            EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.INI")), iniBefore);
            QTest::mouseClick(w.Command11, Qt::LeftButton);
        });
        QTest::mouseClick(w.Command11, Qt::LeftButton); // returns once the scan has stopped
        ASSERT_TRUE(asked);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_EQ(ui::script::asked().front().prompt, kScanRefusal);
        EXPECT_EQ(ui::script::asked().front().style, ui::OkOnly);
        EXPECT_TRUE(forms::isLoaded<PSK31MAIN>());
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("NENNOTAMELOG.TXT"))));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("PSKMEMO.DAT"))));
        EXPECT_EQ(ends, 0);
        EXPECT_EQ(g.WfDrawState, 0);
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(Shutdown, ClosesFromCodePassWithoutTheSequence) {
    PSK31MAIN& w = load();
    for (int reason : {terminal::mainwindow::FromCode, terminal::mainwindow::AppWindows,
                       terminal::mainwindow::TaskManager}) {
        bool cancel = false;
        w.Form_QueryUnload(cancel, reason);
        EXPECT_FALSE(cancel) << reason;
    }
    EXPECT_TRUE(w.close()); // not spontaneous: a close from the system's own code
    EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("OLD"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("NENNOTAMELOG.TXT"))));
    EXPECT_EQ(ends, 0);
}

TEST_F(Shutdown, TheReceiveCopyGoesToTheFileTheSettingAsks) {
    // 2006-12-31 23:59:58 on the station's clock (JST).
    sysclock::setUtcForTest(QDateTime(QDate(2006, 12, 31), QTime(14, 59, 58), Qt::UTC));
    const QString dated = QStringLiteral("ZORVAT_20061231235958.LOG");
    const QString kept = QStringLiteral("NENNOTAMELOG.TXT");
    struct Case {
        const char* setting; // nullptr: the key is missing
        bool datedCopy;
    } cases[] = {{"1", true}, {"0", false}, {"abc", false}, {nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "missing");
        for (const QString& f : {dated, kept})
            QFile::remove(path(f));
        writeFile(kept, "old copy\r\n");
        PSK31MAIN& w =
            load(c.setting ? QStringLiteral("NENNOTAME=%1\n").arg(QLatin1String(c.setting)) : QString());
        w.RichTextBox1->setText(QStringLiteral("CQ CQ de JA1ZZZ\nこんにちは"));
        end(w, Via::ExitItem);
        const QByteArray expected = cp932::encode(QStringLiteral("CQ CQ de JA1ZZZ\r\nこんにちは\r\n"));
        EXPECT_EQ(readFile(c.datedCopy ? dated : kept), expected);
        if (c.datedCopy) {
            EXPECT_EQ(readFile(kept), QByteArray("old copy\r\n"));
        } else {
            EXPECT_FALSE(QFile::exists(path(dated)));
        }
        // A setting that is no number is no failure: the run ends normally.
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("PSK31"));
        EXPECT_EQ(ends, 1);
        ends = 0;
        g = {};
    }
}

TEST_F(Shutdown, TheReceivedDataFolderOrTheProgramFolderTakesTheCopy) {
    const QString rcvd = path(QStringLiteral("RCVD"));
    ASSERT_TRUE(QDir().mkpath(rcvd));
    sysclock::setUtcForTest(QDateTime(QDate(2006, 12, 31), QTime(14, 59, 58), Qt::UTC));
    const QString dated = QStringLiteral("ZORVAT_20061231235958.LOG");
    struct Case {
        const char* name;
        QString setting;
        QString folder;
        QString file = QStringLiteral("NENNOTAMELOG.TXT");
        bool told = false; // the operator is told where the copy went
    } cases[] = {
        {"existing folder", QStringLiteral("NENNOTAME=0\nRCVDFOL=%1\n").arg(rcvd), rcvd},
        {"missing key", QStringLiteral("NENNOTAME=0\n"), folder()},
        // A folder that is gone gets no copy there; the program folder keeps it.
        {"folder gone", QStringLiteral("NENNOTAME=0\nRCVDFOL=%1\n").arg(path(QStringLiteral("GONE"))),
         folder(), QStringLiteral("NENNOTAMELOG.TXT"), true},
        // A folder that takes no file (full, say): the dated copy too.
        {"folder full", QStringLiteral("NENNOTAME=1\nRCVDFOL=%1\n").arg(rcvd), folder(), dated, true},
    };
    // What the full folder cannot take: a folder stands in the file's place.
    ASSERT_TRUE(QDir().mkpath(paths::join(rcvd, dated)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(paths::join(rcvd, QStringLiteral("NENNOTAMELOG.TXT")));
        QFile::remove(path(c.file));
        writeFile(QStringLiteral("PSKMEMO.DAT"), "memo\r\n");
        PSK31MAIN& w = load(c.setting);
        w.RichTextBox1->setText(QStringLiteral("RYRY"));
        ui::script::clearAsked();
        end(w, Via::CloseBox);
        const QString at = paths::join(c.folder, c.file);
        ASSERT_EQ(ui::script::asked().size(), c.told ? 1 : 0);
        if (c.told) {
            EXPECT_TRUE(ui::script::asked().front().prompt.endsWith(at));
        }
        QFile copy(at);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), QByteArray("RYRY\r\n"));
        EXPECT_FALSE(QDir(path(QStringLiteral("GONE"))).exists());
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("PSKMEMO.DAT"))));
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("PSK31"));
        g = {};
    }
}

TEST_F(Shutdown, ACopyThatCannotBeWrittenIsReportedAndTheEngineAndRigAreStillReleased) {
    // A folder in the file's place: the copy can be written neither there nor in the program folder.
    const QString rcvd = path(QStringLiteral("RCVD"));
    ASSERT_TRUE(QDir().mkpath(paths::join(rcvd, QStringLiteral("NENNOTAMELOG.TXT"))));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("NENNOTAMELOG.TXT"))));
    for (Via via : {Via::CloseBox, Via::ExitItem}) {
        SCOPED_TRACE(via == Via::CloseBox ? "close box" : "exit item");
        writeFile(QStringLiteral("PSKMEMO.DAT"), "memo\r\n");
        PSK31MAIN& w = load(QStringLiteral("NENNOTAME=0\nRCVDFOL=%1\n").arg(rcvd));
        openRig();
        startPskEngine(w);
        ui::script::clearAsked();
        end(w, via);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_TRUE(ui::script::asked().front().prompt.startsWith(
            QStringLiteral("受信データを保存できませんでした。")));
        EXPECT_FALSE(pskcore::lib().isRunning());
        EXPECT_FALSE(pskcore::lib().isSubclassed());
        EXPECT_EQ(rig::g.RigPortOpen, 0);
        // What comes after the failed step is not done.
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("OLD"));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("PSKMEMO.DAT"))));
        EXPECT_EQ(ends, 1);
        EXPECT_EQ(loadedAtEnd, 0);
        ends = 0;
        g = {};
        renewContext();
        sim.reset();
    }
}

// Settings the file would not take (made read-only meanwhile) are lost with
// the run: the operator's end names them once, the contest serial among them.
TEST_F(Shutdown, SettingsTheFileWouldNotTakeAreNamedOnceAtTheEnd) {
    PSK31MAIN& w = load(QStringLiteral("ContestNo=001\n"));
    showStarted(w);
    const QByteArray before = readFile(QStringLiteral("ZORVATEK.INI"));
    ASSERT_TRUE(QFile::setPermissions(path(QStringLiteral("ZORVATEK.INI")), QFileDevice::ReadOwner));
    CFG_Contest* d = zvtest::openContestDialog();
    ASSERT_NE(d, nullptr);
    zvtest::tick(d->Check3);
    ASSERT_TRUE(zvtest::joinContest(*d));
    QTest::mouseClick(w.VScroll4, Qt::LeftButton, {}, QPoint(w.VScroll4->width() / 2, 3));
    ASSERT_EQ(w.Text11->text(), QStringLiteral("002"));
    ui::script::clearAsked();
    end(w, Via::ExitItem);
    QStringList told;
    for (const ui::Asked& a : ui::script::asked())
        if (a.prompt.startsWith(core::kSettingsNotSaved)) told << a.prompt;
    ASSERT_EQ(told.size(), 1);
    for (const char* key : {"PSKCFG ContestNo", "PSKCFG LastMode", "PSKCFG RX1Freq"})
        EXPECT_TRUE(told.front().contains(QLatin1String(key))) << key;
    EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.INI")), before);
    EXPECT_EQ(ends, 1);
}

// The end stops the engine and closes the rig port; a rig lost while keyed,
// whose release never reached it, is named at the end: it may still send.
TEST_F(Shutdown, ThePskEngineStopsAndTheRigPortCloses) {
    for (const bool lostWhileKeyed : {false, true}) {
        SCOPED_TRACE(lostWhileKeyed ? "rig lost while keyed" : "rig answering");
        PSK31MAIN& w = load();
        zvtest::RigSimulator& rig = openRig();
        startPskEngine(w);
        if (lostWhileKeyed) {
            ASSERT_TRUE(rig::RigPttOn());
            ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));
            sim.reset();
            ASSERT_TRUE(zvtest::waitUntil([] { return rig::g.RigLineLost == 1; }));
        }
        pskcore::lib().clearCalls();
        ui::script::clearAsked();
        end(w, Via::CloseBox);
        const QStringList calls = pskcore::lib().callTexts();
        if (!lostWhileKeyed) {
            ASSERT_EQ(calls.size(), 2);
            EXPECT_EQ(calls[0], QStringLiteral("fnSetComPort(0, 0)"));
        }
        EXPECT_EQ(calls.value(calls.size() - 1), QStringLiteral("fnStopSoundCard()"));
        EXPECT_FALSE(pskcore::lib().isRunning());
        EXPECT_FALSE(pskcore::lib().isSubclassed());
        EXPECT_EQ(rig::g.RigPortOpen, 0);
        if (sim) {
            EXPECT_TRUE(sim->isOpen());
        }
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("PSK31"));
        EXPECT_EQ(ends, 1);
        int told = 0;
        for (const ui::Asked& a : ui::script::asked())
            if (a.prompt.contains(QStringLiteral("リグが送信状態のままかもしれません"))) ++told;
        EXPECT_EQ(told, lostWhileKeyed ? 1 : 0);
        ends = 0;
        g = {};
        renewContext();
        sim.reset();
    }
}

TEST_F(Shutdown, TheRttyProgramIsClosedAndWaitedFor) {
    for (Via via : {Via::CloseBox, Via::ExitItem}) {
        SCOPED_TRACE(via == Via::CloseBox ? "close box" : "exit item");
        PSK31MAIN& w = load();
        mmtty::MmttyLink& program = core::MmttyProgram();
        ASSERT_GT(program.start(paths::join(paths::executableFolder(), QStringLiteral("MMTTY.EXE")), 0x10010),
                  0);
        ASSERT_TRUE(zvtest::waitUntil([&] { return program.programWindow() != 0; }));
        QObject::connect(&program, &mmtty::MmttyLink::notice, [](std::int32_t, std::int32_t) {});
        g.OpMode = core::ModeCw;
        end(w, via);
        EXPECT_FALSE(program.isRunning());
        // The system no longer listens to the program.
        EXPECT_FALSE(QObject::disconnect(&program, &mmtty::MmttyLink::notice, nullptr, nullptr));
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QStringLiteral("RTTY"));
        g = {};
    }
}

TEST_F(Shutdown, ASecondCloseDuringTheShutdownIsRefused) {
    PSK31MAIN& w = load();
    mmtty::MmttyLink& program = core::MmttyProgram();
    ASSERT_GT(program.start(paths::join(paths::executableFolder(), QStringLiteral("MMTTY.EXE")), 0x10010), 0);
    ASSERT_TRUE(zvtest::waitUntil([&] { return program.programWindow() != 0; }));
    g.OpMode = core::ModeRtty;
    // Runs while the shutdown waits for the RTTY program.
    std::optional<bool> secondAccepted;
    QTimer::singleShot(0, &w, [&] { secondAccepted = closeBox(w); });
    end(w, Via::CloseBox);
    ASSERT_TRUE(secondAccepted.has_value());
    EXPECT_FALSE(*secondAccepted);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(program.isRunning());
}

TEST_F(Shutdown, TheFrequenciesComeFromTheBoxesOfTheEntry) {
    struct Case {
        int mode;
        Via via;
        const char* rx;
        const char* tx;
        bool runSwitchSet;
        const char* lastMode;
    } cases[] = {
        {core::ModeMmvari, Via::ExitItem, "1234", "1250", false, "MMVARI"},
        {core::ModeMmvari, Via::CloseBox, "1500", "1510", true, "MMVARI"},
        {core::ModeBpsk, Via::ExitItem, "1500", "1510", false, "PSK31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << (c.via == Via::CloseBox ? " close box" : " exit item"));
        PSK31MAIN& w = load();
        showStarted(w);
        g.OpMode = c.mode;
        w.Text2->setText(QStringLiteral("1234"));
        w.Text9->setText(QStringLiteral("1250"));
        w.Text4->setText(QStringLiteral("1500"));
        w.Text8->setText(QStringLiteral("1510"));
        w.Text11->setText(QStringLiteral("007"));
        mmvari::MmvariControl* control = w.MMVARI;
        control->clearCalls();
        if (c.via == Via::CloseBox)
            closeBox(w);
        else
            ASSERT_TRUE(zvtest::chooseMenuItem(w.pEnd));
        const QList<dispatch::Call> runSets = control->callsOf(dispatch::Call::Set, mmvari::IdRun);
        EXPECT_EQ(runSets.size(), c.runSwitchSet ? 1 : 0);
        if (!runSets.isEmpty()) {
            EXPECT_EQ(runSets.front().args.value(0).toBool(), false);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(stored("PSKCFG", "RX1Freq"), QLatin1String(c.rx));
        EXPECT_EQ(stored("PSKCFG", "TX1Freq"), QLatin1String(c.tx));
        EXPECT_EQ(stored("PSKCFG", "ContestNo"), QStringLiteral("007"));
        EXPECT_EQ(stored("PSKCFG", "LastMode"), QLatin1String(c.lastMode));
        g = {};
    }
}

TEST_F(Shutdown, ThePlaceIsStoredInTwipsAndAFreshLoadReturnsThere) {
    PSK31MAIN& w = load();
    w.show();
    w.move(40, 60);
    w.resize(700, w.height());
    // On a busy machine the window system takes its time to place the window.
    ASSERT_TRUE(zvtest::waitUntil([&w] { return w.pos() == QPoint(40, 60) && w.width() == 700; }));
    end(w, Via::CloseBox);
    EXPECT_EQ(stored("CFGPOS", "PMPOSTop"), QStringLiteral("900"));
    EXPECT_EQ(stored("CFGPOS", "PMPOSLeft"), QStringLiteral("600"));
    EXPECT_EQ(stored("CFGPOS", "PMPOSWidth"), QStringLiteral("10500"));
    g = {};
    PSK31MAIN& again = forms::PSK31MAIN();
    EXPECT_EQ(again.pos(), QPoint(40, 60));
    EXPECT_EQ(again.width(), 700);

    // A minimised window keeps the place it had in its normal state.
    again.show();
    again.move(10, 20);
    again.showMinimized();
    QCoreApplication::processEvents();
    end(again, Via::ExitItem);
    EXPECT_EQ(stored("CFGPOS", "PMPOSTop"), QStringLiteral("900"));
    EXPECT_EQ(stored("CFGPOS", "PMPOSLeft"), QStringLiteral("600"));
}

TEST_F(Shutdown, EveryOtherWindowIsUnloadedInLoadOrderBeforeTheMainWindow) {
    PSK31MAIN& w = load();
    forms::AboutZORVATEK();
    forms::get<FirstWindow>();
    forms::get<SecondWindow>();
    g.ChannelDisplay = 3;
    unloadOrder.clear();
    end(w, Via::ExitItem);
    EXPECT_EQ(unloadOrder, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    EXPECT_EQ(loadedAtEnd, 0);
    EXPECT_FALSE(forms::isLoaded<PSK31MAIN>());
    EXPECT_FALSE(forms::isLoaded<MACRO_FORM>());
    EXPECT_FALSE(forms::isLoaded<AboutZORVATEK>());
    EXPECT_FALSE(forms::isLoaded<multi_ch>());
    // Three channels shown: the multi-channel window's place and frequencies are kept.
    EXPECT_NE(stored("CFGPOS", "MDPOSWidth"), QStringLiteral("-"));
    EXPECT_NE(stored("PSKCFG", "RX2Freq"), QStringLiteral("-"));
}

// A logging program still starting has no window to close: it is ended by
// its process id, and does not outlive the run.
TEST_F(Shutdown, ALoggingProgramStillStartingEndsWithTheRun) {
    QLocalServer::removeServer(hamlog::window::serverName());
    qint64 pid = 0;
    ASSERT_TRUE(QProcess::startDetached(QStringLiteral("sleep"), {QStringLiteral("600")}, QString(), &pid));
    PSK31MAIN& w = load();
    logbook::g.HamlogStartResult = 1;
    logbook::g.HamlogProcessId = pid;
    end(w, Via::ExitItem);
    EXPECT_TRUE(zvtest::waitUntil([pid] { return !process::running(pid); }));
    ::kill(pid_t(pid), SIGKILL);
    hamlog::window::disconnect();
}

TEST_F(Shutdown, OnlyTheLoggingProgramTheSystemStartedIsAskedToClose) {
    for (int started : {1, 0}) {
        SCOPED_TRACE(started);
        QLocalServer::removeServer(hamlog::window::serverName());
        QLocalServer server;
        ASSERT_TRUE(server.listen(hamlog::window::serverName()));
        PSK31MAIN& w = load();
        logbook::g.HamlogStartResult = started;
        end(w, Via::ExitItem);
        QByteArray received;
        // The end has connected, if it did, before it returned: the connection waits in the queue.
        server.waitForNewConnection(0);
        if (QLocalSocket* s = server.nextPendingConnection()) {
            zvtest::waitUntil([&] { return s->bytesAvailable() > 0 || !s->isOpen(); });
            received = s->readAll();
        }
        bool broken = false;
        const std::optional<hamlog::window::Frame> frame = hamlog::window::takeFrame(received, broken);
        EXPECT_EQ(frame.has_value() && frame->kind == hamlog::window::FrameKind::Close, started == 1);
        hamlog::window::disconnect();
        g = {};
        logbook::g = {};
    }
}

} // namespace
