#include "platform/Engines.h"

#include "platform/Installed.h"

namespace engines {

Engines& current() {
    return installed::get<Engines>();
}

} // namespace engines
