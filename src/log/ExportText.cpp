#include "log/ExportText.h"

#include "platform/Cp932.h"

#include <QList>

namespace logbook {

namespace {

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Characters XML 1.0 cannot hold at all, not even as a reference.
bool isXmlChar(char32_t c) {
    return (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString withoutControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!isControl(c.unicode())) out += c;
    return out;
}

QByteArray xmlText(const QString& text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const uint u : text.toUcs4()) {
        const char32_t c = u;
        if (isControl(c) || !isXmlChar(c)) continue;
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c < 0x80)
            out += static_cast<char>(c);
        else {
            const QString one = QString::fromUcs4(&c, 1);
            const QByteArray bytes = cp932::encode(one);
            if (bytes == "?")
                out += "&#" + QByteArray::number(static_cast<quint32>(c)) + ';';
            else
                out += bytes;
        }
    }
    return out;
}

} // namespace logbook
