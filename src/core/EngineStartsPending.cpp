#include "core/EngineStartsPending.h"

namespace core {

void StartMmtty() {}

void StartMmvari(int) {}

} // namespace core
