#pragma once
// What a rig of each family sends back for a command it is given. The link
// keeps the line free until it has come (or had its time on the wire), so
// that no command of ours runs into the rig's answer.
#include "rig/RigFamily.h"

#include <QByteArray>

namespace rig {

// Characters the rig sends back for the command, an ICOM rig's echo of the
// frame on its one-wire bus included; 0 when it sends nothing back.
int answerLength(Family f, const QByteArray& command);

} // namespace rig
