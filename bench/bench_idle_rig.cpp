// The program idle as bench_idle_cpu leaves it, with an ICOM rig on its line
// polled every second: the rig simulator runs as a program of its own, as for
// an operator. What the poll adds to a second is what the goals hold.
#include "Helper.h"
#include "IdleBench.h"
#include "ProgramBench.h"
#include "startup/Startup.h"

int main(int argc, char** argv) {
    ProgramBench bench(argc, argv);
    bench::Helper rig(QStringLiteral("the rig simulator"), QStringLiteral(ZV_PROGRAM_DIR "/zorvatek-rigsim"),
                      {QStringLiteral("ICOM")});
    const std::optional<QByteArray> rigLine = rig.start(10'000); // "rig ICOM on /dev/pts/N"
    if (!rigLine) return 1;
    const QByteArray device = rigLine->mid(rigLine->lastIndexOf(' ') + 1).trimmed();
    if (!bench.writeSettings(bench::idleSettings() + "[RIG_CON_CFG]\r\nRIGCOMCONT=" + device +
                             "\r\nRIG_TYPE=ICOM\r\nICOM_RIGadrs=58\r\nVFOCHECK=YesP\r\n"))
        return 1;
    bench::registerIdle("BM_IdleRigPolled");
    // The poll adds a wake-up for each byte of its two answers (31 a second at
    // most; fewer when a busy machine hands several over at once) to the 20 of
    // the idle program; a wait for an answer that looked every half
    // millisecond made it 65 on a busy machine, 80 on a quiet one. Its timer
    // events are the idle program's 31 and the poll's own: a wait for the
    // answer that looked every 10 ms in between added one or two a second.
    const int result = bench.run(bench::idleGoals("BM_IdleRigPolled", 60, 32, 0.5), startup::StartUp);
    rig.stop("q\n", 3000);
    return result;
}
