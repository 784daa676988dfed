// One page of the log viewer (100 records read through the library, each field
// of each, into the page's rows) on a log of 1,000,000 QSOs, as the viewer
// reads it for a page step: close, open, the page, close. The log is generated
// once per run in a temporary folder.
#include "BigLog.h"
#include "Goals.h"
#include "log/LogViewPage.h"

#include <QElapsedTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

using namespace hamlog;

namespace {

constexpr int kPages = 2'000;
constexpr int kQsos = biglog::kQsos;
using biglog::bigLog;

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void BM_LogViewerPage(benchmark::State& state) {
    HamlogHandle h;
    if (HamlogOpen(0, h, bigLog(), 0) != Done) state.SkipWithError("log does not open");
    HamlogClose(h, 0);
    std::mt19937 random(11);
    std::vector<double> micros;
    std::size_t rows = 0;
    for (auto _ : state) {
        micros.clear();
        for (int i = 0; i < kPages; ++i) {
            // Page ends anywhere in the log, the newest page among them.
            const int end = i == 0 ? kQsos : 100 + static_cast<int>(random() % (kQsos - 99));
            QElapsedTimer timer;
            timer.start();
            SetQsoOrMaster(1);
            HamlogClose(h, 0);
            if (HamlogOpen(0, h, bigLog(), 0) != Done) state.SkipWithError("log does not open");
            rows += logbook::readLogPage(h, end).size();
            HamlogClose(h, 0);
            micros.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
        }
    }
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["rows_per_page"] = static_cast<double>(rows) / kPages;
}
BENCHMARK(BM_LogViewerPage)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The last release's median here (1 ms on a loaded machine), with the
    // slower of the machine's two speeds allowed for.
    return bench::runBenchmarks(
        argc, argv, {{"BM_LogViewerPage", "median_us", 2500, "a page of the log viewer in us, median"}});
}
