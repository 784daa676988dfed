#pragma once
// Connects the transmit path's controls of the main window: the transmit and
// CW ID buttons, the transmit box's keys and pop-up, the abort item, the
// status bar switches, the check boxes and the web-page items.

class PSK31MAIN;

namespace tx {

void connectMainWindow(PSK31MAIN& w);

} // namespace tx
