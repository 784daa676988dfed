#include "core/Globals.h"

namespace core {
Globals g;
} // namespace core
