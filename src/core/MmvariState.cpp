#include "core/MmvariState.h"

namespace mmvstate {

Globals g;

} // namespace mmvstate
