#pragma once
// The electronic-QSL and ADIF log exports as the windows run them: the save
// dialogs with their stored folders, the send command of the two list windows,
// the question after an eQSL file, the hand-off to the QSOBank sender and the
// log viewer's "ADIF化". Every file is built whole and replaces the old one
// only when it is complete; a failure leaves the old file as it was and
// nothing is started or announced after it.
#include "log/AdifExport.h"
#include "log/ExportSelection.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace logwindows {

// The save dialog of the format: its folder from the settings (the program
// folder when none is stored), the proposed name "ZORVATEK_EQSL" and today's
// date. Returns the chosen path with ".ADI" or ".xml" added when it has no
// extension, and stores its folder; the empty text when the operator cancels.
QString askEqslFile(logbook::EqslKind kind);

// The format the electronic QSL is written in. With none set, the operator is
// told where to set it and nothing is written.
std::optional<logbook::EqslKind> chosenEqslKind();

// Said before an export is written: the log holds what it holds, the file
// would carry these values with other characters. recNos[i] names the i-th
// QSO given. True when the operator goes on (or nothing is to be said).
bool mayWriteUncarried(const std::vector<logbook::Uncarried>& found, const std::vector<QString>& recNos);

// "電子QSL送信" of the earlier-QSO list and the log viewer, over the grid's
// data rows (rows[0] is row 1, every row with its 19 cells, column 0 the mark,
// column 18 the record number).
void sendMarkedRows(const std::vector<QStringList>& rows);

// After an eQSL file: the question whether to open the eQSL page now.
enum class PageChoice { Declined, Opened, Failed };
PageChoice askToOpenEqslPage(const QString& path);

// Starts the QSOBank sender with the file as its one argument, not waiting for
// it. False when the program is not set or cannot be started.
bool startQsoBankSender(const QString& xmlPath);

// "ADIF化" of the log viewer: its page in the log layout, proposed as
// "ELOG_<first>to<last>" after the first and last record shown. Rows that
// hold no QSO are left out.
void exportLogPage(const std::vector<QStringList>& rows);

} // namespace logwindows
