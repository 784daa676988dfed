#include "rig/RigNeighbours.h"

#include "platform/os/Installed.h"

namespace rig {

Neighbours& nb() {
    return installed::get<Neighbours>();
}

} // namespace rig
