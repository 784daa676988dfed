#include "terminal/MacroState.h"

namespace macros {

Globals g;

} // namespace macros
