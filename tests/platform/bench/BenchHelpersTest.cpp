// What the benchmarks make of their filter, and the programs they start
// beside the one they measure: a real helper program that ends before its time
// is seen and said, and one whose starter goes (an abort here) goes with it.
#include "Arguments.h"
#include "Helper.h"
#include "IdleCount.h"
#include "support/ProgramFolder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sched.h>
#include <sys/resource.h>
#include <thread>

namespace {

TEST(BenchFilter, APatternThatIsNoneIsSaidAndEachAlternativeStandsAlone) {
    struct Case {
        const char* filter;
        bool isPattern;
        std::vector<std::string> parts;
    } cases[] = {
        {"CallCheck", true, {"CallCheck"}},
        {"CallCheck(", false, {"CallCheck("}},
        {"-CallCheck(", false, {}},
        {"[Call", false, {"[Call"}},
        {"", true, {}},
        {"all", true, {}},
        {"WorkedBefore|LogViewr", true, {"WorkedBefore", "LogViewr"}},
        {"BM_(A|B)|C", true, {"BM_(A|B)", "C"}},
        {"[|]x|y", true, {"[|]x", "y"}},
        {"a\\|b|c", true, {"a\\|b", "c"}},
        {"-Memory|Idle", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(bench::filterFault(c.filter).empty(), c.isPattern);
        EXPECT_EQ(bench::filterParts(c.filter), c.parts);
    }
    struct Chosen {
        const char* filter;
        const char* name;
        bool chosen;
    } chosen[] = {
        {"", "BM_CallCheck", true},
        {"Call", "BM_CallCheck", true},
        {"LogViewr", "BM_LogViewerPage", false},
        {"-Memory", "BM_MemoryPerSimulatedHour/1800/180/0", false},
        {"-Memory", "BM_CallCheck", true},
        {"Check$", "BM_CallCheck", true},
    };
    for (const Chosen& c : chosen)
        EXPECT_EQ(bench::filterChooses(c.filter, c.name), c.chosen) << c.filter << " " << c.name;
}

// What the benchmarks refuse, said once before they start anything, and the
// word of each part of an alternation on what it chose among those that ran.
TEST(BenchFilter, ArgumentsLeftOrAFilterThatIsNoPatternAreRefused) {
    struct Case {
        std::vector<std::string> left;
        const char* filter;
        const char* said;
    } cases[] = {
        {{}, "CallCheck", ""},
        {{}, "", ""},
        {{"--benchmark_filtr=CallCheck"}, "", "unknown argument \"--benchmark_filtr=CallCheck\""},
        {{"CallCheck", "x"}, "", "unknown argument \"CallCheck\", \"x\""},
        {{}, "CallCheck(", "the filter \"CallCheck(\" is no pattern"},
        {{}, "-Call[", "the filter \"-Call[\" is no pattern"},
    };
    for (const Case& c : cases) {
        const std::string said = bench::argumentsFault(c.left, c.filter);
        EXPECT_EQ(said.empty(), *c.said == 0) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
    const std::vector<std::string> ran = {"BM_WorkedBeforeLookup", "BM_OpenBigLog"};
    EXPECT_EQ(bench::filterPartLines("WorkedBefore|LogViewr", ran),
              (std::vector<std::string>{"FILTER PART CHOSE: WorkedBefore", "FILTER PART CHOSE NOTHING: LogViewr"}));
    EXPECT_EQ(bench::filterPartLines("LogViewr|OpenBig", {}),
              (std::vector<std::string>{"FILTER PART CHOSE NOTHING: LogViewr", "FILTER PART CHOSE NOTHING: OpenBig"}));
    EXPECT_TRUE(bench::filterPartLines("WorkedBefore", ran).empty());
}

// A helper that ends while the benchmark runs: the wait ends with it, and
// what is said names it, how it ended and its last words.
TEST(BenchHelper, AHelperThatEndsIsSeenAndSaid) {
    bench::Helper helper(QStringLiteral("the spot server"), QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("echo serving; read line; echo \"$line\"; exit 3")});
    const std::optional<QByteArray> first = helper.start(30'000);
    ASSERT_TRUE(first.has_value()) << helper.ended().toStdString();
    EXPECT_EQ(*first, QByteArray("serving"));
    EXPECT_TRUE(helper.ended().isEmpty());
    EXPECT_TRUE(bench::helpersEnded().isEmpty());
    helper.write("ports taken\n");
    // The benchmark's own error, whichever wait saw the end first.
    QStringList errors;
    const bench::HelperEnded failed = [&](const QString& said) { errors << said; };
    EXPECT_FALSE(bench::runEventsWhileHelpersRun(60'000, failed)) << "the wait ends when the helper does";
    EXPECT_FALSE(bench::helpersRun(failed));
    ASSERT_EQ(errors.size(), 2);
    for (const QString& said : {helper.ended(), bench::helpersEnded(), errors[0], errors[1]}) {
        EXPECT_TRUE(said.contains(QStringLiteral("the spot server ended with 3"))) << said.toStdString();
        EXPECT_TRUE(said.contains(QStringLiteral("ports taken"))) << said.toStdString();
    }
    bench::Helper missing(QStringLiteral("the rig simulator"), QStringLiteral("/nonexistent/rigsim"), {});
    EXPECT_FALSE(missing.start(30'000).has_value());
    EXPECT_TRUE(missing.ended().contains(QStringLiteral("the rig simulator did not start"))) << missing.ended().toStdString();
}

// Run by the test below as a process of its own: starts a helper that never
// ends by itself, says its process, and aborts.
TEST(BenchHelper, DISABLED_StarterThatAborts) {
    bench::Helper helper(QStringLiteral("the rig simulator"), QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("echo started; exec sleep infinity")});
    ASSERT_TRUE(helper.start(30'000).has_value());
    QFile pid(qEnvironmentVariable("ZV_HELPER_PID_FILE"));
    ASSERT_TRUE(pid.open(QIODevice::WriteOnly));
    pid.write(QByteArray::number(helper.pid()));
    pid.close();
    std::abort();
}

TEST(BenchHelper, AHelperDoesNotOutliveABenchmarkThatAborts) {
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("pid"));
    QProcess starter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZV_HELPER_PID_FILE"), pidFile);
    starter.setProcessEnvironment(env);
    starter.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_also_run_disabled_tests"),
                   QStringLiteral("--gtest_filter=BenchHelper.DISABLED_StarterThatAborts")});
    ASSERT_TRUE(starter.waitForFinished(120'000));
    EXPECT_EQ(starter.exitStatus(), QProcess::CrashExit);
    QFile f(pidFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << starter.readAll().toStdString();
    const pid_t helper = pid_t(f.readAll().toLongLong());
    ASSERT_GT(helper, 0);
    // Its end comes from the system once its starter has gone (a process
    // ended and not yet reaped by whoever took it over counts as gone).
    const bool gone = zvtest::waitUntil(
        [helper] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(helper));
            return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
        },
        30'000);
    if (!gone) ::kill(helper, SIGKILL);
    EXPECT_TRUE(gone) << "the helper " << helper << " outlived its benchmark";
}

// The idle count holds what the code decides: a timer's every tick wakes the
// loop and is counted, while work put aside for other work (two threads
// sharing one processor, as on a busy machine) adds no wake-up.
TEST(BenchIdle, TheCodesWakeUpsAreCountedAndABusyMachinesAreNot) {
    const bench::IdleCounter ticking;
    QEventLoop loop;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (++ticks == 20) loop.quit();
    });
    tick.start(10);
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit); // safety net
    loop.exec();
    ASSERT_EQ(ticks, 20);
    EXPECT_GE(ticking.counts().timerEvents, 20);
    EXPECT_GE(ticking.counts().quickTimerEvents, 20); // 10 ms: quicker than the display's ticks
    EXPECT_GE(ticking.counts().wakeUps, 20);

    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    int cpu = 0;
    while (!CPU_ISSET(cpu, &allowed))
        ++cpu;
    const auto forced = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return u.ru_nivcsw;
    };
    const long forcedBefore = forced();
    const bench::IdleCounter busy;
    std::atomic<int> ready = 0;
    const auto spin = [&] {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        sched_setaffinity(0, sizeof one, &one);
        ++ready;
        while (ready < 2) {
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (std::chrono::steady_clock::now() < end) {
        }
    };
    std::thread a(spin), b(spin);
    a.join();
    b.join();
    // The two took turns on their processor: the machine put each aside many times.
    ASSERT_GE(forced() - forcedBefore, 20);
    EXPECT_LE(busy.counts().wakeUps, 8);
}

} // namespace
