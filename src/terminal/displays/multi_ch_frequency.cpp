// The frequencies of the two extra channels: their bars retune the engine and
// move the channel markers on the waterfall and the spectrum.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLabel>

namespace {

constexpr double kWaterfallHeight = 100;
constexpr double kSpectrumHeight = 1400;

// n is the engine's channel: 1 for channel 2, 2 for channel 3.
void setSubChannelFreq(int n, int hz) {
    core::Globals& g = core::g;
    PSK31MAIN& w = forms::PSK31MAIN();
    if (g.OpMode == core::ModeMmvari) {
        w.MMVARI->set(mmvari::PRxFreq, n, hz);
        return;
    }
    ::multi_ch& m = forms::multi_ch();
    (n == 1 ? m.Label5 : m.Label6)->setText(QString::number(hz));
    (n == 1 ? g.Ch2RxFreq : g.Ch3RxFreq) = hz;
    pskcore::lib().fnSetRXFrequency(hz, core::WholeNumber(g.RxSearchRange).value_or(10), n);
    const int b = terminal::engines::NearestBin(hz);
    const double x = b - g.FftFirstBin;
    (n == 1 ? w.Line11 : w.Line12)->setPoints(x, 0, x, kWaterfallHeight);
    const double s = b - g.SpectrumLowBin;
    (n == 1 ? w.Line13 : w.Line14)->setPoints(s, 0, s, kSpectrumHeight);
    // The label stands over the marker, in the frame that holds the waterfall.
    QLabel* label = n == 1 ? w.Label43 : w.Label44;
    const QPoint at = w.Picture3->mapTo(label->parentWidget(), w.Picture3->toPixels(x, 0).toPoint());
    label->move(at.x(), label->y());
}

} // namespace

void multi_ch::SetCh2FreqFromScroll() {
    setSubChannelFreq(1, VScroll1->value());
}

void multi_ch::SetCh3FreqFromScroll() {
    setSubChannelFreq(2, VScroll2->value());
}
