#pragma once
// Shared state of SSTV. One instance, sstv::g.
#include <QString>

namespace sstv {

struct Globals {
    // 1 while the SSTV engine transmits (from its PTT notice).
    int SstvTxActive = 0;
};

extern Globals g;

} // namespace sstv
