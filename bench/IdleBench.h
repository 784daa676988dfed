#pragma once
// The program idle as the operator leaves it: the start-up as the program
// makes it (main window shown, the PSK engine running, a station at the
// receive frequency), then a stretch of wall time counted with IdleCounter.
// Held to what the code decides (wake-ups and timer events a second), never
// to its share of a core, which a busy machine raises whatever the code does.
#include "Goals.h"
#include "Helper.h"

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <vector>

namespace bench {

// Counts range(0) seconds of idle; a helper program that ends meanwhile ends it in its own error.
void measureIdle(benchmark::State& state);
// Registers measureIdle under this name: 20 s, once.
void registerIdle(const char* name);
// ZORVATEK.INI of the idle program: BPSK on 1000 Hz, where the station calls.
QByteArray idleSettings();

// The goals of the idle benchmarks whose names hold `benchmarks`.
std::vector<Goal> idleGoals(const char* benchmarks, double wakeUpsPerSecond, double timerEventsPerSecond,
                            double quickTimerEventsPerSecond);

} // namespace bench
