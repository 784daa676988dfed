// The library's display tick: the frequencies its AFC reached, the waterfall
// or spectrum, the zoomed spectrum or the input display, the phase scope and
// the level bar.
#include "core/Globals.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/PskDisplay.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>
#include <QProgressBar>

#include <algorithm>

namespace terminal::engines {

std::array<std::int32_t, FftBins> FftData{};

namespace {

std::array<std::int32_t, pskcore::RawSamples> RawData{};
std::array<std::int32_t, pskcore::ScopePoints> SyncData{};
std::array<std::int32_t, pskcore::ScopePoints> VectorData{};

const QColor kMainTraceColour(0xFF, 0xFF, 0x00);
const QColor kZoomTraceColour(0x00, 0x00, 0x80);
constexpr int kNoSignalLevel = 40;

// A box given its own text again would lay it out anew every tick.
void setIfChanged(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

void followAfc(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (core::g.AfcOn == 1) {
        core::g.RxFreqHz = lib.fnGetRXFrequency(0);
        core::g.RxFreqBin = NearestBin(core::g.RxFreqHz);
        w.VScroll1->setValue(core::g.RxFreqHz);
        setIfChanged(w.Text4, QString::number(core::g.RxFreqHz));
    }
    if (core::g.NetOn == 1) {
        core::g.TxFreqHz = core::g.RxFreqHz;
        w.VScroll2->setValue(core::g.TxFreqHz);
        setIfChanged(w.Text8, QString::number(core::g.TxFreqHz));
    }
}

// Only while the extra channels are shown: their window would otherwise be
// loaded by every tick.
void followExtraChannels() {
    if (core::g.ChannelDisplay != 3) return;
    ::multi_ch& m = forms::multi_ch();
    for (int ch = 1; ch <= 2; ++ch) {
        QScrollBar* bar = ch == 1 ? m.VScroll1 : m.VScroll2;
        bar->setValue(std::clamp(pskcore::lib().fnGetRXFrequency(ch), bar->minimum(), bar->maximum()));
    }
}

// Everything the waterfall and the zoomed spectrum draw this tick is fetched.
int fetchSpectrum() {
    const int first = std::clamp(std::min({core::g.FftFirstBin, core::g.SpectrumLowBin, pskcore::FirstBin}),
                                 0, FftBins - 1);
    const int last = std::clamp(std::max({core::g.FftLastBin, core::g.SpectrumHighBin, pskcore::LastBin}),
                                first, FftBins - 1);
    return pskcore::lib().fnGetFFTData(FftData.data(), first, last);
}

int lastDrawnBin(int last) {
    return std::min(last, FftBins - 1);
}

void drawMain(PSK31MAIN& w) {
    if (core::g.SpectrumDisplayMode == 1) {
        displays::redrawSpectrum(*w.Picture3, FftData.data(), core::g.FftFirstBin,
                                 lastDrawnBin(core::g.FftLastBin), core::g.DrawBinStep1, kMainTraceColour);
        return;
    }
    displays::drawWaterfallRow(*w.Picture3, FftData.data(), core::g.FftFirstBin,
                               lastDrawnBin(core::g.FftLastBin), core::g.DrawBinStep2, core::g.WfLevelSteps);
}

void drawInputDisplay(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (core::g.PpmShowBoth != QLatin1String("NO")) {
        lib.fnGetSyncData(SyncData.data(), core::g.ImdChannel);
        displays::drawSync(*w.Picture1, SyncData.data());
        return;
    }
    // Only the samples the picture's width shows are asked for.
    const int shown = displays::inputSamplesShown(*w.Picture1, pskcore::RawSamples);
    const int overload = lib.fnGetRawData(RawData.data(), 0, shown - 1);
    if (core::g.Transmitting == 0) w.Text12->setVisible(overload != 0);
    const int divisor = core::g.Transmitting == 0 ? core::g.SpectrumScaleDiv1 : core::g.SpectrumScaleDiv2;
    displays::drawInput(*w.Picture1, RawData.data(), shown, divisor);
}

void drawSubDisplay(PSK31MAIN& w, int overload) {
    if (core::g.ScanLevelText == QLatin1String("FFT")) {
        w.Text12->setVisible(overload != 0 && core::g.Transmitting == 0);
        displays::drawSpectrum(*w.Picture4, FftData.data(), core::g.SpectrumLowBin,
                               lastDrawnBin(core::g.SpectrumHighBin), core::g.RewindStep, kZoomTraceColour);
    } else if (core::g.ScanLevelText == QLatin1String("Line")) {
        drawInputDisplay(w);
    }
}

void showLevel(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnGetVectorData(VectorData.data(), core::g.ImdChannel);
    displays::drawVector(*w.Picture2, VectorData.data());
    const int level = lib.fnGetSignalLevel(core::g.ImdChannel);
    w.ProgressBar1->setValue(std::clamp(level, w.ProgressBar1->minimum(), w.ProgressBar1->maximum()));
    if (level < kNoSignalLevel) w.Label15->setText(QStringLiteral("No Data"));
}

} // namespace

void PskDisplayTick() {
    PSK31MAIN& w = forms::PSK31MAIN();
    // The received text queued for the shown panes goes in now, so that it
    // repaints together with the displays rather than a moment later on its own.
    for (RichTextPane* pane : {w.RichTextBox1, w.RichTextBox4})
        if (pane->isVisible()) pane->applyPending();
    followAfc(w);
    followExtraChannels();
    w.Picture4->clear();
    w.Picture2->clear();
    w.Picture1->clear();
    const int overload = fetchSpectrum();
    drawMain(w);
    drawSubDisplay(w, overload);
    showLevel(w);
}

} // namespace terminal::engines
