// Contest save: one click stores the QSO with the time of the click and the
// serial number sent, advances the serial number and clears the boxes for the
// next station; the window stays open.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/ContestSave.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/QSODATA.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Clock.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QScrollBar>

namespace {

bool sstvMode() {
    return core::g.OpMode == core::ModeSstv;
}

// The serial number box of the operating window, null when it is not loaded.
QLineEdit* serialBox() {
    if (sstvMode()) return forms::isLoaded<SSTVForm>() ? forms::SSTVForm().Text11 : nullptr;
    return forms::isLoaded<PSK31MAIN>() ? forms::PSK31MAIN().Text11 : nullptr;
}

// The main window's spin shows and stores the next number itself.
void advanceSerial() {
    if (!sstvMode()) {
        if (!forms::isLoaded<PSK31MAIN>()) return;
        QScrollBar* spin = forms::PSK31MAIN().VScroll4;
        spin->setValue(spin->value() + 1);
        return;
    }
    if (QLineEdit* box = serialBox()) {
        box->setText(logbook::nextSerialText(box->text()));
        core::PutIniText(QStringLiteral("PSKCFG"), "ContestNo", box->text());
    }
}

void refreshViewer(TEMP_LOG& w) {
    if (logbook::g.HamlogViewerOn != QLatin1String("YES") || logbook::g.HamlogLink != 1) return;
    logwindows::RefreshChosenLogViewer();
    w.activateWindow();
}

} // namespace

void TEMP_LOG::Contest_Click() {
    logbook::Globals& g = logbook::g;
    if (!entryCanBeStored()) return;
    if (g.LogEditMode != 0) {
        logwindows::ReopenLog();
        WriteHamlogRecord();
        if (g.LogEntrySaved != 1) return;
        refreshViewer(*this);
        ReloadHamlogRecord();
        return;
    }
    // A serial box the operator mistyped would go into Rem1 and spin the
    // stored number from it: refused, the entry kept for another try.
    if (core::g.ContestSerialNo == 1 && !logbook::isSerialText(logwindows::textOf(serialBox()))) {
        ui::msgBox(QStringLiteral("Contest ナンバーが正しくありません"), ui::OkOnly);
        return;
    }
    if (!mayAppend()) return;
    const int macroTime = core::g.LogTimeMacroUsed;
    if (macroTime == 0) {
        const logbook::EntryStamp stamp = logbook::contestStamp(sysclock::jstNow(), Text4->text());
        g.QsoTime = sysclock::jstNow().time();
        Text3->setText(stamp.date);
        Text4->setText(stamp.time);
    }
    core::g.LogTimeMacroUsed = 0;
    const QString rem1 = Text14->text();
    if (core::g.ContestSerialNo == 1)
        Text14->setText(logbook::remarksWithSerial(logwindows::textOf(serialBox()), rem1));
    logwindows::ReopenLog();
    WriteHamlogRecord();
    // A write that failed or was declined leaves the entry as it was, for
    // another try: the serial number is not spent.
    if (g.LogEntrySaved != 1) {
        Text14->setText(rem1);
        core::g.LogTimeMacroUsed = macroTime;
        return;
    }
    if (core::g.ContestSerialNo == 1) advanceSerial();
    prepareNextContestQso();
}

void TEMP_LOG::prepareNextContestQso() {
    const logbook::Globals& g = logbook::g;
    HLQ->setEnabled(true);
    setWindowTitle(QStringLiteral("PSKログ LogData=>") + g.HamlogPath);
    LSave->setText(QStringLiteral("保存完了"));
    LSave->setEnabled(false);
    StatusBar1->setText(1, QStringLiteral("Record No=") + QString::number(g.HamlogRecNo));
    for (QLineEdit* b : {Text1, Text2, Text9, Text10, Text12, Text13, Text14, Text15})
        b->clear();
    const bool fixedRst = core::g.ContestRst599 == 1;
    const QString rst = sstvMode() ? QStringLiteral("595") : QStringLiteral("599");
    logwindows::QsoBoxesDoor(logwindows::DropCause::ContestNext);
    QWidget* operatingCall = logwindows::operatingBoxes().call;
    if (fixedRst) {
        Text5->setText(rst);
        Text6->setText(rst);
    }
    LT->setVisible(false);
    LT->setText(QStringLiteral("LocalTime=> "));
    refreshViewer(*this);
    forms::unload<CODE_LIST>();
    forms::unload<QSODATA>();
    Text1->setFocus();
    if (operatingCall) {
        operatingCall->window()->activateWindow();
        operatingCall->setFocus();
    }
}
