#include "support/Popups.h"

#include <QActionGroup>

namespace zvtest {

bool enabledOnceBuilt(QAction* item) {
    QActionGroup* hold = item->actionGroup();
    if (!hold || hold->isEnabled()) return item->isEnabled();
    hold->setEnabled(true);
    const bool enabled = item->isEnabled();
    hold->setEnabled(false);
    return enabled;
}

} // namespace zvtest
