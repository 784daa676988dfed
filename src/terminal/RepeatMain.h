#pragma once
// The repeat cycle on the main window's controls and the engine of the current
// mode. The engines' transmit notices call repeatOnTxStart / repeatOnTxEnd.
#include "terminal/RepeatTx.h"

class PSK31MAIN;

namespace repeat {

Cycle mainCycle();
void repeatOnTxStart(TxEngine engine);
void repeatOnTxEnd(TxEngine engine);

// Connects Timer1, Timer4 and Check3 of the main window.
void connectMainWindow(PSK31MAIN& w);

} // namespace repeat
