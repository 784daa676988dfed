#include "log/ExportSelection.h"

#include <QFileInfo>

namespace logbook {

bool isMarkedCell(const QString& firstCell) {
    return firstCell == kEqslRowMark;
}

QString toggledCell(const QString& firstCell, const QString& label) {
    return isMarkedCell(firstCell) ? label : kEqslRowMark;
}

RowSpan orderedSpan(int a, int b) {
    return a <= b ? RowSpan{a, b} : RowSpan{b, a};
}

bool isExcludedQsl(const QString& qsl, const QString& eqslMark) {
    return !eqslMark.isEmpty() && qsl.left(1) == eqslMark;
}

MarkedRows pickMarkedRows(const std::vector<QStringList>& rows, const QString& eqslMark) {
    MarkedRows picked;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList& cells = rows[i];
        if (cells.isEmpty() || !isMarkedCell(cells[0])) continue;
        ++picked.marked;
        if (isEmptyRow(cells)) continue;
        ExportQso q = exportQsoFromRow(cells);
        if (isExcludedQsl(q.qsl, eqslMark)) continue;
        picked.qsos.push_back(std::move(q));
        picked.rowNos.push_back(static_cast<int>(i) + 1);
    }
    return picked;
}

RecordRange normalisedRange(int from, int to) {
    if (to > 0 && to < from) return {to, from};
    if (to == 0) return {from, from};
    return {from, to};
}

EqslKind eqslKindOf(const QString& eqslType) {
    if (eqslType == QLatin1String("1")) return EqslKind::QsoBank;
    if (eqslType == QLatin1String("0")) return EqslKind::Adif;
    return EqslKind::None;
}

QString eqslFileName(const QDate& today) {
    return QStringLiteral("ZORVATEK_EQSL") + today.toString(QStringLiteral("yyMMdd"));
}

QString elogFileName(int firstRecNo, int lastRecNo) {
    return QStringLiteral("ELOG_") + QString::number(firstRecNo) + QStringLiteral("to") +
           QString::number(lastRecNo);
}

QString withExtension(const QString& path, const QString& ext) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + ext;
}

} // namespace logbook
