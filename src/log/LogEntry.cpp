#include "log/LogEntry.h"

#include "log/LogGlobals.h"
#include "log/TEMP_LOG.h"

namespace logbook {

void StartLogEntry() {
    // The fields of a fresh entry are filled from the main window by the log entry start.
    forms::TEMP_LOG().Text1->clear();
    g.LogEditMode = 0;
}

} // namespace logbook
