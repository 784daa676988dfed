#include "log/QsoBoxText.h"

namespace logbook {

QString callBoxText(const QString& text) {
    QString call;
    call.reserve(text.size());
    for (QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control) continue;
        call += c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
    }
    return call;
}

QString reportBoxText(const QString& text) {
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
    return digits;
}

} // namespace logbook
