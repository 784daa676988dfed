#include "platform/forms/colour/Colour.h"

#include <QApplication>
#include <QPalette>

namespace colour {

QColor fromRef(std::uint32_t ref) {
    if (ref == kButtonFace) return QApplication::palette().color(QPalette::Button);
    if (ref == kWindowBackground) return QApplication::palette().color(QPalette::Base);
    return QColor::fromRgb(rgbFromRef(ref));
}

std::uint32_t toRef(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

bool parseRef(const QString& text, std::uint32_t* ref) {
    QString t = text.trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        t = t.mid(2);
        if (t.endsWith(QLatin1Char('&'))) t.chop(1);
        v = t.toLongLong(&ok, 16);
    } else {
        v = t.toLongLong(&ok, 10);
    }
    if (!ok || v < INT32_MIN || v > UINT32_MAX) return false;
    *ref = static_cast<std::uint32_t>(v);
    return true;
}

} // namespace colour
