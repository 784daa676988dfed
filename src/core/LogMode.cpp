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

namespace {
// The outside program last lent the sound card, 0 once an engine has it back.
int lentTo = 0;
} // namespace

void SetLogModeOnAir(int outsideProgram) {
    lentTo = outsideProgram;
    g.ModeDisplayText = LogModeOnAir(g.OpMode, outsideProgram);
}

void RenameLogModeOnAir() {
    SetLogModeOnAir(lentTo);
}

} // namespace core
