#pragma once
// The engine stand-ins of one run: the PSK core library, the scope/FFT helper,
// the link to the RTTY/CW program, the SSTV engine and the table of the multi-mode controls'
// display-data handles. The application context owns them for the run (a test
// makes its own), so every run starts with engines in their first state.
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"

#include <QHash>

namespace mmvari {
class MmvariControl;
}

namespace engines {

struct Engines {
    pskcore::PskCore psk;
    bobmako::BobMako scope;
    mmtty::MmttyLink mmtty;
    sstveng::SstvEngine sstv;
    // The multi-mode controls alive, by the display-data handle each gives out.
    QHash<int, mmvari::MmvariControl*> mmvariControls;
    int nextMmvariHandle = 0x4D560001;
    // The simulated sound card's clock: its samples come this many parts per
    // million faster than the nominal rate it is run at.
    double soundCardPpm = 50.0;
};

// The engines installed for the run.
Engines& current();

} // namespace engines
