#include "support/Unprivileged.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zvtest {

namespace {

constexpr uid_t kNobody = 65534;
// The pipe the run as nobody reports on, handed over in the environment.
constexpr char kReportFd[] = "ZV_UNPRIVILEGED_REPORT_FD";
// Separators of the records on the pipe; no message holds them.
constexpr char kField = '\x1f';
constexpr char kRecord = '\x1e';
constexpr char kFailure[] = "failure";
constexpr char kEnded[] = "ended";
// The longest the run as nobody may take.
constexpr auto kRunLimit = std::chrono::seconds(100);

bool giveToNobody(const QString& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path top(folder.toStdString());
    if (::lchown(top.c_str(), kNobody, kNobody) != 0) return false;
    for (fs::recursive_directory_iterator it(top, error), end; !error && it != end; it.increment(error))
        if (::lchown(it->path().c_str(), kNobody, kNobody) != 0) return false;
    return !error;
}

bool becomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
           ::geteuid() == kNobody;
}

void writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += n;
    }
}

QByteArray record(const QByteArray& kind, const char* file, int line, const char* message) {
    return kind + kField + QByteArray(file ? file : "") + kField + QByteArray::number(line) + kField +
           QByteArray(message) + kRecord;
}

// In the run as nobody: every failure from the checks on, and the end of the test.
class Reporter : public ::testing::EmptyTestEventListener {
  public:
    explicit Reporter(int fd) : fd_(fd) {}
    void OnTestPartResult(const ::testing::TestPartResult& r) override {
        if (r.failed()) writeAll(fd_, record(kFailure, r.file_name(), r.line_number(), r.message()));
    }
    void OnTestEnd(const ::testing::TestInfo&) override { writeAll(fd_, record(kEnded, "", 0, "")); }

  private:
    int fd_;
};

// Reads the report until the run closes the pipe or the time is up.
QByteArray readReport(int fd, pid_t run) {
    QByteArray bytes;
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(run, SIGKILL);
            return bytes;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return bytes;
        bytes.append(buffer, n);
    }
}

// This test again, alone, in a fresh process of the test program that reports
// on the pipe and keeps its temporary folders where this one removes them.
pid_t startRun(int reportFd, const QString& scratch) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QByteArray program = QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    QList<QByteArray> args{program,
                           QByteArray("--gtest_filter=") + test->test_suite_name() + '.' + test->name()};
    QList<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        // Sharding or a filter of the whole run would leave this test out.
        if (entry.startsWith("GTEST_") || entry.startsWith("TMPDIR=") || entry.startsWith(kReportFd))
            continue;
        env << entry;
    }
    env << QByteArray(kReportFd) + '=' + QByteArray::number(reportFd)
        << "TMPDIR=" + QFile::encodeName(scratch);
    std::vector<char*> argv, envp;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // An earlier test may have left this process in a folder since removed.
    const QByteArray folder = QFile::encodeName(scratch);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    pid_t run = -1;
    if (::posix_spawn(&run, program.constData(), &actions, nullptr, argv.data(), envp.data()) != 0) run = -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

void runAsNobodyHere(int reportFd, const QString& folder, const std::function<void()>& checks) {
    ::testing::UnitTest::GetInstance()->listeners().Append(new Reporter(reportFd));
    ASSERT_TRUE(giveToNobody(folder)) << "cannot give " << folder.toStdString() << " to nobody";
    ASSERT_TRUE(becomeNobody()) << "the run could not become the user nobody";
    checks();
}

} // namespace

void asUnprivilegedUser(const QString& folder, const std::function<void()>& checks) {
    if (::geteuid() != 0) {
        checks();
        return;
    }
    if (const QByteArray fd = qgetenv(kReportFd); !fd.isEmpty())
        return runAsNobodyHere(fd.toInt(), folder, checks);

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    // Passable for nobody: the folders the run makes lie below it.
    ASSERT_TRUE(QFile::setPermissions(scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
    // The write end alone goes over to the run.
    ::fcntl(pipeFds[1], F_SETFD, 0);
    const pid_t run = startRun(pipeFds[1], scratch.path());
    ::close(pipeFds[1]);
    ASSERT_GT(run, 0) << "the test program could not be started again";
    const QByteArray report = readReport(pipeFds[0], run);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(run, &status, 0) < 0 && errno == EINTR) {
    }
    bool ended = false;
    for (const QByteArray& r : report.split(kRecord)) {
        const QList<QByteArray> fields = r.split(kField);
        if (fields.size() != 4) continue;
        if (fields[0] == kEnded)
            ended = true;
        else
            ADD_FAILURE_AT(fields[1].constData(), fields[2].toInt()) << fields[3].toStdString();
    }
    EXPECT_TRUE(ended && WIFEXITED(status))
        << "the run as nobody did not come to its end (status " << status << ")";
}

} // namespace zvtest
