#include "platform/engines/Engines.h"

#include "platform/os/Installed.h"

namespace engines {

Engines& current() {
    return installed::get<Engines>();
}

} // namespace engines
