#pragma once
// A contest as the operator begins one from the main window: its contest item
// opens the dialog, the boxes are clicked where their ticks are drawn, and
// "参戦" starts it.
#include "settings/dialogs/CFG_Contest.h"

#include <QCheckBox>

namespace zvtest {

// Chooses the main window's contest item (the window is shown first); the
// dialog on the screen, or null when none opened.
CFG_Contest* openContestDialog();
// A click on the box's tick.
void tick(QCheckBox* box);
// Chooses "参戦" and waits for the dialog to go; true when it went.
bool joinContest(CFG_Contest& d);

} // namespace zvtest
