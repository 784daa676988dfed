#include "sstv/SstvGlobals.h"

namespace sstv {
Globals g;
}
