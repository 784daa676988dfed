#include "core/Version.h"

namespace core {

QString ProgramVersionText(int major, int minor) {
    return QString::number(major) + QLatin1Char('.') +
           QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0')) + QStringLiteral("β");
}

QString DllVersionText(int version) {
    const QString digits = QString::number(version);
    return digits.left(1) + QLatin1Char('.') + digits.right(2);
}

int HexTextAsDecimal(unsigned version) {
    // Hexadecimal digits above 9 are not a decimal number: only the leading decimal digits count.
    const QString hex = QString::number(version, 16).toUpper();
    int n = 0;
    for (const QChar c : hex) {
        if (!c.isDigit()) break;
        n = n * 10 + c.digitValue();
    }
    return n;
}

QString HamlogVersionText(unsigned version) {
    return QString::number(HexTextAsDecimal(version) / 10000.0);
}

} // namespace core

#include "platform/mmtty/BobMako.h"

namespace core {

QString ScopeLibraryVersionText(bool second) {
    QByteArray first;
    QByteArray other;
    bobmako::lib().fnBOBMAKOGetVersion(first, other);
    QString text = QString::fromLatin1(second ? other : first);
    text.remove(QStringLiteral("Ver"));
    return text.trimmed();
}

} // namespace core
