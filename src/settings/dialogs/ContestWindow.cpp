#include "settings/dialogs/ContestWindow.h"

#include "core/Globals.h"
#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "settings/dialogs/CFG_Contest.h"
#include "settings/dialogs/ContestValues.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollBar>

namespace settings {

namespace {

bool sstvMode() {
    return core::g.OpMode == core::ModeSstv;
}

const QString kCfg = QStringLiteral("PSKCFG");

} // namespace

ContestBoxes contestBoxesInUse() {
    if (sstvMode()) {
        SSTVForm& s = forms::SSTVForm();
        return {s.Text11, s.VScroll4, s.Text5, s.CONON};
    }
    PSK31MAIN& m = forms::PSK31MAIN();
    return {m.Text11, m.VScroll4, m.Text7, m.CONON};
}

void ShowStoredSerial(const ContestBoxes& b) {
    const QString text = contestNumberText(core::IniStored(kCfg, QStringLiteral("ContestNo")));
    b.serial->setText(text);
    b.spin->setValue(contestNumberValue(text, b.spin->minimum(), b.spin->maximum()));
}

void ShowFixedReport(const ContestBoxes& b) {
    const QString rst = contestFixedRst(sstvMode(), core::g.ContestRst599 == 1);
    b.report->setText(rst);
    if (logbook::g.HamlogLink != 1) return;
    TEMP_LOG& log = forms::TEMP_LOG();
    log.Text5->setText(rst);
    log.Text6->setText(rst);
}

void StoreContestNo(const QString& boxText) {
    const QString key = QStringLiteral("ContestNo");
    if (contestNumberMayStore(boxText, core::IniStored(kCfg, key)))
        core::PutIniText(kCfg, "ContestNo", boxText);
}

void CarryContestToWindowInUse() {
    if (core::g.ContestMode != 1) return;
    const ContestBoxes b = contestBoxesInUse();
    b.contestItem->setCheckable(true);
    b.contestItem->setChecked(true);
    if (!sstvMode()) {
        PSK31MAIN& m = forms::PSK31MAIN();
        for (QAction* item : {m.INSAISATU, m.GetContestNo, m.PSTCON_NO})
            item->setEnabled(true);
    }
    const bool serial = core::g.ContestSerialNo == 1;
    if (serial) ShowStoredSerial(b);
    b.serial->setVisible(serial);
    b.spin->setVisible(serial);
    if (core::g.ContestRst599 == 1) ShowFixedReport(b);
}

void EndContest(const ContestBoxes& b, const QString& presetReport) {
    b.contestItem->setChecked(false);
    StoreContestNo(b.serial->text());
    b.serial->hide();
    b.spin->hide();
    const QString rst = core::g.HisRstPresetOn == QLatin1String("1") ? presetReport : QString();
    b.report->setText(rst);
    if (logbook::g.HamlogLink == 1) {
        ::TEMP_LOG& log = forms::TEMP_LOG();
        log.Text5->setText(rst);
        log.Text6->clear();
        log.LSave->setText(QStringLiteral("LOG保存(F1)"));
        log.LSave->setVisible(true);
        log.LSave->setEnabled(true);
        log.Contest->setVisible(false);
        log.Contest->setEnabled(false);
    }
    core::mm.MmttyCfgFlag = 0;
    core::g.ContestMode = 0;
    forms::unload<::TEMP_LOG>();
    forms::unload<::CFG_Contest>();
    logwindows::RefreshChosenLogViewer();
}

} // namespace settings
