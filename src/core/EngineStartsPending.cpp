#include "core/EngineStartsPending.h"

namespace core {

void StartMmtty() {}

} // namespace core
