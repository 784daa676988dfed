#pragma once
// The multi-mode modem control as the engine: its start for one of the nine
// sub-modes (10 GMSK(MBCS) .. 18 mfsk(USB)), which arranges the main window for
// the multi-mode panel, applies the stored [MMVCFG] options and sets the
// control running.

namespace terminal::engines {

// Mode: the multi-mode sub-mode 10..18. Called again while the control runs it
// applies every setting again but leaves the receive and transmit frequencies.
void StartMmvari(int Mode);

} // namespace terminal::engines
