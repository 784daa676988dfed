// The start-up sequence against a temporary program folder.
#include "startup/Startup.h"
#include "core/Globals.h"
#include "core/StartupFiles.h"
#include "core/ini/IniStore.h"
#include "log/LogGlobals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "settings/sheet/CFGSHEET.h"
#include "spots/SpotGlobals.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "startup/STUPZORVATEK.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/SplitterBar.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

using core::g;

const QString kSettled = QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n");

class Startup : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        hamlog::setThdllVersionForTest(0x50300);
        zvtest::freshRigGlobals();
        spots::g = {};
    }
    void TearDown() override {
        if (logbook::g.HamlogProcessId > 0) ::kill(static_cast<pid_t>(logbook::g.HamlogProcessId), SIGTERM);
        ProgramFolderTest::TearDown();
    }
    QStringList prompts() const {
        QStringList p;
        for (const ui::Asked& a : ui::script::asked())
            p << a.prompt;
        return p;
    }
};

TEST_F(Startup, WithoutSettingsTheFirstRunOpensOnlyTheSettingsSheet) {
    startup::StartUp();
    EXPECT_EQ(prompts(), QStringList{QStringLiteral("ようこそ、ZORVATEK へ、環境の設定をお願いします")});
    EXPECT_EQ(g.LastModeText, QStringLiteral("PSK31"));
    EXPECT_EQ(g.FirstRunSetup, 1);
    EXPECT_FALSE(forms::isLoaded<STUPZORVATEK>());
    EXPECT_TRUE(forms::isLoaded<AboutZORVATEK>());
    EXPECT_TRUE(forms::CFGSHEET().isVisible());
    EXPECT_TRUE(forms::PSK31MAIN().isHidden());
    EXPECT_FALSE(forms::PSK31MAIN().Timer2->isActive()) << "no engine on a first run";
    EXPECT_EQ(logbook::g.HamlogLink, 0);
    EXPECT_EQ(rig::g.RigPortName, QStringLiteral("NONE"));
    EXPECT_EQ(rig::g.RigType, QStringLiteral("Not Use"));
    EXPECT_EQ(rig::g.RigBaudRate, QStringLiteral("4800"));
    EXPECT_EQ(rig::g.RigStopBits, QStringLiteral("1"));
    EXPECT_EQ(rig::g.RigPollInterval, 1000);
    EXPECT_EQ(g.UserCall, QStringLiteral("No Call"));
}

TEST_F(Startup, FirstRunIsRecognisedInEveryMode) {
    for (const char* mode : {"RTTY", "MMVARI"}) {
        SCOPED_TRACE(mode);
        g = {};
        writeIni(QStringLiteral("[PSKCFG]\nLastMode=%1\n").arg(QString::fromLatin1(mode)));
        startup::StartUp();
        EXPECT_EQ(g.FirstRunSetup, 1);
        EXPECT_TRUE(forms::PSK31MAIN().isHidden());
        EXPECT_TRUE(forms::CFGSHEET().isVisible());
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A first run in the mode the settings name: "設定完了" starts that mode's
// engine, or BPSK with its own controls when the RTTY program is missing;
// the mode in use and the version window name the engine that runs.
TEST_F(Startup, TheFirstRunStartsTheEngineItShows) {
    struct Case {
        const char* lastMode;
        int opMode;
        const char* lastModeText;
        const char* mmvariVersion;
        bool program = true; // the RTTY program lies in the program folder
    } cases[] = {{"MMVARI", core::ModeMmvari, "MMVARI", "1.02"},
                 {"RTTY", core::ModeRtty, "RTTY", "0"},
                 {"RTTY", core::ModeBpsk, "PSK31", "0", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastMode);
        g = {};
        writeIni(
            QStringLiteral("[PSKCFG]\nLastMode=%1\nUSERCALL=JA1ZVK\n").arg(QString::fromLatin1(c.lastMode)));
        startup::StartUp();
        ASSERT_EQ(g.FirstRunSetup, 1);
        if (!c.program) {
            ASSERT_TRUE(QFile::remove(path("MMTTY.EXE")));
        }
        ui::script::clearAsked();
        ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFGSHEET().CFGEND));
        PSK31MAIN& main = forms::PSK31MAIN();
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(g.OpMode, c.opMode);
        EXPECT_EQ(g.LastModeText, QString::fromLatin1(c.lastModeText));
        EXPECT_EQ(g.MmvariActive, c.opMode == core::ModeMmvari ? 1 : 0);
        if (c.program) {
            EXPECT_TRUE(prompts().isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(main.PSKMODE[core::ModeRtty]->isChecked(), c.opMode == core::ModeRtty);
        } else {
            EXPECT_TRUE(prompts().join(QString()).endsWith(QStringLiteral("MMTTYがOPEN出来ませんでした")));
            EXPECT_EQ(main.StatusBar1->text(2), QStringLiteral("BPSK"));
            EXPECT_TRUE(main.Command11->isEnabled()) << "Scan";
            for (QAction* a : {main.RecPsk, main.PlayPsk, main.RecStop})
                EXPECT_TRUE(zvtest::enabledOnceBuilt(a)) << a->text().toStdString();
            EXPECT_TRUE(zvtest::waitUntil([] { return pskcore::lib().isRunning(); }));
        }
        AboutZORVATEK& about = forms::AboutZORVATEK();
        about.show();
        EXPECT_EQ(about.Label18->text(), QString::fromLatin1(c.mmvariVersion));
        EXPECT_GE(about.Label12->width(), about.Label12->sizeHint().width()) << "the whole version shows";
        about.hide();
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        pskcore::lib().fnStopSoundCard();
    }
}

TEST_F(Startup, TheLastModeChoosesTheWindows) {
    struct Case {
        const char* lastMode;
        int opMode;
        bool sstv;
        bool recordingItems;
        bool brokenProgram = false; // an RTTY program that cannot start: BPSK runs instead
    } cases[] = {{nullptr, core::ModeBpsk, false, true},     {"PSK31", core::ModeBpsk, false, true},
                 {"RTTY", core::ModeRtty, false, false},     {"MMVARI", core::ModeMmvari, false, false},
                 {"SSTV", core::ModeSstv, true, false},      {"CW?", core::ModeSstv, true, false},
                 {"RTTY", core::ModeBpsk, false, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastMode ? c.lastMode : "missing");
        g = {};
        QString ini = kSettled;
        if (c.lastMode) ini += QStringLiteral("LastMode=%1\n").arg(QString::fromLatin1(c.lastMode));
        ini += QStringLiteral("[Other_App]\nMODE_Disp1=RY\n");
        writeIni(ini);
        if (c.brokenProgram) {
            QFile::remove(path("MMTTY.EXE"));
            writeFile("MMTTY.EXE", "not a program");
        }
        startup::StartUp();
        if (c.brokenProgram) QFile::remove(path("MMTTY.EXE"));
        EXPECT_EQ(g.OpMode, c.opMode);
        EXPECT_FALSE(forms::isLoaded<STUPZORVATEK>());
        EXPECT_TRUE(forms::isLoaded<AboutZORVATEK>());
        if (c.sstv) {
            EXPECT_TRUE(forms::SSTVForm().isVisible());
            EXPECT_FALSE(forms::isLoaded<PSK31MAIN>());
            EXPECT_EQ(g.ModeDisplayText, QStringLiteral("SSTV"));
        } else {
            PSK31MAIN& main = forms::PSK31MAIN();
            EXPECT_TRUE(main.isVisible());
            EXPECT_TRUE(forms::isLoaded<MACRO_FORM>());
            for (QAction* a : {main.RecPsk, main.PlayPsk, main.RecStop})
                EXPECT_EQ(zvtest::enabledOnceBuilt(a), c.recordingItems) << a->text().toStdString();
        }
        if (c.opMode == core::ModeRtty) {
            EXPECT_EQ(g.ModeDisplayText, QStringLiteral("RY"));
        }
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(Startup, AnOldPskCoreLibraryEndsTheProgram) {
    writeIni(kSettled);
    pskcore::lib().hooks().version = 113;
    startup::StartUp();
    EXPECT_TRUE(g.ProgramEndRequested);
    ASSERT_EQ(prompts().size(), 1);
    EXPECT_EQ(prompts()[0],
              QStringLiteral("PSKCore.DLL Ver1.13は版数が古いです。版数アップをお願いします。\r\n"
                             "最新版はZORVATEK x.xx(Basic or Full)で同梱されております。"));
    EXPECT_FALSE(forms::isLoaded<PSK31MAIN>());
    EXPECT_FALSE(forms::isLoaded<STUPZORVATEK>());
}

TEST_F(Startup, VersionOneFourteenGoesOn) {
    writeIni(kSettled);
    pskcore::lib().hooks().version = 114;
    startup::StartUp();
    EXPECT_FALSE(g.ProgramEndRequested);
    EXPECT_TRUE(prompts().isEmpty());
    EXPECT_TRUE(forms::PSK31MAIN().isVisible());
    EXPECT_EQ(forms::AboutZORVATEK().Label2->text(), QStringLiteral("1.14"));
    EXPECT_EQ(forms::AboutZORVATEK().Label15->text(), QStringLiteral("1.13A")) << "the SSTV engine's version";
}

TEST_F(Startup, ShortcutFilesHoldExactlyTwoLines) {
    writeFile(core::kHomePageShortcutFile, "old contents that must go\r\nmore\r\nand more\r\n");
    writeIni(kSettled);
    startup::StartUp();
    const struct {
        QString file;
        QString url;
    } files[] = {{core::kHomePageShortcutFile, core::kHomePageUrl},
                 {core::kEqslShortcutFile, core::kEqslUrl},
                 {core::kQsoBankShortcutFile, core::kQsoBankUrl}};
    for (const auto& f : files)
        EXPECT_EQ(readFile(f.file), QByteArray("[InternetShortcut]\r\nURL=") + f.url.toLatin1() + "\r\n")
            << f.file.toStdString();
    EXPECT_TRUE(core::kEqslUrl.endsWith(QLatin1String("/jp/index.cfm")));
    EXPECT_TRUE(core::kQsoBankUrl.endsWith(QLatin1String("/user/")));
}

TEST_F(Startup, LoggingLinkFromTheSettings) {
    const QString log = path("HAMLOG");
    ASSERT_TRUE(hamlog::createLog(log));
    struct Case {
        QString hamlog;
        int link;
        QString message;
    } cases[] = {
        {QStringLiteral("HAMLOGtype=2\nHAMLOGexePOS=C:\\Hamlog\\hamlogW.Exe\n"), 2, {}},
        {QStringLiteral("HAMLOGtype=2\nHAMLOGexePOS=C:\\HAMLOG\\HAMLOG.EXE\n"), 0,
         QStringLiteral("HAMLOG.EXEが見つかりません、環境設定を確認してください")},
        {QStringLiteral("HAMLOGtype=2\nHAMLOGexePOS=C:\\HAMLOGW.EXE\\\n"), 0,
         QStringLiteral("HAMLOG.EXEが見つかりません、環境設定を確認してください")},
        {QStringLiteral("HAMLOGtype=1\nHAMLOGPOS=%1.HDB\n").arg(log), 1, {}},
        {QStringLiteral("HAMLOGtype=1\nHAMLOGPOS=%1.HDB\n").arg(path("NOLOG")), 0,
         QStringLiteral("HAMLOG が既に起動しているか　あるいは　設定不完全です\r\n"
                        "その為関連ファイルが OPEN できませんでした\r\nご確認下さい。")},
        // The library link stored with no database (an earlier version did).
        {QStringLiteral("HAMLOGtype=1\n"), 0,
         QStringLiteral("HAMLOG のデータベースが指定されていません、環境設定を確認してください")},
        {QStringLiteral("HAMLOGtype=3\n"), 0, {}},
        {QString(), 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hamlog.toStdString());
        g = {};
        logbook::g = {};
        ui::script::clearAsked();
        writeIni(kSettled + QStringLiteral("[HamLog]\n") + c.hamlog);
        startup::StartUp();
        EXPECT_EQ(logbook::g.HamlogLink, c.link);
        EXPECT_EQ(prompts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        if (c.link == 1) {
            EXPECT_EQ(logbook::g.HamlogDataPath, log);
        }
        EXPECT_EQ(logbook::g.HamlogStartResult, 0) << "no program is there to start";
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(Startup, AnOldLoggingLibraryOnlyWarns) {
    ASSERT_TRUE(hamlog::createLog(path("HAMLOG")));
    hamlog::setThdllVersionForTest(0x50299);
    writeIni(kSettled + QStringLiteral("[HamLog]\nHAMLOGtype=1\nHAMLOGPOS=%1\n").arg(path("HAMLOG.HDB")));
    startup::StartUp();
    EXPECT_EQ(prompts(), QStringList{QStringLiteral(
                             "HAMLOG50.DLL Ver5.0299 は古いです\r\n最新版への更新をお願いします")});
    EXPECT_EQ(logbook::g.HamlogLink, 1);
    hamlog::setThdllVersionForTest(0x50300);
}

TEST_F(Startup, TheWindowLinkStartsTheLoggingProgram) {
    const QString program = QStringLiteral(ZV_PROGRAM_DIR "/HAMLOGW.EXE");
    writeIni(kSettled + QStringLiteral("[HamLog]\nHAMLOGtype=2\nHAMLOGexePOS=%1\n").arg(program));
    startup::StartUp();
    EXPECT_EQ(logbook::g.HamlogLink, 2);
    EXPECT_EQ(logbook::g.HamlogStartResult, 1);
    EXPECT_GT(logbook::g.HamlogProcessId, 0);
}

TEST_F(Startup, RigAndSpotSettings) {
    writeIni(kSettled + QStringLiteral("[RIG_CON_CFG]\nRIGCOMCONT=COM3\nTRVIFfreq=50\n"
                                       "[CLSTRCFG]\nModeComp=YES\nAutoCM=1\n"));
    startup::StartUp();
    EXPECT_EQ(rig::g.RigPortName, QStringLiteral("NONE")) << "no rig type forces no port";
    EXPECT_EQ(rig::g.RigType, QStringLiteral("Not Use"));
    EXPECT_EQ(rig::g.TransverterIfHz, 50000000);
    EXPECT_EQ(spots::g.ClusterModeCompSend, QStringLiteral("YES"));
    EXPECT_EQ(spots::g.ClusterModeCompSendPsk, QStringLiteral("NO"));
    EXPECT_EQ(spots::g.ClusterModeCompRig, QStringLiteral("YES"));
    EXPECT_EQ(spots::g.ClusterModeCompRigPsk, QStringLiteral("YES"));
    EXPECT_EQ(spots::g.ClusterAutoCall, QStringLiteral("1"));
}

TEST_F(Startup, AStartOnSettledSettingsLeavesTheFileAlone) {
    namespace fs = std::filesystem;
    const fs::path ini = path(QStringLiteral("ZORVATEK.INI")).toStdString();
    const fs::file_time_type longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const char* mode : {"PSK31", "RTTY", "MMVARI"}) {
        SCOPED_TRACE(mode);
        g = {};
        writeIni(kSettled + QStringLiteral("LastMode=%1\n").arg(QString::fromLatin1(mode)));
        // A first run and its end leave the file as every later start finds it.
        startup::StartUp();
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QByteArray settled = readFile(QStringLiteral("ZORVATEK.INI"));
        fs::last_write_time(ini, longAgo);

        g = {};
        startup::StartUp();
        ASSERT_TRUE(forms::PSK31MAIN().isVisible());
        EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.INI")), settled);
        EXPECT_EQ(fs::last_write_time(ini).time_since_epoch().count(), longAgo.time_since_epoch().count())
            << "the start rewrote the file";
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The file replaced under its own name, counted by the kernel as it happens.
class ReplacementCounter {
  public:
    explicit ReplacementCounter(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK)) {
        ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~ReplacementCounter() { ::close(fd_); }
    int count(const char* name) {
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if (e->len > 0 && std::strcmp(e->name, name) == 0) ++count_;
                p += sizeof(inotify_event) + e->len;
            }
        return count_;
    }

  private:
    int fd_;
    int count_ = 0;
};

TEST_F(Startup, TheSettingsFileIsWrittenOnceWhatEverTheLoadsStore) {
    // No column layout yet: the start stores it, and the rest, in one write.
    writeIni(kSettled + QStringLiteral("LastMode=PSK31\n"));
    ReplacementCounter written(folder());
    startup::StartUp();
    ASSERT_TRUE(forms::PSK31MAIN().isVisible());
    EXPECT_EQ(written.count("ZORVATEK.INI"), 1);
    for (const char* key : {"ZOR_PosMeH", "ZOR_PosR1H", "ZOR_PosTX3", "ZOR_PosIM1"}) {
        g.IniSection = QStringLiteral("PSKCFG");
        QString v;
        core::GetIniString(QString::fromLatin1(key), v);
        EXPECT_NE(v, QStringLiteral("PSKCFG")) << key << " stored";
    }

    // A drag of the splitter bar stores the column at once, again in one write.
    PSK31MAIN& main = forms::PSK31MAIN();
    const int before = written.count("ZORVATEK.INI");
    QTest::mousePress(main.Image1, Qt::RightButton, {}, QPoint(5, 5));
    // A move with the right button held (QTest's own move carries no buttons).
    QMouseEvent drag(QEvent::MouseMove, QPointF(5, 40), main.Image1->mapToGlobal(QPointF(5, 40)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main.Image1, &drag);
    QTest::mouseRelease(main.Image1, Qt::RightButton, {}, QPoint(5, 40));
    EXPECT_EQ(written.count("ZORVATEK.INI") - before, 1);
}

TEST_F(Startup, ClosingTheSplashUnloadsEveryWindow) {
    forms::AboutZORVATEK();
    forms::SSTVForm();
    STUPZORVATEK& splash = forms::STUPZORVATEK();
    splash.show();
    splash.close();
    EXPECT_EQ(forms::loadedCount(), 0);
}

} // namespace
