// The program's own CPU while it receives in BPSK and the operator does
// nothing: the start-up as the program makes it (main window shown, the PSK
// engine running, a station at the receive frequency), then the CPU time of the
// whole process over a stretch of wall time, as a share of one core. The goal is
// at most 1.0 %.
#include "ProgramBench.h"
#include "RunEvents.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/pskcore/PskCore.h"
#include "startup/Startup.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <ctime>

#include <benchmark/benchmark.h>

namespace {

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void BM_IdleCpuReceivingBpsk(benchmark::State& state) {
    PSK31MAIN& w = forms::PSK31MAIN();
    // Receiving has begun: the station's text is in the pane.
    runEvents(20'000, [&] { return w.isVisible() && w.RichTextBox1->text().contains(QStringLiteral("CQ")); });
    if (!w.isVisible() || !w.RichTextBox1->text().contains(QStringLiteral("CQ"))) {
        state.SkipWithError("the main window did not start receiving");
        return;
    }
    runEvents(2'000); // settle
    const int seconds = int(state.range(0));
    const qsizetype before = w.RichTextBox1->text().size();
    double percent = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = processCpuSeconds();
        runEvents(seconds * 1000);
        const double cpu = processCpuSeconds() - cpu0;
        const double elapsed = double(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(elapsed);
        percent = 100.0 * cpu / elapsed;
    }
    const qsizetype received = w.RichTextBox1->text().size() - before;
    state.counters["cpu_percent"] = percent;
    state.counters["chars_per_s"] = double(received) / double(seconds);
}
BENCHMARK(BM_IdleCpuReceivingBpsk)->Arg(20)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    ProgramBench bench(argc, argv);
    if (!bench.writeSettings(
            "[PSKCFG]\r\nAudio_Center_Freq=1000\r\nUSERCALL=JA1ZVK\r\nRX1Freq=1000\r\nTX1Freq=1000\r\n"
            "RX_SearchRange=10\r\n"))
        return 1;
    return bench.run({{"BM_IdleCpu", "cpu_percent", 1.0, "the share of a core in %, idle"}},
                     startup::StartUp);
}
