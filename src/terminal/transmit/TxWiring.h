#pragma once
// Connects the transmit path's controls of the main window: the transmit and
// CW ID buttons, the transmit box's keys and pop-up, the abort item, the
// status bar switches, the check boxes and the web-page items.

class PSK31MAIN;
class QKeyEvent;
class QObject;

namespace terminal::transmit {

void connectTransmit(PSK31MAIN& w);
// A key of the transmit box, the typed-text pane or the receive pane, after the
// main window's key preview has let it pass; true when it is taken.
bool controlKey(PSK31MAIN& w, QObject* watched, QKeyEvent* e);

} // namespace terminal::transmit
