// The signal scan (Command11, Timer5): the receiver steps up the band 20 Hz at
// a time until the spectrum at its frequency rises above the threshold line.
// The scan runs inside the button's handler, which lets every other event run
// while it waits; a second click, a click on the waterfall or a signal ends it.
#include "core/Globals.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/waits/Waits.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <array>

namespace {

constexpr int kScanStepHz = 20;
constexpr int kScanLowestHz = 200;
constexpr int kFirstBin = 51;
constexpr int kLastBin = 768;
constexpr int kScanIntervalMs = 20;

class ScanMouse : public forms::WindowFilter {
  public:
    explicit ScanMouse(PSK31MAIN& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        w_.Command11_MouseUp(static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton ? 1 : 2);
        return false;
    }

  private:
    PSK31MAIN& w_;
};

} // namespace

void PSK31MAIN::showThresholdLine() {
    const double y = 96 - ScanThreshold;
    Line15->setPoints(0, y, kLastBin, y);
    Line15->setVisible(true);
}

void PSK31MAIN::Command11_MouseUp(int Button) {
    core::Globals& g = core::g;
    const bool pskEngine =
        g.OpMode != core::ModeRtty && g.OpMode != core::ModeCw && g.OpMode != core::ModeMmvari;
    if (pskEngine && Button == 1) {
        if (g.WfDrawState == 1)
            endScan();
        else
            runScan();
    } else if (pskEngine && ScanLevelSetMode == 1) {
        ScanLevelSetMode = 0;
        Line15->setVisible(false);
        g.SpectrumDisplayMode = WfDrawState2;
    } else if (pskEngine) {
        ScanLevelSetMode = 1;
        if (g.SpectrumDisplayMode == 0) {
            WfDrawState2 = 0;
            g.SpectrumDisplayMode = 1;
        }
        showThresholdLine();
    }
    Text5->setFocus();
}

void PSK31MAIN::runScan() {
    core::Globals& g = core::g;
    WfDrawState2 = g.SpectrumDisplayMode;
    g.SpectrumDisplayMode = 1;
    g.WfDrawState = 1;
    showThresholdLine();
    ScanLevelSetMode = 0;
    ScanStopRequest = 0;
    Timer5->setInterval(kScanIntervalMs);
    VScroll1->setValue(ScanHz);
    Timer5->start();
    {
        // Whatever is asked meanwhile (another mode, a start, the end) waits
        // for the scan, which gives way to it at once.
        const forms::EventsRunScope scanning(forms::EventsRunScope::Scan, [this] { ScanStopRequest = 1; });
        while (ScanStopRequest == 0 && g.WfDrawState == 1)
            forms::waitForMoreEvents();
    }
    Timer5->stop();
    if (g.WfDrawState == 1) endScan();
}

void PSK31MAIN::endScan() {
    core::Globals& g = core::g;
    Timer5->stop();
    ScanStopRequest = 1;
    g.WfDrawState = 0;
    g.SpectrumDisplayMode = WfDrawState2;
    Line15->setVisible(false);
}

void PSK31MAIN::Timer5_Timer() {
    // The bin nearest each frequency is tested, so the scan stops on the
    // carrier; past the top of the band it goes back to the bottom.
    if (terminal::displays::hzToBin(VScroll1->value() + kScanStepHz) > kLastBin)
        VScroll1->setValue(kScanLowestHz);
    VScroll1->setValue(VScroll1->value() + kScanStepHz);
    ScanHz = VScroll1->value();
    std::array<std::int32_t, kLastBin + 1> bins{};
    pskcore::lib().fnGetFFTData(bins.data(), kFirstBin, kLastBin);
    if (bins[std::size_t(terminal::displays::hzToBin(ScanHz))] > ScanThreshold) {
        Timer5->stop();
        ScanStopRequest = 1;
    }
}

void PSK31MAIN::connectScan() {
    (new ScanMouse(*this))->watch(Command11);
    connect(Timer5, &QTimer::timeout, this, &PSK31MAIN::Timer5_Timer);
}
