#pragma once
// A small, fictional but realistic master data set and demo log, for the tests
// and for trying the system without the logging program's own data: the home
// country, Japanese areas of every kind with their longitudes, and DX prefixes
// including the entries that the prefix lookup treats specially (an entity
// decided by the call-area digit, a stand-in entry, a passed-over entry, and the
// two entities whose longitude follows the call district).
#include "platform/hamlog/HamlogMaster.h"
#include "platform/hamlog/HamlogRecord.h"

#include <vector>

namespace hamlog::demo {

std::vector<MasterRecord> masterRecords();
// A handful of QSOs with fictional call signs.
std::vector<QsoRecord> qsos();

// The award program's achievement file: a first JCA, one worked but not
// confirmed and one confirmed, for the demo log's calls.
QByteArray jcaFile();

// Writes "<dataPath>.mst" with its indexes; true on success.
bool writeMasterData(const QString& dataPath);
// Master data and, when the log is missing, a new log holding the demo QSOs;
// "実績.txt" beside the log when there is none.
bool writeDemoSetup(const QString& dataPath);

} // namespace hamlog::demo
