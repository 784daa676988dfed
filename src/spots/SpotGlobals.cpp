#include "spots/SpotGlobals.h"

namespace spots {
Globals g;
}
