#pragma once
// Hands the pending transmission (core::g.MacroText and its wishes) to the
// modem engine of the current mode.

namespace core {

void TxSend();

} // namespace core
