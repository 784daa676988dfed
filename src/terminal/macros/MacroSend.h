#pragma once
// Sending a macro: the keywords of macro Index (0 to 35) are expanded, the
// repeat is armed or cancelled, the text goes into the transmit box and the
// pending transmission to the engine of the current mode.

namespace terminal::macros {

void SendMacro(int index);

} // namespace terminal::macros
