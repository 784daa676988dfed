#include "terminal/rxtext/RxTextFormat.h"

#include "platform/os/Cp932.h"
#include "platform/profile/ProfileParse.h"

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

std::optional<QString> viewerText(const QByteArray& bytes) {
    profile::Encoding encoding = profile::Encoding::ShiftJis;
    qsizetype body = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = profile::Encoding::Utf8;
        body = 3;
    } else if (bytes.startsWith("\xFF\xFE")) {
        encoding = profile::Encoding::Utf16Le;
        body = 2;
    }
    if (encoding != profile::Encoding::Utf16Le && bytes.contains('\0')) return std::nullopt;
    QString text = profile::decode(bytes, {body, bytes.size()}, encoding);
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
