#include "support/Contest.h"

#include "platform/forms/Dialogs.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QTest>

namespace zvtest {

CFG_Contest* openContestDialog() {
    if (!chooseMenuItem(forms::PSK31MAIN().CONON) || !forms::isLoaded<CFG_Contest>()) return nullptr;
    CFG_Contest* d = &forms::CFG_Contest();
    return d->isVisible() ? d : nullptr;
}

void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

bool joinContest(CFG_Contest& d) {
    return chooseMenuItem(d.CON_STRART) && waitUntil([] { return !forms::isLoaded<CFG_Contest>(); });
}

} // namespace zvtest
