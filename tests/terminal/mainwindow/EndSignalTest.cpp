// A signal to end the process (log-out, kill, Ctrl+C) ends the run in order:
// a rig keyed by CAT is unkeyed, the state is stored and the lock of the
// program folder is gone, with nobody asked anything.
#include "app/ProgramRun.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/EndSignals.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "terminal/engines/PskFixture.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroFile.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/rxtext/RCVDAT.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace {

class EndSignal : public psktest::PskWindowTest {
  protected:
    void TearDown() override {
        terminal::mainwindow::setProcessEndForTest({});
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        PskWindowTest::TearDown();
    }
    QString ini() const { return QString::fromLatin1(readFile(QStringLiteral("ZORVATEK.INI"))); }
};

// Signals that go on arriving while the run ends (a log-out's TERM sent again)
// are taken as well: the run ends with its own status whenever they come.
TEST_F(EndSignal, TheProgramEndsInOrderOnTermIntAndHup) {
    const struct {
        int signal;
        bool again; // sent every 10 ms until the process has gone
    } cases[] = {{SIGTERM, false}, {SIGINT, false}, {SIGHUP, false}, {SIGTERM, true}};
    for (const auto [signal, again] : cases) {
        SCOPED_TRACE(signal);
        SCOPED_TRACE(again);
        zvtest::RigSimulator rig(QStringLiteral("ICOM"));
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1234\nUSERCALL=JA1ZVK\nCOMCONT=0\n"
                                "[RIG_CON_CFG]\nRIGCOMCONT=%1\nRIG_TYPE=ICOM\nICOM_RIGadrs=58\n"
                                "VFOCHECK=YesP\nPoll_Time=200\n")
                     .arg(rig.devicePath()));
        QProcess program;
        program.start(QStringLiteral(ZV_PROGRAM_DIR "/zorvatek"), {});
        ASSERT_TRUE(program.waitForStarted());
        // Polled twice: the program runs its event loop with the port open.
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.readingsAnswered >= 2; }));
        const pid_t pid = pid_t(program.processId());
        ::kill(pid, signal);
        QTimer repeat;
        QObject::connect(&repeat, &QTimer::timeout, [&] {
            if (program.state() != QProcess::NotRunning) ::kill(pid, signal);
        });
        if (again) repeat.start(10);
        ASSERT_TRUE(zvtest::waitUntil([&] { return program.state() == QProcess::NotRunning; }));
        repeat.stop();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(ini().contains(QStringLiteral("LastMode=PSK31"))) << ini().toStdString();
        EXPECT_TRUE(ini().contains(QStringLiteral("RX1Freq=1234"))) << ini().toStdString();
        EXPECT_TRUE(ini().contains(QStringLiteral("PMPOSWidth="))) << ini().toStdString();
        EXPECT_TRUE(QFile::remove(path(QStringLiteral("NENNOTAMELOG.TXT"))));
        EXPECT_FALSE(QFile::exists(path(QStringLiteral(".zorvatek.lock"))));
    }
}

// A signal during the start, before the event loop runs, ends the process
// all the same: in order, with exit status 0 and the lock gone.
TEST_F(EndSignal, ASignalAtAnyMomentOfTheStartEndsTheProcess) {
    const struct {
        const char* name;
        bool configured;
        const char* sign; // the file whose appearance says how far the start has come
    } cases[] = {{"configured, the lock just taken", true, ".zorvatek.lock"},
                 {"configured, the start's files written", true, "go_ZOR.url"},
                 {"first run, the lock just taken", false, ".zorvatek.lock"},
                 {"first run, the start's files written", false, "go_ZOR.url"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        if (c.configured) writeIni(QStringLiteral("[PSKCFG]\nUSERCALL=JA1ZVK\nCOMCONT=0\nLastMode=PSK31\n"));
        QProcess program;
        program.start(QStringLiteral(ZV_PROGRAM_DIR "/zorvatek"), {});
        ASSERT_TRUE(program.waitForStarted());
        ASSERT_TRUE(zvtest::waitUntil([&] { return QFile::exists(path(QString::fromLatin1(c.sign))); }));
        ::kill(pid_t(program.processId()), SIGTERM);
        ASSERT_TRUE(zvtest::waitUntil([&] { return program.state() == QProcess::NotRunning; }));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(QFile::exists(path(QStringLiteral(".zorvatek.lock"))));
    }
}

TEST_F(EndSignal, ASignalWhileSendingUnkeysTheRigByCat) {
    PSK31MAIN& w = loadAndStart();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    zvtest::RigSimulator rig(QStringLiteral("KENWOOD"));
    zvtest::pointRigLinkAt(rig);
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ends; });
    const endsignals::Watch watch;
    QObject::connect(&watch, &endsignals::Watch::ended, [] { app::endBySignal(); });

    w.Text1->setText(QStringLiteral("PSKTEST"));
    QTest::keyClick(w.Text1, Qt::Key_F12);
    ASSERT_TRUE(zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(rig) && rig.ptt; }));
    // A scan under way (a threshold no signal reaches keeps it going) does
    // not hold the end up, and nothing is asked.
    w.ScanThreshold = 100000;
    ui::script::clearAsked();
    QTimer::singleShot(50, [] {
        if (core::g.WfDrawState == 1) ::raise(SIGTERM);
    });
    QTest::mouseClick(w.Command11, Qt::LeftButton); // returns once the scan has stopped
    ASSERT_TRUE(zvtest::waitUntil([&] { return ends == 1; }));
    // The rig hears the last command at its line rate, after the port is closed.
    EXPECT_TRUE(zvtest::waitUntil([&] { return !rig.ptt; }));
    EXPECT_EQ(rig.pttOffCount, 1);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_TRUE(ini().contains(QStringLiteral("TX1Freq=1200"))) << ini().toStdString();
    EXPECT_FALSE(forms::isLoaded<PSK31MAIN>());
}

// Nobody can be asked at an end by a signal: what the macro editor holds
// unstored goes, the macro file keeps its bytes, and the standard error says
// whose typing went.
TEST_F(EndSignal, TypingLeftInAnEditorIsNamedOnTheStandardError) {
    std::array<terminal::macros::Macro, terminal::macros::kCount> macros{};
    macros[0] = {QStringLiteral("CQ"), 0xC0C0C0, QStringLiteral("CQ CQ")};
    const QByteArray file = terminal::macros::formatMacroFile(macros);
    writeFile(QStringLiteral("ZORVATEK.MAC"), file);
    PSK31MAIN& w = loadAndStart(QStringLiteral("MacroFile=%1\n").arg(path(QStringLiteral("ZORVATEK.MAC"))));
    w.show();
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ends; });
    const endsignals::Watch watch;
    QObject::connect(&watch, &endsignals::Watch::ended, [] { app::endBySignal(); });
    QTest::mouseClick(w.Command8[0], Qt::RightButton);
    MACRO_FORM& m = forms::MACRO_FORM();
    ASSERT_TRUE(m.isVisible());
    QTest::keyClicks(m.Text1[0], QStringLiteral(" TEST"));
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& t) { warnings << t; });
    ui::script::clearAsked();
    ::raise(SIGTERM);
    const bool endedInTime = zvtest::waitUntil([&] { return ends == 1; });
    qInstallMessageHandler(before);
    ASSERT_TRUE(endedInTime);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.MAC")), file);
    EXPECT_EQ(warnings.filter(QStringLiteral("MACRO_FORM")).size(), 1) << warnings.join('\n').toStdString();
}

// A memo pad and a received-data file of one line of a megabyte open from the
// menu, and a signal then ends the run as it does at any other time.
TEST_F(EndSignal, ASignalEndsTheRunWithALongLineShown) {
    PSK31MAIN& w = loadAndStart();
    w.show();
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ends; });
    const endsignals::Watch watch;
    QObject::connect(&watch, &endsignals::Watch::ended, [] { app::endBySignal(); });
    const QByteArray line = QByteArray(1 << 20, 'A') + "\r\n";
    writeFile(QStringLiteral("PSKMEMO.DAT"), line);
    writeFile(QStringLiteral("night.TXT"), line);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.MEMOR));
    ui::script::push(path(QStringLiteral("night.TXT")));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.RDRCVDAT));
    ASSERT_TRUE(forms::RCVDAT().isVisible());
    w.RichTextBox1->setText(QString::fromLatin1(line.chopped(2)));
    ::raise(SIGTERM);
    ASSERT_TRUE(zvtest::waitUntil([&] { return ends == 1; }));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("PSKMEMO.DAT"))));
    EXPECT_EQ(readFile(QStringLiteral("night.TXT")), line);
    // The receive pane's line, whole, before what the engine went on receiving.
    EXPECT_GE(readFile(QStringLiteral("NENNOTAMELOG.TXT")).indexOf('\r'), line.size() - 2);
}

} // namespace
