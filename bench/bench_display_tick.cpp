// The PSK engine's display tick on the offscreen platform: a waterfall row of
// 718 bins, the zoomed spectrum, the input display or the sync bars, the phase
// scope and the level; and received characters appended to an empty receive
// pane and to one that already holds 1 MB of text.
#include "app/AppContext.h"
#include "core/Globals.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

PSK31MAIN& runningWindow() {
    static PSK31MAIN* w = [] {
        PSK31MAIN& main = forms::PSK31MAIN();
        main.Timer2->stop();
        main.Timer2_Timer();
        // The library's own ticks would run between iterations; the benchmark drives them.
        pskcore::lib().hooks().displayIntervalMs = 1'000'000;
        pskcore::lib().hooks().charIntervalMs = 1'000'000;
        main.resize(1200, 800);
        main.show();
        return &main;
    }();
    return *w;
}

void BM_DisplayTick(benchmark::State& state) {
    PSK31MAIN& w = runningWindow();
    core::g.SpectrumDisplayMode = int(state.range(0));
    core::g.ScanLevelText = state.range(1) == 0 ? QStringLiteral("FFT") : QStringLiteral("Line");
    core::g.PpmShowBoth = state.range(1) == 2 ? QStringLiteral("YES") : QStringLiteral("NO");
    for (auto _ : state)
        terminal::engines::PskDisplayTick();
    state.SetLabel(QStringLiteral("%1, %2 bins wide over %3 px")
                       .arg(core::g.SpectrumDisplayMode == 1 ? "spectrum" : "waterfall")
                       .arg(core::g.FftLastBin - core::g.FftFirstBin + 1)
                       .arg(w.Picture3->canvas().width())
                       .toStdString());
}
// (main display: 0 waterfall, 1 spectrum; sub-display: 0 zoomed spectrum, 1 input, 2 sync)
BENCHMARK(BM_DisplayTick)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Unit(benchmark::kMicrosecond);

// The zoom label's magnification (1..5) with the waterfall and the zoomed
// spectrum: the cost stays whatever the zoom.
void BM_DisplayTickZoom(benchmark::State& state) {
    PSK31MAIN& w = runningWindow();
    core::g.SpectrumDisplayMode = 0;
    core::g.ScanLevelText = QStringLiteral("FFT");
    while (core::g.WfMagnify != state.range(0))
        w.Label39_Click();
    for (auto _ : state)
        terminal::engines::PskDisplayTick();
    state.SetLabel(QStringLiteral("x%1, bins %2..%3 step %4")
                       .arg(core::g.WfMagnify)
                       .arg(core::g.FftFirstBin)
                       .arg(core::g.FftLastBin)
                       .arg(core::g.DrawBinStep2)
                       .toStdString());
    while (core::g.WfMagnify != 1)
        w.Label39_Click();
}
BENCHMARK(BM_DisplayTickZoom)->DenseRange(1, 5)->Unit(benchmark::kMicrosecond);

// The zoomed spectrum's span (the span bar, 1..25): neither does it grow with the span.
void BM_DisplayTickSpan(benchmark::State& state) {
    PSK31MAIN& w = runningWindow();
    core::g.SpectrumDisplayMode = 0;
    core::g.ScanLevelText = QStringLiteral("FFT");
    w.VScroll3->setValue(int(state.range(0)));
    for (auto _ : state)
        terminal::engines::PskDisplayTick();
    state.SetLabel(QStringLiteral("%1 to %2 Hz, step %3")
                       .arg(core::g.SpectrumLowHz)
                       .arg(core::g.SpectrumHighHz)
                       .arg(core::g.RewindStep)
                       .toStdString());
}
BENCHMARK(BM_DisplayTickSpan)->Arg(1)->Arg(5)->Arg(12)->Arg(25)->Unit(benchmark::kMicrosecond);

// Three received characters, about what a tenth of a second brings, and the
// one edit that puts them into the pane.
void BM_ReceivedCharacter(benchmark::State& state) {
    PSK31MAIN& w = runningWindow();
    QString text;
    const QString line = QStringLiteral("CQ CQ de QQ9ABC こんにちは、ＱＳＯお願いします。 pse k\n");
    while (text.size() < state.range(0))
        text += line;
    w.RichTextBox1->setText(text);
    const QByteArray bytes = QByteArrayLiteral("CQ de QQ9ABC \x82\xA0\x82\xA2 k\r");
    int i = 0;
    for (auto _ : state) {
        for (int n = 0; n < 3; ++n) {
            terminal::engines::PskReceivedByte(std::uint8_t(bytes[i]), 0);
            i = (i + 1) % bytes.size();
        }
        w.RichTextBox1->applyPending();
    }
    state.SetLabel(QStringLiteral("3 characters into a pane of %1").arg(text.size()).toStdString());
}
BENCHMARK(BM_ReceivedCharacter)->Arg(0)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("ZORVATEK_HOME", home.path().toUtf8());
    QFile ini(home.path() + QStringLiteral("/ZORVATEK.INI"));
    if (!ini.open(QIODevice::WriteOnly)) return 1;
    ini.write(
        "[PSKCFG]\r\nAudio_Center_Freq=1500\r\nRX1Freq=1000\r\nTX1Freq=1000\r\nCOMPORT=0\r\nCOMCONT=0\r\n"
        "SQ_SPEED=20\r\nCWID_SPEED=2\r\n");
    ini.close();
    QApplication app(argc, argv);
    app::AppContext context;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
