#include "terminal/receive/ContestEnd.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MmttyState.h"
#include "log/LogGlobals.h"
#include "logwindows/LOGDATAVIEW.h"
#include "logwindows/TEMP_LOG.h"
#include "platform/Forms.h"
#include "platform/RichTextPane.h"
#include "settings/CFG_Contest.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollBar>

namespace terminal::receive {

void SaveContestNo(PSK31MAIN& w) {
    w.GetContestNo->setEnabled(false);
    w.PSTCON_NO->setEnabled(false);
    w.CONON->setChecked(false);
    core::PutIniText(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo"), w.Text11->text());
    w.Text11->hide();
    w.VScroll4->hide();
    const QString rst = core::g.HisRstPresetOn == QLatin1String("1") ? QStringLiteral("599") : QString();
    w.Text7->setText(rst);
    if (logbook::g.HamlogLink == 1) {
        ::TEMP_LOG& log = forms::TEMP_LOG();
        log.Text5->setText(rst);
        log.Text6->clear();
        log.LSave->setVisible(true);
        log.LSave->setEnabled(true);
        log.Contest->setVisible(false);
        log.Contest->setEnabled(false);
    }
    core::mm.MmttyCfgFlag = 0;
    core::g.ContestMode = 0;
    forms::unload<::TEMP_LOG>();
    forms::unload<::CFG_Contest>();
    if (logbook::g.HamlogViewerOn == QLatin1String("YES")) logwindows::ShowLogViewer();
    w.Text1->setFocus();
}

} // namespace terminal::receive
