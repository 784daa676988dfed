#include "terminal/engines/PskEngine.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniValues.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLabel>
#include <QSlider>

#include <cmath>

namespace terminal::engines {
namespace {

// A setting that is not a whole number ends the engine start, as any failure
// inside it does; a missing one (it reads back as its section's name) counts 0.
struct StepFailed {};

int num(const QString& text) {
    if (text == QLatin1String("PSKCFG")) return 0;
    const std::optional<int> v = core::WholeNumber(text);
    if (!v) throw StepFailed{};
    return *v;
}

constexpr int kSatelliteAfcLimitHz = 3000;
constexpr int kChannels = 3;

int afcLimit() {
    return core::g.SatelliteMode != 0 ? kSatelliteAfcLimitHz : num(core::g.AfcLimit);
}

void setPttPort() {
    const int control = num(core::g.PttPortControl);
    const int opened = pskcore::lib().fnSetComPort(num(core::g.PttPortNumber), control);
    if (control > 0 && opened == 0)
        ui::msgBox(QStringLiteral("COMport Can Not Open Port=") + core::g.PttPortNumber +
                       QStringLiteral("が使えません。pcTM6"),
                   ui::OkOnly);
}

void setMainChannel() {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnSetRXFrequency(core::g.RxFreqHz, num(core::g.RxSearchRange), 0);
    lib.fnSetRXPSKMode(core::g.OpMode, 0);
    lib.fnSetSquelchThreshold(num(core::g.SquelchLevel), num(core::g.SquelchSpeed), 0);
    lib.fnSetFFTMode(num(core::g.FftSmoothing), 100, num(core::g.FftMode));
    lib.fnSetTXFrequency(core::g.TxFreqHz);
    lib.fnSetClockErrorAdjustment(num(core::g.ClockAdjRxPpm));
    lib.fnSetAFCLimit(afcLimit(), 0);
}

void setExtraChannels() {
    pskcore::PskCore& lib = pskcore::lib();
    const int range = num(core::g.RxSearchRange);
    lib.fnSetRXFrequency(core::g.Ch2RxFreq, range, 1);
    lib.fnSetRXFrequency(core::g.Ch3RxFreq, range, 2);
    lib.fnSetSquelchThreshold(num(core::g.SquelchLevel), num(core::g.SquelchSpeed), 1);
    lib.fnSetSquelchThreshold(num(core::g.SquelchLevel), num(core::g.SquelchSpeed), 2);
    lib.fnSetRXPSKMode(core::g.Ch2PskMode, 1);
    lib.fnSetRXPSKMode(core::g.Ch3PskMode, 2);
    lib.fnSetAFCLimit(afcLimit(), 1);
    lib.fnSetAFCLimit(afcLimit(), 2);
}

void resetDisplay(PSK31MAIN& w) {
    w.Label39->show();
    core::g.FftFirstBin = 51;
    core::g.FftLastBin = 768;
    core::g.DrawBinStep2 = 4;
    core::g.DrawBinStep1 = 4;
    core::g.WfMagnify = 1;
    w.Label39->setText(QStringLiteral("x1"));
    for (PictureBox* p : {w.Picture3, w.Picture9, w.Picture5, w.Picture7})
        p->setScale(core::g.FftLastBin - core::g.FftFirstBin, 0);
}

void openSoundCard() {
    ReportSoundCardStart(
        pskcore::lib().fnStartSoundCard(core::g.MainHwnd, num(core::g.SoundCardNumber), kChannels));
}

void placeVertical(LineShape* line, double x, double height) {
    line->setPoints(x, 0, x, height);
}

} // namespace

void ReportSoundCardStart(int result) {
    if (result == pskcore::MemoryAllocationError)
        ui::msgBox(QStringLiteral("Memory Allocation Error"), ui::OkOnly);
    else if (result == pskcore::BadDeviceId)
        ui::msgBox(QStringLiteral("Bad Device ID,SoundCard Not Present"), ui::OkOnly);
}

int NearestBin(double hz) {
    return static_cast<int>(std::nearbyint(hz / pskcore::HzPerBin));
}

void StartPskCore() {
    core::g.EngineErrorTag = QStringLiteral("Set_PSKCore Error");
    try {
        PSK31MAIN& w = forms::PSK31MAIN();
        setPttPort();
        setMainChannel();
        if (core::g.ChannelDisplay == 3) setExtraChannels();
        resetDisplay(w);
        w.SetRxFreqFromScroll();
        w.SetTxFreqFromScroll();
        openSoundCard();
    } catch (const StepFailed&) {
        core::g.StatusMessage = core::g.EngineErrorTag;
        core::ShowTimedMessage(core::g.StatusMessage, 3000);
    }
}

void ApplyPskMode() {
    int level = 0;
    if (core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw) {
        level = core::WholeNumber(core::g.WfLevelRtty).value_or(0);
    } else {
        pskcore::lib().fnSetRXPSKMode(core::g.OpMode, 0);
        if (core::g.Transmitting == 1)
            pskcore::lib().fnStartTX(core::g.OpMode +
                                     (core::g.SatelliteMode != 0 ? pskcore::SatelliteFlag : 0));
        level = core::WholeNumber(core::g.WfLevelPsk).value_or(0);
    }
    forms::PSK31MAIN().Slider2->setValue(level);
}

void SetSpectrumRange(int CenterHz) {
    constexpr int kLowestHz = 150;
    constexpr int kHighestHz = 3500;
    constexpr int kSideMarkerSpanHz = 600;
    constexpr double kMarkerHeight = 1400;
    PSK31MAIN& w = forms::PSK31MAIN();
    core::g.SpectrumLowHz = std::max(kLowestHz, CenterHz - core::g.SpectrumZoom * 100);
    core::g.SpectrumHighHz = std::min(kHighestHz, CenterHz + core::g.SpectrumZoom * 100);
    const bool sideMarkers = core::g.SpectrumHighHz - core::g.SpectrumLowHz <= kSideMarkerSpanHz;
    w.Line3->setVisible(sideMarkers);
    w.Line4->setVisible(sideMarkers);
    w.Label13->setText(QStringLiteral("%1 to %2Hz").arg(core::g.SpectrumLowHz).arg(core::g.SpectrumHighHz));
    core::g.SpectrumLowBin = NearestBin(core::g.SpectrumLowHz);
    core::g.SpectrumHighBin = NearestBin(core::g.SpectrumHighHz);
    core::g.TxBinFromLow = core::g.TxFreqBin - core::g.SpectrumLowBin;
    core::g.TxBinToHigh = core::g.SpectrumHighBin - core::g.TxFreqBin;
    // A centre far outside the band would leave no width; keep the scale usable.
    w.Picture4->setScale(std::max(1, core::g.TxBinToHigh + core::g.TxBinFromLow - 1), 100);
    placeVertical(w.Line1, core::g.RxFreqBin - core::g.SpectrumLowBin, kMarkerHeight);
    placeVertical(w.Line2, core::g.TxBinFromLow, kMarkerHeight);
    placeVertical(w.Line3, std::nearbyint(core::g.TxBinFromLow - pskcore::HzPerBin), kMarkerHeight);
    placeVertical(w.Line4, std::nearbyint(core::g.TxBinFromLow + pskcore::HzPerBin), kMarkerHeight);
    if (core::g.ChannelDisplay > 1) {
        placeVertical(w.Line13, NearestBin(core::g.Ch2RxFreq) - core::g.SpectrumLowBin, kMarkerHeight);
        placeVertical(w.Line14, NearestBin(core::g.Ch3RxFreq) - core::g.SpectrumLowBin, kMarkerHeight);
    }
}

bool InstallPskCoreWndProc() {
    PSK31MAIN& w = forms::PSK31MAIN();
    return pskcore::lib().subclass(core::g.MainHwnd, &w,
                                   [](std::int32_t msg, std::int32_t wParam, std::int32_t lParam) {
                                       PskCoreWndProc(msg, wParam, lParam);
                                   });
}

void RestoreMainWndProc() {
    pskcore::lib().unsubclass();
}

} // namespace terminal::engines
