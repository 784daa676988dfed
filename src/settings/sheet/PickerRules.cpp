#include "settings/sheet/PickerRules.h"

#include "platform/os/Paths.h"

#include <QStringList>

namespace settings {

QString PickerFolder(const QString& stored, const QString& programFolder) {
    const QString path = paths::fromStored(stored);
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) return programFolder;
    return cut == 0 ? QStringLiteral("/") : path.left(cut);
}

QString DialogFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& variant : {p, p.toLower(), p.toUpper()})
                if (!patterns.contains(variant)) patterns << variant;
        }
        if (patterns.isEmpty()) continue;
        entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString QslSendMarkFor(const QString& answer) {
    return answer.isEmpty() ? QStringLiteral("*") : answer.left(1);
}

} // namespace settings
