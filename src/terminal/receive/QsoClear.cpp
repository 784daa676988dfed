#include "terminal/receive/QsoClear.h"

#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace terminal::receive {

int QsoClearBusy = 0;

namespace {

QString presetRst() {
    const core::Globals& g = core::g;
    const bool preset = g.ContestMode != 0 ? g.ContestRst599 == 1 : g.HisRstPresetOn == QLatin1String("1");
    return preset ? QStringLiteral("599") : QString();
}

// False when the operator keeps the unsaved entry.
bool clear(PSK31MAIN& w) {
    switch (logbook::g.HamlogLink) {
    case 1:
        if (logwindows::EntryUnsaved() && !logwindows::AgreesToDropUnsaved()) return false;
        // The new entry first: the boxes emptied then turn no page of a
        // stored record and raise no notice of it.
        logwindows::StartLogEntry();
        ClearQsoEntry(w);
        return true;
    case 2:
        ClearQsoEntry(w);
        logwindows::HamlogClearEntry();
        // The logging program's entry is gone: nothing is pending there any more.
        logwindows::EndHandOver();
        return true;
    default:
        return true;
    }
}

} // namespace

void ClearQsoEntry(PSK31MAIN& w) {
    // Label26 also reads out the data sync; it is left alone. The earlier-QSO
    // and area-code lists belong to the station just cleared.
    forms::unload<::QSODATA>();
    w.List1->hide();
    w.Text5->clear();
    w.Text6->clear();
    w.Text14->clear();
    w.Text7->setText(presetRst());
    w.Check4->setChecked(false);
    forms::unload<::CODE_LIST>();
    w.StatusBar1->setText(1, QString());
    w.Text5->setFocus();
}

void NewQso(PSK31MAIN& w, From from) {
    if (QsoClearBusy == 1) return;
    QsoClearBusy = 1;
    const bool cleared = clear(w);
    if (from == From::Button && cleared) core::g.HisCall.clear();
    QsoClearBusy = 0;
}

void connectClearButton(PSK31MAIN& w) {
    QObject::connect(w.Command4, &QPushButton::clicked, &w, [&w] { NewQso(w, From::Button); });
}

} // namespace terminal::receive
