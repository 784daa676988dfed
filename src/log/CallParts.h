#pragma once
// How a call sign is taken apart for the look-ups: the "/" split into the call
// searched in the log and the part that decides the country, the call area of
// the area-code look-ups, and the suffix the JCA record is kept under.
#include <QString>

namespace logbook {

struct CallSplit {
    QString WkdCall;    // looked up in the log
    QString PrefixCall; // given to the prefix look-up
    int SlashPos = 0;   // position (from 1) of the last "/", 0 = none
};

// call is already trimmed. Only the last "/" counts; the longer side is the
// station's own call, a one-letter part or "QRP" after it is no country.
CallSplit splitCall(const QString& call);

struct CallArea {
    QString area; // a digit, "1" for 7K to 7N, "全" without a digit
    int pos = 0;  // position (from 1) of the digit taken, 0 = none
};

// The "/" part decides when it holds anything, else the call. The digits are
// tried from "0" upwards (not from the left), each at its last occurrence.
CallArea callAreaOf(const QString& slashPart, const QString& call);

// The letters after the call's last digit; empty when it has no digit or ends in one.
QString jcaSuffix(const QString& call);

} // namespace logbook
