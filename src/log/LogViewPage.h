#pragma once
// The log viewer's page: 100 records of the log read straight through the
// logging library, and the page steps that choose which 100.
#include "platform/hamlog/Hamlog.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace logbook {

inline constexpr int kPageSize = 100;

// The cells of one record on the page, columns 0 to 18: the earlier-QSO list's
// cells, with the record number (" 07", " 1234") in columns 0 and 18.
QStringList logViewRow(const hamlog::QsoRecord& record, int recNo);

struct PageRow {
    int recNo = 0;
    QStringList cells;
};
// Reads the records end - 99 to end of the open log, oldest first. A number
// that does not read (below 1, above the count, unreadable) gives no row.
std::vector<PageRow> readLogPage(hamlog::HamlogHandle& handle, int end);

// The record number a row label holds (" 07" gives 7), nothing for another
// text (a marked row reads "eQSL").
std::optional<int> recNoOfLabel(const QString& label);

// Where the page steps end the next page. "<<" counts from the page's first
// record (from the page end when the page shows no record), never below 100;
// ">>" counts from the page end, never beyond the count.
int pageEndBack(std::optional<int> firstRecNo, int pageEnd);
int pageEndForward(int pageEnd, int count);
// The operator's answer to JUMP: the number (a fraction rounds), raised to 100,
// then held to the count; nothing when the answer is no number.
std::optional<int> pageEndJump(const QString& answer, int count);

} // namespace logbook
