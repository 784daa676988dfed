// The SSTV window's menus beside the mode menus: settings, the spot window,
// the transverter and contest switches, the mixer and the help; and the
// status bar's mode pop-up.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/os/Mixer.h"
#include "rig/RigGlobals.h"
#include "settings/dialogs/CFG_Contest.h"
#include "settings/sheet/CFGSHEET.h"
#include "spots/ClusterData.h"
#include "spots/SpotSource.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/workshop/SstvTitles.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QAction>
#include <QMenu>

void SSTVForm::connectMenus() {
    dxinfo->setText(spots::PrimarySourceLabel);
    TRVon->setCheckable(true);
    CONON->setCheckable(true);
    connect(PSKCFG, &QAction::triggered, this, &SSTVForm::PSKCFG_Click);
    connect(dxinfo, &QAction::triggered, this, &SSTVForm::dxinfo_Click);
    connect(TRVon, &QAction::triggered, this, &SSTVForm::TRVon_Click);
    connect(CONON, &QAction::triggered, this, &SSTVForm::CONON_Click);
    connect(VOLTX, &QAction::triggered, this, [] { mixer::open(mixer::Side::Transmit); });
    connect(VOLRX, &QAction::triggered, this, [] { mixer::open(mixer::Side::Receive); });
    connect(STVHelp, &QAction::triggered, this, &SSTVForm::STVHelp_Click);
    connect(PicLibShow, &QAction::triggered, this, &SSTVForm::PicLibShow_Click);
    connect(StatusBar1, &StatusPanels::panelClicked, this,
            [this](int panel, int) { StatusBar1_PanelClick(panel, QCursor::pos()); });
    connect(HLDAT_VIEW, &QAction::triggered, this, &SSTVForm::HLDAT_VIEW_Click);
    for (QAction* item : {PSKCFG, CONON, TRVon, VOLTX, VOLRX, STVHelp, HLDAT_VIEW, PicLibShow})
        item->setEnabled(true);
}

// The viewer opens afresh on its newest page; the SSTV window stays the one in front.
void SSTVForm::HLDAT_VIEW_Click() {
    logbook::g.HamlogViewerOn = QStringLiteral("YES");
    logwindows::ShowLogViewer();
    activateWindow();
    raise();
}

void SSTVForm::PSKCFG_Click() {
    CFGSHEET::openFrom(this, false);
}

void SSTVForm::dxinfo_Click() {
    forms::ClusterData().show();
}

void SSTVForm::TRVon_Click() {
    const bool on = rig::g.TransverterOn != QLatin1String("1");
    TRVon->setChecked(on);
    rig::g.TransverterOn = on ? QStringLiteral("1") : QStringLiteral("0");
    core::PutIniText(QStringLiteral("RIG_CON_CFG"), "TRVon", rig::g.TransverterOn);
}

// Outside contest mode the item opens the contest dialog, whose start checks
// it; in contest mode it ends the contest as every window does.
void SSTVForm::CONON_Click() {
    if (core::g.ContestMode == 0) {
        CONON->setChecked(false);
        forms::CFG_Contest().show();
        return;
    }
    sstv::SaveSstvContestNo();
}

void SSTVForm::STVHelp_Click() {
    terminal::mainwindow::OpenHelpAt(QString::fromLatin1(terminal::mainwindow::kSstvSection));
}

void SSTVForm::StatusBar1_PanelClick(int panel, const QPoint& globalPos) {
    if (StatusBar1->text(panel).contains(QLatin1String("SSTV"))) PMS->popup(globalPos);
}
