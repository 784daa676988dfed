#pragma once
// The QSOBank upload file, built whole in memory: Shift-JIS with its XML
// declaration, every line ended by CR LF, no indentation. Root
// "putqsodata_body"; per QSO a "qso_record" of seven lines: daytime (date, a
// blank and the time in the zone it was logged, "12:34:00 JST"), callsign,
// frequency and mode, his_rpt and my_rpt, qsl_remarks.
#include "log/AdifExport.h"
#include "log/ExportQso.h"

#include <vector>

namespace logbook {

// Every QSO given is written, in order; the caller has left out the excluded
// ones. An empty message writes the default one. A QSO whose date or time does
// not convert stops the file (failedAt).
ExportFile qsoBankXml(const std::vector<ExportQso>& qsos, const QString& qslMessage);

// "YYYY-MM-DD HH:MM:00 JST" (or UTC); nothing when the date or time does not convert.
std::optional<QString> qsoBankDaytime(const QString& date, const QString& time);

} // namespace logbook
