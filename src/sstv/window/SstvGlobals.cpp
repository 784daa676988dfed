#include "sstv/window/SstvGlobals.h"

namespace sstv {
Globals g;
}
