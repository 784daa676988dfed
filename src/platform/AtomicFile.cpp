#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

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

} // namespace

bool replaceWhole(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isDir()) return false;
    QByteArray tmpl = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                                        QLatin1String(".XXXXXX"));
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    // The new file keeps the old one's permissions; a new one gets the usual 0644.
    struct stat old {};
    ::fchmod(fd, ::stat(QFile::encodeName(path).constData(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmpl.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok) ::unlink(tmpl.constData());
    return ok;
}

} // namespace files
