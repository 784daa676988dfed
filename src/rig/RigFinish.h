#pragma once
// The common finish of every decoded reply: the signal frequency (the dial
// corrected by the audio offset for the sideband), the frequency shown and
// logged, and their texts. Pure, so each family's rule can be tested alone.
#include "rig/RigFamily.h"

#include <QString>

namespace rig {

struct FinishInput {
    Family family = Family::Icom;
    qint64 dialHz = 0;      // with the transverter offset already added
    int clarifierSteps = 0; // KENWOOD only: RIT in Hz
    QString modeText;
    int audioOffsetHz = 0;
    bool sstv = false;
    bool modeCheckOn = false;
    QString dataModeText;
};

struct Finished {
    qint64 signalHz;
    qint64 shownHz;
    // False when the shown frequency is 0 or less: nothing is displayed.
    bool show;
    QString freqText;  // "#0.000" MHz, for the log
    QString labelText; // "#0.000.000" or "#0.000.00", for the frequency label
};

Finished finishReading(const FinishInput& in);

// Hz as MHz with three decimals, rounded half away from zero ("14.070").
QString formatMHz3(qint64 hz);
// Hz as MHz with a literal point after the third decimal: 6 decimals "14.070.150", 5 "14.070.15".
QString formatFreqLabel(qint64 hz, int decimals);

} // namespace rig
