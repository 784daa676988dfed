// The rig's port and poll timer live on the hidden version window; the rig
// link hooks its receive event and the timer's tick the first time it uses them.
#include "core/AboutZORVATEK.h"
#include "platform/SerialComm.h"
#include "rig/CatFrames.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"

#include <QCoreApplication>
#include <QTimer>

namespace rig {
namespace {

// The version window goes away with its port open (the program ends without
// its shutdown sequence): a transmitter keyed by CAT is released first.
void releaseOnLoss(SerialComm* comm) {
    const std::optional<Family> f = familyOf(g.RigType);
    if (g.RigPortOpen == 1 && f && nb::pttByCat() && nb::anyEngineTransmits()) {
        comm->clearBuffers();
        comm->write(pttCommand(*f, false, hexCodeByte(g.IcomAddress)));
    }
    comm->close();
    g.RigPortOpen = 0;
}

AboutZORVATEK& host() {
    AboutZORVATEK& w = forms::AboutZORVATEK();
    static const char* kHooked = "zvRigHooked";
    if (!w.property(kHooked).toBool()) {
        w.setProperty(kHooked, true);
        QObject::connect(w.MSComm1, &SerialComm::onComm, &w, [](int code) { OnRigComm(code); });
        QObject::connect(w.Timer1, &QTimer::timeout, &w, [] { RigPollTick(); });
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, &w, [] {
            if (g.RigPortOpen == 1) RigClosePort();
        });
        QObject::connect(&w, &QObject::destroyed, [comm = w.MSComm1] { releaseOnLoss(comm); });
    }
    return w;
}

} // namespace

SerialComm& port() {
    return *host().MSComm1;
}

QTimer& pollTimer() {
    return *host().Timer1;
}

} // namespace rig
