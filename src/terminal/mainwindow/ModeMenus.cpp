#include "terminal/mainwindow/ModeMenus.h"

#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigPolling.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/engines/MmvariEngine.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/MmvariPanel.h"

#include <QAction>
#include <QScrollBar>

namespace terminal::mainwindow {
namespace {

using core::g;

// A checkable item ticks itself when clicked; the menus show the mode in use
// whatever the click did.
void showModeMenus() {
    if (forms::isLoaded<PSK31MAIN>()) engines::ShowModeMenus(forms::PSK31MAIN());
}

// The multi-mode control gives way: both audio frequencies take its main
// channel's receive frequency and the window is laid out without its panel.
void stopMmvari(PSK31MAIN& w) {
    QVariant rx;
    if (w.MMVARI->get(mmvari::PRxFreq, 0, rx)) {
        g.RxFreqHz = rx.toInt();
        g.TxFreqHz = rx.toInt();
    }
    g.MmvariActive = 0;
    engines::StopMmvariRun(*w.MMVARI);
    panels::RestorePskLayout();
}

} // namespace

// A choice taken while something waits is made once the wait is over.
bool mayChooseNow(void (*choose)(int), int Index) {
    if (forms::mayActNow(forms::Request::ModeChange, [choose, Index] {
            if (forms::isLoaded<PSK31MAIN>()) choose(Index);
        }))
        return true;
    showModeMenus();
    return false;
}

// Asked before the multi-mode control or any engine is stopped.
void PSKMODE_Click(int Index) {
    if (!mayChooseNow(PSKMODE_Click, Index)) return;
    if (!engines::MayChangeMode(Index)) return showModeMenus();
    const forms::EventsRunScope underWay(forms::EventsRunScope::ModeChange);
    PSK31MAIN& w = forms::PSK31MAIN();
    if (g.MmvariActive == 1) stopMmvari(w);
    w.VScroll1->setValue(g.RxFreqHz);
    w.VScroll2->setValue(g.TxFreqHz);
    engines::MakeModeChange(Index);
    showModeMenus();
}

void mvrMODEsel_Click(int Index) {
    if (!mayChooseNow(mvrMODEsel_Click, Index)) return;
    if (!engines::MayChangeMode(Index)) return showModeMenus();
    const forms::EventsRunScope underWay(forms::EventsRunScope::ModeChange);
    forms::engineChanges();
    engines::EndTransmission();
    rig::RigStopPolling();
    g.MmttyCwOn = 0;
    const int old = g.OpMode;
    g.OpMode = core::ModeMmvari;
    if (old >= core::ModeBpsk && old <= core::ModeQpskLsb) {
        pskcore::lib().fnSetComPort(0, 0);
        engines::StopPskSound();
        engines::RestoreMainWndProc();
    } else if (old == core::ModeRtty || old == core::ModeCw) {
        engines::StopMmtty();
    }
    engines::StartMmvari(Index);
    rig::RigStartPolling();
    core::PutIniText(QStringLiteral("MMVCFG"), "LastMode", QString::number(Index));
    showModeMenus();
}

void connectModeMenus(PSK31MAIN& w) {
    for (int i = 0; i < int(w.PSKMODE.size()); ++i)
        QObject::connect(w.PSKMODE[std::size_t(i)], &QAction::triggered, &w, [i] { PSKMODE_Click(i); });
    for (int i = 10; i <= 18; ++i)
        QObject::connect(w.mvrMODEsel[std::size_t(i)], &QAction::triggered, &w, [i] { mvrMODEsel_Click(i); });
}

} // namespace terminal::mainwindow
