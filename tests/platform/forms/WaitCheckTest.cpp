// The house's scripts, run as the build and `make bench` run them. The check
// that every wait goes through its owner: a wait is found however it is spelt
// and whatever the file's name ends in, and a file the check cannot read fails
// it; what only looks like one (a comment, another name, the owner itself, a
// short wait that says so and keeps to the bound it states, a poll that does
// not wait) passes. The bench runner names every goal missed and every
// program that failed, and fails with them, and fails a run that measured
// nothing.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string_view>

namespace {

using namespace std::string_view_literals;

struct Checked {
    int exitCode;
    QString said;
};

Checked runScript(const QString& program, const QStringList& args) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(program, args);
    if (!script.waitForFinished(60'000)) return {-1, {}};
    return {script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1,
            QString::fromUtf8(script.readAll())};
}

Checked checkWaitsIn(const QTemporaryDir& src) {
    return runScript(QStringLiteral("perl"),
                     {QStringLiteral(ZV_SOURCE_DIR "/scripts/check-waits"), src.path()});
}

bool write(const QString& path, std::string_view text, QFile::Permissions permissions = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.data(), qint64(text.size())) == qint64(text.size()) &&
           (!permissions || f.setPermissions(permissions));
}

// The check run over a source tree holding only this file, and another file when given.
Checked checkWaits(const QString& file, std::string_view text, const char* other = nullptr,
                   std::string_view otherText = {}) {
    QTemporaryDir src;
    if (!write(src.filePath(file), text) ||
        (other && !write(src.filePath(QString::fromLatin1(other)), otherText)))
        return {-1, {}};
    return checkWaitsIn(src);
}

TEST(WaitCheck, AWaitIsFoundHoweverItIsSpelt) {
    struct Case {
        const char* file;
        std::string_view text;
        // Another file of the tree: where a name for the wait's class is made.
        const char* other = nullptr;
        std::string_view otherText = {};
    } cases[] = {
        {"log/A.cpp", "void f(QDialog& d) { d.exec (); }"},
        {"log/A.cpp", "void f(QDialog& d) { QMetaObject::invokeMethod(&d, \"exec\"); }"},
        {"log/A.cpp", "void f(QDialog* d) { std::invoke(&QDialog::exec, d); }"},
        {"log/A.cpp", "void f(QDialog& d) {\n    d\n        .exec();\n}"},
        {"log/A.cpp", "void f() { QProgressDialog p; p.setWindowModality(Qt::WindowModal); p.setValue(3); }"},
        {"log/A.cpp", "void f() { QMessageBox\n    ::\n    warning(nullptr, {}, {}); }"},
        {"log/A.cpp", "void f() { QFileDialog::getOpenFileName(); }"},
        {"log/A.cpp", "void f() { QCoreApplication::\\\nprocessEvents(); }"},
        {"log/A.cpp", "void f(QEventLoop& l) { auto u = \"http://\"; l.exec(); }"},
        {"log/A.cpp", "void f(QProcess& p) { p.waitForFinished(5000); }"},
        {"log/A.cpp", "void f(QLocalSocket& s) { s.waitForReadyRead(5000); }"},
        {"rig/A.hpp", "inline void f(QEventLoop& l) { l.exec(); }"},
        {"rig/A.cc", "void f(QMenu& m) { m.exec(QPoint()); }"},
        {"rig/A.inl", "QCoreApplication::sendPostedEvents();"},
        {"rig/A.h", "inline void f() { QCoreApplication::processEvents(); }"},
        {"log/A.cpp", "void f() { QMessageBox::aboutQt(nullptr); }"},
        {"log/A.cpp", "void f(QMessageBox& b) { b.warning(nullptr, {}, {}); }"},
        {"log/A.cpp", "using Box = QMessageBox;\nvoid f() { Box::critical(nullptr, {}, {}); }"},
        {"log/A.cpp", "void f(QFileDialog& d) { d.getExistingDirectory(); }"},
        {"log/A.cpp", "int f(QInputDialog& d) { return d.getInt(nullptr, {}, {}); }"},
        {"log/A.cpp", "QColor f(QColorDialog& d) { return d.getColor(); }"},
        {"log/A.cpp", "QFont f(QFontDialog& d, bool* ok) { return d.getFont(ok); }"},
        {"log/A.cpp", "void f() { g_main_context_iteration(nullptr, 1); }"},
        {"log/A.cpp", "int f() { return QProcess::execute(\"ls\", {}); }"},
        {"log/A.cpp", "#define JOIN(a, b) a##b\nvoid f() { QCoreApplication::JOIN(process, Events)(); }"},
        {"log/A.cpp", "void f(QDialog& d) { QMetaObject::invokeMethod(&d, \"ex\"\n \"ec\"); }"},
        {"log/A.cpp", "int n = 1'000; auto u = \"'/*\"; void f(QDialog& d) { d.exec(); } auto v = \"*/\";"},
        {"log/A.cpp", "void f(QDialog& d) { d.ex\0ec(); }"sv},
        {"log/A.cpp", "void f() {}\0\nvoid g(QDialog& d) { d.exec(); }"sv},
        {"platform/forms/dialogs/Waits.cpp", "int f(QDialog& d) { return d.exec(); }"},
        {"log/A.cpp", "void f(QFileDialog& d) { d.getSaveFileName(); }"},
        // Waits that block the windows' thread without running events.
        {"log/A.cpp", "void f(QThread* t) { t->wait(); }"},
        {"log/A.cpp", "void f(QWaitCondition& c, QMutex& m) { c.wait(&m); }"},
        {"log/A.cpp", "void f() { QThread::msleep(100); }"},
        {"log/A.cpp", "void f() { QThread::sleep(1); }"},
        {"log/A.cpp", "void f() { std::this_thread::sleep_for(std::chrono::seconds(1)); }"},
        {"log/A.cpp", "void f(QThreadPool& p) { p.waitForDone(); }"},
        {"log/A.cpp", "int f(QFuture<int>& r) { return r.result(); }"},
        {"log/A.cpp", "int f(std::future<int>& r) { return r.get(); }"},
        {"log/A.cpp", "void f(QList<int>& l) { QtConcurrent::blockingMap(l, [](int&) {}); }"},
        {"log/A.cpp", "void f(QSemaphore& s) { s.acquire(); }"},
        {"log/A.cpp", "int f() { return std::system(\"ls\"); }"},
        {"log/A.cpp", "void f() { pclose(popen(\"ls\", \"r\")); }"},
        {"log/A.cpp", "void f() {\n    // short wait: at most 5 ms, only blocking waits may say so\n"
                      "    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);\n}"},
        {"log/A.cpp", "#include \"Box.h\"\nvoid f() { BOX warning(nullptr, {}, {}); }", "core/Box.h",
         "#define BOX QMessageBox::"},
        {"log/A.cpp", "#include \"Run.h\"\nint f() { return Runner::execute(\"ls\", {}); }", "core/Run.h",
         "using Runner = QProcess;"},
        {"log/A.cpp", "#include \"Box.h\"\nvoid f() { Box::critical(nullptr, {}, {}); }", "core/Box.h",
         "typedef QMessageBox Box;"},
        {"log/A.cpp", "#include \"Box.h\"\nvoid f() { Box::warning(nullptr, {}, {}); }", "core/Box.h",
         "class Box : public QMessageBox {};"},
        {"log/A.cpp", "void f() { QTest::qWait(100); }"},
        {"log/A.cpp", "void f(std::thread& t) { t.join(); }"},
        {"log/A.cpp", "void f(std::thread* t) { std::invoke(&std::thread::join, t); }"},
        {"log/A.cpp", "void f(pthread_t t) { pthread_join(t, nullptr); }"},
        {"log/A.cpp", "void f(sem_t* s) { sem_wait(s); }"},
        {"log/A.cpp", "int f(pollfd* p) { return poll(p, 1, 5000); }"},
        {"log/A.cpp", "int f(int n, fd_set* r) { return ::select(n, r, nullptr, nullptr, nullptr); }"},
        // A short wait's mark states a bound, a short one, and the wait keeps to it.
        {"rig/A.cpp", "void f() { QThread::msleep(2); // short wait: the line settles\n}"},
        {"rig/A.cpp", "void f() { QThread::msleep(20); // short wait: at most 5 ms, the line settles\n}"},
        {"rig/A.cpp", "void f() { QThread::msleep(200); // short wait: at most 200 ms, the line settles\n}"},
        {"rig/A.cpp", "void f(QThread* t) { t->wait(); // short wait: at most 1 ms, it is ending\n}"},
        {"rig/A.cpp", "int f(pollfd* p) { return poll(p, 1, -1); // short wait: at most 2 ms, a byte\n}"},
        // Waits that block with nothing to bound them, or a bound repeated.
        {"log/A.cpp", "void f(std::barrier<>& b) { b.arrive_and_wait(); }"},
        {"log/A.cpp", "bool f(QMutex& m) { return m.tryLock(100); }"},
        {"log/A.cpp", "bool f(std::timed_mutex& m) { return m.try_lock_for(std::chrono::seconds(1)); }"},
        {"log/A.cpp", "bool f(QLockFile& l) { return l.lock(); }"},
        {"rig/A.cpp", "void f(int fd) { tcdrain(fd); }"},
        {"log/A.cpp", "void f() { std::async(std::launch::async, [] {}); }"},
        {"log/A.cpp", "QHostInfo f() { return QHostInfo::fromName(\"localhost\"); }"},
        {"log/A.cpp", "int f(addrinfo** r) { return getaddrinfo(\"localhost\", nullptr, nullptr, r); }"},
        {"log/A.cpp", "void f() { QElapsedTimer t; t.start(); while (t.elapsed() < 100) {} }"},
        {"log/A.cpp", "void f(QDeadlineTimer d) { do { } while (!d.hasExpired()); }"},
        {"rig/A.cpp", "#include <unistd.h>\nint f(int fd, char* b) { return ::read(fd, b, 1); }"},
        {"rig/A.cpp", "#include <unistd.h>\nint f(int fd, char* b) { return read(fd, b, 1); }"},
        {"log/A.cpp", "void f() { std::jthread t([] {}); }"},
        {"log/A.cpp", "void f(QFuture<void> r) { QFutureSynchronizer<void> s; s.addFuture(r); }"},
        {"log/A.cpp", "void f(std::atomic<bool>& b) { while (!b) std::this_thread::yield(); }"},
        {"log/A.cpp", "void f(int fd) { flock(fd, LOCK_EX); }"},
        {"log/A.cpp", "void f(int fd, struct flock* l) { fcntl(fd, F_SETLKW, l); }"},
        {"log/A.cpp", "void f(std::condition_variable& c, std::unique_lock<std::mutex>& l) {\n"
                      "    auto w = &std::condition_variable::wait;\n    (c.*w)(l);\n}"},
        {"rig/A.cpp", "void f() {\n    for (int i = 0; i < 1000; ++i)\n"
                      "        QThread::msleep(2); // short wait: at most 2 ms, a byte\n}"},
        {"rig/A.cpp", "void f(int n) {\n    while (n--) {\n        // short wait: at most 2 ms, a byte\n"
                      "        QThread::msleep(2);\n    }\n}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const Checked checked = checkWaits(QString::fromLatin1(c.file), c.text, c.other, c.otherText);
        EXPECT_EQ(checked.exitCode, 1);
        EXPECT_TRUE(checked.said.contains(QStringLiteral("src/") + QString::fromLatin1(c.file) + ':'))
            << checked.said.toStdString();
    }
    // A file that cannot be read could hold any wait.
    QTemporaryDir src;
    QDir().mkpath(src.filePath(QStringLiteral("log")));
    ASSERT_TRUE(
        QFile::link(src.filePath(QStringLiteral("gone.cpp")), src.filePath(QStringLiteral("log/A.cpp"))));
    const Checked unread = checkWaitsIn(src);
    EXPECT_EQ(unread.exitCode, 1);
    EXPECT_TRUE(unread.said.contains(QStringLiteral("src/log/A.cpp: cannot be read")))
        << unread.said.toStdString();
}

TEST(WaitCheck, WhatOnlyLooksLikeAWaitPasses) {
    struct Case {
        const char* file;
        std::string_view text;
    } cases[] = {
        {"log/A.cpp", "// d.exec() would let events run\nvoid f() {}"},
        {"log/A.cpp", "/* QCoreApplication::processEvents();\n   loop.exec(); */\nvoid f() {}"},
        {"log/A.cpp", "bool f(sqlite3* db) { return sqlite3_exec(db, \"\", 0, 0, 0) == 0; }"},
        {"log/A.cpp", "int f(QDialog& d) { return forms::execModal(d); }"},
        {"log/A.cpp", "bool f(QProcess& p) { return forms::waitUntil([&] { return p.atEnd(); }, 10); }"},
        {"log/A.cpp", "const char* u = \"http://example\"; // exec()"},
        {"log/A.cpp", "void warning(int);\nQColor getColor();\nint n = 1'000'000; // exec()\nchar c = 'x';"},
        {"platform/forms/waits/Waits.cpp", "int f(QDialog& d) { return d.exec(); }"},
        {"platform/programs/x/main.cpp", "int main() { return QCoreApplication::exec(); }"},
        {"rig/A.cpp", "void f() { QThread::usleep(500); // short wait: at most 1 ms, between two turns\n}"},
        {"rig/A.cpp", "// short wait: 2 ms, the line settles\nvoid f() { QThread::msleep(2); }"},
        {"rig/A.cpp", "void f() {\n    // short wait: at most 5 ms, a reply\n    "
                      "std::this_thread::sleep_for(std::chrono::milliseconds(3));\n}"},
        {"rig/A.cpp", "int f(pollfd* p) { return poll(p, 1, 2); // short wait: at most 2 ms, a byte\n}"},
        {"rig/A.cpp", "int f(pollfd* p) { return poll(p, 1, 0); }"},
        {"log/A.cpp", "void f(QItemSelectionModel& m, QModelIndex i) { m.select(i, {}); }"},
        {"log/A.cpp", "// a thread reads it\nQString f(QString a) { return paths::join(a, a); }"},
        {"log/A.cpp", "int result(int);\nint f(std::unique_ptr<int>& p) { return result(*p.get()); }"},
        // A lock tried without waiting, a read of a non-blocking descriptor, a
        // short wait or a clock read in a loop that lets events run each turn.
        {"core/A.cpp", "bool f(QLockFile& l) { return l.tryLock(0); }"},
        {"rig/A.cpp", "#include <unistd.h>\nint f(char* b) { int fd = open(\"x\", O_RDONLY | O_NONBLOCK);\n"
                      "return ::read(fd, b, 1); }"},
        {"log/A.cpp", "QString read(int, int, int);\nQString f() { return read(1, 2, 3); }"},
        {"rig/A.cpp", "void f(QElapsedTimer& c) {\n    for (;;) {\n        if (c.elapsed() > 9) break;\n"
                      "        forms::letEventsRun(5);\n        QThread::usleep(500); // short wait: at most 500 us, "
                      "a turn\n    }\n}"},
        {"log/A.cpp", "void f(QElapsedTimer& t) { while (t.elapsed() < 100) forms::letEventsRun(10); }"},
        {"log/A.cpp", "void f(QList<int>& l) { for (int& x : l) x = 0; }"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const Checked checked = checkWaits(QString::fromLatin1(c.file), c.text);
        EXPECT_EQ(checked.exitCode, 0) << checked.said.toStdString();
    }
}

// The closing list names the goal said over, the one said unmeasured on
// standard error and the program that crashed without naming one; a run with
// nothing missed passes.
TEST(RunBench, NamesEveryGoalMissedAndEveryProgramFailed) {
    QTemporaryDir bin, empty, unmatched;
    const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QString runBench = QStringLiteral(ZV_SOURCE_DIR "/scripts/run-bench");
    // A folder without programs, or a filter that no program's benchmark matches, measured nothing.
    const Checked nothing = runScript(runBench, {empty.path()});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_TRUE(nothing.said.contains(QStringLiteral("no benchmark program in")))
        << nothing.said.toStdString();
    ASSERT_TRUE(write(unmatched.filePath(QStringLiteral("bench_a")),
                      "#!/bin/sh\necho 'NO BENCHMARK RUN: the filter \"CalCheck\" matches none here'\n",
                      runnable));
    const Checked typo =
        runScript(runBench, {unmatched.path(), QStringLiteral("--benchmark_filter=CalCheck")});
    EXPECT_EQ(typo.exitCode, 1);
    EXPECT_TRUE(
        typo.said.contains(QStringLiteral("no benchmark ran: nothing matched --benchmark_filter=CalCheck")))
        << typo.said.toStdString();

    ASSERT_TRUE(write(bin.filePath(QStringLiteral("bench_within")),
                      "#!/bin/sh\necho '  within the goal: x'\n", runnable));
    const Checked within = runScript(runBench, {bin.path()});
    EXPECT_EQ(within.exitCode, 0) << within.said.toStdString();

    ASSERT_TRUE(write(bin.filePath(QStringLiteral("bench_over")),
                      "#!/bin/sh\necho 'GOAL MISSED: BM_Over: the time 12 ms, goal at most 10'\nexit 1\n",
                      runnable));
    ASSERT_TRUE(write(bin.filePath(QStringLiteral("bench_gone")),
                      "#!/bin/sh\necho 'GOAL MISSED: BM_Gone: measured by no benchmark' >&2\nexit 1\n",
                      runnable));
    ASSERT_TRUE(write(bin.filePath(QStringLiteral("bench_crash")), "#!/bin/sh\nkill -SEGV $$\n", runnable));
    const Checked missed = runScript(runBench, {bin.path()});
    EXPECT_EQ(missed.exitCode, 1);
    const QString list = missed.said.section(QStringLiteral("Goals missed"), 1);
    for (const char* named :
         {"bench_over: BM_Over: the time 12 ms", "bench_gone: BM_Gone: measured by no benchmark",
          "bench_crash: ended by signal 11"})
        EXPECT_TRUE(list.contains(QString::fromLatin1(named))) << named << "\n" << missed.said.toStdString();
    EXPECT_FALSE(list.contains(QStringLiteral("bench_within")));
}

} // namespace

// What ends a benchmark run early or fails it besides a goal: a program past
// its limit, a helper program that ended, arguments the benchmarks refuse
// (said once, no program after the first run), a part of the filter that no
// program's benchmark matched. Each row: the stand-in programs and what the
// closing list must and must not say.
TEST(RunBench, EndsAndNamesWhatGoesWrongBesideTheGoals) {
    const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    struct Program {
        const char* name;
        std::string_view script;
    };
    struct Case {
        std::vector<Program> programs;
        QStringList args;
        std::vector<const char*> named;
        // A program that must not have run (it writes a file of its name).
        const char* notRun = nullptr;
    } cases[] = {
        {{{"bench_slow", "#!/bin/sh\nexec sleep infinity\n"}, {"bench_after", "#!/bin/sh\necho '  within'\n"}},
         {},
         {"bench_slow: ran past its limit of 1 s"}},
        {{{"bench_memory", "#!/bin/sh\necho 'HELPER ENDED: the spot server ended with 1, its last words: "
                           "ports not free' >&2\necho 'GOAL MISSED: BM_M: ended in an error: x'\nexit 1\n"}},
         {},
         {"bench_memory: the spot server ended with 1, its last words: ports not free",
          "bench_memory: BM_M: ended in an error"}},
        {{{"bench_a", "#!/bin/sh\necho 'BAD ARGUMENTS: the filter \"CallCheck(\" is no pattern: x'\nexit 2\n"},
          {"bench_b", "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran_bench_b\"\n"}},
         {QStringLiteral("--benchmark_filter=CallCheck(")},
         {"the filter \"CallCheck(\" is no pattern"},
         "ran_bench_b"},
        {{{"bench_a", "#!/bin/sh\necho 'FILTER PART CHOSE: WorkedBefore'\necho 'FILTER PART CHOSE NOTHING: "
                      "LogViewr'\n"},
          {"bench_b", "#!/bin/sh\necho 'FILTER PART CHOSE NOTHING: WorkedBefore'\necho 'FILTER PART CHOSE "
                      "NOTHING: LogViewr'\n"}},
         {QStringLiteral("--benchmark_filter=WorkedBefore|LogViewr")},
         {"the filter's part \"LogViewr\" chose no benchmark"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named.front());
        QTemporaryDir bin;
        for (const Program& p : c.programs)
            ASSERT_TRUE(write(bin.filePath(QString::fromLatin1(p.name)), p.script, runnable));
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZV_BENCH_LIMIT"), QStringLiteral("1"));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QStringLiteral(ZV_SOURCE_DIR "/scripts/run-bench"), QStringList{bin.path()} + c.args);
        ASSERT_TRUE(run.waitForFinished(120'000));
        EXPECT_EQ(run.exitCode(), 1);
        const QString said = QString::fromUtf8(run.readAll());
        const QString list = said.section(QStringLiteral("Goals missed"), 1);
        for (const char* named : c.named) {
            EXPECT_EQ(list.count(QString::fromLatin1(named)), 1) << named << "\n" << said.toStdString();
        }
        EXPECT_FALSE(list.contains(QStringLiteral("WorkedBefore"))) << said.toStdString();
        if (c.notRun) {
            EXPECT_FALSE(QFile::exists(bin.filePath(QString::fromLatin1(c.notRun))));
        }
    }
}

// Without a display the program's start prints the README's recipe; run as it
// stands, with stand-ins for the display, the build and the window search, it
// starts the program in a folder of its own that has settings, waits for the
// main window (not the first-start greeting, titled "ZORVATEK" alone) and
// leaves nothing in the folder it was run from.
TEST(RunProgram, WithoutADisplayTheRecipeWaitsForTheMainWindowAndKeepsTheCheckoutClean) {
    QTemporaryDir standIns, here, tmp;
    const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QString said = standIns.filePath(QStringLiteral("said"));
    const std::string log = said.toStdString();
    // The display gives its number at once; the search finds a window by
    // either title: the first-start greeting's and the main window's.
    ASSERT_TRUE(write(standIns.filePath(QStringLiteral("Xvfb")), "#!/bin/sh\necho 99 >&3\n", runnable));
    ASSERT_TRUE(write(standIns.filePath(QStringLiteral("make")),
                      "#!/bin/sh\necho \"make $* home=$ZORVATEK_HOME\" >>" + log + "\n", runnable));
    ASSERT_TRUE(write(standIns.filePath(QStringLiteral("xdotool")),
                      "#!/bin/sh\nfor a; do last=$a; done\necho \"search $last\" >>" + log +
                          "\nprintf 'ZORVATEK\\nZORVATEK (With PSKCore.DLL by QQ9CC)\\n' | grep -qE -- \"$last\"\n",
                      runnable));
    ASSERT_TRUE(write(standIns.filePath(QStringLiteral("import")),
                      "#!/bin/sh\nfor a; do last=$a; done\necho \"shot $last\" >>" + log + "\ntouch \"$last\"\n",
                      runnable));

    QProcess hint;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    hint.setProcessEnvironment(env);
    hint.start(QStringLiteral(ZV_SOURCE_DIR "/scripts/run-program"), {QStringLiteral("/bin/false")});
    ASSERT_TRUE(hint.waitForFinished(60'000));
    EXPECT_EQ(hint.exitCode(), 1);
    const QString recipe = QString::fromUtf8(hint.readAllStandardOutput()).section(QLatin1Char('\n'), 2);
    ASSERT_TRUE(recipe.contains(QStringLiteral("import "))) << recipe.toStdString();

    env.insert(QStringLiteral("PATH"), standIns.path() + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
    env.insert(QStringLiteral("TMPDIR"), tmp.path());
    QProcess run;
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(here.path());
    run.setProcessChannelMode(QProcess::MergedChannels);
    // Its programs started in the background are waited for, so that all they did is said.
    run.start(QStringLiteral("bash"), {QStringLiteral("-euc"), recipe + QStringLiteral("\nwait\n")});
    ASSERT_TRUE(run.waitForFinished(60'000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAll().toStdString();

    QFile f(said);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList runs = lines.filter(QRegularExpression(QStringLiteral("^make run ")));
    ASSERT_EQ(runs.size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
    const QString home = runs[0].section(QStringLiteral("home="), 1);
    EXPECT_TRUE(home.startsWith(tmp.path() + QLatin1Char('/'))) << home.toStdString();
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/ZORVATEK.INI"))) << "settings, so no greeting opens";
    EXPECT_TRUE(lines.contains(QStringLiteral("search ^ZORVATEK \\("))) << lines.join(QLatin1Char('\n')).toStdString();
    const QStringList shots = lines.filter(QRegularExpression(QStringLiteral("^shot ")));
    ASSERT_EQ(shots.size(), 1);
    EXPECT_TRUE(shots[0].startsWith(QStringLiteral("shot ") + home + QLatin1Char('/'))) << shots[0].toStdString();
    EXPECT_TRUE(QDir(here.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty())
        << "the recipe left files where it was run";
}
