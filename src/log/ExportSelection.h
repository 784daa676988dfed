#pragma once
// Which QSOs an electronic-QSL or log export takes, and what the exports call
// their files. Shared by the earlier-QSO list, the log viewer and the log
// entry window.
#include "log/ExportQso.h"

#include <QDate>
#include <QStringList>
#include <vector>

namespace logbook {

// A marked row's first cell.
inline const QString kEqslRowMark = QStringLiteral("eQSL");

bool isMarkedCell(const QString& firstCell);
// The first cell after a click: the mark, or the row's own label again.
QString toggledCell(const QString& firstCell, const QString& label);

// The rows a drag covered, smaller first.
struct RowSpan {
    int first = 0;
    int last = 0;
};
RowSpan orderedSpan(int a, int b);

// A QSO whose QSL category mark (the QSL field's first character) is the
// excluded mark goes into no electronic-QSL file.
bool isExcludedQsl(const QString& qsl, const QString& eqslMark);

// The marked rows of a grid (data rows in order, rows[0] being row 1): how
// many are marked, and the QSOs to send with their row numbers. Excluded rows
// are counted but not sent; a marked row that holds no QSO is neither.
struct MarkedRows {
    int marked = 0;
    std::vector<ExportQso> qsos;
    std::vector<int> rowNos;
};
MarkedRows pickMarkedRows(const std::vector<QStringList>& rows, const QString& eqslMark);

// The log entry window's export range, as the writers take it: the last
// below the first swaps them, a last of 0 is the first.
struct RecordRange {
    int first = 0;
    int last = 0;
};
RecordRange normalisedRange(int from, int to);

// The electronic-QSL format chosen for this run.
enum class EqslKind { None, Adif, QsoBank };
EqslKind eqslKindOf(const QString& eqslType);

// "ZORVATEK_EQSL" and the day as "YYMMDD".
QString eqslFileName(const QDate& today);
// "ELOG_", the first record shown, "to", the last.
QString elogFileName(int firstRecNo, int lastRecNo);
// The path with ".ext" added when its file name has no extension.
QString withExtension(const QString& path, const QString& ext);

} // namespace logbook
