#include "terminal/receive/QsoClear.h"

#include "core/Globals.h"
#include "logwindows/entry/QsoDoor.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QPushButton>

namespace terminal::receive {

int QsoClearBusy = 0;

// The boxes empty through their one door, which asks first about a QSO handed
// to the logging program or an unsaved log entry.
void NewQso(PSK31MAIN& /*w*/, From from) {
    if (QsoClearBusy == 1) return;
    QsoClearBusy = 1;
    const bool cleared = logwindows::QsoBoxesDoor(logwindows::DropCause::Clear);
    if (from == From::Button && cleared) core::g.HisCall.clear();
    QsoClearBusy = 0;
}

void connectClearButton(PSK31MAIN& w) {
    QObject::connect(w.Command4, &QPushButton::clicked, &w, [&w] { NewQso(w, From::Button); });
}

} // namespace terminal::receive
