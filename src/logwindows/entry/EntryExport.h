#pragma once
// The log entry window's electronic-QSL writers. Each writes the window's
// export range of the log (ExportFromRecNo to ExportToRecNo, normalised) or,
// with no range set, the one QSO on the window, to ExportFilePath; records
// whose QSL category mark is the excluded mark are left out of a range.
// They report their own failures (the log that does not open, a record that
// cannot be read or whose date or time does not convert, a file that cannot be
// written) and then return false: the old file is kept, and the caller starts
// nothing and shows no success text. Values the file would carry as other
// characters are said by record and field before it is written; the
// operator's No writes nothing and returns false without a further word.
#include <QString>

namespace logwindows {

// The eQSL ADIF file.
bool WriteEqslAdif();
// The QSOBank XML file; its caller hands it to the sender.
bool WriteQsoBankXml();

// "EQSL_ERROR!!! ", " STRT=", the first number, "  END=", the last, " stop >>"
// and the record being worked on.
QString exportErrorText(int from, int to, int recNo);
// That message for the window's range, or for its own record when none is set.
QString exportErrorMessage();

} // namespace logwindows
