// Worked-before lookup on a log of 1,000,000 QSOs as the earlier-QSO lookup
// makes it through the library (close, open, the call-index search, the walk
// over the call's QSOs reading every field of each, close); the first open of
// that log; appending one QSO at a time. The log is generated once per run in
// a temporary folder.
#include "platform/Hamlog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

using namespace hamlog;

namespace {

constexpr int kQsos = 1'000'000;
constexpr int kStations = 100'000;
constexpr int kLookups = 20'000;

QString stationCall(int n) {
    // Fictional calls: "QQ", a digit and three letters.
    QString call = QStringLiteral("QQ") + QChar('0' + n % 10);
    for (int i = 0, v = n / 10; i < 3; ++i, v /= 26)
        call += QChar('A' + v % 26);
    return call;
}

QsoRecord qso(int n, std::mt19937& random) {
    QsoRecord r;
    r.CALL = stationCall(static_cast<int>(random() % kStations));
    r.DATE = QStringLiteral("24-%1-%2").arg(1 + n % 12, 2, 10, QChar('0')).arg(1 + n % 28, 2, 10, QChar('0'));
    r.TIME = QStringLiteral("12:34J");
    r.HIS = r.MY = QStringLiteral("599");
    r.FREQ = QStringLiteral("14.070");
    r.MODE = QStringLiteral("PSK31");
    r.CODE = QStringLiteral("1002");
    r.QSL = QStringLiteral("J  ");
    r.NAME = QStringLiteral("太郎");
    r.QTH = QStringLiteral("東京都八王子市");
    r.REM1 = QStringLiteral("QSO %1").arg(n);
    return r;
}

// The generated log, made on first use.
const QString& bigLog() {
    static QTemporaryDir dir;
    static const QString dataPath = [] {
        const QString path = dir.path() + QStringLiteral("/BIG");
        createLog(path);
        std::mt19937 random(4242);
        std::vector<QsoRecord> chunk;
        for (int n = 0; n < kQsos; ++n) {
            chunk.push_back(qso(n, random));
            if (chunk.size() == 50'000 || n + 1 == kQsos) {
                if (!appendRecords(path, chunk)) std::abort();
                chunk.clear();
            }
        }
        return path;
    }();
    return dataPath;
}

bool sameStation(const QString& field, const QString& call) {
    const QString own = field.trimmed();
    return own == call || own.startsWith(call + QLatin1Char('/'));
}

int lookup(HamlogHandle& h, const QString& call) {
    SetQsoOrMaster(1);
    HamlogClose(h, 0);
    if (HamlogOpen(0, h, bigLog(), 0) != Done) return -1;
    int listed = 0;
    QString buffer;
    for (int recNo = Vidx_search(h, call, 16); recNo > 0; recNo = Vidx_next(h, 16)) {
        if (THW_read(h, recNo, 3) != Done) break;
        ThwString(buffer, h, FieldCall);
        if (!sameStation(buffer, call)) break;
        for (const FieldSpec& f : kFields)
            ThwString(buffer, h, f.no);
        ++listed;
    }
    HamlogClose(h, 0);
    return listed;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void BM_WorkedBeforeLookup(benchmark::State& state) {
    HamlogHandle h;
    if (lookup(h, stationCall(0)) < 0) state.SkipWithError("log does not open");
    std::mt19937 random(7);
    std::vector<double> micros;
    long listed = 0;
    for (auto _ : state) {
        micros.clear();
        for (int i = 0; i < kLookups; ++i) {
            // One call in five has never been worked.
            const int station = static_cast<int>(random() % (kStations + kStations / 4));
            const QString call = stationCall(station);
            QElapsedTimer timer;
            timer.start();
            listed += lookup(h, call);
            micros.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
        }
    }
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["qsos_per_lookup"] = static_cast<double>(listed) / kLookups;
}
BENCHMARK(BM_WorkedBeforeLookup)->Iterations(1)->Unit(benchmark::kMillisecond);

// The first open of the log in a run; later opens take the kept connection.
void BM_OpenBigLog(benchmark::State& state) {
    bigLog();
    for (auto _ : state) {
        state.PauseTiming();
        // A touch of the file makes the kept connection unusable, as a log
        // replaced on disk would.
        QFile(bigLog() + QStringLiteral(".HDB"))
            .setPermissions(QFile(bigLog() + QStringLiteral(".HDB")).permissions());
        state.ResumeTiming();
        HamlogHandle h;
        if (HamlogOpen(0, h, bigLog(), 0) != Done || Vdbf_rcount(h) != kQsos) state.SkipWithError("bad log");
        HamlogClose(h, 0);
    }
}
BENCHMARK(BM_OpenBigLog)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_AppendOneQso(benchmark::State& state) {
    HamlogHandle h;
    if (HamlogOpen(0, h, bigLog(), 0) != Done) state.SkipWithError("log does not open");
    std::mt19937 random(99);
    int n = kQsos;
    for (auto _ : state) {
        const QsoRecord r = qso(++n, random);
        for (const FieldSpec& f : kFields)
            if (f.no != FieldFlag) SetThBuffer(h, *r.field(f.no), f.no);
        if (THW_append(h, 16, 0) != Done) state.SkipWithError("append failed");
    }
    HamlogClose(h, 0);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendOneQso)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
