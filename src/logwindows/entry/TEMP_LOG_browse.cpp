// Stepping through the log one or a hundred records at a time, and the export range.
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"

using namespace hamlog;

void TEMP_LOG::BrowseClick(int step) {
    logbook::Globals& g = logbook::g;
    if (holdsUnsavedTyping()) {
        const QString question =
            QStringLiteral("現在のLOGﾃﾞｰﾀが未保存です\r\nスクロールすると消えますが宜しいですか");
        if (ui::msgBox(question, ui::YesNo | ui::Exclamation) != ui::Yes) return;
        g.ExportFromRecNo = 0;
        g.ExportToRecNo = 0;
    }
    setWindowTitle(QStringLiteral("PSKログ LogData=>") + g.HamlogPath);
    // Only a record actually read turns the window into the browsing state: a
    // new entry stays a new entry when there is nothing to show.
    if (readBrowsedRecord(step)) {
        g.LogEditMode = 1;
        g.LogEntrySaved = 0;
        QSOEND->setEnabled(false);
        Command7->setEnabled(false);
        Command8->setEnabled(true);
        Command9->setEnabled(true);
        ShowHamlogRecord();
        if (g.QslPrintProgKind == 1) HLQ->setEnabled(true);
        g.LoggedRecNo = g.HamlogRecNo;
    }
    Text1->setFocus();
}

// Reads the record `step` away from the one on show; the log is left open.
bool TEMP_LOG::readBrowsedRecord(int step) {
    logbook::Globals& g = logbook::g;
    if (step < 0) {
        g.BrowseRecNo = std::max(g.HamlogRecNo + step, step == -1 ? 0 : 1);
        if (g.BrowseRecNo < 1) return false;
        SetQsoOrMaster(1);
        logwindows::ReopenLog();
    } else {
        SetQsoOrMaster(1);
        logwindows::ReopenLog();
        const int n = Vdbf_rcount(g.HamlogHandle);
        g.HamlogRecCount = n;
        g.BrowseRecNo = std::min(g.HamlogRecNo + step, n);
    }
    logwindows::ClearHamlogRecord();
    return THW_read(g.HamlogHandle, g.BrowseRecNo, 3) == Done;
}

void TEMP_LOG::showExportRange() {
    const logbook::Globals& g = logbook::g;
    StatusBar1->setText(2, QStringLiteral("e-QSL No=") + QString::number(g.ExportFromRecNo) +
                               QStringLiteral(" to ") + QString::number(g.ExportToRecNo));
}

void TEMP_LOG::Command8_Click() {
    logbook::Globals& g = logbook::g;
    g.ExportFromRecNo = g.HamlogRecNo;
    g.ExportToRecNo = g.HamlogRecNo;
    Command7->setEnabled(true);
    if (g.ExportToRecNo > 0) {
        if (g.ExportToRecNo < g.ExportFromRecNo) std::swap(g.ExportFromRecNo, g.ExportToRecNo);
        showExportRange();
    } else {
        StatusBar1->setText(2, QStringLiteral("e-QSL No=") + QString::number(g.ExportFromRecNo));
    }
}

void TEMP_LOG::Command9_Click() {
    logbook::Globals& g = logbook::g;
    g.ExportToRecNo = g.HamlogRecNo;
    Command7->setEnabled(true);
    if (g.ExportToRecNo > 0 && g.ExportToRecNo < g.ExportFromRecNo)
        std::swap(g.ExportFromRecNo, g.ExportToRecNo);
    if (g.ExportFromRecNo == 0) g.ExportFromRecNo = g.ExportToRecNo;
    showExportRange();
}
