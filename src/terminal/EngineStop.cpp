#include "terminal/EngineStop.h"

#include "core/Globals.h"
#include "core/MmttyCommand.h"
#include "platform/MmttyLink.h"
#include "platform/MmvariControl.h"
#include "platform/MmvariIds.h"
#include "platform/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "terminal/MmttyEngine.h"
#include "terminal/ModeChange.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/PskEngine.h"
#include "terminal/Shutdown.h"

namespace core {
namespace {

bool isRtty(int mode) {
    return mode == ModeRtty || mode == ModeCw;
}

} // namespace

void UnkeyForStop() {
    if (!AnyEngineTransmits()) return;
    if (g.MmttyTxOn == 1) MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxOffNow);
    if (g.Transmitting == 1 && !isRtty(g.OpMode) && g.OpMode != ModeMmvari) pskcore::lib().fnAbortTX();
    if (g.MmvariTxOn == 1 && forms::isLoaded<PSK31MAIN>())
        forms::PSK31MAIN().MMVARI->set(mmvari::IdTransmit, false);
    if (g.PttPortControl == QLatin1String("0") && rig::g.RigPortOpen == 1) rig::RigPttOff();
    g.Transmitting = 0;
    g.MmttyTxOn = 0;
    g.MmvariTxOn = 0;
}

void EmergencyExit() {
    UnkeyForStop();
    if (isRtty(g.OpMode)) {
        RestoreMmttyWndProc();
        MmttyProgram().postCommand(mmtty::CmdClose, 0);
    } else if (g.OpMode == ModeMmvari) {
        if (forms::isLoaded<PSK31MAIN>()) forms::PSK31MAIN().MMVARI->set(mmvari::IdRun, false);
    } else {
        pskcore::lib().fnSetComPort(0, 0);
        pskcore::lib().fnStopSoundCard();
        RestoreMainWndProc();
    }
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    shutdown::EndProcess();
}

} // namespace core
