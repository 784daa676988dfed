// The multi-mode panel: the mode list, the PSK speed list, the button row
// "Notch" .. "PlyBack" with its stored switches, and AFC and NET.
#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace terminal::panels {
namespace {

const QString kCfg = QStringLiteral("MMVCFG");
constexpr int kNotch = 0;
constexpr int kSpeed = 1;
constexpr int kSettings = 7;
// The modem's mode numbers of the two PSK sub-modes, "BPSK" and "bpsk".
constexpr int kFirstPskMode = 3;
constexpr int kLastPskMode = 4;
constexpr double kSpeedsBaud[] = {31.25, 62.5, 125, 250};

// The switch a button of the row stands for, by its index.
int switchId(int k) {
    switch (k) {
    case 2:
        return mmvari::IdAtc;
    case 3:
        return mmvari::IdReqRx;
    case 4:
        return mmvari::IdStartCr;
    case 5:
        return mmvari::IdStopCr;
    case 6:
        return mmvari::IdPlayBack;
    default:
        return -1;
    }
}

void toggleNotch(PSK31MAIN& w) {
    const bool on = core::g.MmvariSwitches[kNotch] != 1;
    w.MMVARI->set(mmvari::PNotch, 0, on ? w.LastNotchFreq : 0);
    showMmvariSwitch(w, kNotch, on);
}

void toggleSpeedList(PSK31MAIN& w) {
    QVariant mode;
    w.MMVARI->get(mmvari::PModeNumber, core::g.ImdChannel, mode);
    if (mode.toInt() < kFirstPskMode || mode.toInt() > kLastPskMode) {
        ui::msgBox(QStringLiteral("これはＰＳＫモードの場合に有効です"), ui::OkOnly);
        return;
    }
    w.List2->setVisible(!w.List2->isVisible());
    w.List2->raise();
}

void storeSwitches() {
    for (int k = 0; k < 8; ++k)
        core::PutIniText(kCfg, core::IniKey::built(QStringLiteral("SW%1").arg(k)),
                         core::g.MmvariSwitches[k] == 1 ? QStringLiteral("True") : QStringLiteral("False"));
}

} // namespace

void CBMode_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    mmvstate::Globals& g = mmvstate::g;
    const int i = w.CBMode->currentIndex();
    // An emptied list has no entry: nothing was chosen.
    if (i < 0) return;
    if (i < mmvari::modeNames().size()) {
        w.MMVARI->set(mmvari::PModeName, 0, mmvari::modeNames().at(i));
        g.MmvariMfskOn = i == 7 || i == 8 ? 1 : 0;
        g.SubCh1VariMode = g.SubCh2VariMode = i;
    }
    w.StatusBar1->setText(2, w.CBMode->currentText());
    for (int m = 10; m <= 18; ++m)
        w.mvrMODEsel[m]->setChecked(m == g.SubCh1VariMode + 10);
    core::PutIniText(kCfg, "LastMode", QString::number(g.SubCh1VariMode + 10));
}

void SelectModeEntry(int i) {
    PSK31MAIN& w = forms::PSK31MAIN();
    {
        const QSignalBlocker quiet(w.CBMode);
        w.CBMode->setCurrentIndex(i);
    }
    if (i >= 0) CBMode_Click();
}

void List2_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const int row = w.List2->currentRow();
    if (row >= 0 && row < int(std::size(kSpeedsBaud)))
        w.MMVARI->set(mmvari::PSpeed, core::g.ImdChannel, kSpeedsBaud[row]);
    w.List2->hide();
}

void Text9_Click() {
    ui::msgBox(QString::number(forms::PSK31MAIN().List2->currentRow()), ui::OkOnly);
}

void showMmvariSwitch(PSK31MAIN& w, int k, bool on) {
    core::g.MmvariSwitches[k] = on ? 1 : 0;
    colour::setBackColor(w.Command19[k], on ? kSwitchOnColour : colour::kButtonFace);
}

void Command19_Click(int k) {
    if (k == kSettings) {
        forms::CFG_MMVARI().show();
        return;
    }
    PSK31MAIN& w = forms::PSK31MAIN();
    if (k == kNotch) {
        toggleNotch(w);
    } else if (k == kSpeed) {
        toggleSpeedList(w);
    } else if (const int id = switchId(k); id >= 0) {
        const bool on = core::g.MmvariSwitches[k] != 1;
        w.MMVARI->set(id, on);
        showMmvariSwitch(w, k, on);
    }
    storeSwitches();
    w.Text1->setFocus();
}

void Command22_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    mmvstate::Globals& g = mmvstate::g;
    g.MmvariAfcOn = g.MmvariAfcOn == 1 ? 0 : 1;
    colour::setBackColor(w.Command22, g.MmvariAfcOn == 1 ? kAfcOnColour : colour::kButtonFace);
    w.MMVARI->set(mmvari::PAfc, 0, g.MmvariAfcOn == 1);
    core::PutIniNumber(kCfg, "AFC_SW", g.MmvariAfcOn);
    w.Text5->setFocus();
}

void Command23_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    mmvstate::Globals& g = mmvstate::g;
    g.MmvariNetOn = g.MmvariNetOn == 1 ? 0 : 1;
    colour::setBackColor(w.Command23, g.MmvariNetOn == 1 ? kNetOnColour : colour::kButtonFace);
    w.MMVARI->set(mmvari::IdNet, g.MmvariNetOn == 1);
    core::PutIniNumber(kCfg, "NET_SW", g.MmvariNetOn);
    w.Text5->setFocus();
}

} // namespace terminal::panels
