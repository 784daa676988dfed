#include "rig/RigLink.h"

#include "platform/os/Installed.h"
#include "platform/os/SerialComm.h"
#include "rig/CatFrames.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"

#include <QCoreApplication>
#include <QTimer>

namespace rig {

RigLink::RigLink()
    : MSComm1(new SerialComm(this)), Timer1(new QTimer(this)), KeyWatch(new QTimer(this)),
      PortRetry(new QTimer(this)), LinePump(new QTimer(this)) {
    Timer1->setInterval(1000);
    KeyWatch->setInterval(500);
    PortRetry->setInterval(1000);
    connect(KeyWatch, &QTimer::timeout, this, [] { RigKeyWatchTick(); });
    connect(PortRetry, &QTimer::timeout, this, [] { RigOpenPortAgain(); });
    LinePump->setSingleShot(true);
    connect(LinePump, &QTimer::timeout, this, [] { RigPumpLine(); });
    connect(MSComm1, &SerialComm::onComm, this, [](int code) { OnRigComm(code); });
    connect(MSComm1, &SerialComm::lineLost, this, [] { RigLineLost(); });
    connect(MSComm1, &SerialComm::arrived, this, [] { hearRelease(); });
    connect(MSComm1, &SerialComm::writeFailedLate, this,
            [] { RigPerformKey(keyEvent({KeyEventKind::WriteFailed})); });
    connect(Timer1, &QTimer::timeout, this, [] { RigPollTick(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [] {
        if (g.RigPortOpen == 1) RigClosePort();
    });
}

RigLink::~RigLink() {
    releaseKeyedRig();
}

void RigLink::releaseKeyedRig() {
    // Only the line the key went out on takes its release.
    const std::optional<Family> f = familyOf(g.KeyedLine.family);
    if (f && keyEvent({KeyEventKind::End}) == KeyAction::SendRelease) {
        MSComm1->clearBuffers();
        if (MSComm1->write(pttCommand(*f, false, hexCodeByte(g.KeyedLine.address))))
            keyEvent({KeyEventKind::KeyOffWritten});
    }
    MSComm1->close();
    keyEvent({KeyEventKind::Closed});
}

RigLink& link() {
    return installed::get<RigLink>();
}

QTimer& keyWatch() {
    return *link().KeyWatch;
}

SerialComm& port() {
    return *link().MSComm1;
}

QTimer& portRetry() {
    return *link().PortRetry;
}

QTimer& linePump() {
    return *link().LinePump;
}

QTimer& pollTimer() {
    return *link().Timer1;
}

} // namespace rig
