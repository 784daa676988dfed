#include "core/TxDispatch.h"

namespace core {

void TxSend() {}

} // namespace core
