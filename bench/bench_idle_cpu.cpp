// The program idle while it receives in BPSK and the operator does nothing:
// the wake-ups and timer events of a second (bench/IdleBench.h), its share of
// a core said beside them.
#include "IdleBench.h"
#include "ProgramBench.h"
#include "startup/Startup.h"

namespace {

void BM_IdleCpuReceivingBpsk(benchmark::State& state) {
    bench::measureIdle(state);
}
BENCHMARK(BM_IdleCpuReceivingBpsk)->Arg(20)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    ProgramBench bench(argc, argv);
    if (!bench.writeSettings(
            "[PSKCFG]\r\nAudio_Center_Freq=1000\r\nUSERCALL=JA1ZVK\r\nRX1Freq=1000\r\nTX1Freq=1000\r\n"
            "RX_SearchRange=10\r\n"))
        return 1;
    // When written: 20 wake-ups and 31 timer events a second (the display's
    // ticks, the engine's characters), on a machine busy or not.
    return bench.run(bench::idleGoals("BM_IdleCpu", 30, 40), startup::StartUp);
}
