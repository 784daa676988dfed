// A double-clicked spot, as the operator makes it on the spot window polling a
// real HTTP server on 127.0.0.1: the mode change, the call box, the receive
// tone, the simulated rig on a pty retuned, and the logging program's window
// (the real stand-in program) filled.
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "core/engines/MmvariState.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Paths.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "startup/AboutZORVATEK.h"
#include "support/LoopbackHttpServer.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"
#include "support/Transmit.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

#include <memory>

namespace {

using core::g;
using spotsrv::Spot;

const QString kRigCodes = QStringLiteral("[RIG_CON_CFG]\nPSK31Mode=2\nRTTYMode=6\nCWMode=3\n");
const QByteArray kPsk = "2", kRtty = "6", kCw = "3";

const QList<Spot> kSpots = {
    {"2330", "14070.5", "QQ1ZZA", "PSK31 1000HZ", "QQ2ZZB"},
    {"2329", "7035.0", "QQ3ZZC", "RTTY CQ", "QQ2ZZB"},
    {"2328", "14010.0", "QQ4ZZD", "CQ TEST", "QQ2ZZB"},
    {"2327", "430070.0", "QQ5ZZE", "PSK31 EME", "QQ2ZZB"},
};

enum Start { FromBpsk, FromMmvari, FromSstv };

class ClusterDataPick : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        core::mm = {};
        mmvstate::g = {};
        spots::g = {};
        zvtest::freshRigGlobals();
        qputenv("ZORVATEK_SPOT_PRIMARY", server.url("").toUtf8());
        qputenv("ZORVATEK_SPOT_FALLBACK", server.url("").toUtf8());
        server.setPage("/wwdigi.html", spotsrv::primaryPage("WW", kSpots));
    }
    void TearDown() override {
        stopAll();
        hamlog::window::disconnect();
        if (hamlogw.state() != QProcess::NotRunning) {
            hamlogw.kill();
            hamlogw.waitForFinished(zvtest::kSafetyNetMsecs);
        }
        zvtest::freshRigGlobals();
        qunsetenv("ZORVATEK_SPOT_PRIMARY");
        qunsetenv("ZORVATEK_SPOT_FALLBACK");
        ProgramFolderTest::TearDown();
    }
    void stopAll() {
        forms::unload<ClusterData>();
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        forms::unloadAllExcept();
        core::MmttyProgram().close(0);
        pskcore::lib().fnStopSoundCard();
        sim.reset();
    }

    // The system as a start-up in that mode leaves it, a rig of the family on
    // the line, and the spot window polled once.
    void start(Start s, const QString& family = QStringLiteral("KENWOOD")) {
        static const char* last[] = {"PSK31", "MMVARI", "SSTV"};
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nCOMPORT=0\nCOMCONT=1\nSOUNDCARDnum=0\n"
                                "TRX_TimeStmp=NO\nLastMode=%1\n[MMVCFG]\nLastMode=14\n")
                     .arg(QString::fromLatin1(last[s])) +
                 rigCodes + extraIni);
        ASSERT_FALSE(mmtty::provideProgram(folder()).isEmpty());
        writeFile("Mmtty.INI", "[Mmtty]\r\n");
        g.MmttyExePath = path("MMTTY.EXE");
        g.LogModeTextPsk = QStringLiteral("PSK31");
        g.LogModeTextRtty = QStringLiteral("RTTY");
        g.LogModeTextSstv = QStringLiteral("SSTV");
        g.LastModeText = QString::fromLatin1(last[s]);
        sim = std::make_unique<zvtest::RigSimulator>(family);
        zvtest::pointRigLinkAt(*sim);
        rig::g.RigPollMode = 1;
        static const int modes[] = {core::ModeBpsk, core::ModeMmvari, core::ModeSstv};
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
        ASSERT_EQ(rig::g.RigPortOpen, 1);
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        ClusterData& w = forms::ClusterData();
        w.show();
        QSignalSpy done(&w, &ClusterData::fetchFinished);
        ASSERT_TRUE(done.wait(zvtest::kSafetyNetMsecs));
        sim->modeCommands.clear();
        core::MmttyProgram().clearPosted();
    }
    // The operator double-clicks the spot's call: the first click, then the second.
    static void doubleClick(int row) {
        QTableWidget* grid = forms::ClusterData().MSFlexGrid1;
        const QPoint at = grid->visualItemRect(grid->item(row, 2)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    static void pick(const QString& call) {
        QTableWidget* grid = forms::ClusterData().MSFlexGrid1;
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->item(row, 2)->text().trimmed() != call) continue;
            doubleClick(row);
            return;
        }
        ADD_FAILURE() << "no spot of " << call.toStdString();
    }
    // The rig has handled all that was sent to it.
    void rigCaughtUp() {
        if (rig::g.RigPortOpen == 1) {
            ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        }
    }
    void startHamlogWindow() {
        hamlogw.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                      {QStringLiteral("--log"), path("HAMLOG.HDB"), QStringLiteral("--trace")});
        ASSERT_TRUE(hamlogw.waitForStarted(zvtest::kSafetyNetMsecs));
        ASSERT_TRUE(zvtest::waitUntil([] { return hamlog::window::findWindow() > 0; }));
    }
    // The lines the logging program's window wrote, once it has written n.
    QStringList hamlogLines(int n) {
        QStringList lines;
        zvtest::waitUntil([&] {
            lines += QString::fromUtf8(hamlogw.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            return lines.size() >= n;
        });
        for (QString& l : lines)
            l = l.trimmed();
        return lines;
    }
    static bool posted(std::int32_t code) {
        for (const auto& p : core::MmttyProgram().posted())
            if (p.code == code) return true;
        return false;
    }

    QString extraIni;
    QString rigCodes = kRigCodes;
    zvtest::LoopbackHttpServer server;
    std::unique_ptr<zvtest::RigSimulator> sim;
    QProcess hamlogw;
};

// The dial is corrected by the sideband that the spot's mode code sets the
// rig to (the KENWOOD's "1" LSB, "2" USB), not by the one it was in.
TEST_F(ClusterDataPick, PskSpotTunesByTheSidebandAndTheCorrection) {
    struct Case {
        const char* pskCode;
        const char* rigMode;
        const char* correct;
        qint64 dial;
        int tone;
    } cases[] = {
        {"2", "USB", "YES", 14'070'000, 1500}, {"2", "LSB", "YES", 14'070'000, 1500},
        {"1", "USB", "YES", 14'071'000, 1500}, {"1", "LSB", "YES", 14'071'000, 1500},
        {"2", "USB", "NO", 14'070'500, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pskCode) + " " + c.rigMode + " " + c.correct);
        rigCodes = kRigCodes;
        rigCodes.replace(QStringLiteral("PSK31Mode=2"), QStringLiteral("PSK31Mode=") + c.pskCode);
        extraIni = QStringLiteral("[CLSTRCFG]\nModeComp2P=%1\n").arg(QString::fromLatin1(c.correct));
        start(FromBpsk);
        if (HasFatalFailure()) return;
        rig::g.RigModeText = QString::fromLatin1(c.rigMode);
        g.TxFreqHz = 1500;
        pick("QQ1ZZA");
        rigCaughtUp();
        PSK31MAIN& m = forms::PSK31MAIN();
        EXPECT_EQ(m.Text5->text(), "QQ1ZZA");
        EXPECT_EQ(g.OpMode, core::ModeBpsk);
        EXPECT_EQ(m.VScroll1->value(), c.tone);
        EXPECT_EQ(sim->dialHz, c.dial);
        ASSERT_FALSE(sim->modeCommands.isEmpty());
        EXPECT_EQ(sim->modeCommands.last(), QByteArray(c.pskCode));
        EXPECT_FALSE(posted(mmtty::CmdHamPreset)) << "the RTTY preset goes with an RTTY spot only";
        stopAll();
    }
}

// A poll brings three newer spots between the click and the double click:
// no row moves under the pointer until the double click is over, which takes
// the spot the operator saw; then the rows move and the selection goes with
// its spot, from row 3 to row 6.
TEST_F(ClusterDataPick, ARefreshMovesNoRowUnderADoubleClickAndTheSelectionFollowsItsSpot) {
    QStyleHints* hints = QGuiApplication::styleHints();
    const auto restore = qScopeGuard(
        [hints, was = hints->mouseDoubleClickInterval()] { hints->setMouseDoubleClickInterval(was); });
    // However slow the poll, it comes within the double click.
    hints->setMouseDoubleClickInterval(60'000);
    extraIni = QStringLiteral("[CLSTRCFG]\nModeComp2P=NO\n");
    start(FromBpsk);
    ClusterData& w = forms::ClusterData();
    QTableWidget* grid = w.MSFlexGrid1;
    const QPoint at = grid->visualItemRect(grid->item(3, 2)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    const QList<Spot> newer = QList<Spot>{{"2333", "21074.0", "QQ6ZZF", "PSK31", "QQ2ZZB"},
                                          {"2332", "21074.5", "QQ7ZZG", "PSK31", "QQ2ZZB"},
                                          {"2331", "21075.0", "QQ8ZZH", "PSK31", "QQ2ZZB"}} +
                              kSpots;
    server.setPage("/wwdigi.html", spotsrv::primaryPage("WW", newer));
    QSignalSpy done(&w, &ClusterData::fetchFinished);
    w.Timer1_Timer();
    ASSERT_TRUE(done.wait(zvtest::kSafetyNetMsecs));
    EXPECT_EQ(grid->item(3, 2)->text().trimmed(), "QQ5ZZE") << "a row moved under the pointer";
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    rigCaughtUp();
    EXPECT_EQ(forms::PSK31MAIN().Text5->text(), "QQ5ZZE");
    EXPECT_EQ(sim->dialHz, 430'070'000);
    EXPECT_EQ(grid->item(0, 2)->text().trimmed(), "QQ6ZZF");
    ASSERT_EQ(grid->selectedRanges().size(), 1);
    EXPECT_EQ(grid->selectedRanges().front().topRow(), 6);
    EXPECT_EQ(grid->selectedRanges().front().bottomRow(), 6);
}

TEST_F(ClusterDataPick, RttySpotSwitchesToRttyWithTheRigsOffset) {
    start(FromBpsk);
    rig::g.RigModeText = QStringLiteral("LSB");
    pick("QQ3ZZC");
    rigCaughtUp();
    EXPECT_EQ(g.OpMode, core::ModeRtty);
    EXPECT_EQ(forms::PSK31MAIN().Text5->text(), "QQ3ZZC");
    EXPECT_EQ(sim->dialHz, 7'035'000 + rig::g.RigAudioOffsetHz);
    EXPECT_EQ(rig::g.RigAudioOffsetHz, mmtty::HamMarkHz);
    ASSERT_FALSE(sim->modeCommands.isEmpty());
    EXPECT_EQ(sim->modeCommands.last(), kRtty);
    EXPECT_TRUE(posted(mmtty::CmdHamPreset));
}

TEST_F(ClusterDataPick, CwSegmentSpotGoesOverRttyToCw) {
    start(FromBpsk);
    pick("QQ4ZZD");
    rigCaughtUp();
    EXPECT_EQ(g.OpMode, core::ModeCw);
    EXPECT_EQ(forms::PSK31MAIN().Text5->text(), "QQ4ZZD");
    EXPECT_EQ(sim->dialHz, 14'010'000);
    ASSERT_FALSE(sim->modeCommands.isEmpty());
    EXPECT_EQ(sim->modeCommands.last(), kCw);
    EXPECT_EQ(rig::g.SpotModeName, "CW");
}

TEST_F(ClusterDataPick, MultiModePicksItsEntryAndTakesItsCarrierOff) {
    start(FromMmvari);
    PSK31MAIN& m = forms::PSK31MAIN();
    QVariant carrier;
    ASSERT_TRUE(m.MMVARI->get(mmvari::PRxFreq, 0, carrier));
    pick("QQ1ZZA");
    rigCaughtUp();
    EXPECT_EQ(g.OpMode, core::ModeMmvari);
    EXPECT_EQ(m.CBMode->currentIndex(), 4);
    EXPECT_EQ(m.Text5->text(), "QQ1ZZA");
    EXPECT_EQ(sim->dialHz, 14'070'500 - carrier.toInt());
    ASSERT_FALSE(sim->modeCommands.isEmpty());
    EXPECT_EQ(sim->modeCommands.last(), kPsk);
}

TEST_F(ClusterDataPick, FromSstvTheCallLandsInTheMainWindow) {
    start(FromSstv);
    pick("QQ1ZZA");
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_FALSE(forms::isLoaded<SSTVForm>());
    EXPECT_EQ(forms::PSK31MAIN().Text5->text(), "QQ1ZZA");
}

// A QSO handed to the logging program's window stays until the operator lets
// it go: a spot that would change the mode or only the call asks first.
TEST_F(ClusterDataPick, AHandedOverQsoIsKeptUnlessTheOperatorLetsTheSpotReplaceIt) {
    logbook::g.HamlogLink = 2;
    startHamlogWindow();
    start(FromSstv);
    SSTVForm& sstv = forms::SSTVForm();
    zvtest::setBoxText(sstv.Text1, QStringLiteral("QQ3OSA"));
    zvtest::setBoxText(sstv.Text7, QStringLiteral("花子"));
    QTest::mouseClick(sstv.Command1, Qt::LeftButton);
    ASSERT_EQ(g.HamlogEntrySent, 1);
    sim->dialHz = 7'000'000;
    ui::script::clearAsked();

    ui::script::push(ui::No);
    pick("QQ1ZZA");
    rigCaughtUp();
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("まだ保存されていません")));
    EXPECT_EQ(g.OpMode, core::ModeSstv);
    EXPECT_EQ(sstv.Text1->text(), "QQ3OSA");
    EXPECT_EQ(sstv.Text7->text(), "花子");
    EXPECT_EQ(sim->dialHz, 7'000'000);
    EXPECT_TRUE(sim->modeCommands.isEmpty());
    EXPECT_EQ(g.HamlogEntrySent, 1);
    EXPECT_EQ(sstv.Command1->text(), "LOG保存");

    ui::script::push(ui::Yes);
    pick("QQ1ZZA");
    rigCaughtUp();
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_EQ(g.HamlogEntrySent, 0);
    PSK31MAIN& m = forms::PSK31MAIN();
    EXPECT_EQ(m.Text5->text(), "QQ1ZZA");
    const qint64 tuned = sim->dialHz;
    EXPECT_EQ(tuned / 10'000, 1'407);

    // The spot of the mode in use asks too; a yes takes the old station's name
    // and report away.
    zvtest::setBoxText(m.Text6, QStringLiteral("一郎"));
    zvtest::setBoxText(m.Text7, QStringLiteral("579"));
    QTest::mouseClick(m.Command5, Qt::LeftButton);
    ASSERT_EQ(g.HamlogEntrySent, 1);
    ui::script::push(ui::No);
    pick("QQ5ZZE");
    rigCaughtUp();
    ASSERT_EQ(ui::script::asked().size(), 3);
    EXPECT_EQ(m.Text5->text(), "QQ1ZZA");
    EXPECT_EQ(sim->dialHz, tuned);
    EXPECT_EQ(g.HamlogEntrySent, 1);
    ui::script::push(ui::Yes);
    pick("QQ5ZZE");
    rigCaughtUp();
    EXPECT_EQ(m.Text5->text(), "QQ5ZZE");
    EXPECT_TRUE(m.Text6->text().isEmpty());
    EXPECT_TRUE(m.Text7->text().isEmpty()) << "the report goes with its station";
    EXPECT_EQ(g.HamlogEntrySent, 0);
    EXPECT_EQ(m.Command5->text(), "LOG作成");
}

// With the library link a spot asks before its station replaces an open
// entry not stored: No leaves the entry as it was, Yes lets it go whole.
TEST_F(ClusterDataPick, AnOpenLogEntryIsReplacedOnlyByTheOperatorsWord) {
    // The link is there from the start, so that the log button opens the entry.
    ASSERT_TRUE(hamlog::createLog(path("HAMLOG")));
    logbook::g.HamlogLink = 1;
    logbook::g.HamlogPath = path("HAMLOG.HDB");
    start(FromBpsk);
    PSK31MAIN& m = forms::PSK31MAIN();
    ASSERT_EQ(logbook::g.HamlogDataPath, path("HAMLOG"));
    zvtest::setBoxText(m.Text5, QStringLiteral("QQ8SPT"));
    zvtest::setBoxText(m.Text6, QStringLiteral("Spot"));
    zvtest::setBoxText(m.Text7, QStringLiteral("579"));
    QTest::mouseClick(m.Command5, Qt::LeftButton);
    ASSERT_TRUE(forms::TEMP_LOG().isVisible());
    rigCaughtUp();
    const QString band = forms::TEMP_LOG().Combo1->currentText();
    ui::script::clearAsked();
    for (ui::MsgResult answer : {ui::No, ui::Yes}) {
        ui::script::push(answer);
        pick("QQ1ZZA");
        rigCaughtUp();
        const TEMP_LOG& w = forms::TEMP_LOG();
        const bool kept = answer == ui::No;
        EXPECT_EQ(w.Text1->text(), kept ? "QQ8SPT" : "QQ1ZZA");
        EXPECT_EQ(w.Text12->text(), kept ? "Spot" : "") << "no field of another station";
        EXPECT_EQ(w.Text5->text(), kept ? "579" : "");
        EXPECT_EQ(m.Text7->text(), kept ? "579" : "");
        if (kept) {
            EXPECT_EQ(w.Combo1->currentText(), band);
        }
    }
    EXPECT_EQ(ui::script::asked().size(), 2);
}

// After a stored QSO a spot's call starts the next one clean, in both links:
// the boxes and the log entry keep nothing of the station before.
TEST_F(ClusterDataPick, ASpotAfterAStoredQsoTakesNothingOfTheStationBefore) {
    ASSERT_TRUE(hamlog::createLog(path("HAMLOG")));
    for (const int link : {1, 2}) {
        SCOPED_TRACE(link);
        logbook::g.HamlogLink = link;
        logbook::g.HamlogPath = path("HAMLOG.HDB");
        if (link == 2 && hamlogw.state() == QProcess::NotRunning) startHamlogWindow();
        start(FromBpsk);
        g.HisRstPresetOn = QStringLiteral("1");
        PSK31MAIN& m = forms::PSK31MAIN();
        zvtest::setBoxText(m.Text5, QStringLiteral("QQ8SPA"));
        zvtest::setBoxText(m.Text6, QStringLiteral("Bibi"));
        zvtest::setBoxText(m.Text7, QStringLiteral("569"));
        zvtest::setBoxText(m.Text14, QStringLiteral("Biwa"));
        QTest::mouseClick(m.Command5, Qt::LeftButton);
        rigCaughtUp();
        if (link == 1) {
            TEMP_LOG& w = forms::TEMP_LOG();
            ASSERT_TRUE(w.isVisible());
            w.Text14->setText(QStringLiteral("599005"));
            QTest::keyClick(w.Text1, Qt::Key_F1);
        } else {
            QTest::mouseClick(m.Command5, Qt::LeftButton);
        }
        ASSERT_EQ(logbook::g.StoredCall, QStringLiteral("QQ8SPA"));
        ui::script::clearAsked();
        pick("QQ1ZZA");
        rigCaughtUp();
        EXPECT_TRUE(ui::script::asked().isEmpty());
        EXPECT_EQ(QStringList({m.Text5->text(), m.Text6->text(), m.Text7->text(), m.Text14->text()}),
                  QStringList({QStringLiteral("QQ1ZZA"), QString(), QStringLiteral("599"), QString()}));
        if (link == 1) {
            const TEMP_LOG& w = forms::TEMP_LOG();
            EXPECT_EQ(QStringList({w.Text12->text(), w.Text13->text(), w.Text14->text(), w.Text5->text()}),
                      QStringList({QString(), QString(), QString(), QStringLiteral("599")}));
        }
        stopAll();
    }
}

// However the QSO was handed over, it is the one pending QSO: a spot and the
// program's end both ask before it goes.
TEST_F(ClusterDataPick, EveryWayOfHandingOverLeavesTheQsoPendingUntilTheOperatorLetsItGo) {
    enum Way { MainButton, MainCtrlL, SstvButton };
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    logbook::g.HamlogLink = 2;
    startHamlogWindow();
    for (const Way way : {MainButton, MainCtrlL, SstvButton}) {
        SCOPED_TRACE(way);
        start(way == SstvButton ? FromSstv : FromBpsk);
        QLineEdit* call = nullptr;
        QPushButton* button = nullptr;
        QAction* end = nullptr;
        if (way == SstvButton) {
            SSTVForm& s = forms::SSTVForm();
            call = s.Text1;
            zvtest::setBoxText(s.Text7, QStringLiteral("花子"));
            button = s.Command1;
            end = s.pEnd;
        } else {
            PSK31MAIN& m = forms::PSK31MAIN();
            call = m.Text5;
            zvtest::setBoxText(m.Text6, QStringLiteral("花子"));
            button = m.Command5;
            end = m.pEnd;
        }
        call->setText(QStringLiteral("QQ1CTL"));
        if (way == MainCtrlL) {
            forms::PSK31MAIN().activateWindow();
            ASSERT_TRUE(zvtest::waitActive(&forms::PSK31MAIN()));
            QTest::keyClick(call, Qt::Key_L, Qt::ControlModifier);
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
        }
        ASSERT_EQ(g.HamlogEntrySent, 1);
        EXPECT_EQ(button->text(), "LOG保存");
        const qint64 dial = sim->dialHz;

        ui::script::clearAsked();
        ui::script::push(ui::No);
        pick(way == SstvButton ? QStringLiteral("QQ1ZZA") : QStringLiteral("QQ5ZZE"));
        rigCaughtUp();
        ui::script::push(ui::No);
        ASSERT_TRUE(zvtest::chooseMenuItem(end));
        ASSERT_EQ(ui::script::asked().size(), 2);
        EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("スポットを選ぶと")));
        EXPECT_TRUE(ui::script::asked()[1].prompt.contains(QStringLiteral("終了すると")));
        EXPECT_EQ(ends, 0);
        EXPECT_EQ(call->text(), "QQ1CTL");
        EXPECT_EQ(sim->dialHz, dial);
        EXPECT_EQ(g.HamlogEntrySent, 1);
        EXPECT_EQ(button->text(), "LOG保存");
        // The logging program still holds it: the next press stores it.
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(g.HamlogEntrySent, 0);
        EXPECT_EQ(button->text(), "LOG作成");
        stopAll();
    }
    terminal::mainwindow::setProcessEndForTest({});
}

TEST_F(ClusterDataPick, TransverterShiftsTheRigAndTheLogKeepsTheSpot) {
    extraIni = QStringLiteral("[CLSTRCFG]\nModeComp2P=NO\n");
    start(FromBpsk);
    rig::g.TransverterOn = QStringLiteral("1");
    rig::g.TransverterIfHz = 402'000'000;
    logbook::g.HamlogLink = 2;
    startHamlogWindow();
    pick("QQ5ZZE");
    rigCaughtUp();
    EXPECT_EQ(sim->dialHz, 28'070'000);
    const QStringList expected = {
        "item 0x0",
        "item 0x1",
        "item 0x2",
        "item 0x3",
        "item 0xe",
        "item 0xe",
        "item 0xe",
        "item 0xe",
        "item 0x8",
        "item 0x9",
        "item 0xe",
        "item 0xb",
        "item 0xc",
        "item 0xd",
        "item 0xe",
        "item 0x30000 QQ5ZZE",
        "item 0x1",
        "item 0x7 PSK31",
        "item 0x20006 430.070000",
        "item 0x20001",
        "activate  ＬＯＧ-[Ａ]　　　QQ5ZZE +Down",
        "item 0x20006 430.070000",
        "front 0x4c4f47",
        "activate  ＬＯＧ-[Ａ]　　　QQ5ZZE",
    };
    EXPECT_EQ(hamlogLines(expected.size()), expected);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

TEST_F(ClusterDataPick, LoggingProgramNotRunningIsTold) {
    start(FromBpsk);
    logbook::g.HamlogLink = 2;
    ui::script::clearAsked();
    pick("QQ1ZZA");
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().first().prompt, "Turbo HAMLOG/Winが起動していないのでは？");
    EXPECT_EQ(forms::PSK31MAIN().Text5->text(), "QQ1ZZA") << "the rest was done";
    // A call the log cannot hold waits in its box for the operator's mending.
    forms::ClusterData().MSFlexGrid1->item(1, 2)->setText(QStringLiteral("QQ3ZZ€"));
    ui::script::clearAsked();
    pick(QStringLiteral("QQ3ZZ€"));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked().first().prompt.startsWith(QStringLiteral("「Call Sign」の「€」")));
    EXPECT_EQ(forms::PSK31MAIN().Text5->text(), QStringLiteral("QQ3ZZ€"));
}

TEST_F(ClusterDataPick, EachRigFamilyGetsItsDigits) {
    extraIni = QStringLiteral("[CLSTRCFG]\nModeComp2P=NO\n");
    for (const char* family : {"ICOM", "FT1000MP", "JST-245"}) {
        SCOPED_TRACE(family);
        start(FromBpsk, QString::fromLatin1(family));
        if (HasFatalFailure()) return;
        sim->dialHz = 7'000'000;
        pick("QQ1ZZA");
        rigCaughtUp();
        EXPECT_EQ(sim->dialHz, 14'070'500);
        stopAll();
    }
}

TEST_F(ClusterDataPick, NothingChangesWhileTransmittingOrWithoutARig) {
    start(FromBpsk);
    const qint64 dial = sim->dialHz;
    ASSERT_TRUE(zvtest::transmitByF12(forms::PSK31MAIN()));
    pick("QQ3ZZC");
    rigCaughtUp();
    EXPECT_EQ(g.StatusMessage, "送信中は変更できません");
    EXPECT_EQ(forms::PSK31MAIN().Text3->text(), "送信中は変更できません");
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_TRUE(forms::PSK31MAIN().Text5->text().isEmpty());
    EXPECT_EQ(sim->dialHz, dial);
    EXPECT_TRUE(sim->modeCommands.isEmpty());
    EXPECT_TRUE(zvtest::endByEscape(forms::PSK31MAIN()));

    // A row without a spot.
    QTableWidget* grid = forms::ClusterData().MSFlexGrid1;
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualItemRect(grid->item(10, 2)).center());
    rigCaughtUp();
    EXPECT_TRUE(forms::PSK31MAIN().Text5->text().isEmpty());
    EXPECT_TRUE(sim->modeCommands.isEmpty());

    rig::RigClosePort();
    pick("QQ3ZZC");
    EXPECT_EQ(g.OpMode, core::ModeBpsk);
    EXPECT_TRUE(forms::PSK31MAIN().Text5->text().isEmpty());

    // The SSTV window's tune tone keyed: the spot takes the refusal of that
    // window's mode menu, and the tone goes on.
    stopAll();
    start(FromSstv);
    SSTVForm& f = forms::SSTVForm();
    QTest::mouseClick(f.Command14, Qt::LeftButton);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    const qint64 keyedDial = sim->dialHz;
    pick("QQ3ZZC");
    rigCaughtUp();
    EXPECT_EQ(g.StatusMessage, "送信中は変更できません");
    EXPECT_EQ(g.OpMode, core::ModeSstv);
    EXPECT_TRUE(forms::isLoaded<SSTVForm>());
    EXPECT_EQ(sstv::g.SstvTxActive, 1);
    EXPECT_EQ(sim->dialHz, keyedDial);
    EXPECT_TRUE(sim->modeCommands.isEmpty());
    QTest::mouseClick(f.Command14, Qt::LeftButton);
    EXPECT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
}

} // namespace
