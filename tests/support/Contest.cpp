#include "support/Contest.h"

#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QTest>

namespace zvtest {

CFG_Contest* openContestDialog(QAction* item) {
    if (!chooseMenuItem(item ? item : forms::PSK31MAIN().CONON) || !forms::isLoaded<CFG_Contest>())
        return nullptr;
    CFG_Contest* d = &forms::CFG_Contest();
    return d->isVisible() ? d : nullptr;
}

bool joinContest(CFG_Contest& d) {
    return chooseMenuItem(d.CON_STRART) && waitUntil([] { return !forms::isLoaded<CFG_Contest>(); });
}

bool beginContest(QAction* item, bool serialNumbers, bool fixedReport) {
    CFG_Contest* d = openContestDialog(item);
    if (!d) return false;
    if (serialNumbers) tick(d->Check3);
    if (fixedReport) tick(d->Check4);
    return joinContest(*d) && core::g.ContestMode == 1;
}

} // namespace zvtest
