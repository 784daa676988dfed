#include "terminal/engines/EngineStop.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/engines/MmttyCommand.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/transmit/TxControl.h"
#include "terminal/transmit/TxInsert.h"

namespace terminal::engines {
namespace {

bool isRtty(int mode) {
    return mode == core::ModeRtty || mode == core::ModeCw;
}

// Overs the rig's link ended because their key could not reach the rig.
int endedForTheRig = 0;

QString typedText() {
    return forms::isLoaded<PSK31MAIN>() ? forms::PSK31MAIN().Text1->text() : QString();
}

} // namespace

bool StartRefusedByStop() {
    if (!rig::OperatorStopRuns()) return false;
    core::g.StatusMessage = QStringLiteral("送信を停止中のため、送信しません");
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    return true;
}

bool KeyRigForStart() {
    if (StartRefusedByStop()) return false;
    transmit::ForgetTypedKept();
    const int ends = endedForTheRig;
    const QString typed = typedText();
    if (rig::RigPttOn()) return true;
    // Refused by the rig's line (lost, or owed a release it cannot take): the
    // loss is said, and what was typed waits in the box for the next F12.
    if (endedForTheRig != ends && !typed.isEmpty()) transmit::KeepTypedForNextStart(typed);
    return false;
}

bool TransmissionRuns() {
    return AnyEngineTransmits() || core::g.RepeatTxOn == 1 || rig::g.PttKeyedByCat == 1;
}

void UnkeyForStop() {
    const TransmissionStop stop;
    if (core::g.MmttyTxOn == 1) core::MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxOffNow);
    if (core::g.Transmitting == 1 && !isRtty(core::g.OpMode) && core::g.OpMode != core::ModeMmvari)
        pskcore::lib().fnAbortTX();
    if (core::g.MmvariTxOn == 1 && forms::isLoaded<PSK31MAIN>())
        forms::PSK31MAIN().MMVARI->set(mmvari::IdTransmit, false);
    rig::RigPttOff();
    core::g.Transmitting = 0;
    core::g.MmttyTxOn = 0;
    core::g.MmvariTxOn = 0;
}

void EndTransmissionForTheRig() {
    ++endedForTheRig;
    EndTransmission();
}

void EndTransmission() {
    if (!TransmissionRuns()) return;
    const TransmissionStop stop;
    if (forms::isLoaded<PSK31MAIN>()) {
        macros::mainCycle().escape();
        transmit::EscapeKey();
    }
    UnkeyForStop();
}

void StopPskSound() {
    EndTransmission();
    pskcore::lib().fnStopSoundCard();
}

void StopMmvariRun(mmvari::MmvariControl& control) {
    EndTransmission();
    control.set(mmvari::IdRun, false);
}

void EmergencyExit() {
    // Every question is asked while the engine still runs: a No leaves the
    // program receiving as it was. The carrier does not wait for the answers.
    EndTransmission();
    if (!MayLeave(Leaving::EmergencyKey)) return;
    UnkeyForStop();
    if (isRtty(core::g.OpMode)) {
        RestoreMmttyWndProc();
        core::MmttyProgram().postCommand(mmtty::CmdClose, 0);
    } else if (core::g.OpMode == core::ModeMmvari) {
        if (forms::isLoaded<PSK31MAIN>()) forms::PSK31MAIN().MMVARI->set(mmvari::IdRun, false);
    } else {
        pskcore::lib().fnSetComPort(0, 0);
        pskcore::lib().fnStopSoundCard();
        RestoreMainWndProc();
    }
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    mainwindow::EndProcess();
}

} // namespace terminal::engines
