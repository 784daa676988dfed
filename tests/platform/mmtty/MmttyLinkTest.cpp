// The RTTY/CW program as a real process: its start and window notice, its
// answers to the commands, its simulated station, and its exit.
#include "platform/mmtty/MmttyLink.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"
#include "platform/programs/mmtty/RttyModem.h"
#include "support/ConnectedSocket.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <cerrno>
#include <csignal>

namespace {

using mmtty::MmttyLink;
using mmtty::Pair;

bool processGone(qint64 pid) {
    return ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

class MmttyLinkTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        QObject::connect(&link, &MmttyLink::notice, [this](std::int32_t c, std::int32_t v) {
            got.append({c, v});
        });
    }
    void TearDown() override {
        link.close();
        ProgramFolderTest::TearDown();
    }

    // A copy in the test's own folder: the program keeps its settings file beside itself.
    QString builtProgram() const { return mmtty::provideProgram(folder()); }

    qint64 startAndGreet() {
        const qint64 pid = link.start(builtProgram(), 0x1A2B);
        EXPECT_GT(pid, 0);
        EXPECT_TRUE(zvtest::waitUntil([&] { return link.programWindow() != 0; }));
        return pid;
    }

    bool received(Pair p, int timeout = zvtest::kSafetyNetMsecs) {
        return zvtest::waitUntil([&] { return got.contains(p); }, timeout);
    }

    // The program takes commands and sends notices in order: once the answer to
    // a FIG command posted now is in, every notice it sent before has arrived.
    bool caughtUp() {
        const qsizetype from = got.size();
        if (!link.postCommand(mmtty::CmdSetFig, 1)) return false;
        return zvtest::waitUntil([&] { return got.indexOf(Pair{mmtty::NtfFig, 1}, from) >= 0; });
    }
    // Runs ticks of the program's simulation now and waits for what they sent.
    bool step(int ticks) { return link.postCommand(mmtty::CmdStepSimulation, ticks) && caughtUp(); }

    bool anyNotice(std::int32_t code) const {
        return std::any_of(got.begin(), got.end(), [code](const Pair& p) { return p.code == code; });
    }

    // The received characters (0x8003) gathered so far, as text.
    QByteArray rxText() const {
        QByteArray text;
        for (const Pair& p : got)
            if (p.code == mmtty::NtfRxChar) text.append(char(p.value));
        return text;
    }

    MmttyLink link;
    QList<Pair> got;
};

TEST_F(MmttyLinkTest, CommandLineCarriesTheMainWindowInHexadecimal) {
    EXPECT_EQ(MmttyLink::arguments(0x1A2B), QStringList({"-m", "-d", "-p", "-h1A2B"}));
    EXPECT_EQ(MmttyLink::arguments(0xFF).last(), "-hFF");
}

TEST_F(MmttyLinkTest, StartsAndHandsOverItsWindowHandle) {
    const qint64 pid = startAndGreet();
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.first(), (Pair{mmtty::NtfWindow, std::int32_t(pid)}));
    EXPECT_EQ(link.programWindow(), pid);
}

TEST_F(MmttyLinkTest, AnswersCommandsWithTheirNotices) {
    startAndGreet();
    struct Case {
        Pair command;
        QList<Pair> answers;
    };
    const QList<Case> cases = {
        {{mmtty::CmdSetWindow, 0x1A2B},
         {{mmtty::NtfMark, 2125}, {mmtty::NtfSpace, 2295}, {mmtty::NtfBaud, 4545}}},
        {{mmtty::CmdSetSwitches, 0x4}, {{mmtty::NtfSwitches, 0x4}}},
        {{mmtty::CmdSetSwitches, 0x7FFFF}, {{mmtty::NtfSwitches, 0x7FFFF}}},
        {{mmtty::CmdSetView, 128}, {{mmtty::NtfView, 128}}},
        {{mmtty::CmdSetMark, 2000}, {{mmtty::NtfMark, 2000}, {mmtty::NtfSpace, 2170}}},
        {{mmtty::CmdSetSpace, 2200}, {{mmtty::NtfSpace, 2200}}},
        {{mmtty::CmdHamPreset, 0}, {{mmtty::NtfMark, 2125}, {mmtty::NtfSpace, 2295}}},
        {{mmtty::CmdSetFig, 1}, {{mmtty::NtfFig, 1}}},
        {{mmtty::CmdSetFig, 0}, {{mmtty::NtfFig, 0}}},
    };
    for (const Case& c : cases) {
        got.clear();
        ASSERT_TRUE(link.postCommand(c.command.code, c.command.value));
        for (const Pair& a : c.answers)
            EXPECT_TRUE(received(a)) << "command " << c.command.code << " answer " << std::hex << a.code;
    }
    // A word too wide for its positions is not taken.
    got.clear();
    ASSERT_TRUE(link.postCommand(mmtty::CmdSetSwitches, 0x80000));
    ASSERT_TRUE(link.postCommand(mmtty::CmdSetView, 0x4000));
    ASSERT_TRUE(caughtUp());
    for (const Pair& p : got)
        EXPECT_TRUE(p.code != mmtty::NtfSwitches && p.code != mmtty::NtfView) << std::hex << p.code;
}

TEST_F(MmttyLinkTest, ReceivesTheStationWithLevelsAndStopsWhileSuspended) {
    startAndGreet();
    ASSERT_TRUE(step(mmtty::RttyModem::TicksPerChar * 30));
    EXPECT_TRUE(rxText().contains("DE QQ9RTY")) << rxText().data();
    const bool levelSeen = std::any_of(got.begin(), got.end(), [](const Pair& p) {
        return p.code == mmtty::NtfScope && (p.value & 0xFFFF) > 100;
    });
    EXPECT_TRUE(levelSeen);

    ASSERT_TRUE(link.postCommand(mmtty::CmdSuspend, 1));
    ASSERT_TRUE(caughtUp());
    got.clear();
    ASSERT_TRUE(step(mmtty::RttyModem::TicksPerChar * 10));
    EXPECT_EQ(got, (QList<Pair>{{mmtty::NtfFig, 1}})) << "nothing but the answer to FIG";
    ASSERT_TRUE(link.postCommand(mmtty::CmdSuspend, 0));
    ASSERT_TRUE(step(2));
    EXPECT_TRUE(anyNotice(mmtty::NtfScope)) << "resumed, the level comes again";

    // Tuned away from the station, only noise comes.
    ASSERT_TRUE(link.postCommand(mmtty::CmdSetMark, 1000));
    ASSERT_TRUE(caughtUp());
    got.clear();
    ASSERT_TRUE(step(mmtty::RttyModem::TicksPerChar * 10));
    EXPECT_TRUE(rxText().isEmpty()) << rxText().data();
    const bool onlyNoise = std::all_of(got.begin(), got.end(), [](const Pair& p) {
        return p.code != mmtty::NtfScope || (p.value & 0xFFFF) < 100;
    });
    EXPECT_TRUE(onlyNoise);
    EXPECT_TRUE(anyNotice(mmtty::NtfScope));
}

TEST_F(MmttyLinkTest, TransmitsQueuedCharactersAndReportsTheTransmitState) {
    startAndGreet();
    ASSERT_TRUE(link.postCommand(mmtty::CmdSetMark, 1000)); // away from the station: only our echo
    for (char c : QByteArray("TEST DE QQ1AAA\r\n"))
        ASSERT_TRUE(link.postCommand(mmtty::CmdChar, c));
    got.clear();
    ASSERT_TRUE(link.postCommand(mmtty::CmdTx, mmtty::TxOn));
    ASSERT_TRUE(link.postCommand(mmtty::CmdTx, mmtty::TxOffAfterQueue));
    ASSERT_TRUE(received({mmtty::NtfTxState, 0}));
    EXPECT_EQ(rxText(), QByteArray("TEST DE QQ1AAA\r\n"));
    const auto on = got.indexOf(Pair{mmtty::NtfTxState, 1});
    const auto off = got.indexOf(Pair{mmtty::NtfTxState, 0});
    ASSERT_GE(on, 0);
    EXPECT_LT(on, off);

    // Off at once, then the queue cleared: nothing of it is sent later.
    for (char c : QByteArray("LOST TEXT"))
        ASSERT_TRUE(link.postCommand(mmtty::CmdChar, c));
    got.clear();
    ASSERT_TRUE(link.postCommand(mmtty::CmdTx, mmtty::TxOn));
    ASSERT_TRUE(link.postCommand(mmtty::CmdTx, mmtty::TxOffNow));
    ASSERT_TRUE(link.postCommand(mmtty::CmdTx, mmtty::TxClear));
    ASSERT_TRUE(received({mmtty::NtfTxState, 0}));
    got.clear();
    ASSERT_TRUE(link.postCommand(mmtty::CmdTx, mmtty::TxOn));
    ASSERT_TRUE(received({mmtty::NtfTxState, 1}));
    ASSERT_TRUE(step(mmtty::RttyModem::TicksPerChar * 10));
    EXPECT_TRUE(rxText().isEmpty()) << rxText().data();
}

// Ended by itself, not killed at the end of the wait.
TEST_F(MmttyLinkTest, EndsOnCloseOrWhenTheSystemEndVanishes) {
    for (bool dropFirst : {false, true}) {
        const qint64 pid = startAndGreet();
        if (dropFirst) {
            link.dropConnection();
            EXPECT_TRUE(link.waitForExit(zvtest::kSafetyNetMsecs));
        } else {
            EXPECT_EQ(link.close(zvtest::kSafetyNetMsecs), 0);
        }
        EXPECT_FALSE(link.isRunning());
        EXPECT_TRUE(processGone(pid)) << "dropFirst " << dropFirst;
        link.close();
    }
}

// The program killed while a notice's handler waits, whatever the wait: the
// socket is not freed under the signal that handler runs in.
TEST_F(MmttyLinkTest, TheProgramKilledInsideAHandlersWaitFreesNothingUnderIt) {
    using Done = std::function<bool()>;
    const std::pair<const char*, std::function<void(const Done&)>> waits[] = {
        {"events let run",
         [](const Done& done) {
             while (!done())
                 forms::letEventsRun(10);
         }},
        {"a peer waited for", [](const Done& done) { forms::waitUntil(done, 60000); }},
        {"a loop run",
         [](const Done& done) {
             QEventLoop loop;
             QTimer tick;
             QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
                 if (done()) loop.quit();
             });
             tick.start(1);
             forms::runLoop(loop);
         }},
    };
    for (const auto& [name, wait] : waits) {
        SCOPED_TRACE(name);
        const qint64 pid = startAndGreet();
        const QPointer<QLocalSocket> socket = zvtest::connectedSocketOf(link);
        ASSERT_TRUE(socket);
        bool killed = false, freedInside = false, exited = false;
        const auto c =
            QObject::connect(&link, &MmttyLink::notice, [&](std::int32_t code, std::int32_t value) {
                if (killed || code != mmtty::NtfFig || value != 1) return;
                killed = true;
                ::kill(pid_t(pid), SIGKILL);
                wait([&] {
                    return !link.isRunning() &&
                           (!socket || socket->state() == QLocalSocket::UnconnectedState);
                });
                forms::letEventsRun();
                freedInside = !socket;
            });
        const auto e = QObject::connect(&link, &MmttyLink::programExited, [&] { exited = true; });
        ASSERT_TRUE(link.postCommand(mmtty::CmdSetFig, 1));
        EXPECT_TRUE(zvtest::waitUntil([&] { return exited; }));
        EXPECT_FALSE(freedInside);
        QObject::disconnect(c);
        QObject::disconnect(e);
        link.close();
    }
}

TEST_F(MmttyLinkTest, RetriedPostWaitsForTheProgramAndGivesUpWhenItIsGone) {
    // Posted at once after the start: refused until the program connects, then taken.
    ASSERT_GT(link.start(builtProgram(), 1), 0);
    EXPECT_TRUE(link.postCommand(mmtty::CmdSetWindow, 1));
    EXPECT_TRUE(received({mmtty::NtfBaud, 4545}));
    link.close();

    // Closed before it has even connected: it takes the close once it has.
    const qint64 pid = link.start(builtProgram(), 1);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(link.close(zvtest::kSafetyNetMsecs), 0);
    EXPECT_TRUE(processGone(pid));

    // Refused at once with the program gone, not retried until the retries'
    // limit runs out: the post comes back long before half of that limit.
    QTimer halfLimit;
    halfLimit.setSingleShot(true);
    halfLimit.setTimerType(Qt::PreciseTimer);
    halfLimit.start(MmttyLink::RetryLimitMsecs / 2);
    EXPECT_FALSE(link.postCommand(mmtty::CmdClose, 0));
    EXPECT_TRUE(halfLimit.isActive()) << "given up without retrying";
}

TEST_F(MmttyLinkTest, AProgramThatCannotStartGivesNoProcess) {
    EXPECT_EQ(link.start(path("NOPROGRAM.EXE"), 1), 0);
    EXPECT_FALSE(link.isRunning());
    writeFile("MMTTY.EXE", "not a program");
    EXPECT_EQ(link.start(path("MMTTY.EXE"), 1), 0);
    EXPECT_FALSE(link.isRunning());
}

TEST_F(MmttyLinkTest, TheProgramIsProvidedInTheFolderUnderItsName) {
    const QString copied = mmtty::provideProgram(folder());
    EXPECT_EQ(copied, path("MMTTY.EXE"));
    EXPECT_TRUE(QFile::permissions(copied) & QFile::ExeUser);
    EXPECT_GT(link.start(copied, 2), 0);
    EXPECT_TRUE(zvtest::waitUntil([&] { return link.programWindow() != 0; }));
    EXPECT_FALSE(QFile::exists(path("Mmtty.INI")));
    ASSERT_TRUE(link.postCommand(mmtty::CmdSetTxDelay, 150));
    EXPECT_EQ(link.close(zvtest::kSafetyNetMsecs), 0);
    // Its settings stay beside it for the next start, as the system looks for them.
    EXPECT_TRUE(readFile("Mmtty.INI").contains("\r\nTxDelay=150\r\n"));

    // One the operator installed is found whatever the case of its name, and kept.
    ASSERT_TRUE(QDir(folder()).mkdir("other"));
    writeFile("other/Mmtty.exe", "installed by the operator");
    EXPECT_EQ(mmtty::provideProgram(path("other")), path("other/Mmtty.exe"));
    EXPECT_EQ(QDir(path("other")).entryList(QDir::Files), QStringList{"Mmtty.exe"});
    EXPECT_EQ(readFile("other/Mmtty.exe"), QByteArray("installed by the operator"));
}

TEST(MmttySwitchWord, PositionsCarryTheirValues) {
    using namespace mmtty;
    struct Case {
        std::uint32_t word;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {withIndicator(0, Afc, true), 4},
        {withIndicator(0, Uos, true), 512},
        {positionBit(NotchKindPosition), 8192},
        {withShiftMode(0, ShiftFix), 1024},
        {withDemodulator(0, Pll), 2},
        {withDemodulator(withShiftMode(0x7FFFF, ShiftFree), Iir), 0x7FFFF & ~0xC03u},
        {withIndicator(0x7FFFF, Net, false), 0x7FFFF & ~8u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.word, c.expected);
    EXPECT_TRUE(indicatorOn(8, Net));
    EXPECT_EQ(demodulator(0x7FFFE), 2);
    EXPECT_EQ(shiftMode(3u << 10), ShiftFsk);
    EXPECT_FALSE(fitsSwitchWord(1 << 19));
    EXPECT_TRUE(fitsViewWord(128));
}

} // namespace
