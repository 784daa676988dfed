#include "log/EarlierQsos.h"

#include <QDate>

namespace logbook {

const std::array<QsoColumn, kQsoColumns> kQsoColumnSpecs{{
    {"件数", 815, true},   {"CallSign", 1290, false}, {"", 0, false},       {"Date", 885, false},
    {"Time", 720, false},  {"His", 405, false},       {"My", 405, false},   {"Band", 480, false},
    {"Mode", 570, false},  {"Code", 720, false},      {"GLoc", 815, false}, {"Name", 960, false},
    {"QTH", 1920, false},  {"QSL", 405, true},        {"S", 330, true},     {"R", 330, true},
    {"Rem1", 1920, false}, {"Rem2", 1920, false},     {"Rec No", 0, false},
}};

std::array<int, kQsoColumns> qsoColumnWidths(const std::array<std::optional<QString>, kQsoColumns>& stored) {
    std::array<int, kQsoColumns> widths{};
    for (int n = 0; n < kQsoColumns; ++n) {
        widths[n] = kQsoColumnSpecs[n].width;
        if (!stored[0] || !stored[n]) continue;
        bool ok = false;
        const int w = stored[n]->trimmed().toInt(&ok);
        if (ok && w >= 0) widths[n] = w;
    }
    widths[2] = 0;
    return widths;
}

QString qsoRowNumber(int row) {
    return QLatin1Char(' ') + QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

QString qsoRowLabel(int row) {
    return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

namespace {

QString clean(const QString& text) {
    QString t = text;
    t.remove(QChar(0));
    return t.trimmed();
}

} // namespace

QString logDateText(const QString& stored) {
    const QString t = clean(stored);
    const QStringList parts = t.split(QLatin1Char('-'));
    if (parts.size() == 3) {
        bool y = false, m = false, d = false;
        int year = parts[0].toInt(&y);
        const QDate date(year < 30 && parts[0].size() <= 2 ? 2000 + year
                         : year < 100                      ? 1900 + year
                                                           : year,
                         parts[1].toInt(&m), parts[2].toInt(&d));
        // A year of more than four digits is no log date: it is shown as stored.
        if (y && m && d && date.isValid() && date.year() > 0 && date.year() <= 9999)
            return date.toString(QStringLiteral("yyyy-MM-dd"));
    }
    return t;
}

QStringList earlierQsoRow(const hamlog::QsoRecord& r, int row, int recNo) {
    QStringList cells(kQsoColumns);
    cells[0] = qsoRowNumber(row);
    cells[1] = clean(r.CALL);
    cells[3] = logDateText(r.DATE);
    cells[4] = r.TIME;
    cells[5] = clean(r.HIS);
    cells[6] = clean(r.MY);
    cells[7] = clean(r.FREQ);
    cells[8] = clean(r.MODE);
    cells[9] = r.CODE;
    cells[10] = r.GL;
    cells[11] = clean(r.NAME);
    cells[12] = clean(r.QTH);
    const QString qsl = r.QSL.leftJustified(3, QLatin1Char(' '));
    for (int i = 0; i < 3; ++i)
        cells[13 + i] = qsl.mid(i, 1);
    cells[16] = clean(r.REM1);
    cells[17] = clean(r.REM2);
    cells[18] = QString::number(recNo);
    return cells;
}

bool isSameStation(const QString& recordCall, const QString& call) {
    QString own = recordCall;
    own.remove(QChar(0));
    own = own.trimmed();
    return own == call || own.startsWith(call + QLatin1Char('/'));
}

} // namespace logbook
