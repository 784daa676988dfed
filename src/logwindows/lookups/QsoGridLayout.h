#pragma once
// What the earlier-QSO list and the log viewer share of their grid's layout:
// the column widths kept in [LogDisp] (COLWIDTH0, COLWIDTH1, ...), the
// columns' headers and alignment, and the screen's size in twips for placing
// the windows.
#include "log/EarlierQsos.h"
#include "logwindows/lookups/FlexGrid.h"

#include <QSize>
#include <array>
#include <optional>

namespace logwindows {

using StoredQsoWidths = std::array<std::optional<QString>, logbook::kQsoColumns>;

// The widths stored for the first `count` columns (the rest nothing).
StoredQsoWidths storedQsoWidths(int count);
// The grid's columns from those widths (or the defaults), headers and alignment.
void layOutQsoGrid(FlexGrid& grid, const StoredQsoWidths& stored);
// The first `count` columns' widths, in twips, back into [LogDisp].
void storeQsoWidths(const FlexGrid& grid, int count);

// The primary screen's size in twips; very large when there is no screen.
QSize screenTwips();

} // namespace logwindows
