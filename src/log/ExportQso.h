#pragma once
// One QSO as the export files take it, and the rules that turn its logged
// values into the values the files carry: the date and time in UTC, the band
// of a frequency, the mode name. Plain values in, plain values out; the file
// layouts are in AdifExport.h and QsoBankXml.h.
#include "platform/hamlog/HamlogRecord.h"

#include <QDateTime>
#include <QStringList>
#include <optional>

namespace logbook {

struct ExportQso {
    QString call;
    QString date; // "YYYY-MM-DD", or "YY-MM-DD" as the log stores it
    QString time; // "HH:MM" followed by "J" (JST) or "U" (UTC)
    QString freq; // band or frequency in MHz, as logged
    QString mode;
    QString his; // report given
    QString my;  // report received
    QString qsl; // the record's QSL field: via, sent, received
    QString name, qth, grid, rem1;
};

// The record's values, trimmed (NULs of the stored field removed).
ExportQso exportQsoFromRecord(const hamlog::QsoRecord& record);
// A row of the earlier-QSO list or the log viewer (the columns of both grids:
// 1 call, 3 date, 4 time, 5 His, 6 My, 7 band, 8 mode, 10 grid, 11 name,
// 12 QTH, 13 to 15 the QSL characters, 16 Rem1).
ExportQso exportQsoFromRow(const QStringList& cells);
// A grid row that holds no QSO: call, date and time all blank.
bool isEmptyRow(const QStringList& cells);

// The call on the log entry window: the call box and the part written after a
// "/" in the second box; "$DX" in the remarks says the part is a prefix.
QString entryCall(const QString& call, const QString& part, const QString& rem1, const QString& rem2);
// A stored call taken back into the two boxes by the same rule: split at its
// first "/", the part in front going to the second box when the remarks hold "$DX".
struct EntryCallBoxes {
    QString call;
    QString part;
};
EntryCallBoxes entryCallBoxes(const QString& stored, const QString& rem1, const QString& rem2);

// The logged date; two-digit years 00 to 29 are 20xx, 30 to 99 19xx.
std::optional<QDate> exportDate(const QString& text);
// The logged time of day and its zone: 'J', 'U', or '\0' when none is given.
struct LoggedTime {
    QTime time;
    char zone = '\0';
};
std::optional<LoggedTime> exportTime(const QString& text);

// QSO_DATE "YYYYMMDD" and TIME_ON "HHMM" in UTC (JST is UTC + 9 h; a time
// without "J" is UTC). Nothing when the date or the time does not convert.
struct UtcStamp {
    QString date;
    QString time;
};
std::optional<UtcStamp> utcStamp(const QString& date, const QString& time);

// The export's mode name, decided on the upper-cased text: "MFSK…" gives
// "MFSK", "PSK" or "PK" anywhere "PSK31", "TY" or "RT" "RTTY", "STV" "SSTV";
// any other mode is written as logged.
QString ExportModeName(const QString& mode);

// The band of a frequency in MHz: a label of the band box ("7", "10", "5600")
// gives its band, else the band whose range holds the number; empty when none.
QString exportBand(const QString& freq);
// True when the frequency is a plain number inside a band's range, as the
// FREQ field must be.
bool isBandFrequency(const QString& freq);

// The QSL messages used when the operator has set none.
inline const QString kAdifDefaultQslMessage = QStringLiteral("Mny Tks FB QSO & CUL.");
inline const QString kXmlDefaultQslMessage = QStringLiteral("Mny Tks FB QSO and CUL.");

} // namespace logbook
