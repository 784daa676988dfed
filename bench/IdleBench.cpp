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
    // Per second of the wall time counted, which a busy machine stretches past the seconds asked for.
    double counting = seconds;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const IdleCounter counter;
        if (!runEventsWhileHelpersRun(seconds * 1000, failed)) break;
        counted = counter.counts();
        counting = double(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(counting);
    }
    state.counters["wakeups_per_s"] = counted.wakeUps / counting;
    state.counters["timer_events_per_s"] = counted.timerEvents / counting;
    state.counters["quick_timer_events_per_s"] = counted.quickTimerEvents / counting;
    state.counters["cpu_percent"] = 100.0 * counted.cpuSeconds / counting;
    state.counters["chars_per_s"] = double(w.RichTextBox1->text().size() - before) / counting;
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

std::vector<Goal> idleGoals(const char* benchmarks, double wakeUpsPerSecond, double timerEventsPerSecond,
                            double quickTimerEventsPerSecond) {
    return {{benchmarks, "wakeups_per_s", wakeUpsPerSecond, "the wake-ups a second, idle"},
            {benchmarks, "timer_events_per_s", timerEventsPerSecond, "the timer events a second, idle"},
            {benchmarks, "quick_timer_events_per_s", quickTimerEventsPerSecond,
             "the events a second of timers under 50 ms, idle"}};
}

} // namespace bench
