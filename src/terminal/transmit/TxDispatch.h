#pragma once
// Hands the pending transmission (core::g.MacroText and its wishes) to the
// modem engine of the current mode.

namespace terminal::transmit {

void TxSend();

} // namespace terminal::transmit
