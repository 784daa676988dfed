// One job notice of the SSTV engine on the offscreen platform, with the
// enlarged viewer mirroring the picture being received: the engine's pending
// lines, the receive, preview, level, spectrum and waterfall boxes, the
// viewer and the line marker. The goal is a median under 5 ms.
#include "ProgramBench.h"
#include "core/Globals.h"
#include "platform/sstvengine/SstvEngine.h"
#include "platform/sstvengine/SstvModes.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"

#include <benchmark/benchmark.h>

namespace {

SSTVForm& receivingWindow() {
    static SSTVForm* w = [] {
        // The engine's own ticks would run between iterations; the benchmark posts the jobs.
        sstveng::lib().hooks().lineIntervalMs = 1'000'000;
        sstveng::lib().hooks().pictureIntervalMs = 1'000'000;
        core::g.OpMode = core::ModeSstv;
        SSTVForm& f = forms::SSTVForm();
        f.show();
        forms::Bigviewer().show();
        sstv::g.BigViewOn = 1;
        sstveng::lib().startStationPicture(sstveng::Scottie1);
        QCoreApplication::processEvents();
        return &f;
    }();
    return *w;
}

void BM_SstvJob(benchmark::State& state) {
    SSTVForm& w = receivingWindow();
    for (auto _ : state)
        w.SstvEngineWndProc(sstveng::SstvMsgEngine, sstveng::NtfJob, 0);
    state.SetLabel(
        QStringLiteral("viewer %1x%2").arg(sstv::g.BigViewWidth).arg(sstv::g.BigViewHeight).toStdString());
}
BENCHMARK(BM_SstvJob)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return ProgramBench(argc, argv).run({{"BM_SstvJob", "time", 5, "one job notice of the SSTV engine"}});
}
