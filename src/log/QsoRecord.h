#pragma once
// The QSO record shared by all log code: the logging program's record layout,
// defined beside the logging library that reads and writes it.
#include "platform/hamlog/HamlogRecord.h"

namespace logbook {

using QsoRecord = hamlog::QsoRecord;

} // namespace logbook
