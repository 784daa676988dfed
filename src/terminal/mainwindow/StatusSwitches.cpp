#include "terminal/mainwindow/StatusSwitches.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/StartupFiles.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Paths.h"
#include "platform/os/Shortcut.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "spots/ClusterData.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxControl.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace terminal::mainwindow {
namespace {

const QString kCfg = QStringLiteral("PSKCFG");
const QString kInhibited = QStringLiteral("送信禁止");
const QString kAllowed = QStringLiteral("送信可能");
const QString kImeOn = QStringLiteral("IME有効");
const QString kImeOff = QStringLiteral("IME無効");
constexpr int kModePanel = 2;
constexpr int kImePanel = 3;
constexpr int kTxPanel = 4;
// Input-method modes of the transmit box: 2 off but may be switched on, 3 disabled.
constexpr int kImeMayBeOn = 2;
constexpr int kImeDisabled = 3;
constexpr std::uint32_t kRed = 0x0000FF;

void putCheck(const core::IniKey& key, const QCheckBox* box) {
    core::PutIniNumber(kCfg, key, box->isChecked() ? 1 : 0);
}

void setIme(PSK31MAIN& w, int mode) {
    w.Text1->setAttribute(Qt::WA_InputMethodEnabled, mode == kImeMayBeOn);
    w.StatusBar1->setText(kImePanel, mode == kImeMayBeOn ? kImeOn : kImeOff);
}

void inhibit(PSK31MAIN& w) {
    const bool running = core::g.Transmitting == 1 || core::g.MmttyTxOn == 1;
    if (!running) {
        w.TxInhibited = 1;
        w.Command1->setText(kInhibited);
        w.Command1->setEnabled(false);
        w.Text1->setFocus();
        w.StatusBar1->setText(kTxPanel, kInhibited);
    }
    core::PutIniText(kCfg, "TXinhibt",
                     w.Command1->isEnabled() ? QStringLiteral("True") : QStringLiteral("False"));
}

void allow(PSK31MAIN& w) {
    w.TxInhibited = 0;
    w.Command1->setText(QStringLiteral("TX(F12)"));
    w.Command1->setEnabled(true);
    w.Text1->setFocus();
    w.StatusBar1->setText(kTxPanel, kAllowed);
    core::PutIniText(kCfg, "TXinhibt",
                     w.Command1->isEnabled() ? QStringLiteral("True") : QStringLiteral("False"));
}

void tuneMmvari(PSK31MAIN& w) {
    core::Globals& g = core::g;
    mmvari::MmvariControl* m = w.MMVARI;
    if (g.MmvariTxOn == 0) {
        if (transmit::pttByCat() && !engines::KeyRigForStart()) return;
        if (m) m->set(mmvari::IdTuneReset, 0);
        g.MmvariTxOn = 1;
        if (m) m->invoke(mmvari::MethodTune);
        colour::setBackColor(w.Command1, kRed);
        w.Text1->setText(QString());
        w.Text1->setFocus();
        return;
    }
    if (m) {
        m->set(mmvari::IdTuneReset, 0);
        m->set(mmvari::IdTransmit, false);
    }
    w.Text5->setFocus();
    g.Transmitting = 0;
}

// The tune carrier comes from the PSK library; the RTTY program (RTTY and CW)
// has none, and the library is stopped while it runs.
void tunePsk(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (core::g.Transmitting == 0) {
        lib.fnStartTX(pskcore::TxTune + (core::g.SatelliteMode != 0 ? pskcore::SatelliteFlag : 0));
        w.Text1->setText(QString());
        w.Text1->setFocus();
        return;
    }
    lib.fnAbortTX();
    w.Text1->setText(QString());
    w.Text5->setFocus();
    w.Timer5->stop();
    w.ScanStopRequest = 1;
}

} // namespace

void StatusBar1_PanelClick(int panel, const QPoint& globalPos) {
    PSK31MAIN& w = forms::PSK31MAIN();
    const QString t = w.StatusBar1->text(panel);
    if (t.toUpper().contains(QLatin1String("RTTY")) || t.toUpper().contains(QLatin1String("SK")) ||
        t.contains(QLatin1String("CW")))
        w.PMS->popup(globalPos);
    const QString head = t.left(5);
    if (head == kImeOn || head == kImeOff) {
        if (head == kImeOn)
            setIme(w, kImeDisabled);
        else if (transmit::pskMode())
            setIme(w, kImeMayBeOn);
        core::g.ImeState = w.Text1->testAttribute(Qt::WA_InputMethodEnabled) ? kImeMayBeOn : kImeDisabled;
        w.Text1->setFocus();
    } else if (head == kAllowed) {
        inhibit(w);
    } else if (head == kInhibited) {
        allow(w);
    }
}

void Check1_Click() {
    putCheck("San", forms::PSK31MAIN().Check1);
}

void Check2_Click() {
    const QCheckBox* box = forms::PSK31MAIN().Check2;
    core::g.LogTimeUtc = box->isChecked() ? 1 : 0;
    core::g.TimeZoneOffsetH = box->isChecked() ? -9 : 0;
    putCheck("TIME_STAMP", box);
}

void Check5_Click() {
    const QCheckBox* box = forms::PSK31MAIN().Check5;
    core::g.DataCaptureOn = box->isChecked() ? 1 : 0;
    putCheck("Data_Get", box);
}

bool GOZOR_Click() {
    if (shortcut::open(paths::join(paths::programFolder(), core::kHomePageShortcutFile))) return true;
    core::g.StatusMessage = QStringLiteral("ZORのﾎｰﾑﾍﾟｰｼﾞを開けませんでした。");
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    return false;
}

void dxinfo_Click() {
    forms::ClusterData().show();
}

void Command1_MouseUp(Qt::MouseButton button) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (button == Qt::LeftButton) {
        transmit::StartTx();
    } else if (button == Qt::RightButton && w.TxInhibited != 1) {
        // Refused without a word while prohibited, as every transmission.
        if (core::g.MmvariActive == 1)
            tuneMmvari(w);
        else if (transmit::pskMode())
            tunePsk(w);
    }
    w.Text1->setFocus();
}

} // namespace terminal::mainwindow
