#include "platform/os/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

// As many links as the system itself follows before it calls the chain a loop.
constexpr int kMostLinks = 40;

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool writeBeside(const QString& target, const QByteArray& bytes) {
    const QFileInfo info(target);
    if (info.isDir()) return false;
    QByteArray tmpl = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                                        QLatin1String(".XXXXXX"));
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    const QByteArray name = QFile::encodeName(target);
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    // The new file keeps the old one's permissions; a new one gets the usual 0644.
    struct stat old {};
    ::fchmod(fd, ::stat(name.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmpl.constData(), name.constData()) == 0;
    if (!ok) ::unlink(tmpl.constData());
    return ok;
}

} // namespace

QString writeTarget(const QString& path) {
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kMostLinks; ++hop) {
        const QFileInfo info(p);
        if (!info.isSymLink()) return p;
        p = info.symLinkTarget();
    }
    return {};
}

bool mayReplace(const QString& path) {
    const QString target = writeTarget(path);
    if (target.isEmpty()) return false;
    const QByteArray name = QFile::encodeName(target);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) return false;
    return (st.st_mode & 0222) != 0 && ::access(name.constData(), W_OK) == 0;
}

bool replaceWhole(const QString& path, const QByteArray& bytes) {
    if (!mayReplace(path)) return false;
    return writeBeside(writeTarget(path), bytes);
}

} // namespace files
