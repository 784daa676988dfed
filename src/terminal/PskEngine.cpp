#include "terminal/PskEngine.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MessageLine.h"
#include "platform/Dialogs.h"
#include "platform/PictureBox.h"
#include "platform/PskCore.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/PskCoreWndProc.h"

#include <QLabel>
#include <QSlider>

#include <cmath>

namespace core {
namespace {

// A setting that is not a whole number ends the engine start, as any failure
// inside it does; a missing one (it reads back as its section's name) counts 0.
struct StepFailed {};

int num(const QString& text) {
    if (text == QLatin1String("PSKCFG")) return 0;
    const std::optional<int> v = WholeNumber(text);
    if (!v) throw StepFailed{};
    return *v;
}

constexpr int kSatelliteAfcLimitHz = 3000;
constexpr int kChannels = 3;

int afcLimit() {
    return g.SatelliteMode != 0 ? kSatelliteAfcLimitHz : num(g.AfcLimit);
}

void setPttPort() {
    const int control = num(g.PttPortControl);
    const int opened = pskcore::lib().fnSetComPort(num(g.PttPortNumber), control);
    if (control > 0 && opened == 0)
        ui::msgBox(QStringLiteral("COMport Can Not Open Port=") + g.PttPortNumber +
                       QStringLiteral("が使えません。pcTM6"),
                   ui::OkOnly);
}

void setMainChannel() {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnSetRXFrequency(g.RxFreqHz, num(g.RxSearchRange), 0);
    lib.fnSetRXPSKMode(g.OpMode, 0);
    lib.fnSetSquelchThreshold(num(g.SquelchLevel), num(g.SquelchSpeed), 0);
    lib.fnSetFFTMode(num(g.FftSmoothing), 100, num(g.FftMode));
    lib.fnSetTXFrequency(g.TxFreqHz);
    lib.fnSetClockErrorAdjustment(num(g.ClockAdjRxPpm));
    lib.fnSetAFCLimit(afcLimit(), 0);
}

void setExtraChannels() {
    pskcore::PskCore& lib = pskcore::lib();
    const int range = num(g.RxSearchRange);
    lib.fnSetRXFrequency(g.Ch2RxFreq, range, 1);
    lib.fnSetRXFrequency(g.Ch3RxFreq, range, 2);
    lib.fnSetSquelchThreshold(num(g.SquelchLevel), num(g.SquelchSpeed), 1);
    lib.fnSetSquelchThreshold(num(g.SquelchLevel), num(g.SquelchSpeed), 2);
    lib.fnSetRXPSKMode(g.Ch2PskMode, 1);
    lib.fnSetRXPSKMode(g.Ch3PskMode, 2);
    lib.fnSetAFCLimit(afcLimit(), 1);
    lib.fnSetAFCLimit(afcLimit(), 2);
}

void resetDisplay(PSK31MAIN& w) {
    w.Label39->show();
    g.FftFirstBin = 51;
    g.FftLastBin = 768;
    g.DrawBinStep2 = 4;
    g.DrawBinStep1 = 4;
    g.WfMagnify = 1;
    w.Label39->setText(QStringLiteral("x1"));
    for (PictureBox* p : {w.Picture3, w.Picture9, w.Picture5, w.Picture7})
        p->setScale(g.FftLastBin - g.FftFirstBin, 0);
}

void openSoundCard() {
    const int r = pskcore::lib().fnStartSoundCard(g.MainHwnd, num(g.SoundCardNumber), kChannels);
    if (r == pskcore::MemoryAllocationError)
        ui::msgBox(QStringLiteral("Memory Allocation Error"), ui::OkOnly);
    else if (r == pskcore::BadDeviceId)
        ui::msgBox(QStringLiteral("Bad Device ID,SoundCard Not Present"), ui::OkOnly);
}

void placeVertical(LineShape* line, double x, double height) {
    line->setPoints(x, 0, x, height);
}

} // namespace

int NearestBin(double hz) {
    return static_cast<int>(std::nearbyint(hz / pskcore::HzPerBin));
}

void StartPskCore() {
    g.EngineErrorTag = QStringLiteral("Set_PSKCore Error");
    try {
        PSK31MAIN& w = forms::PSK31MAIN();
        setPttPort();
        setMainChannel();
        if (g.ChannelDisplay == 3) setExtraChannels();
        resetDisplay(w);
        w.SetRxFreqFromScroll();
        w.SetTxFreqFromScroll();
        openSoundCard();
    } catch (const StepFailed&) {
        g.StatusMessage = g.EngineErrorTag;
        ShowTimedMessage(g.StatusMessage, 3000);
    }
}

void ApplyPskMode() {
    int level = 0;
    if (g.OpMode == ModeRtty || g.OpMode == ModeCw) {
        level = WholeNumber(g.WfLevelRtty).value_or(0);
    } else {
        pskcore::lib().fnSetRXPSKMode(g.OpMode, 0);
        if (g.Transmitting == 1)
            pskcore::lib().fnStartTX(g.OpMode + (g.SatelliteMode != 0 ? pskcore::SatelliteFlag : 0));
        level = WholeNumber(g.WfLevelPsk).value_or(0);
    }
    forms::PSK31MAIN().Slider2->setValue(level);
}

void SetSpectrumRange(int CenterHz) {
    constexpr int kLowestHz = 150;
    constexpr int kHighestHz = 3500;
    constexpr int kSideMarkerSpanHz = 600;
    constexpr double kMarkerHeight = 1400;
    PSK31MAIN& w = forms::PSK31MAIN();
    g.SpectrumLowHz = std::max(kLowestHz, CenterHz - g.SpectrumZoom * 100);
    g.SpectrumHighHz = std::min(kHighestHz, CenterHz + g.SpectrumZoom * 100);
    const bool sideMarkers = g.SpectrumHighHz - g.SpectrumLowHz <= kSideMarkerSpanHz;
    w.Line3->setVisible(sideMarkers);
    w.Line4->setVisible(sideMarkers);
    w.Label13->setText(QStringLiteral("%1 to %2Hz").arg(g.SpectrumLowHz).arg(g.SpectrumHighHz));
    g.SpectrumLowBin = NearestBin(g.SpectrumLowHz);
    g.SpectrumHighBin = NearestBin(g.SpectrumHighHz);
    g.TxBinFromLow = g.TxFreqBin - g.SpectrumLowBin;
    g.TxBinToHigh = g.SpectrumHighBin - g.TxFreqBin;
    // A centre far outside the band would leave no width; keep the scale usable.
    w.Picture4->setScale(std::max(1, g.TxBinToHigh + g.TxBinFromLow - 1), 100);
    placeVertical(w.Line1, g.RxFreqBin - g.SpectrumLowBin, kMarkerHeight);
    placeVertical(w.Line2, g.TxBinFromLow, kMarkerHeight);
    placeVertical(w.Line3, std::nearbyint(g.TxBinFromLow - pskcore::HzPerBin), kMarkerHeight);
    placeVertical(w.Line4, std::nearbyint(g.TxBinFromLow + pskcore::HzPerBin), kMarkerHeight);
    if (g.ChannelDisplay > 1) {
        placeVertical(w.Line13, NearestBin(g.Ch2RxFreq) - g.SpectrumLowBin, kMarkerHeight);
        placeVertical(w.Line14, NearestBin(g.Ch3RxFreq) - g.SpectrumLowBin, kMarkerHeight);
    }
}

bool InstallPskCoreWndProc() {
    PSK31MAIN& w = forms::PSK31MAIN();
    return pskcore::lib().subclass(g.MainHwnd, &w,
                                   [](std::int32_t msg, std::int32_t wParam, std::int32_t lParam) {
                                       PskCoreWndProc(msg, wParam, lParam);
                                   });
}

void RestoreMainWndProc() {
    pskcore::lib().unsubclass();
}

} // namespace core
