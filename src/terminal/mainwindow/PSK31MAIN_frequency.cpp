// The receive and transmit frequency scroll bars: they retune the PSK core
// library's main channel and move the markers of the waterfall and the
// zoomed spectrum. Setting either bar's value from code runs its handler.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

namespace {

constexpr double kWaterfallMarkerHeight = 100;

int searchRange() {
    return core::WholeNumber(core::g.RxSearchRange).value_or(10);
}

void placeVertical(LineShape* line, double x) {
    line->setPoints(x, 0, x, kWaterfallMarkerHeight);
}

} // namespace

void PSK31MAIN::SetRxFreqFromScroll() {
    core::Globals& g = core::g;
    Text4->setText(QString::number(VScroll1->value()));
    g.RxFreqHz = VScroll1->value();
    g.RxFreqBin = terminal::engines::NearestBin(g.RxFreqHz);
    placeVertical(Line5, g.RxFreqBin - g.FftFirstBin);
    placeVertical(Line20, g.RxFreqBin - g.FftFirstBin);
    if (g.NetOn == 1) {
        VScroll2->setValue(VScroll1->value());
        g.TxFreqHz = g.RxFreqHz;
        Text8->setText(Text4->text());
        pskcore::lib().fnSetTXFrequency(g.TxFreqHz);
    }
    pskcore::lib().fnSetRXFrequency(g.RxFreqHz, searchRange(), 0);
    if (g.ImdChannel == 0) terminal::engines::SetSpectrumRange(g.RxFreqHz);
}

void PSK31MAIN::SetTxFreqFromScroll() {
    core::Globals& g = core::g;
    Text8->setText(QString::number(VScroll2->value()));
    g.TxFreqHz = VScroll2->value();
    g.AudioCenterFreq = g.TxFreqHz;
    g.TxFreqBin = terminal::engines::NearestBin(g.TxFreqHz);
    pskcore::lib().fnSetTXFrequency(g.TxFreqHz);
    g.SpectrumZoom = VScroll3->value();
    placeVertical(Line21, g.TxFreqBin - g.FftFirstBin);
    if (g.NetOn == 1) {
        VScroll1->setValue(VScroll2->value());
        g.RxFreqHz = g.TxFreqHz;
        g.RxFreqBin = terminal::engines::NearestBin(g.RxFreqHz);
        placeVertical(Line5, g.RxFreqBin - g.FftFirstBin);
        placeVertical(Line20, g.RxFreqBin - g.FftFirstBin);
        Text4->setText(Text8->text());
        pskcore::lib().fnSetRXFrequency(g.RxFreqHz, searchRange(), 0);
    }
    if (g.ImdChannel == 0) terminal::engines::SetSpectrumRange(g.RxFreqHz);
}

void PSK31MAIN::connectTuning() {
    connect(VScroll1, &QScrollBar::valueChanged, this, &PSK31MAIN::SetRxFreqFromScroll);
    connect(VScroll2, &QScrollBar::valueChanged, this, &PSK31MAIN::SetTxFreqFromScroll);
    connect(SSTab1, &QTabWidget::currentChanged, this, &PSK31MAIN::SSTab1_Click);
    connect(Slider2, &QSlider::valueChanged, this, &PSK31MAIN::Slider2_Change);
    connect(Slider2, &QSlider::actionTriggered, this, &PSK31MAIN::Slider2_Scroll);
    connectTuningClicks();
    connectTuningBoxes();
    connectDisplays();
    connectContestNumber();
    connectDisplaySwitch();
    connectScan();
    connectZoom();
    connectChannelButtons();
}
