#include "terminal/macros/MacroState.h"

namespace terminal::macros {

Globals g;

} // namespace terminal::macros
