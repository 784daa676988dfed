#pragma once
// The earlier-QSO list's columns and what one listed QSO puts in them.
#include "platform/hamlog/HamlogRecord.h"

#include <QStringList>
#include <array>
#include <optional>

namespace logbook {

inline constexpr int kQsoColumns = 19;
inline constexpr int kQsoColName = 11, kQsoColCode = 9, kQsoColGl = 10, kQsoColQth = 12;

struct QsoColumn {
    const char* header; // UTF-8
    int width;          // twips
    bool centred;
};
extern const std::array<QsoColumn, kQsoColumns> kQsoColumnSpecs;

// The widths from the stored texts of COLWIDTH0 to COLWIDTH18 (nothing = the
// key is missing). Without COLWIDTH0 every column takes its default; a stored
// width that is missing, negative or no number takes its column's default. The
// empty column 2 is always hidden.
std::array<int, kQsoColumns> qsoColumnWidths(const std::array<std::optional<QString>, kQsoColumns>& stored);

// The running number of a row: a blank and at least two digits (" 01").
QString qsoRowNumber(int row);
// The row's label when its export mark is taken off: at least two digits ("03").
QString qsoRowLabel(int row);

// The cells of one listed QSO, columns 0 to 18.
QStringList earlierQsoRow(const hamlog::QsoRecord& record, int row, int recNo);

// The call-index walk goes on over the call itself and its portable forms
// ("QX1AB/P"), never over a longer call ("QX1ABC").
bool isSameStation(const QString& recordCall, const QString& call);

// A stored "YY-MM-DD" as "YYYY-MM-DD" (years below 30 are 20YY); a date that
// does not read is shown as it is.
QString logDateText(const QString& stored);

} // namespace logbook
