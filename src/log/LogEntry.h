#pragma once
// Starting and keeping the log entry of the current QSO.

namespace logbook {

// Prepares the log entry window for a fresh entry of the current QSO and
// leaves edit mode (LogEditMode = 0).
void StartLogEntry();

} // namespace logbook
