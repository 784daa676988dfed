#pragma once
// The log's fields are Shift-JIS: a character they cannot hold is refused at
// its box, by the one refusal of every writer (ui::shiftJisHolds), before
// anything is stored or handed to the logging program; the typed text stays.
#include <QString>

#include <vector>

class QWidget;

namespace logwindows {

struct LogField {
    QWidget* box = nullptr;
    QString name;
    QString text;
};

// True when every field comes back from the log as typed; otherwise the first
// that does not is named with its characters, its box gets the focus, and false.
bool LogFieldsHold(const std::vector<LogField>& fields);
// The same for the operating window's QSO boxes, as they go to the logging program.
bool QsoBoxesHold();

} // namespace logwindows
