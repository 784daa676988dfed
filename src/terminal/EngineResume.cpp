#include "terminal/EngineResume.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MmttyCommand.h"
#include "core/SharedRoutines.h"
#include "platform/BobMako.h"
#include "platform/MmttyLink.h"
#include "platform/MmvariControl.h"
#include "platform/MmvariIds.h"
#include "platform/PskCore.h"
#include "terminal/MmttyEngine.h"
#include "terminal/MmvariEngine.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/PskEngine.h"
#include "terminal/multi_ch.h"

namespace core {
namespace {

bool isRtty(int mode) {
    return mode == ModeRtty || mode == ModeCw;
}

bool mmvariRuns(PSK31MAIN& w) {
    QVariant on;
    return g.MmvariActive == 1 && w.MMVARI->get(mmvari::IdRun, on) && on.toBool();
}

void resumeMmtty() {
    if (!MmttyProgram().isRunning()) {
        RestoreMmttyWndProc();
        StartMmtty();
        return;
    }
    if (!InstallMmttyWndProc()) return;
    const QByteArray port = WholeNumber(g.PttPortNumber).value_or(0) == 0
                                ? QByteArrayLiteral("NONE")
                                : QByteArrayLiteral("COM") + g.PttPortNumber.trimmed().toLatin1();
    std::int32_t handle = 0;
    bobmako::lib().fnBOBMAKOInit(handle, QByteArrayLiteral("MMTTY/ZORVAT"), port, QByteArrayLiteral("NONE"));
    if (PostMmttyCommand(mmtty::CmdPortUpdate, 0)) PostMmttyCommand(mmtty::CmdSuspend, 0);
    g.ModeDisplayText = g.LogModeTextRtty;
}

void resumePsk() {
    if (pskcore::lib().isSubclassed()) return;
    g.MainHwnd = MainWindowHandle;
    InstallPskCoreWndProc();
    StartPskCore();
    g.EngineMsgHold = 0;
    if (forms::isLoaded<::multi_ch>() && forms::multi_ch().isMinimized()) forms::multi_ch().showNormal();
    g.ModeDisplayText = g.LogModeTextPsk;
}

} // namespace

void SuspendEngine() {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (g.OpMode == ModeMmvari) {
        QVariant rx;
        if (w.MMVARI->get(mmvari::PRxFreq, 0, rx)) g.RxFreqHz = g.TxFreqHz = int(std::int16_t(rx.toInt()));
        g.MmvariActive = 0;
        w.MMVARI->set(mmvari::IdRun, false);
    } else if (isRtty(g.OpMode)) {
        PostMmttyCommand(mmtty::CmdSuspend, 1);
        RestoreMmttyWndProc();
    } else {
        pskcore::lib().fnSetComPort(0, 0);
        pskcore::lib().fnStopSoundCard();
        RestoreMainWndProc();
    }
}

void ResumeEngine() {
    if (g.OpMode == ModeMmvari) {
        if (!mmvariRuns(forms::PSK31MAIN()))
            StartMmvari(IniWholeOr(QStringLiteral("MMVCFG"), QStringLiteral("LastMode"), 14));
    } else if (isRtty(g.OpMode)) {
        resumeMmtty();
    } else {
        resumePsk();
    }
}

} // namespace core
