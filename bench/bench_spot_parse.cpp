// One poll's work on a spot page of 1 MiB (the most that is read): the bytes
// decoded, the head taken, the rows read and the grid filled. Goal: under 5 ms
// on every path a page can take: Shift-JIS as declared, a page declared in
// another charset (ISO-8859-1), pages without "<PRE>" (valid UTF-8 and not),
// and one line of a whole mebibyte.
#include "Goals.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "spots/SpotGrid.h"
#include "spots/SpotPage.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

namespace {

QByteArray mebibytePage() {
    QList<spotsrv::Spot> list;
    QByteArray page;
    while (page.size() < spots::SpotPageLimit) {
        for (int i = 0; i < 500; ++i)
            list << spotsrv::Spot{QStringLiteral("%1").arg(i % 2400, 4, 10, QLatin1Char('0')), "14070.5",
                                  QStringLiteral("JA%1ZZ").arg(i % 10), "PSK31 1000HZ CQ", "JA2ZZB"};
        page = spotsrv::primaryPage("WW digital", list);
    }
    return page.left(spots::SpotPageLimit);
}

// The page's lines without its "<PRE>" block markers.
QByteArray withoutPre(QByteArray page) {
    page.replace("<PRE>", "<P>");
    page.replace("<pre>", "<p>");
    page.replace("</PRE>", "</P>");
    page.replace("</pre>", "</p>");
    return page;
}

void poll(benchmark::State& state, const QByteArray& bytes, const QByteArray& contentType) {
    QTableWidget grid;
    spots::InitSpotGrid(grid);
    for (auto _ : state) {
        const QString page = spots::decodeSpotPage(bytes, contentType);
        benchmark::DoNotOptimize(spots::spotHead(page));
        spots::FillSpotGrid(grid, spots::parseSpotRows(page, spots::SpotLayout::Primary, true));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_SpotPoll(benchmark::State& state) {
    poll(state, mebibytePage(), "text/html; charset=Shift_JIS");
}
BENCHMARK(BM_SpotPoll)->Unit(benchmark::kMillisecond);

void BM_SpotPollLatin1(benchmark::State& state) {
    poll(state, mebibytePage(), "text/html; charset=ISO-8859-1");
}
BENCHMARK(BM_SpotPollLatin1)->Unit(benchmark::kMillisecond);

void BM_SpotPollNoPreUtf8(benchmark::State& state) {
    poll(state, withoutPre(mebibytePage()), "text/html");
}
BENCHMARK(BM_SpotPollNoPreUtf8)->Unit(benchmark::kMillisecond);

void BM_SpotPollNoPreNotUtf8(benchmark::State& state) {
    QByteArray page = withoutPre(mebibytePage());
    page[100] = char(0x83); // a Shift-JIS lead byte: no longer valid UTF-8
    page[101] = char(0x41);
    poll(state, page, "text/html");
}
BENCHMARK(BM_SpotPollNoPreNotUtf8)->Unit(benchmark::kMillisecond);

void BM_SpotPollOneLongLine(benchmark::State& state) {
    QByteArray page = "<HTML><PRE>\n" + QByteArray(spots::SpotPageLimit - 32, 'A') + "\n</PRE></HTML>";
    poll(state, page.left(spots::SpotPageLimit), "text/html; charset=Shift_JIS");
}
BENCHMARK(BM_SpotPollOneLongLine)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::takeArguments(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv, {{"BM_SpotPoll", "time", 5, "one poll's work on a page"}});
}
