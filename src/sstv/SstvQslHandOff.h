#pragma once
// The hand-over file of the QSL printing program: ZORVATEK.DAT in that
// program's folder, one line naming a picture (native path, Shift-JIS, CR LF),
// made anew at every hand-off.
#include <QString>

namespace sstv {

// Writes the picture's path; false when no QSL program is set or the file
// cannot be written.
bool WriteQslHandOff(const QString& picture);

} // namespace sstv
