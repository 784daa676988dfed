#pragma once
// How a call sign is taken apart for the look-ups: the "/" split into the call
// searched in the log and the part that decides the country, the call area of
// the area-code look-ups, and the suffix the JCA record is kept under.
#include <QString>
#include <optional>

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

// Where the other station's call goes in the log entry, from the operating
// window's call box. A call with "/" is split at its first "/"; written
// prefix/CALL (`prefixFirst`, the "/" order box ticked) the two parts change
// places and Rem2 becomes "$DX", else Rem2 is emptied. A call without "/" goes
// whole into the call field; Rem2 (`rem2Now`) is left as the operator wrote
// it, only a "$DX" left from an earlier call being taken away.
struct LogCall {
    QString base;   // before the first "/" (the whole call without one)
    QString suffix; // after it
    QString call;   // the log entry's call field
    QString other;  // its "/" part field
    // Rem2's new text; nothing when Rem2 is left alone.
    std::optional<QString> rem2;
};
LogCall logCallFor(const QString& hisCall, bool prefixFirst, const QString& rem2Now);

} // namespace logbook
