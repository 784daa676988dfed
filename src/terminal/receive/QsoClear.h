#pragma once
// A new QSO: the clear button and Ctrl+C empty the QSO boxes and start a fresh
// log entry (library link) or drop the entry in the logging program (window
// link). A second press while the first is still being handled, for instance
// during its question, is ignored.
class PSK31MAIN;

namespace terminal::receive {

enum class From { Button, CtrlC };

// 1 while a clear is being handled.
extern int QsoClearBusy;

// The one routine of the clear button (Command4) and of Ctrl+C.
void NewQso(PSK31MAIN& w, From from);

void connectClearButton(PSK31MAIN& w);

} // namespace terminal::receive
