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
};

extern Globals g;

} // namespace spots
