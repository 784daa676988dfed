#include "platform/os/Shortcut.h"

#include <QDesktopServices>
#include <QFile>

namespace shortcut {

std::optional<QUrl> address(const QByteArray& file) {
    for (QByteArray line : file.split('\n')) {
        line = line.trimmed();
        if (!line.toUpper().startsWith("URL=")) continue;
        const QUrl url(QString::fromLatin1(line.mid(4)), QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
            !url.host().isEmpty())
            return url;
    }
    return std::nullopt;
}

bool open(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const std::optional<QUrl> url = address(file.read(64 * 1024));
    return url && QDesktopServices::openUrl(*url);
}

} // namespace shortcut
