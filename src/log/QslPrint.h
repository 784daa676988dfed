#pragma once
// What the QSL card printing programs are handed of one stored QSO.
#include "platform/hamlog/HamlogRecord.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace logbook {

// MMQSL's log line: date "YY.MM.DD" and time "HHMM" in JST, call, his RST,
// band, mode, an empty field, name, QTH and the three QSL characters, each
// followed by a comma. Nothing when the record's date or time is no date or
// time.
std::optional<QString> mmqslLogLine(const hamlog::QsoRecord& record);

// The hand-over file WORK2.DAT of the logging program's QSL printer: the call,
// a comma and the record number, CR LF, in Shift-JIS.
QByteArray qslHandOver(const QString& call, int recNo);

// True when the configured program is MMQSL: "MMQSL.EXE" in any letter case,
// after the path's first character.
bool isMmqslProgram(const QString& programPath);

} // namespace logbook
