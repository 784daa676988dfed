#include "IdleBench.h"

#include "IdleCount.h"
#include "platform/forms/controls/RichTextPane.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QElapsedTimer>

namespace bench {

void measureIdle(benchmark::State& state) {
    const HelperEnded failed = [&state](const QString& said) {
        state.SkipWithError(said.toUtf8().constData());
    };
    PSK31MAIN& w = forms::PSK31MAIN();
    const auto receiving = [&] {
        return w.isVisible() && w.RichTextBox1->text().contains(QStringLiteral("CQ"));
    };
    // Receiving has begun: the station's text is in the pane.
    if (!runEventsWhileHelpersRun(20'000, failed, receiving)) return;
    if (!receiving()) return state.SkipWithError("the main window did not start receiving");
    if (!runEventsWhileHelpersRun(2'000, failed)) return; // settle
    const int seconds = int(state.range(0));
    const qsizetype before = w.RichTextBox1->text().size();
    IdleCounts counted;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const IdleCounter counter;
        if (!runEventsWhileHelpersRun(seconds * 1000, failed)) break;
        counted = counter.counts();
        state.SetIterationTime(double(wall.nsecsElapsed()) / 1e9);
    }
    state.counters["wakeups_per_s"] = counted.wakeUps / seconds;
    state.counters["timer_events_per_s"] = counted.timerEvents / seconds;
    state.counters["cpu_percent"] = 100.0 * counted.cpuSeconds / seconds;
    state.counters["chars_per_s"] = double(w.RichTextBox1->text().size() - before) / seconds;
}

void registerIdle(const char* name) {
    benchmark::RegisterBenchmark(name, measureIdle)
        ->Arg(20)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
}

QByteArray idleSettings() {
    return "[PSKCFG]\r\nAudio_Center_Freq=1000\r\nUSERCALL=JA1ZVK\r\nRX1Freq=1000\r\nTX1Freq=1000\r\n"
           "RX_SearchRange=10\r\n";
}

std::vector<Goal> idleGoals(const char* benchmarks, double wakeUpsPerSecond, double timerEventsPerSecond) {
    return {{benchmarks, "wakeups_per_s", wakeUpsPerSecond, "the wake-ups a second, idle"},
            {benchmarks, "timer_events_per_s", timerEventsPerSecond, "the timer events a second, idle"}};
}

} // namespace bench
