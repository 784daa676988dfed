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

EqslMenus eqslMenus(int eqslMode, const QString& eqslType) {
    const bool on = eqslMode == 1;
    EqslMenus m;
    m.modeCaption = on ? QStringLiteral("電子QSLモード中") : QStringLiteral("電子QSLモードへ");
    m.sendEnabled = on;
    m.typeVisible = on;
    m.typeCaption = eqslType == QLatin1String("1") ? QStringLiteral("QSOBank") : QStringLiteral("eQSL");
    m.logExportEnabled = !on;
    return m;
}

QString toggledEqslType(const QString& eqslType) {
    return eqslType == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1");
}

QString settledEqslType(const QString& eqslType) {
    if (eqslType == QLatin1String("1") || eqslType == QLatin1String("E-QSL")) return eqslType;
    return QStringLiteral("0");
}

QString eqslButtonCaption(const QString& eqslType) {
    switch (eqslKindOf(eqslType)) {
    case EqslKind::QsoBank:
        return QStringLiteral("QSOBank");
    case EqslKind::Adif:
        return QStringLiteral("eQSL");
    default:
        return QStringLiteral("未設定");
    }
}

EqslKind eqslKindOf(const QString& eqslType) {
    if (eqslType == QLatin1String("1")) return EqslKind::QsoBank;
    if (eqslType == QLatin1String("0")) return EqslKind::Adif;
    return EqslKind::None;
}

RecordRange shownRecordRange(const std::vector<QStringList>& rows) {
    RecordRange range;
    for (const QStringList& cells : rows) {
        if (isEmptyRow(cells)) continue;
        const int recNo = cells.size() > 18 ? cells[18].trimmed().toInt() : 0;
        if (recNo <= 0) continue;
        if (range.first == 0) range.first = recNo;
        range.last = recNo;
    }
    return range;
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
