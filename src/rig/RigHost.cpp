// The rig's port and poll timer live on the hidden version window; the rig
// link hooks its receive event and the timer's tick the first time it uses them.
#include "core/AboutZORVATEK.h"
#include "platform/SerialComm.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"

#include <QTimer>

namespace rig {
namespace {

AboutZORVATEK& host() {
    AboutZORVATEK& w = forms::AboutZORVATEK();
    static const char* kHooked = "zvRigHooked";
    if (!w.property(kHooked).toBool()) {
        w.setProperty(kHooked, true);
        QObject::connect(w.MSComm1, &SerialComm::onComm, &w, [](int code) { OnRigComm(code); });
        QObject::connect(w.Timer1, &QTimer::timeout, &w, [] { RigPollTick(); });
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
