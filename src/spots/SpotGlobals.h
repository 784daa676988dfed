#pragma once
// Shared state of the DX-spot window: its switches, read at start-up.
// One instance, spots::g.
#include <QString>

namespace spots {

struct Globals {
    // "YES": correct a submitted RTTY spot's frequency by the audio offset.
    QString ClusterModeCompSend = QStringLiteral("NO");
    // The same for PSK31.
    QString ClusterModeCompSendPsk = QStringLiteral("NO");
    // "YES": correct the frequency handed to the rig for RTTY.
    QString ClusterModeCompRig = QStringLiteral("YES");
    // The same for PSK31.
    QString ClusterModeCompRigPsk = QStringLiteral("YES");
    // "1": take call and mode into the submission form by themselves.
    QString ClusterAutoCall = QStringLiteral("0");
    // 1 after the window's first fetch of spots.
    int ClusterPolled = 0;
    // The alert on a new newest spot: "0" none, "1" beep, "2" sound file.
    QString AlertSoundMode = QStringLiteral("0");
    // The sound file, and "True" to play it in a loop until the next poll.
    QString AlertWavPath;
    QString AlertWavLoop = QStringLiteral("False");
};

extern Globals g;

} // namespace spots
