#include "core/PskEngine.h"

namespace core {

void StartPskCore() {}

} // namespace core
