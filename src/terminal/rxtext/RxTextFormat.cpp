#include "terminal/rxtext/RxTextFormat.h"

#include "platform/os/Cp932.h"

#include <algorithm>

namespace terminal::rxtext {

QString folderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? QString() : path.left(cut);
}

QString withExtension(const QString& path, const QString& extension) {
    const QString name = path.mid(folderOf(path).size());
    return name.contains(QLatin1Char('.')) ? path : path + extension;
}

QString viewerText(const QByteArray& bytes) {
    QString text = cp932::decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
    return text;
}

QByteArray fileBytes(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return cp932::encode(t + QLatin1String("\r\n"));
}

} // namespace terminal::rxtext
