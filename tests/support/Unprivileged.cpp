#include "support/Unprivileged.h"

#include <QByteArray>
#include <QList>
#include <cstdio>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zvtest {

namespace {

constexpr uid_t kNobody = 65534;
// Separators of the failure records on the pipe; no message holds them.
constexpr char kField = '\x1f';
constexpr char kRecord = '\x1e';

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
        if (n <= 0) return;
        done += n;
    }
}

QByteArray readAll(int fd) {
    QByteArray bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        bytes.append(buffer, n);
    }
    return bytes;
}

// The child: runs the checks as nobody and sends every failure down the pipe.
[[noreturn]] void runChild(int fd, const std::function<void()>& checks) {
    if (!becomeNobody()) {
        writeAll(fd, QByteArray(__FILE__) + kField + QByteArray::number(__LINE__) + kField +
                         "the child could not become the user nobody" + kRecord);
        ::_exit(1);
    }
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter catcher(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        checks();
    }
    for (int i = 0; i < results.size(); ++i) {
        const ::testing::TestPartResult& r = results.GetTestPartResult(i);
        if (!r.failed()) continue;
        writeAll(fd, QByteArray(r.file_name() ? r.file_name() : "") + kField +
                         QByteArray::number(r.line_number()) + kField + r.message() + kRecord);
    }
    std::fflush(nullptr);
    ::_exit(0);
}

void reportChildFailures(const QByteArray& records) {
    for (const QByteArray& record : records.split(kRecord)) {
        const QList<QByteArray> fields = record.split(kField);
        if (fields.size() != 3) continue;
        ADD_FAILURE_AT(fields[0].constData(), fields[1].toInt()) << fields[2].toStdString();
    }
}

} // namespace

void asUnprivilegedUser(const QString& folder, const std::function<void()>& checks) {
    if (::geteuid() != 0) {
        checks();
        return;
    }
    ASSERT_TRUE(giveToNobody(folder)) << "cannot give " << folder.toStdString() << " to nobody";
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        ::close(pipeFds[0]);
        runChild(pipeFds[1], checks);
    }
    ::close(pipeFds[1]);
    const QByteArray records = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    reportChildFailures(records);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged child ended abnormally";
}

} // namespace zvtest
