#include "core/Globals.h"

#include "platform/forms/Waits.h"

namespace core {
Globals g;

namespace {
// The waits' owner counts the stops where the rig's key reads them.
const bool stopsCounted = (forms::countStopsIn(&g.TxStops), true);
} // namespace
} // namespace core
