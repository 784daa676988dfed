#include "terminal/engines/EngineResume.h"

#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/SharedRoutines.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniValues.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/engines/MmvariEngine.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

namespace terminal::engines {
namespace {

bool isRtty(int mode) {
    return mode == core::ModeRtty || mode == core::ModeCw;
}

bool mmvariRuns(PSK31MAIN& w) {
    QVariant on;
    return core::g.MmvariActive == 1 && w.MMVARI->get(mmvari::IdRun, on) && on.toBool();
}

void resumeMmtty() {
    if (!core::MmttyProgram().isRunning()) {
        // Its end was seen while it was the engine: BPSK is on its way in its place.
        if (MmttyReplacementDue()) return;
        RestoreMmttyWndProc();
        StartMmtty();
        return;
    }
    // After a suspend the program did not take, the handler is still there.
    InstallMmttyWndProc();
    const QByteArray port = core::PttPortName();
    std::int32_t handle = 0;
    bobmako::lib().fnBOBMAKOInit(handle, QByteArrayLiteral("MMTTY/ZORVAT"), port, QByteArrayLiteral("NONE"));
    if (core::PostMmttyCommand(mmtty::CmdPortUpdate, 0)) core::PostMmttyCommand(mmtty::CmdSuspend, 0);
}

void resumePsk() {
    if (pskcore::lib().isSubclassed()) return;
    core::g.MainHwnd = MainWindowHandle;
    InstallPskCoreWndProc();
    StartPskCore();
    core::g.EngineMsgHold = 0;
    if (forms::isLoaded<::multi_ch>() && forms::multi_ch().isMinimized()) forms::multi_ch().showNormal();
}

} // namespace

bool SuspendEngine() {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (core::g.OpMode == core::ModeMmvari) {
        QVariant rx;
        if (w.MMVARI->get(mmvari::PRxFreq, 0, rx))
            core::g.RxFreqHz = core::g.TxFreqHz = int(std::int16_t(rx.toInt()));
        core::g.MmvariActive = 0;
        StopMmvariRun(*w.MMVARI);
    } else if (isRtty(core::g.OpMode)) {
        if (!core::PostMmttyCommand(mmtty::CmdSuspend, 1)) return false;
        RestoreMmttyWndProc();
    } else {
        pskcore::lib().fnSetComPort(0, 0);
        StopPskSound();
        RestoreMainWndProc();
    }
    return true;
}

void ResumeEngine() {
    if (core::g.OpMode == core::ModeMmvari) {
        if (!mmvariRuns(forms::PSK31MAIN()))
            StartMmvari(core::IniWholeOr(QStringLiteral("MMVCFG"), QStringLiteral("LastMode"), 14));
    } else if (isRtty(core::g.OpMode)) {
        resumeMmtty();
    } else {
        resumePsk();
    }
    // Whatever held the sound card meanwhile, the log takes the engine back on the air.
    core::SetLogModeOnAir();
}

} // namespace terminal::engines
