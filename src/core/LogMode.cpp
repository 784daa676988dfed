#include "core/LogMode.h"

#include "core/Globals.h"

namespace core {

QString LogModeOnAir(int opMode, int outsideProgram) {
    if (outsideProgram == 1) return g.LogModeTextApp1;
    if (outsideProgram == 2) return g.LogModeTextApp2;
    if (opMode == ModeRtty || opMode == ModeCw) return g.LogModeTextRtty;
    if (opMode == ModeSstv) return g.LogModeTextSstv;
    return g.LogModeTextPsk;
}

void SetLogModeOnAir(int outsideProgram) {
    g.ModeDisplayText = LogModeOnAir(g.OpMode, outsideProgram);
}

} // namespace core
