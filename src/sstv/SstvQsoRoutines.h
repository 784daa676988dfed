#pragma once
// Pure routines of the SSTV window's QSO boxes: a call with "/" over the log
// entry's fields, the contest number's text, the RSV list file and a call
// dropped as text.
#include <QString>
#include <QStringList>
#include <optional>

namespace sstv {

// Where the other station's call goes in the log entry.
struct LogCall {
    QString base;   // before the first "/" (the whole call without one)
    QString suffix; // after it
    QString call;   // the log entry's call field
    QString other;  // its "/" part field
    // Rem2's new text; nothing when Rem2 is left alone.
    std::optional<QString> rem2;
};
// prefixFirst: the call is written prefix/CALL (the "/" order box ticked).
LogCall LogCallFor(const QString& hisCall, bool prefixFirst);

// The contest number as the box shows it: at least three digits.
QString ContestNoText(int value);

// The RSV reports of the list file's text: each line trimmed, then its first
// three characters trimmed; blank results are skipped.
QStringList RsvEntries(const QString& fileText);

// Text dropped on the call box: control characters removed, trimmed, at most
// 20 characters.
QString DroppedCall(const QString& text);

} // namespace sstv
