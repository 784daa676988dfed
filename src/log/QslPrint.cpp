#include "log/QslPrint.h"

#include "log/EarlierQsos.h"
#include "platform/os/Cp932.h"

#include <QDateTime>

namespace logbook {

namespace {

QString clean(const QString& text) {
    QString t = text;
    t.remove(QChar(0));
    return t.trimmed();
}

// The QSO's time in JST; a time in UTC ("U") is moved on by 9 hours.
std::optional<QDateTime> jstOf(const hamlog::QsoRecord& r) {
    const QDate date = QDate::fromString(logDateText(r.DATE), QStringLiteral("yyyy-MM-dd"));
    const QString time = clean(r.TIME);
    const QTime hm = QTime::fromString(time.left(5), QStringLiteral("HH:mm"));
    if (!date.isValid() || !hm.isValid()) return std::nullopt;
    QDateTime at(date, hm, Qt::UTC);
    if (time.endsWith(QLatin1Char('U'))) at = at.addSecs(9 * 3600);
    return at;
}

} // namespace

std::optional<QString> mmqslLogLine(const hamlog::QsoRecord& r) {
    const std::optional<QDateTime> at = jstOf(r);
    if (!at) return std::nullopt;
    const QString qsl = r.QSL.leftJustified(3, QLatin1Char(' '));
    const QStringList fields = {
        at->toString(QStringLiteral("yy.MM.dd")),
        at->toString(QStringLiteral("HHmm")),
        clean(r.CALL),
        clean(r.HIS),
        clean(r.FREQ),
        clean(r.MODE),
        QString(),
        clean(r.NAME),
        clean(r.QTH),
        qsl.mid(0, 1).trimmed(),
        qsl.mid(1, 1).trimmed(),
        qsl.mid(2, 1).trimmed(),
    };
    QString line;
    for (const QString& f : fields)
        line += f + QLatin1Char(',');
    return line;
}

QByteArray qslHandOver(const QString& call, int recNo) {
    return cp932::encode(call + QLatin1Char(',') + QString::number(recNo)) + "\r\n";
}

bool isMmqslProgram(const QString& programPath) {
    return programPath.toUpper().indexOf(QLatin1String("MMQSL.EXE")) > 0;
}

} // namespace logbook
