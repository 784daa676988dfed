#include "rig/RigNeighbours.h"

#include "platform/Installed.h"

namespace rig {

Neighbours& nb() {
    return installed::get<Neighbours>();
}

} // namespace rig
