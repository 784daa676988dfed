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

// What came back after the command holds the rig's own whole answer to it: on
// an ICOM bus a frame from the rig's address to us (an acknowledgement for a
// setting); for the other families the status answer, whole, as the family's
// decoder reads it. An echo of the command, part of an answer, another
// family's answer or noise is none; so is anything from a family whose
// replies are not read (FT900). `writtenBefore` holds what was written just
// before the command, whose echo may still come after it: an echo of those
// bytes, cut anywhere, is none either.
bool answeredWhole(Family f, const QByteArray& command, const QByteArray& back, unsigned char icomAddress,
                   const QByteArray& writtenBefore = {});

} // namespace rig
