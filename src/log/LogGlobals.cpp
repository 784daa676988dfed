#include "log/LogGlobals.h"

namespace logbook {
Globals g;
}
