#pragma once
// The look-ups of the call-sign check, each painting its own windows: the
// earlier QSOs into the earlier-QSO list, the award record, the prefix and
// master data into the area-code list, and the other station's local time.
#include "platform/hamlog/HamlogMaster.h"

#include <QString>

namespace logwindows {

// Lists every QSO of the call (and of its portable forms) from the log and
// pre-fills the entry from the last one; FirstQsoFlag = 1 when there is none.
void LookupHamlogCall(const QString& call);

// quietUnknown: a prefix the master data lacks ends without a message (the log
// entry's second look-up of the same call).
void LookupPrefix(const QString& call, bool quietUnknown = false);

// Fills area-code list row `row` from a master record: code, name, prefix,
// area, longitude and the band marks.
void FillMasterRow(int row, const hamlog::MasterRecord& record);

// Writes `mark` into the area-code list's cells (row, col...) of the set bits.
void WriteQslBitsToGrid(int row, int& col, int& bits, const QString& mark);

// The other station's local time and greeting from Longitude; shown in the log
// entry window's LT item.
void ShowLocalTime();
// The greeting for an "HH:MM" text into GreetingText; false when the hour is no number.
bool GreetingForHour(const QString& timeText);
// The JCA state of the call's suffix from the award program's achievement file.
void ReadJcaRecord(const QString& call);

} // namespace logwindows
