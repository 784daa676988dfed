#pragma once
// Shared state of QSO logging. One instance, logbook::g.
#include <QString>

namespace logbook {

struct Globals {
    // 1 while the log entry window shows a record read from the log, 0 for a new entry.
    int LogEditMode = 0;
};

extern Globals g;

} // namespace logbook
