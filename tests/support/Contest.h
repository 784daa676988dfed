#pragma once
// A contest as the operator begins one from a window: its contest item
// opens the dialog, the boxes are clicked where their ticks are drawn, and
// "参戦" starts it.
#include "settings/dialogs/CFG_Contest.h"
#include "support/Mouse.h"

#include <QAction>
#include <QCheckBox>

namespace zvtest {

// Chooses the contest item (the main window's when none is given; its window
// is shown first); the dialog on the screen, or null when none opened.
CFG_Contest* openContestDialog(QAction* item = nullptr);
// Chooses "参戦" and waits for the dialog to go; true when it went.
bool joinContest(CFG_Contest& d);
// The whole way in by the item: the dialog, a click on each box asked for
// ("シリアルナンバー", the fixed report) and "参戦"; true once the contest runs.
bool beginContest(QAction* item, bool serialNumbers = false, bool fixedReport = false);

} // namespace zvtest
