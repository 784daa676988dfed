#include "log/ContestSave.h"

#include <QRegularExpression>

namespace logbook {

EntryStamp contestStamp(const QDateTime& jstNow, const QString& timeBox) {
    if (timeBox.endsWith(QLatin1Char('U'))) {
        const QDateTime utc = jstNow.addSecs(-9 * 3600);
        return {utc.toString(QStringLiteral("yyyy-MM-dd")),
                utc.toString(QStringLiteral("HH:mm")) + QLatin1Char('U')};
    }
    return {jstNow.toString(QStringLiteral("yyyy-MM-dd")),
            jstNow.toString(QStringLiteral("HH:mm")) + QLatin1Char('J')};
}

QString remarksWithSerial(const QString& serialBox, const QString& rem1) {
    return serialBox + QStringLiteral("(SendNo) ") + rem1;
}

bool isSerialText(const QString& serialBox) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,5}$"));
    return digits.match(serialBox.trimmed()).hasMatch();
}

QString nextSerialText(const QString& serialBox) {
    bool ok = false;
    const int n = serialBox.trimmed().toInt(&ok);
    return QStringLiteral("%1").arg(ok && n >= 0 ? n + 1 : 1, 3, 10, QLatin1Char('0'));
}

} // namespace logbook
