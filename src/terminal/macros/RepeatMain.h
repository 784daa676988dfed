#pragma once
// The repeat cycle on the main window's controls and the engine of the current
// mode. The engines' transmit notices call repeatOnTxStart / repeatOnTxEnd.
#include "terminal/macros/RepeatTx.h"

class PSK31MAIN;

namespace terminal::macros {

Cycle mainCycle();
void repeatOnTxStart(TxEngine engine);
void repeatOnTxEnd(TxEngine engine);

// Connects Timer1, Timer4 and Check3 of the main window.
void connectRepeat(PSK31MAIN& w);

} // namespace terminal::macros
