#pragma once
// The hand-over file of the QSL printing program: ZORVATEK.DAT in that
// program's folder, one line naming a picture (native path, Shift-JIS, CR LF),
// made anew at every hand-off.
#include <QString>

namespace sstv {

enum class HandOff { Written, NoProgram, NotWritten, NameNotShiftJis };

// Writes the picture's path. A path that Shift-JIS cannot carry would reach
// the QSL program as a name with "?" in it: it is refused and nothing is written.
HandOff WriteQslHandOff(const QString& picture);
// The hand-off as the operator asked for it: one that is not made (no QSL
// program set, its folder not there or not writable, a refused name) is told
// on the message line.
void HandOffToQsl(const QString& picture);

} // namespace sstv
