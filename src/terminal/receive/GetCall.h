#pragma once
// The GET button: the call found in the end of the received text goes into
// the call-sign box, or the candidates into the list under it.
#include "terminal/receive/CallFinder.h"

class PSK31MAIN;

namespace terminal::receive {

// The GET button (Command6) and a click on the candidate list (List1).
void Command6_Click(PSK31MAIN& w);
void List1_Click(PSK31MAIN& w, const QString& chosen);

void connectGetCall(PSK31MAIN& w);

} // namespace terminal::receive
