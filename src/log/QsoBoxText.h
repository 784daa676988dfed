#pragma once
// What the QSO boxes of every window hold, however text reaches them: the
// rules the boxes keep to (ui::keepRule), the same for a typed key, a paste,
// a drop and a pick.
#include <QString>

namespace logbook {

// A call sign: a to z in upper case; blanks, line breaks and other control
// characters dropped, so that a call is never stored as two words or in lower
// case. Other characters stay as they came (a picked "QRZ?" says what it is).
QString callBoxText(const QString& text);
// A report (RST): the digits its box's keys take, nothing else.
QString reportBoxText(const QString& text);

} // namespace logbook
