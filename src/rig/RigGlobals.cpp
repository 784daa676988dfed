#include "rig/RigGlobals.h"

namespace rig {
Globals g;
}
