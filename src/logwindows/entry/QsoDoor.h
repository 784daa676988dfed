#pragma once
// The one door of the QSO boxes of the operating window (the main window's, or
// the SSTV window's in SSTV mode). Nothing else empties them or puts another
// call into their call box: the operator's buttons and keys, a pick, a look-up,
// a spot, a received FSK ID, a mode change, a contest, the program's end.
//
// The boxes hold another station's QSO when a QSO with another call is handed
// to the logging program and not stored (window link), when the open log entry
// holds typing not stored (library link), or when the call box holds another
// call not yet stored with a name, QTH or report typed for it. Such a QSO goes
// only with the operator's word; on Yes all that belonged to it goes: the
// logging program's entry, the log entry, and every box with its lists and
// status line. What arrives by itself (an FSK ID) asks nothing: it is said on
// the message line and the boxes are left alone.
#include <QString>
#include <Qt>

class QLineEdit;

namespace logwindows {

// What would empty the boxes, put another call into them, or drop the QSO
// they hold.
enum class DropCause {
    ModeChange,  // the operating window swaps; the boxes are let go only on Yes
    Spot,        // a double-clicked spot's call
    SpotPicked,  // a spot about to be followed: its call comes after the mode change
    ProgramEnd,  // the program ends
    Lookup,      // a call picked, chosen or looked up
    LinkChange,  // the link with the logging program changes
    Clear,       // the clear button or Ctrl+C: the boxes emptied
    ContestNext, // a contest QSO just stored: call and name emptied for the next
    FskId,       // a call received as the SSTV engine's FSK ID
    Typed,       // the operator's own typing of the call elsewhere (the log entry)
    CallTyped,   // a call the operator typed into the call box, settled
};

// Puts `call` into the call box (causes that bring a call), empties the boxes
// (Clear, ContestNext), or only lets go of the QSO they hold (ModeChange,
// ProgramEnd, LinkChange, SpotPicked). False when the operator keeps the QSO they hold,
// or an FSK ID found them taken: nothing has changed then.
bool QsoBoxesDoor(DropCause cause, const QString& call = {});

// The call the operator typed into the call box settles: Return, leaving the
// box, the log button or key, a look-up. Another call than the one whose
// station the boxes hold starts a new station as a pick does: what belonged
// to the station before goes with it (a QSO not stored yet only with the
// operator's word), the typed call stays. The same call again is a
// correction: its fields stay. False when the operator keeps the QSO before;
// the typed call then stays with it, as its correction. A look-up asks as one.
bool SettleTypedCall(DropCause asking = DropCause::CallTyped);
// Leaving the call box settles the call typed there.
void SettleTypedCallOnLeaving(QLineEdit* callBox, Qt::FocusReason reason);

// A name, QTH or report put into its box of the main or the SSTV window (a
// pick, a list, the earlier QSOs, the log entry, the report's preset). A call
// goes in only by QsoBoxesDoor: a call box given here is left as it is.
void PutIntoQsoBox(QLineEdit* box, const QString& text);
// The operator's own keys or input method: `typed` goes in at the caret, over
// the selection.
void TypeIntoQsoBox(QLineEdit* box, const QString& typed);
// The operator's No to leaving a record on show puts back what the box held.
void PutBackQsoBox(QLineEdit* box, const QString& before);

// Before a mode change, the program's end or a change of link: the QSO the
// boxes hold goes only with the operator's word. True when the action may go on.
bool MayDropHandedOverQso(DropCause cause = DropCause::ModeChange);
// Another call given to the logging program starts its entry anew: while a
// QSO with another call is handed over and not stored, only with the
// operator's word (the QSO and its boxes are then dropped, the call kept).
bool MaySendAnotherCall(const QString& call);

} // namespace logwindows
