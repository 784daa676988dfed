#include "platform/os/Mixer.h"

#include <QProcess>
#include <QStringList>

namespace mixer {

bool open(Side side) {
    // The transmit level is the output device's, the receive level the input's.
    const QStringList args = {side == Side::Transmit ? QStringLiteral("--tab=3") : QStringLiteral("--tab=4")};
    return QProcess::startDetached(QString::fromLatin1(kProgram), args);
}

} // namespace mixer
