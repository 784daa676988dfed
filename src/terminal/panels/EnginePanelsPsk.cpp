// The PSK engine's two switches: AFC (the receive frequency follows the
// signal) and NET (the transmit frequency follows the receive frequency).
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace terminal::panels {
namespace {

const QString kCfg = QStringLiteral("PSKCFG");

} // namespace

void Command7_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::Globals& g = core::g;
    g.AfcOn = g.AfcOn == 1 ? 0 : 1;
    colour::setBackColor(w.Command7, g.AfcOn == 1 ? kAfcOnColour : colour::kButtonFace);
    w.VScroll1->setFocus();
    core::PutIniNumber(kCfg, "AFC_SW", g.AfcOn);
}

// Turning NET on brings the transmit frequency to the receive frequency at once.
void Command9_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::Globals& g = core::g;
    g.NetOn = g.NetOn == 1 ? 0 : 1;
    if (g.NetOn == 1) {
        colour::setBackColor(w.Command9, kNetOnColour);
        g.TxFreqHz = g.RxFreqHz;
        w.VScroll2->setValue(g.TxFreqHz);
        w.Text8->setText(w.Text4->text());
    } else {
        colour::setBackColor(w.Command9, colour::kButtonFace);
    }
    w.VScroll1->setFocus();
    core::PutIniNumber(kCfg, "NET_SW", g.NetOn);
}

} // namespace terminal::panels
