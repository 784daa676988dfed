// The log entry window's electronic-QSL export of a range of 10,000 QSOs from
// the log of 1,000,000 QSOs, as the operator runs it: the log opened, every
// record of the range read through the library, the file built whole and
// written in place of the old one. Goal: at most 1 s for either format.
#include "BigLog.h"
#include "Goals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/EntryExport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRange = 10'000;

template <bool (*Writer)()> void exportRange(benchmark::State& state, const char* name) {
    QTemporaryDir out;
    logbook::Globals& g = logbook::g;
    g.HamlogDataPath = biglog::bigLog();
    g.EqslMark = QStringLiteral("N");
    g.ExportFilePath = out.filePath(QString::fromLatin1(name));
    for (auto _ : state) {
        g.ExportFromRecNo = biglog::kQsos / 2;
        g.ExportToRecNo = g.ExportFromRecNo + kRange - 1;
        if (!Writer()) state.SkipWithError("the export failed");
    }
    state.SetItemsProcessed(state.iterations() * kRange);
}

void BM_EqslAdifRange(benchmark::State& state) {
    exportRange<logwindows::WriteEqslAdif>(state, "range.ADI");
}
BENCHMARK(BM_EqslAdifRange)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_QsoBankXmlRange(benchmark::State& state) {
    exportRange<logwindows::WriteQsoBankXml>(state, "range.xml");
}
BENCHMARK(BM_QsoBankXmlRange)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::takeArguments(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    biglog::bigLog();
    return bench::runBenchmarks(argc, argv, {{"Range", "time", 1000, "an export of 10,000 QSOs"}});
}
