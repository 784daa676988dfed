#pragma once
// The spot window's grid: its seven columns and the fifteen spot rows.
#include "spots/SpotPage.h"

#include <QTableWidget>

namespace spots {

constexpr int GridColumns = 7;
enum GridColumn { ColTime = 0, ColFreq, ColCall, ColCode, ColEnt, ColRemarks, ColPostedBy };

// Headers, widths, alignment and the selection colour; the rows empty.
void InitSpotGrid(QTableWidget& grid);
// The parsed rows into the grid (code and entry columns stay empty, the
// spotter trimmed).
void FillSpotGrid(QTableWidget& grid, const SpotRows& rows);

} // namespace spots
