// Memory over a long run, as an operator leaves the program: the start-up as
// the program makes it, the ICOM rig polled, the spot window open on a spot
// server that adds a spot every 30 s, and a macro repeating every 40 s; every
// clock the code lets us set runs ten times fast (the engine's characters and
// display ticks, the rig poll, the repeat, the spot server and the page
// fetches), so a simulated hour takes six minutes.
//
// Each phase measures the heap in use (malloc's own count) with the receive
// panes emptied before and after, so that what the operator sees does not
// count: the growth per simulated hour apart from the received text, whose
// own cost is reported beside it in bytes a character. The goal is under
// 0.2 MB an hour. Phases: "quiet" listens on a free tone (nothing received
// but the own transmissions' echo), "receiving" on a station's tone; the
// quiet one comes again last, once everything has run a while. Before them
// the program settles for a quiet half hour, measured and shown but not held
// to the goal: what the start-up leaves to be made once (caches filled as the
// first pages, replies and repeats come) is not the growth of an hour. The rig
// simulator and the spot server run as programs of their own, as for an
// operator: what they record is not the program's. Either ending before its
// time is said and ends the benchmark in an error: the run would measure a
// program without its rig or its spots.
#include "Helper.h"
#include "ProgramBench.h"
#include "RunEvents.h"
#include "core/Globals.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "spots/ClusterData.h"
#include "startup/Startup.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/StatusSwitches.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <tuple>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSpeedUp = 10;
constexpr int kQuietHz = 1800;
// The weakest station: its level stays under the repeat's busy-channel watch.
constexpr int kStationHz = 2210;

// "PTT on" lines of the rig simulator, read as they come.
int pttOns = 0;
int pttOnCount() {
    return pttOns;
}

double heapBytes() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd);
}

QList<RichTextPane*> receivePanes() {
    PSK31MAIN& w = forms::PSK31MAIN();
    return {w.RichTextBox1, w.RichTextBox4};
}

qsizetype receivedChars() {
    qsizetype n = 0;
    for (RichTextPane* p : receivePanes())
        n += p->text().size();
    return n;
}

void emptyPanes() {
    for (RichTextPane* p : receivePanes())
        p->clear();
    runEvents(200);
}

void tuneTo(int hz) {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.VScroll1->setValue(hz);
    w.VScroll2->setValue(hz);
}

// The program running as the operator left it; false when it did not start
// (or a helper ended meanwhile: `failed` was told).
bool startOnce(const bench::HelperEnded& failed) {
    static const bool started = [&] {
        // The engine reads its clocks as it starts.
        pskcore::lib().hooks().charIntervalMs = std::max(1, 32 / kSpeedUp);
        pskcore::lib().hooks().displayIntervalMs = 100 / kSpeedUp;
        startup::StartUp();
        PSK31MAIN& w = forms::PSK31MAIN();
        if (!bench::runEventsWhileHelpersRun(
                20'000, failed, [&] { return w.isVisible() && !w.RichTextBox1->text().isEmpty(); }) ||
            !w.isVisible())
            return false;
        rig::g.RigPollInterval = 1000 / kSpeedUp;
        rig::RigStopPolling();
        rig::RigStartPolling();
        terminal::mainwindow::dxinfo_Click();
        ClusterData& spots = forms::ClusterData();
        auto* pageClock = new QTimer(&spots);
        QObject::connect(pageClock, &QTimer::timeout, &spots, [&spots] { spots.Timer1_Timer(); });
        pageClock->start(60'000 / kSpeedUp);
        return true;
    }();
    return started;
}

void BM_MemoryPerSimulatedHour(benchmark::State& state) {
    // A helper that ended, at any wait, ends the benchmark in its own error naming it.
    const bench::HelperEnded failed = [&state](const QString& said) {
        state.SkipWithError(said.toUtf8().constData());
    };
    if (!bench::helpersRun(failed)) return;
    if (!startOnce(failed)) {
        if (bench::helpersEnded().isEmpty()) state.SkipWithError("the main window did not start");
        return;
    }
    tuneTo(int(state.range(0)));
    terminal::macros::Command8_MouseDown(0, Qt::LeftButton);
    const int seconds = int(state.range(1));
    const bool settling = state.range(2) != 0;
    // A first round of every clock: fonts, pages, replies.
    if (!bench::runEventsWhileHelpersRun(20'000, failed)) return;
    emptyPanes();
    const double before = heapBytes();
    const int pttBefore = pttOnCount();
    double perHour = 0, paneBytesPerChar = 0;
    qsizetype chars = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        if (!bench::runEventsWhileHelpersRun(seconds * 1000, failed)) break;
        state.SetIterationTime(double(wall.nsecsElapsed()) / 1e9);
        chars = receivedChars();
        const double withText = heapBytes();
        emptyPanes();
        const double after = heapBytes();
        const double simulatedHours = double(seconds) * kSpeedUp / 3600.0;
        perHour = (after - before) / simulatedHours / 1e6;
        paneBytesPerChar = chars > 0 ? (withText - after) / double(chars) : 0;
    }
    state.counters["MB_per_hour"] = perHour;
    state.counters["received_chars"] = double(chars);
    state.counters["pane_bytes_per_char"] = paneBytesPerChar;
    state.counters["transmissions"] = pttOnCount() - pttBefore;
    if (settling) state.SetLabel("settling after the start-up (no goal)");
}
// (tone, wall seconds: 180 s is half a simulated hour, settling)
BENCHMARK(BM_MemoryPerSimulatedHour)
    ->Args({kQuietHz, 180, 1})
    ->Args({kQuietHz, 180, 0})
    ->Args({kStationHz, 180, 0})
    ->Args({kQuietHz, 180, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

QByteArray repeatingMacros() {
    QByteArray file;
    for (int i = 0; i < 36; ++i) {
        const QByteArray text = i == 0 ? "'TXON'CQ CQ de JA1ZVK JA1ZVK pse k 'TXOFF''RPT" +
                                             QByteArray::number(40 / kSpeedUp) + "'"
                                       : QByteArray();
        file += "<MACNAME" + QByteArray::number(i) + ">\r\nM" + QByteArray::number(i + 1) + "\r\n<BUTCOL" +
                QByteArray::number(i) + ">\r\n 0 \r\n<MACText" + QByteArray::number(i) + ">\r\n" + text +
                "\r\n<MacroEND" + QByteArray::number(i) + ">\r\n";
    }
    return file;
}

// Two free ports, told apart: both are held while they are picked.
std::pair<quint16, quint16> freePorts() {
    QTcpServer primary, fallback;
    if (!primary.listen(QHostAddress::LocalHost) || !fallback.listen(QHostAddress::LocalHost)) return {0, 0};
    return {primary.serverPort(), fallback.serverPort()};
}

// The spot server on ports of its own, serving once it has said so: ports
// taken meanwhile by another program are picked anew, a few times.
std::unique_ptr<bench::Helper> startSpotServer(const QString& program, quint16& primary, quint16& fallback) {
    for (int tries = 0; tries < 5; ++tries) {
        std::tie(primary, fallback) = freePorts();
        auto server = std::make_unique<bench::Helper>(
            QStringLiteral("the spot server"), program,
            QStringList{QStringLiteral("--every"), QString::number(30 / kSpeedUp), QStringLiteral("--port"),
                        QString::number(primary), QStringLiteral("--fallback-port"),
                        QString::number(fallback)});
        if (server->start(10'000) || !server->ended().contains(QLatin1String("not free"))) return server;
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    ProgramBench bench(argc, argv);
    const QString programs = QStringLiteral(ZV_PROGRAM_DIR);
    bench::Helper rig(QStringLiteral("the rig simulator"), programs + QStringLiteral("/zorvatek-rigsim"),
                      {QStringLiteral("ICOM")});
    const std::optional<QByteArray> rigLine = rig.start(10'000); // "rig ICOM on /dev/pts/N"
    if (!rigLine) return 1;
    const QByteArray device = rigLine->mid(rigLine->lastIndexOf(' ') + 1).trimmed();
    rig.onLine([](const QByteArray& line) {
        if (line.startsWith("PTT on")) ++pttOns;
    });
    // The server says where it serves once it listens there.
    quint16 primary = 0, fallback = 0;
    const std::unique_ptr<bench::Helper> spotServer =
        startSpotServer(programs + QStringLiteral("/zorvatek-spotsrv"), primary, fallback);
    if (!spotServer) {
        std::fprintf(stderr, "HELPER ENDED: the spot server found no free ports in five tries\n");
        return 1;
    }
    if (!spotServer->ended().isEmpty()) return 1;
    qputenv("ZORVATEK_SPOT_PRIMARY", "http://127.0.0.1:" + QByteArray::number(primary));
    qputenv("ZORVATEK_SPOT_FALLBACK", "http://127.0.0.1:" + QByteArray::number(fallback));
    QFile macros(bench.home() + QStringLiteral("/RPT.MAC"));
    if (!macros.open(QIODevice::WriteOnly)) return 1;
    macros.write(repeatingMacros());
    macros.close();
    if (!bench.writeSettings(
            "[PSKCFG]\r\nAudio_Center_Freq=1500\r\nUSERCALL=JA1ZVK\r\nRX1Freq=1000\r\nTX1Freq=1000\r\n"
            "COMPORT=0\r\nCOMCONT=0\r\nMacroFile=" +
            macros.fileName().toUtf8() + "\r\n[RIG_CON_CFG]\r\nRIGCOMCONT=" + device +
            "\r\nRIG_TYPE=ICOM\r\nICOM_RIGadrs=58\r\nVFOCHECK=YesP\r\nINETCHECK=YES\r\n"))
        return 1;
    const int result = bench.run({{"BM_MemoryPerSimulatedHour/[0-9]+/[0-9]+/0/", "MB_per_hour", 0.2,
                                   "the heap's growth in MB an hour"}});
    rig.stop("q\n", 3000);
    spotServer->stop({}, 0);
    return result;
}
