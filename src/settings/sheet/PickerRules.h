#pragma once
// How the log tab's file pickers start and what they offer: the starting
// folder from the setting already held, the file filter in the dialog's form,
// and the QSL-sent mark taken from the operator's answer.
#include <QString>

namespace settings {

// The folder a picker starts in: the folder of the path the setting already
// holds, or the program folder when the setting holds no path.
QString PickerFolder(const QString& stored, const QString& programFolder);

// A filter written as "description|patterns|description|patterns" (patterns
// separated by ";") in the form the file dialog takes. Names on this file
// system differ by case, so each pattern is offered as written, in lower case
// and in upper case.
QString DialogFilter(const QString& filter);

// The QSL-sent mark for an answer: its first character, or "*" for none.
QString QslSendMarkFor(const QString& answer);

} // namespace settings
