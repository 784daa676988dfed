#pragma once
// The QSO entry boxes as the operator types into them: the call-sign box in
// upper case, overtyping the ten characters after the caret; the RST box
// digits only, one digit overtyped at a time; Enter walks from the name box
// to the RST box and on to the call-sign box; Down or a double-click in the
// call-sign box runs the call-sign check. Text written by program is cut to
// what the operator could type.
class PSK31MAIN;

namespace terminal::receive {

void connectQsoEntryBoxes(PSK31MAIN& w);

} // namespace terminal::receive
