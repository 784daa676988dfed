#include "terminal/ModeMenus.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "platform/Dialogs.h"
#include "platform/MmvariControl.h"
#include "platform/MmvariIds.h"
#include "platform/PskCore.h"
#include "rig/RigPolling.h"
#include "terminal/MmttyEngine.h"
#include "terminal/MmvariEngine.h"
#include "terminal/MmvariPanel.h"
#include "terminal/ModeChange.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/PskEngine.h"

#include <QAction>
#include <QScrollBar>

namespace modemenus {
namespace {

using core::g;

// A checkable item ticks itself when clicked; the menus show the mode in use
// whatever the click did.
void showModeMenus() {
    if (forms::isLoaded<PSK31MAIN>()) core::ShowModeMenus(forms::PSK31MAIN());
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
    w.MMVARI->set(mmvari::IdRun, false);
    mmvpanel::RestorePskLayout();
}

} // namespace

void PSKMODE_Click(int Index) {
    if (g.RecPlayState == 1) {
        ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
        showModeMenus();
        return;
    }
    if (core::AnyEngineTransmits()) {
        showModeMenus();
        return;
    }
    PSK31MAIN& w = forms::PSK31MAIN();
    if (g.MmvariActive == 1) stopMmvari(w);
    w.VScroll1->setValue(g.RxFreqHz);
    w.VScroll2->setValue(g.TxFreqHz);
    core::ChangeMode(Index);
    showModeMenus();
}

void mvrMODEsel_Click(int Index) {
    if (core::AnyEngineTransmits()) {
        showModeMenus();
        return;
    }
    rig::RigStopPolling();
    g.MmttyCwOn = 0;
    const int old = g.OpMode;
    g.OpMode = core::ModeMmvari;
    if (old >= core::ModeBpsk && old <= core::ModeQpskLsb) {
        pskcore::lib().fnSetComPort(0, 0);
        pskcore::lib().fnStopSoundCard();
        core::RestoreMainWndProc();
    } else if (old == core::ModeRtty || old == core::ModeCw) {
        core::StopMmtty();
    }
    core::StartMmvari(Index);
    rig::RigStartPolling();
    core::PutIniText(QStringLiteral("MMVCFG"), QStringLiteral("LastMode"), QString::number(Index));
    showModeMenus();
}

void connectMainWindow(PSK31MAIN& w) {
    for (int i = 0; i < int(w.PSKMODE.size()); ++i)
        QObject::connect(w.PSKMODE[std::size_t(i)], &QAction::triggered, &w, [i] { PSKMODE_Click(i); });
    for (int i = 10; i <= 18; ++i)
        QObject::connect(w.mvrMODEsel[std::size_t(i)], &QAction::triggered, &w, [i] { mvrMODEsel_Click(i); });
}

} // namespace modemenus
