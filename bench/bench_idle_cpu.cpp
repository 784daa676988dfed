// The program idle while it receives in BPSK and the operator does nothing:
// the wake-ups and timer events of a second (bench/IdleBench.h), its share of
// a core said beside them.
#include "IdleBench.h"
#include "ProgramBench.h"
#include "startup/Startup.h"

int main(int argc, char** argv) {
    ProgramBench bench(argc, argv);
    if (!bench.writeSettings(bench::idleSettings())) return 1;
    bench::registerIdle("BM_IdleCpuReceivingBpsk");
    // When written: 20 wake-ups and 31 timer events a second (the display's
    // ticks, the engine's characters), on a machine busy or not; no timer
    // quicker than the display's.
    return bench.run(bench::idleGoals("BM_IdleCpu", 30, 40, 0.5), startup::StartUp);
}
