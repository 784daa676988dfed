#pragma once
// The ADIF export files, built whole in memory: Shift-JIS, every line ended by
// CR LF. "<EOH>" alone on the first line, then one line per QSO closed by
// "<eor>". Every field length counts the bytes written, so that a reader
// taking the lengths as byte counts finds each value whole, Japanese included;
// a character Shift-JIS would give back as another is written as the file
// holds it ("?" for one it lacks: the callers say so before they write), a
// control character is left out.
//
// The eQSL layout: CALL, QSO_DATE, TIME_ON, FREQ (or BAND when the frequency
// is no number inside a band), MODE, RST_SENT, RST_RCVD, QSLMSG.
// The log layout: OPERATOR, CALL, QSO_DATE, TIME_ON, FREQ (as logged), BAND, MODE, RST_SENT, RST_RCVD, QTH,
// NAME, GRIDSQUARE, QSL_VIA, QSL_SENT, QSL_RCVD, COMMENT.
#include "log/ExportQso.h"

#include <QByteArray>
#include <vector>

namespace logbook {

// A whole export file, or the place of the QSO that stopped it.
struct ExportFile {
    QByteArray bytes;
    // Index of the first QSO whose date or time does not convert; -1 = written.
    int failedAt = -1;
    bool ok() const { return failedAt < 0; }
};

// Every QSO given is written, in order; the caller has left out the excluded ones.
// An empty message writes the default one.
ExportFile eqslAdif(const std::vector<ExportQso>& qsos, const QString& qslMessage);
ExportFile logAdif(const std::vector<ExportQso>& qsos, const QString& userCall);

// A value of the log that the file would not carry as logged: the QSO (its
// index among those given), the field's tag and the characters written as others.
struct Uncarried {
    int qso = 0;
    QString field;
    QString characters;
    bool operator==(const Uncarried&) const = default;
};
// What eqslAdif and logAdif would write as other characters, in file order.
// The eQSL values are those of the QSOBank file too.
std::vector<Uncarried> eqslAdifUncarried(const std::vector<ExportQso>& qsos, const QString& qslMessage);
std::vector<Uncarried> logAdifUncarried(const std::vector<ExportQso>& qsos, const QString& userCall);

// "<TAG:n>" and the value's Shift-JIS bytes, n their count (type after n when given).
QByteArray adifField(const char* tag, const QString& value, const char* type = nullptr);

} // namespace logbook
