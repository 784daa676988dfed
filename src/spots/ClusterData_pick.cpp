// A double-clicked spot: the modem to the spot's mode, the call into the QSO
// window in use, the rig to the spot's dial and, with the window link, the
// spot into the logging program's entry.
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/engines/MmttyCommand.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogCharacters.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/QsoDoor.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "spots/SpotGrid.h"
#include "spots/SpotHamlog.h"
#include "spots/SpotPick.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QLineEdit>
#include <QScrollBar>

#include <utility>

namespace {

using terminal::engines::ChangeMode;

// The multi-mode modem's entries for a PSK and an RTTY spot.
constexpr int MmvariBpskEntry = 4;
constexpr int MmvariRttyEntry = 5;

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

bool yes(const QString& value) {
    return value == QLatin1String("YES");
}

// The mode change the spot asks for; false when it was refused (a QSO the
// operator keeps, a transmission, a recording) or its engine did not start.
bool changedTo(int mode) {
    return ChangeMode(mode) && core::g.OpMode == mode;
}

int mmvariCarrierHz() {
    QVariant hz;
    return forms::PSK31MAIN().MMVARI->get(mmvari::PRxFreq, 0, hz) ? hz.toInt() : 0;
}

} // namespace

// The press that begins a click: the spot under the pointer then is the one
// its double click acts on, whatever a poll puts into that row meanwhile.
void ClusterData::MSFlexGrid1_MouseDown(int row) {
    pressedSpot_ = {row, cellText(MSFlexGrid1, row, spots::ColCall),
                    cellText(MSFlexGrid1, row, spots::ColFreq),
                    cellText(MSFlexGrid1, row, spots::ColRemarks)};
}

void ClusterData::MSFlexGrid1_DblClick(int row) {
    if (rig::g.RigPortOpen == 0 || row < 0) return;
    if (pressedSpot_.row != row) MSFlexGrid1_MouseDown(row);
    const PressedSpot spot = std::exchange(pressedSpot_, {});
    const QString call = spot.call.trimmed();
    const qint64 dialHz = spots::spotDialHz(spot.freq);
    if (call.isEmpty() || dialHz <= 0) return;
    // Taken while something waits, the pick is made once the wait is over, if
    // the row still shows that spot.
    const QString freq = cellText(MSFlexGrid1, row, spots::ColFreq);
    if (!forms::mayActNow(forms::Request::Retune, [row, call, freq] {
            if (!forms::isLoaded<ClusterData>()) return;
            ClusterData& c = forms::ClusterData();
            if (cellText(c.MSFlexGrid1, row, spots::ColCall).trimmed() == call &&
                cellText(c.MSFlexGrid1, row, spots::ColFreq) == freq)
                c.MSFlexGrid1_DblClick(row);
        }))
        return;
    if (terminal::engines::RefusedWhileSending()) return;
    // The spot's call replaces the QSO in the boxes only with the operator's word.
    if (!logwindows::QsoBoxesDoor(logwindows::DropCause::SpotPicked, call)) return;
    SpotRemarks = spot.remarks;
    SpotDialFreqHz = dialHz;
    rig::g.SpotModeSetting = spots::spotModeOf(SpotRemarks);
    if (!changeModeForSpot()) return;
    correctDialForMode(core::g.OpMode == core::ModeSstv ? 0 : spots::spotAudioOffset(SpotRemarks));
    SpotFreqText = spots::spotFreqText(SpotDialFreqHz);
    rig::SpotModeForFrequency(SpotFreqText);
    if (!changeModeForCw()) return;
    // After every mode change, so that the call lands in the window in use;
    // that window's boxes may hold a QSO of their own, which a No keeps.
    const bool callTaken = logwindows::QsoBoxesDoor(logwindows::DropCause::Spot, call);
    QWidget* callBox = logwindows::operatingBoxes().call;
    if (rig::g.RigPortOpen == 1) {
        if (rig::g.TransverterOn == QLatin1String("1")) SpotDialFreqHz -= rig::g.TransverterIfHz;
        SendSpotFrequencyToRig();
    }
    // A call the log cannot hold waits in its box for the operator's mending.
    if (callTaken && logbook::g.HamlogLink == 2 &&
        logwindows::LogFieldsHold({{callBox, QStringLiteral("Call Sign"), call}}))
        spots::SendSpotToHamlog(call, QString(), QStringLiteral("NOR"), SpotFreqText, QString(),
                                rig::g.SpotModeName);
}

bool ClusterData::changeModeForSpot() {
    const int mode = core::g.OpMode;
    if (rig::g.SpotModeSetting == 1) {
        if (mode == core::ModeRtty || mode == core::ModeCw || mode == core::ModeSstv)
            return changedTo(core::ModeBpsk);
        if (mode == core::ModeMmvari) terminal::panels::SelectModeEntry(MmvariBpskEntry);
    } else if (rig::g.SpotModeSetting == 2) {
        if (mode == core::ModeMmvari)
            terminal::panels::SelectModeEntry(MmvariRttyEntry);
        else if (mode != core::ModeRtty)
            return changedTo(core::ModeRtty);
    }
    return true;
}

void ClusterData::correctDialForMode(int offsetHz) {
    const int mode = core::g.OpMode;
    if (mode == core::ModeMmvari) {
        if (yes(spots::g.ClusterModeCompRig)) SpotDialFreqHz -= mmvariCarrierHz();
        return;
    }
    if (mode >= core::ModeSstv) return;
    const QString spotCode = rig::g.SpotModeSetting == 1 ? rig::g.RigPskModeCode : rig::g.RigRttyModeCode;
    const QString sideband =
        spots::spotSideband(spotCode, rig::g.RigLsbModeCode, rig::g.RigUsbModeCode, rig::g.RigModeText);
    if (rig::g.SpotModeSetting == 1) {
        const spots::PskTuning t =
            spots::pskSpotTuning(SpotDialFreqHz, offsetHz, core::g.TxFreqHz, sideband, rig::g.RigDataModeText,
                                 yes(spots::g.ClusterModeCompRigPsk));
        SpotDialFreqHz = t.dialHz;
        forms::PSK31MAIN().VScroll1->setValue(t.rxToneHz);
    } else if (rig::g.SpotModeSetting == 2) {
        SpotDialFreqHz = spots::rttySpotDial(SpotDialFreqHz, rig::g.RigAudioOffsetHz, sideband,
                                             rig::g.RigDataModeText, yes(spots::g.ClusterModeCompRig));
        // The RTTY program's own settings back to its amateur-radio preset.
        if (mode == core::ModeRtty || mode == core::ModeCw) core::PostMmttyCommand(mmtty::CmdHamPreset, 0);
    }
}

// A spot in a CW segment of the band plan: over RTTY to CW, unless the
// remarks named a digital mode.
bool ClusterData::changeModeForCw() {
    if (rig::g.SpotModeName != QLatin1String("CW")) return true;
    const int mode = core::g.OpMode;
    if ((mode == core::ModeBpsk || mode == core::ModeQpskUsb || mode == core::ModeQpskLsb ||
         mode == core::ModeSstv) &&
        !changedTo(core::ModeRtty))
        return false;
    if (core::g.OpMode == core::ModeRtty && rig::g.SpotModeSetting == 0) return changedTo(core::ModeCw);
    return true;
}

// A dial the family's digits cannot hold is not sent; the mode still is.
void ClusterData::SendSpotFrequencyToRig() {
    const QString digits = spots::spotDialDigits(rig::g.RigType, SpotDialFreqHz);
    rig::RigStopPolling();
    rig::RigSetMode(rig::g.SpotRigModeCode);
    if (!digits.isEmpty()) rig::RigSetFrequency(digits);
    rig::RigStartPolling();
}
