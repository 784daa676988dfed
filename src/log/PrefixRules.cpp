#include "log/PrefixRules.h"

namespace logbook {

Redirection redirectionOf(const QString& code, const QString& call, int matchLen) {
    if (code.startsWith(QLatin1String("732"))) {
        const QChar digit = matchLen >= 1 && matchLen <= call.size() ? call[matchLen - 1] : QChar();
        if (QStringLiteral("13456").contains(digit) && !digit.isNull())
            return {Redirection::Search, QStringLiteral("733A")};
        if (QStringLiteral("890").contains(digit) && !digit.isNull())
            return {Redirection::Search, QStringLiteral("732A")};
        return {Redirection::Unknown, {}};
    }
    if (code.size() >= 4 && code[3] == QLatin1Char('_'))
        return {Redirection::Search, code.left(3) + QLatin1Char('A')};
    return {};
}

bool sharesPrefix(const hamlog::MasterRecord& record, const QString& call, int matchLen) {
    if (record.Code.size() >= 4 && record.Code[3] == QLatin1Char('_')) return false;
    const QString own = record.Prefix.trimmed() + record.Area.trimmed();
    return matchLen > 0 && own.left(matchLen) == call.left(matchLen);
}

bool isHomeCountry(const QString& code) {
    return code.startsWith(QLatin1String("500"));
}

QList<int> qslBitColumns(int& col, int& bits) {
    QList<int> marked;
    do {
        if (bits % 2 == 1) marked << col;
        bits /= 2;
        ++col;
    } while (bits > 0);
    return marked;
}

} // namespace logbook
