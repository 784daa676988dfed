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

// The electronic-QSL menus of a list window in the mode given (0 off, 1 on).
// The send item (and the earlier-QSO list's choice of method) work only in
// the mode; the format item shows then, named for the format chosen; the log
// viewer's "ADIF化" works only outside it.
struct EqslMenus {
    QString modeCaption;
    bool sendEnabled = false;
    bool typeVisible = false;
    QString typeCaption;
    bool logExportEnabled = true;
};
EqslMenus eqslMenus(int eqslMode, const QString& eqslType);
// The format after the format item: QSOBank ("1") from anything else, eQSL ("0") from QSOBank.
QString toggledEqslType(const QString& eqslType);

// The format as the log entry's load and the contest start settle it: any set
// value but QSOBank ("1") is eQSL ("0"); a format never set (its key missing,
// read back as the section name "E-QSL") stays unset, so that no file is
// written until the operator chooses one.
QString settledEqslType(const QString& eqslType);
// The log entry's electronic-QSL button for that format: "QSOBank", "eQSL" or "未設定".
QString eqslButtonCaption(const QString& eqslType);

// The electronic-QSL format chosen for this run.
enum class EqslKind { None, Adif, QsoBank };
EqslKind eqslKindOf(const QString& eqslType);

// The first and last record number shown on a page of the log viewer (column
// 18 of the rows that hold a QSO); 0 and 0 for a page without one.
RecordRange shownRecordRange(const std::vector<QStringList>& rows);

// "ZORVATEK_EQSL" and the day as "YYMMDD".
QString eqslFileName(const QDate& today);
// "ELOG_", the first record shown, "to", the last.
QString elogFileName(int firstRecNo, int lastRecNo);
// The path with ".ext" added when its file name has no extension.
QString withExtension(const QString& path, const QString& ext);

} // namespace logbook
