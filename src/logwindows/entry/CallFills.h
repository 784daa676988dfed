#pragma once
// What the program fills into a QSO box from a look-up of a call (the name,
// QTH, code and grid locator the log or the logging program knows) belongs to
// that call. Every look-up that fills a box notes it here: a box that still
// holds such a fill counts as empty for a look-up of another call, and is
// emptied as the call changes, so that no station's name or QTH goes with
// another's call. A box the operator has typed into holds their text, kept.
#include <QString>

class QLineEdit;

namespace logwindows {

// Writes `text` into `box` as filled for `call`.
void FillForCall(QLineEdit* box, const QString& text, const QString& call);
// The box holds nothing, or only what a look-up filled for another call.
bool EmptyForCall(const QLineEdit* box, const QString& call);
// Empties the QSO boxes (the operating window's name and QTH, the log entry's
// name, QTH, code and grid locator) that hold what was filled for another
// call, and the status line that showed that call's QTH and name.
void DropFillsOfOtherCalls(const QString& call);
// The box's text is no fill any more (a record read from the log).
void ForgetFill(QLineEdit* box);

} // namespace logwindows
