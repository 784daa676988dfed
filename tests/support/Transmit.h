#pragma once
// The operator's transmission in the main window: F12 asks for it and it is on
// once the engine's start notice has come; Esc ends it. A macro goes out by a
// press on its button, as the operator sends one.
#include <QString>

class PSK31MAIN;

namespace zvtest {

// Runs the start-up tick first when the engine is not running yet (the tests
// hold it back); true once the transmission is on.
bool transmitByF12(PSK31MAIN& w);
// Esc in the transmit box; true once the transmission is off.
bool endByEscape(PSK31MAIN& w);
// Stores the text as macro i and presses its button.
void sendMacro(PSK31MAIN& w, int i, const QString& text);

} // namespace zvtest
