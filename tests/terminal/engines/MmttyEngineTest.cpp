// The RTTY program as the main window's engine, with the program running as a
// process of its own: the start sequence and its words, received text and the
// transmit state with PTT by CAT, the stop, and the ways back to BPSK.
#include "terminal/engines/MmttyEngine.h"
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "support/ConnectedSocket.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "support/Transmit.h"
#include "terminal/engines/MmttyWndProc.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxDispatch.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocalSocket>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>

namespace {

using core::g;
using core::mm;
using mmtty::Pair;

const QString kKeys = QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nLastMode=RTTY\nTRX_TimeStmp=YES\n"
                                     "RCVFRCLR=0\nTXARCLR=255\n");
const QString kFailureSuffix = QStringLiteral(" MMTTYがOPEN出来ませんでした");

bool processGone(qint64 pid) {
    return pid > 0 && ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

class MmttyEngine : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        mm = {};
    }
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        sim.reset();
        qunsetenv(mmtty::WithholdWindowEnvironment);
        ProgramFolderTest::TearDown();
    }

    // The main window loaded with RTTY as the last mode: its load starts the
    // program. withProgram: the program lies in the program folder.
    PSK31MAIN& loadRtty(const QString& extra = {}, bool withProgram = true, bool withIni = true) {
        writeIni(kKeys +
                 QStringLiteral("SQ_LEVEL=%1\nCOMPORT=%2\nCOMCONT=%3\n").arg(squelch, pttPort, pttControl) +
                 extra);
        if (withProgram) {
            EXPECT_FALSE(mmtty::provideProgram(folder()).isEmpty());
        }
        if (withIni) writeFile("Mmtty.INI", "[Mmtty]\r\n");
        g.MmttyExePath = path("MMTTY.EXE");
        g.LastModeText = QStringLiteral("RTTY");
        g.OpMode = core::ModeRtty;
        g.LogModeTextPsk = QStringLiteral("PSK31");
        g.LogModeTextRtty = QStringLiteral("RTTY");
        return forms::PSK31MAIN();
    }

    static mmtty::MmttyLink& link() { return core::MmttyProgram(); }

    // RTTY running with the rig keyed by CAT: the window shown and the
    // simulated rig's link open, unpolled.
    PSK31MAIN& loadRttyWithCatRig() {
        pttControl = QStringLiteral("0");
        PSK31MAIN& w = loadRtty();
        EXPECT_EQ(g.OpMode, core::ModeRtty);
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
        EXPECT_TRUE(zvtest::openUnpolledRigLink(*sim));
        return w;
    }

    // The program runs its simulation for that many ticks now. The program
    // answers in order, so once the FIG state posted after the ticks is
    // reported, everything they sent has been handled. The state alternates,
    // so that a FIG report of the start-up status is not taken for it.
    bool step(int ticks) {
        fig = 1 - fig;
        const int wanted = fig;
        bool reported = false;
        auto c =
            QObject::connect(&link(), &mmtty::MmttyLink::notice, [&](std::int32_t code, std::int32_t value) {
                if (code == mmtty::NtfFig && value == wanted) reported = true;
            });
        const bool ok = link().postCommand(mmtty::CmdStepSimulation, ticks) &&
                        link().postCommand(mmtty::CmdSetFig, wanted) &&
                        zvtest::waitUntil([&] { return reported; });
        QObject::disconnect(c);
        return ok;
    }

    int fig = 0;
    QString squelch = QStringLiteral("50");
    QString pttPort = QStringLiteral("0");
    QString pttControl = QStringLiteral("1");
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(MmttyEngine, StartSendsTheWordsOfTheSettings) {
    constexpr std::int32_t hwnd = terminal::engines::MainWindowHandle;
    struct Case {
        const char* name;
        QString section;
        bool ini;
        QString squelch, pttPort;
        std::int32_t view, switches, squelchValue, txDelay;
        QString notchCaption, scopePort;
        int quality;
    } cases[] = {
        // Scope off "0000", response 1 at 7-8 "01", gain 2 at 9-10 "10".
        {"no [Mmtty] section", "", true, "50", "0", 96, 0, 512, 0, "LMS", "NONE", 4},
        // Scope size 2 "0110", response 0 "10", gain 3 "11"; notch kind at 6.
        {"every key", "[Mmtty]\nXY_Scope=2\nFFTGain=3\nFFTResp=0\nTXDelay=150\nNOT_LMS=0\n", true, "100", "3",
         6320, 8192, 1024, 150, "NOT", "COM3", 2},
        // An unknown scope code and a gain out of range leave their characters.
        {"values out of range", "[Mmtty]\nXY_Scope=9\nFFTGain=7\nFFTResp=1\n", true, "33", "0", 64, 0, 338, 0,
         "LMS", "NONE", 4},
        // Without Mmtty.INI the fixed view word and no TX delay.
        {"no Mmtty.INI", "[Mmtty]\nXY_Scope=1\nFFTGain=1\nTXDelay=300\n", false, "0", "2", 128, 0, 0, 0,
         "LMS", "COM2", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        squelch = c.squelch;
        pttPort = c.pttPort;
        mm = {};
        QFile::remove(path("Mmtty.INI"));
        PSK31MAIN& w = loadRtty(c.section, true, c.ini);
        const QList<Pair> expected = {{mmtty::CmdSetWindow, hwnd}, // the answer to its window notice
                                      {mmtty::CmdSetWindow, hwnd},
                                      {mmtty::CmdAfterHandle, 0},
                                      {mmtty::CmdSetView, c.view},
                                      {mmtty::CmdSetSwitches, c.switches},
                                      {mmtty::CmdSetSquelch, c.squelchValue},
                                      {mmtty::CmdHamPreset, 0},
                                      {mmtty::CmdSetTxDelay, c.txDelay}};
        EXPECT_EQ(link().posted().mid(0, expected.size()), expected);
        EXPECT_EQ(bobmako::lib().calls().last(),
                  QStringLiteral("fnBOBMAKOInit(MMTTY/ZORVAT, %1, NONE)").arg(c.scopePort));
        EXPECT_EQ(w.Command13[13]->text(), c.notchCaption);
        EXPECT_EQ(mm.XyScopeQuality, c.quality);
        EXPECT_EQ(g.OpMode, core::ModeRtty);
        EXPECT_EQ(rig::g.RigAudioOffsetHz, 2125);
        EXPECT_EQ(mm.MmttyHwnd, link().programWindow());
        EXPECT_NE(mm.MmttyHwnd, 0);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("ZORVATEK (With MMTTY.EXE by QQ9BBB)"));
        EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("RTTY"));
        EXPECT_EQ(g.ModeDisplayText, QStringLiteral("RTTY"));
        EXPECT_FALSE(w.Frame4->isHidden());
        // The panel leaves the spectrum with its mark and space in view.
        EXPECT_FALSE(w.Frame4->geometry().intersects(w.Picture3->geometry()));
        EXPECT_TRUE(w.VScroll1->isHidden());
        EXPECT_EQ(w.ProgressBar1->maximum(), 500);
        EXPECT_EQ(w.Picture3->scaleWidth(), 2801);
        EXPECT_EQ(w.Label14->text(), QStringLiteral("Baud"));
        EXPECT_EQ(w.StatusBar1->text(3), QStringLiteral("IME無効"));
        EXPECT_TRUE(ui::script::asked().isEmpty());
        terminal::engines::StopMmtty();
        forms::unloadAllExcept();
        link().clearPosted();
    }
}

// A start that fails and a program that ends while it sends (killed, with the
// rig keyed by CAT from F12) alike: BPSK runs in its place and a box says why.
TEST_F(MmttyEngine, FailedStartsAndAnEndedProgramGoBackToBpskSayingWhy) {
    struct Case {
        const char* name;
        bool program;
        bool withhold;
        int scopeResult;
        QString said;
        bool killedWhileSending = false;
        // Killed inside the key-on notice's wait: the rig keyed, its reading held back.
        bool insideKeyOn = false;
        // The program's notice of its over comes only after F12's start has returned.
        bool noticeAfterStart = false;
    } cases[] = {
        {"no program file", false, false, 1, "MMTTY起動時のｴﾗｰで" + kFailureSuffix},
        {"no start-up notice", true, true, 1, "hwnd er" + kFailureSuffix},
        {"scope library refuses", true, false, 0, "fnBOBMAKOInitのｴﾗｰで" + kFailureSuffix},
        {"killed while sending", true, false, 1, "MMTTYが終了しました", true},
        // The over waiting on the rig is dropped with the program, and said.
        {"killed inside the key-on's wait", true, false, 1, "MMTTYが終了しました\r\n送信は取り消しました",
         true, true},
        {"killed inside the key-on's wait, its notice late", true, false, 1,
         "MMTTYが終了しました\r\n送信は取り消しました", true, true, true},
    };
    pttControl = QStringLiteral("0");
    auto rigKeyed = [&](bool keyed) {
        return zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(*sim) && sim->ptt == keyed; });
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path("MMTTY.EXE"));
        qputenv(mmtty::WithholdWindowEnvironment, c.withhold ? "1" : "0");
        bobmako::lib().initResult = c.scopeResult;
        ui::script::clearAsked();
        PSK31MAIN& w = loadRtty({}, c.program);
        if (c.killedWhileSending) {
            ASSERT_EQ(g.OpMode, core::ModeRtty);
            w.show();
            ASSERT_TRUE(zvtest::waitExposed(&w));
            sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
            ASSERT_TRUE(zvtest::openUnpolledRigLink(*sim));
            // A macro's 'TXOFF' waits for F12, which starts the over.
            zvtest::sendMacro(w, 0, QStringLiteral("RYRYRY RYRYRY RYRYRY RYRYRY'TXOFF'"));
            ASSERT_EQ(g.MacroTxOffPending, 1);
            const QPointer<QLocalSocket> socket = zvtest::connectedSocketOf(link());
            bool freedInside = false;
            QMetaObject::Connection inside;
            const std::function<void()> killInside = [&] {
                ::kill(pid_t(mm.MmttyPid), SIGKILL);
                EXPECT_TRUE(zvtest::waitUntil([&] {
                    return !link().isRunning() &&
                           (!socket || socket->state() == QLocalSocket::UnconnectedState);
                }));
                freedInside = !socket;
                sim->holdingAnswers = false;
                sim->releaseAnswers();
            };
            if (c.insideKeyOn) {
                // A reading's answer held back: the key-on waits for the quiet line.
                sim->holdingAnswers = true;
                rig::RigReadStatus();
                // Ahead of the program's handler, so that this runs inside its wait.
                terminal::engines::RestoreMmttyWndProc();
                const bool late = c.noticeAfterStart;
                inside = QObject::connect(
                    &link(), &mmtty::MmttyLink::notice, [&, late](std::int32_t code, std::int32_t on) {
                        if (code != mmtty::NtfTxState || on != 1) return;
                        QObject::disconnect(inside);
                        if (late) {
                            // Held from the program's handler until the waits' owner says
                            // nothing waits any more, then handed to it.
                            terminal::engines::RestoreMmttyWndProc();
                            const std::function<void()> handOver = [&] {
                                terminal::engines::InstallMmttyWndProc();
                                QTimer::singleShot(0, killInside);
                                terminal::engines::MmttyWndProc(mmtty::NtfTxState, 1);
                            };
                            QTimer::singleShot(0, [handOver] {
                                if (forms::mayActNow(forms::Request::EngineEnded, handOver)) handOver();
                            });
                            return;
                        }
                        QTimer::singleShot(0, killInside);
                    });
                terminal::engines::InstallMmttyWndProc();
            }
            QTest::keyClick(w.Text1, Qt::Key_F12);
            if (!c.insideKeyOn) {
                ASSERT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 1; }));
                ASSERT_TRUE(rigKeyed(true));
                ::kill(pid_t(mm.MmttyPid), SIGKILL);
            }
            ASSERT_TRUE(zvtest::waitUntil([] { return !ui::script::asked().isEmpty(); }));
            EXPECT_FALSE(freedInside) << "the socket is let go only after the waits";
            EXPECT_TRUE(rigKeyed(false));
            EXPECT_EQ(sim->pttOffCount, 1);
            // Further commands give up at once instead of waiting for the program.
            EXPECT_FALSE(core::PostMmttyCommand(mmtty::CmdChar, 'A'));
        }
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_EQ(ui::script::asked().front().prompt, c.said);
        // A started program is ended, not left behind.
        EXPECT_FALSE(link().isRunning());
        EXPECT_EQ(mm.MmttyPid, 0);
        EXPECT_EQ(g.OpMode, core::ModeBpsk);
        EXPECT_EQ(g.LastModeText, QStringLiteral("PSK31"));
        EXPECT_EQ(g.ModeDisplayText, QStringLiteral("PSK31"));
        EXPECT_EQ(w.windowTitle(), QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)"));
        EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("BPSK"));
        EXPECT_TRUE(w.PSKMODE[0]->isChecked());
        EXPECT_FALSE(w.PSKMODE[3]->isChecked());
        EXPECT_TRUE(w.Frame4->isHidden());
        EXPECT_FALSE(w.VScroll1->isHidden());
        EXPECT_FALSE(w.Line16->isVisible());
        EXPECT_EQ(w.ProgressBar1->maximum(), 100);
        if (c.killedWhileSending) {
            // The PSK library runs: F12 sends in BPSK, not ended by the dead
            // program's 'TXOFF', and Esc ends it.
            ASSERT_TRUE(zvtest::waitUntil([&] { return !w.Timer2->isActive(); }));
            w.Text1->setText(QStringLiteral("CQ"));
            QTest::keyClick(w.Text1, Qt::Key_F12);
            EXPECT_EQ(g.MacroTxOffPending, 0);
            EXPECT_EQ(g.MacroTxOff, 0);
            EXPECT_TRUE(rigKeyed(true));
            QTest::keyClick(w.Text1, Qt::Key_Escape);
            EXPECT_TRUE(rigKeyed(false));
            rig::RigClosePort();
            sim.reset();
        } else {
            // The PSK library starts at the next start-up tick.
            EXPECT_TRUE(w.Timer2->isActive());
            EXPECT_EQ(w.Timer2->interval(), 10);
            w.Timer2->stop();
        }
        forms::unloadAllExcept();
    }
}

TEST_F(MmttyEngine, ReceivedTextAndTransmitStateKeyTheRigByCat) {
    pttControl = QStringLiteral("0");
    PSK31MAIN& w = loadRtty();
    ASSERT_EQ(g.OpMode, core::ModeRtty);
    sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
    ASSERT_TRUE(zvtest::openUnpolledRigLink(*sim));

    ASSERT_TRUE(step(300));
    EXPECT_TRUE(w.RichTextBox1->text().contains("CQ CQ CQ DE QQ9RTY"))
        << w.RichTextBox1->text().toStdString();
    EXPECT_EQ(w.Label33->text(), QStringLiteral("2125Hz"));
    EXPECT_EQ(w.Label34->text(), QStringLiteral("170Hz"));
    EXPECT_EQ(w.Label15->text(), QStringLiteral("45.45"));

    g.MacroText = QStringLiteral("TEST DE QQ1ABC");
    g.MacroTxOn = g.MacroTxOff = 1;
    terminal::transmit::TxSend();
    ASSERT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 1; }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_TRUE(sim->ptt);
    EXPECT_EQ(colour::backColor(w.Command1), 0x0000FFu);
    ASSERT_TRUE(step(100));
    ASSERT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 0; }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt);
    EXPECT_EQ(sim->pttOnCount, 1);
    EXPECT_EQ(sim->pttOffCount, 1);
    const QString pane = w.RichTextBox1->text();
    const qsizetype tx = pane.lastIndexOf("TX-<< ");
    ASSERT_GE(tx, 0);
    EXPECT_GT(pane.indexOf("TEST DE QQ1ABC", tx), tx);
    EXPECT_GT(pane.indexOf("RX-<< ", tx), pane.indexOf("TEST DE QQ1ABC", tx));
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
}

// Esc from any box of the main window ends an RTTY transmission on the air:
// the program stops at once and the rig, keyed by CAT, is released.
TEST_F(MmttyEngine, EscFromAnyBoxReleasesTheRig) {
    PSK31MAIN& w = loadRttyWithCatRig();
    ASSERT_FALSE(HasFailure());
    auto rigKeyed = [&](bool keyed) {
        return zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(*sim) && sim->ptt == keyed; });
    };
    // Level reports the program sends while it transmits, ten a second.
    int reports = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&link(), &mmtty::MmttyLink::notice, [&](std::int32_t code, std::int32_t) {
            if (code == mmtty::NtfScope) ++reports;
        });
    const struct {
        const char* name;
        QWidget* box;
        int reportsFirst;
    } boxes[] = {{"transmit box, after an over longer than a silent program may keep the key", w.Text1, 80},
                 {"call", w.Text5, 0},
                 {"name", w.Text6, 0},
                 {"receive pane", w.RichTextBox1, 0}};
    for (const auto& [name, box, reportsFirst] : boxes) {
        SCOPED_TRACE(name);
        w.Text1->setText(QStringLiteral("RYRYRY RYRYRY"));
        QTest::keyClick(w.Text1, Qt::Key_F12);
        ASSERT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 1; }));
        ASSERT_TRUE(rigKeyed(true));
        reports = 0;
        ASSERT_TRUE(zvtest::waitUntil([&] { return reports >= reportsFirst; }));
        EXPECT_EQ(g.MmttyTxOn, 1) << "a program that speaks keeps its transmission";
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        ASSERT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 0; }));
        ASSERT_TRUE(rigKeyed(false));
        EXPECT_TRUE(w.Text1->text().isEmpty());
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
    }
    EXPECT_EQ(sim->pttOnCount, 4);
    EXPECT_EQ(sim->pttOffCount, 4);
    QObject::disconnect(counting);

    // A key with no transmission behind it (a key-on that reached the rig
    // after the release of its own transmission): Esc releases it at once.
    rig::RigPttOn();
    ASSERT_TRUE(rigKeyed(true));
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt);

    // Esc taken while F12 still hands the box's text over (each post lets
    // events run): the program stops and is handed nothing more.
    w.Text1->setText(QStringLiteral("RYRYRY RYRYRY"));
    link().clearPosted();
    bool pressed = false;
    QTimer::singleShot(0, &w, [&] {
        pressed = true;
        QTest::keyClick(w.Text1, Qt::Key_Escape);
    });
    QTest::keyClick(w.Text1, Qt::Key_F12);
    ASSERT_TRUE(pressed);
    const QList<mmtty::Pair> posted = link().posted();
    const qsizetype cleared = posted.indexOf(mmtty::Pair{mmtty::CmdTx, mmtty::TxClear});
    ASSERT_GE(cleared, 0);
    EXPECT_EQ(posted.indexOf(mmtty::Pair{mmtty::CmdTx, mmtty::TxOn}), 0);
    // Nothing but the stop of a start the program reports late, after the Esc.
    QList<mmtty::Pair> after = posted.mid(cleared + 1);
    after.removeAll(mmtty::Pair{mmtty::CmdTx, mmtty::TxOffNow});
    EXPECT_EQ(after, QList<mmtty::Pair>()) << "nothing after the Esc";
    ASSERT_TRUE(step(10));
    EXPECT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 0; }));
    EXPECT_TRUE(rigKeyed(false));
}

// The program sends for the system only as the engine, outside a mode
// change, once the key is granted: a transmission it starts otherwise is
// stopped and keys nothing, and the program's stop releases what it keyed.
TEST_F(MmttyEngine, TheKeyFollowsTheProgramOnlyWhileItIsTheEngine) {
    PSK31MAIN& w = loadRttyWithCatRig();
    ASSERT_FALSE(HasFailure());
    int highest = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { highest = std::max(highest, g.MmttyTxOn); });
    watch.start(0);
    // The program reports transmit, then receive again once it is stopped.
    auto sendsOnItsOwn = [&] {
        QList<std::int32_t> states;
        auto c = QObject::connect(&link(), &mmtty::MmttyLink::notice, [&](std::int32_t code, std::int32_t v) {
            if (code == mmtty::NtfTxState) states << v;
        });
        ASSERT_TRUE(link().postCommand(mmtty::CmdTx, mmtty::TxOn));
        EXPECT_TRUE(zvtest::waitUntil([&] {
            return states == QList<std::int32_t>{1, 0};
        })) << "the program is stopped";
        QObject::disconnect(c);
    };
    struct Case {
        const char* name;
        std::function<void()> send;
    } cases[] = {
        {"during a mode change",
         [&] {
             const forms::EventsRunScope underWay(forms::EventsRunScope::ModeChange);
             sendsOnItsOwn();
         }},
        // The multi-mode item sets its mode before it stops the program.
        {"with another mode set",
         [&] {
             g.OpMode = core::ModeMmvari;
             sendsOnItsOwn();
             g.OpMode = core::ModeRtty;
         }},
        {"Esc while the key waits for the rig",
         [&] {
             bool pressed = false;
             QTimer esc;
             QObject::connect(&esc, &QTimer::timeout, [&] {
                 if (pressed || !rig::exchangeInProgress()) return;
                 pressed = true;
                 QTest::keyClick(w.Text1, Qt::Key_Escape);
                 sim->holdingAnswers = false;
                 sim->releaseAnswers();
             });
             esc.start(0);
             sim->holdingAnswers = true;
             rig::RigReadStatus();
             QTest::keyClick(w.Text1, Qt::Key_F12);
             EXPECT_TRUE(zvtest::waitUntil([&] { return pressed && !rig::exchangeInProgress(); }));
             ASSERT_TRUE(step(10));
         }},
        // Stopped (kill -STOP), the program takes F12 and Esc only when it runs again.
        {"a start it reports late, after Esc",
         [&] {
             ::kill(pid_t(mm.MmttyPid), SIGSTOP);
             QTest::keyClick(w.Text1, Qt::Key_F12);
             QTest::keyClick(w.Text1, Qt::Key_Escape);
             ::kill(pid_t(mm.MmttyPid), SIGCONT);
             ASSERT_TRUE(step(10));
         }},
        // F12 again before the program reported the first: the operator's
        // stop, and the text does not go out twice.
        {"F12 twice while it is stopped",
         [&] {
             w.Text1->setText(QStringLiteral("CQ CQ"));
             ::kill(pid_t(mm.MmttyPid), SIGSTOP);
             QTest::keyClick(w.Text1, Qt::Key_F12);
             QTest::keyClick(w.Text1, Qt::Key_F12);
             ::kill(pid_t(mm.MmttyPid), SIGCONT);
             ASSERT_TRUE(step(10));
         }},
        {"a start it does not take within a few seconds",
         [&] {
             ::kill(pid_t(mm.MmttyPid), SIGSTOP);
             QTest::keyClick(w.Text1, Qt::Key_F12);
             EXPECT_TRUE(zvtest::waitUntil([&] {
                 return w.Text3->text() == QStringLiteral("MMTTYが応答しません、送信を中止しました");
             }));
             ::kill(pid_t(mm.MmttyPid), SIGCONT);
             ASSERT_TRUE(step(10));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int keyed = sim->pttOnCount;
        highest = 0;
        c.send();
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_EQ(sim->pttOnCount, keyed);
        EXPECT_FALSE(sim->ptt);
        EXPECT_EQ(highest, 0) << "never said to send";
    }

    // Stopped while it sends: the rig keyed for it is released.
    QTest::keyClick(w.Text1, Qt::Key_F12);
    ASSERT_TRUE(
        zvtest::waitUntil([&] { return g.MmttyTxOn == 1 && zvtest::waitForRigToCatchUp(*sim) && sim->ptt; }));
    terminal::engines::StopMmtty();
    w.Timer2->stop();
    EXPECT_EQ(g.MmttyTxOn, 0);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_FALSE(sim->ptt);
}

// The operator's last start stands whatever came before it: it keys the rig
// once the program reports it, and Esc releases it.
TEST_F(MmttyEngine, TheOperatorsLastStartKeysTheRigWhateverCameBefore) {
    PSK31MAIN& w = loadRttyWithCatRig();
    ASSERT_FALSE(HasFailure());
    const QString giveUp = QStringLiteral("MMTTYが応答しません、送信を中止しました");
    struct Case {
        const char* name;
        std::function<void()> send;
        int keyings = 1;
    } cases[] = {
        {"F12, Esc and F12 while it is stopped",
         [&] {
             ::kill(pid_t(mm.MmttyPid), SIGSTOP);
             QTest::keyClick(w.Text1, Qt::Key_F12);
             QTest::keyClick(w.Text1, Qt::Key_Escape);
             QTest::keyClick(w.Text1, Qt::Key_F12);
             ::kill(pid_t(mm.MmttyPid), SIGCONT);
         }},
        // The macro's start joins the over and is never reported.
        {"F12 after Esc ended an over a 'TXON' macro joined",
         [&] {
             QTest::keyClick(w.Text1, Qt::Key_F12);
             ASSERT_TRUE(zvtest::waitUntil([] { return g.MmttyTxOn == 1; }));
             zvtest::sendMacro(w, 0, QStringLiteral("'TXON'DE QQ1ABC"));
             QTest::keyClick(w.Text1, Qt::Key_Escape);
             ASSERT_TRUE(step(10));
             QTest::keyClick(w.Text1, Qt::Key_F12);
         },
         2},
        // Past the time a stalled program is given, it is still heard.
        {"a start it reports late while it speaks",
         [&] {
             int spoke = 0;
             auto c =
                 QObject::connect(&link(), &mmtty::MmttyLink::notice, [&](std::int32_t code, std::int32_t) {
                     if (code == mmtty::NtfScope) ++spoke;
                 });
             ASSERT_TRUE(link().postCommand(mmtty::CmdHoldTxReports, 1));
             QTest::keyClick(w.Text1, Qt::Key_F12);
             EXPECT_TRUE(zvtest::waitUntil([&] { return spoke >= 70; }, 60000));
             QObject::disconnect(c);
             EXPECT_NE(w.Text3->text(), giveUp);
             ASSERT_TRUE(link().postCommand(mmtty::CmdHoldTxReports, 0));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int keyed = sim->pttOnCount;
        c.send();
        EXPECT_TRUE(zvtest::waitUntil(
            [&] { return g.MmttyTxOn == 1 && zvtest::waitForRigToCatchUp(*sim) && sim->ptt; }));
        EXPECT_EQ(sim->pttOnCount, keyed + c.keyings);
        ASSERT_TRUE(step(10));
        EXPECT_EQ(g.MmttyTxOn, 1) << "the over runs until Esc";
        QTest::keyClick(w.Text1, Qt::Key_Escape);
        ASSERT_TRUE(step(10));
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_FALSE(sim->ptt);
        EXPECT_EQ(g.MmttyTxOn, 0);
    }
}

// A program that hangs while sending (stopped): Esc still unkeys the rig by
// CAT, and once the program runs again the rig is not unkeyed twice. Without
// Esc, a program silent for a few seconds is taken as gone: the key watch
// lets the rig go and says why.
TEST_F(MmttyEngine, EscUnkeysTheRigWhenTheProgramDoesNotAnswer) {
    for (const bool esc : {true, false}) {
        SCOPED_TRACE(esc ? "Esc" : "nothing pressed");
        PSK31MAIN& w = loadRttyWithCatRig();
        ASSERT_FALSE(HasFailure());
        QTest::keyClicks(w.Text1, QStringLiteral("RYRYRY"));
        QTest::keyClick(w.Text1, Qt::Key_F12);
        ASSERT_TRUE(zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(*sim) && sim->ptt; }));
        ::kill(pid_t(mm.MmttyPid), SIGSTOP);
        if (esc) QTest::keyClick(w.Text1, Qt::Key_Escape);
        const bool unkeyed =
            zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(*sim) && !sim->ptt; });
        ::kill(pid_t(mm.MmttyPid), SIGCONT);
        EXPECT_TRUE(unkeyed) << "unkeyed while the program is stopped";
        // Esc releases the rig itself, not the watch that gives up on the program.
        EXPECT_EQ(w.Text3->text() == QStringLiteral("MMTTYから応答がないため、送信を止めました"), !esc);
        EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
        EXPECT_TRUE(w.Text1->text().isEmpty());
        // The program runs again and reports receive: nothing more goes to the rig.
        ASSERT_TRUE(step(10));
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_FALSE(sim->ptt);
        EXPECT_EQ(sim->pttOnCount, 1);
        EXPECT_EQ(sim->pttOffCount, 1);
        rig::RigClosePort();
        sim.reset();
        link().close(0);
        forms::unloadAllExcept();
    }
}

// A switch pressed as the program goes (its link dropped, it ends): the
// message line names the switch that did not change, not a transmission.
TEST_F(MmttyEngine, ASwitchTheProgramDoesNotTakeIsNamedInTheMessage) {
    PSK31MAIN& w = loadRtty();
    ASSERT_EQ(g.OpMode, core::ModeRtty);
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    link().dropConnection();
    const int fig = mm.MmttyFigOn;
    QTest::mouseClick(w.Command12, Qt::LeftButton);
    EXPECT_EQ(g.StatusMessage, QStringLiteral("MMTTYが応答しません、スイッチを切り替えられませんでした"));
    EXPECT_EQ(mm.MmttyFigOn, fig) << "the switch shows what the program has";
}

TEST_F(MmttyEngine, StopEndsTheProgramAndRestartsThePskLibrary) {
    PSK31MAIN& w = loadRtty();
    ASSERT_EQ(g.OpMode, core::ModeRtty);
    const qint64 pid = mm.MmttyPid;
    ASSERT_GT(pid, 0);
    terminal::engines::StopMmtty();
    EXPECT_TRUE(processGone(pid));
    EXPECT_EQ(mm.MmttyExitCode, 0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)"));
    EXPECT_TRUE(w.Frame4->isHidden());
    EXPECT_EQ(w.Label14->text(), QStringLiteral("IMD"));
    EXPECT_EQ(w.StatusBar1->text(3), QStringLiteral("IME有効"));
    EXPECT_TRUE(w.Timer2->isActive());
    w.Timer2->stop();
    // Handled no more: a notice now changes nothing.
    EXPECT_TRUE(terminal::engines::InstallMmttyWndProc());
    EXPECT_FALSE(terminal::engines::InstallMmttyWndProc());
    terminal::engines::RestoreMmttyWndProc();
}

} // namespace

namespace {

using core::g;
using core::mm;

class MmttyNotices : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        mm = {};
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nRCVFRCLR=0\n"));
        w = &forms::PSK31MAIN();
        w->Timer2->stop();
        g.OpMode = core::ModeRtty;
    }
    static void notice(std::int32_t code, std::int32_t value) {
        terminal::engines::MmttyWndProc(code, value);
    }
    PSK31MAIN* w = nullptr;
};

TEST_F(MmttyNotices, ValuesReachTheirLabelsAndMarkers) {
    struct Case {
        const char* name;
        QList<Pair> notices;
        std::function<void(PSK31MAIN&)> check;
    } cases[] = {
        {"baud with decimals",
         {{mmtty::NtfBaud, 4545}},
         [](PSK31MAIN& w) { EXPECT_EQ(w.Label15->text(), "45.45"); }},
        {"baud without",
         {{mmtty::NtfBaud, 11000}},
         [](PSK31MAIN& w) { EXPECT_EQ(w.Label15->text(), "110"); }},
        {"mark after space",
         {{mmtty::NtfSpace, 2295}, {mmtty::NtfMark, 2125}},
         [](PSK31MAIN& w) {
             EXPECT_EQ(w.Label33->text(), "2125Hz");
             EXPECT_EQ(w.Label34->text(), "170Hz");
             EXPECT_EQ(w.Line16->x1(), 1925);
             EXPECT_EQ(w.Line17->x1(), 2095);
             EXPECT_EQ(w.Line16->y2(), 100);
         }},
        {"switch word 0",
         {{mmtty::NtfMark, 2000}, {mmtty::NtfSwitches, 0}},
         [](PSK31MAIN& w) {
             for (int k = 10; k <= 17; ++k)
                 EXPECT_EQ(colour::backColor(w.Command13[k]), colour::kButtonFace) << k;
             EXPECT_EQ(w.Label32->text(), "MODEM=IIR");
             EXPECT_EQ(mm.MmttyStatusPair, 0);
             EXPECT_EQ(w.Line21->x1(), 1925);
             EXPECT_EQ(mm.MmttyStatusBits2, QString(19, '0'));
         }},
        // NET at 16, the FSK shift mode at 8-9, PLL at 18-19.
        {"NET, FSK and PLL",
         {{mmtty::NtfMark, 2000}, {mmtty::NtfSwitches, 8 + (3 << 10) + 2}},
         [](PSK31MAIN& w) {
             EXPECT_EQ(g.MmttyIndicators[mmtty::Net], 1);
             EXPECT_EQ(colour::backColor(w.Command13[16]), 0xC0FFC0u);
             EXPECT_EQ(colour::backColor(w.Command13[17]), colour::kButtonFace);
             EXPECT_EQ(w.Label32->text(), "MODEM=PLL");
             EXPECT_EQ(mm.MmttyModemType, 2);
             EXPECT_EQ(mm.MmttyStatusPair, 3);
             EXPECT_EQ(w.Line21->x1(), 1800);
         }},
        {"a switch word too long",
         {{mmtty::NtfSwitches, 1 << 19}},
         [](PSK31MAIN&) {
             EXPECT_EQ(mm.MmttyStatusBits2, QString(19, '0'));
             EXPECT_EQ(g.StatusMessage, "MMTTY Wndpro-Error");
         }},
        {"a view word",
         {{mmtty::NtfView, 96}},
         [](PSK31MAIN&) { EXPECT_EQ(mm.MmttyStatusBits, "00000001100000"); }},
        {"level above the bar",
         {{mmtty::NtfScope, 0x10258}},
         [](PSK31MAIN& w) { EXPECT_EQ(w.ProgressBar1->value(), 500); }},
        {"level", {{mmtty::NtfScope, 0x64}}, [](PSK31MAIN& w) { EXPECT_EQ(w.ProgressBar1->value(), 100); }},
        {"FIG on",
         {{mmtty::NtfFig, 1}},
         [](PSK31MAIN& w) {
             EXPECT_EQ(mm.MmttyFigOn, 1);
             EXPECT_EQ(colour::backColor(w.Command12), 0xC0FFC0u);
         }},
        {"received text, CR dropped",
         {{mmtty::NtfRxChar, 'C'}, {mmtty::NtfRxChar, 13}, {mmtty::NtfRxChar, 10}, {mmtty::NtfRxChar, 'Q'}},
         [](PSK31MAIN& w) { EXPECT_EQ(w.RichTextBox1->text(), "C\nQ"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mm = {};
        g.StatusMessage.clear();
        w->ProgressBar1->setMaximum(500);
        w->RichTextBox1->setText(QString());
        for (const Pair& p : c.notices)
            notice(p.code, p.value);
        c.check(*w);
    }
}

TEST_F(MmttyNotices, TransmitStateWithoutCatLeavesTheRigAlone) {
    g.PttPortControl = QStringLiteral("1");
    g.TrxTimeStampOn = QStringLiteral("NO");
    w->Text1->setText("typed");
    notice(mmtty::NtfTxState, 1);
    EXPECT_EQ(g.MmttyTxOn, 1);
    EXPECT_EQ(mm.XyScopeOffset, 252000);
    EXPECT_EQ(w->Picture2->scaleWidth(), 510000);
    // Any value but 1 is receiving.
    notice(mmtty::NtfTxState, 2);
    EXPECT_EQ(g.MmttyTxOn, 0);
    EXPECT_EQ(mm.XyScopeOffset, 25200);
    EXPECT_EQ(w->Picture2->scaleWidth(), 51000);
    EXPECT_TRUE(w->Text1->text().isEmpty());
    EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
}

} // namespace
