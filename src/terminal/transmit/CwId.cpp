#include "terminal/transmit/CwId.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/SharedRoutines.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Cp932.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxControl.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace terminal::transmit {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr int kMmvariCwIdEndFlag = 3;

void sendCwIdMmvari(PSK31MAIN& w) {
    core::Globals& g = core::g;
    if (pttByCat() && !engines::KeyRigForStart()) return;
    w.MmvariCwIdOn = 1;
    g.MmvariTxOn = 1;
    if (mmvari::MmvariControl* m = w.MMVARI) {
        m->invoke(mmvari::MethodCwId, {g.CwIdText});
        m->set(mmvari::IdReqRx, true);
        // Whether the control transmits or not, it is asked to key for the
        // identification: from receive, the text alone would only wait in its
        // buffer and no end of transmission would ever unkey the rig.
        m->invoke(mmvari::MethodCwIdEnd, {kMmvariCwIdEndFlag});
    }
    colour::setBackColor(w.Command1, kRed);
}

// The text chosen in the list goes out only when it names the station; the
// prompt for an own call is said, not sent.
bool takeChosenCwId(PSK31MAIN& w) {
    core::g.CwIdText = w.Combo1->currentText();
    if (core::CwIdSendable(core::g.CwIdText)) return true;
    core::g.StatusMessage = core::CwIdRefusedText();
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    return false;
}

} // namespace

QString cwIdLibraryText(const QString& cwId, bool byCat) {
    return QLatin1Char(' ') + cwId + (byCat ? QStringLiteral(" ") : QString());
}

void SendCwId() {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::Globals& g = core::g;
    if (w.TxInhibited == 1 || engines::StartRefusedByStop()) return;
    w.Frame2->hide();
    // The RTTY program has no CW identification; the PSK library is stopped then.
    if (takeChosenCwId(w) && pskMode()) {
        pskcore::PskCore& lib = pskcore::lib();
        lib.fnSetCWIDSpeed(g.CwIdSpeed.trimmed().toInt());
        lib.fnSetCWIDString(cp932::encode(cwIdLibraryText(g.CwIdText, pttByCat())));
        lib.fnStartTX(pskcore::TxCwIdOnly + (g.SatelliteMode == 1 ? pskcore::SatelliteFlag : 0));
        lib.fnStopTX();
    }
    w.Text5->setFocus();
}

void Command3_MouseDown(Qt::MouseButton button) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (w.TxInhibited == 1) return;
    if (button == Qt::RightButton) {
        w.Frame2->setVisible(w.Frame2->isHidden());
    } else if (button == Qt::LeftButton) {
        if (core::g.MmvariActive == 1) {
            w.Frame2->hide();
            if (takeChosenCwId(w)) sendCwIdMmvari(w);
        } else {
            SendCwId();
            return;
        }
    }
    w.Text5->setFocus();
}

} // namespace terminal::transmit
