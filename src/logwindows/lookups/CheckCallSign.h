#pragma once
// The look-up run when a call sign has been entered: with the window link
// (HamlogLink 2) the QSO is handed to the logging program; with the library
// link (1) the entry is prepared for a new station, the call is split at its
// last "/", and the earlier-QSO, JCA and prefix look-ups run in this order,
// ending in one message such as "１ｓｔ　ＱＳＯ　です。"; with no link (0)
// nothing happens.
#include <QString>

namespace logwindows {

struct CallCheck {
    // 1: the next check only lists the earlier QSOs of SearchCall and leaves
    // the log entry alone; cleared at the end of every check.
    int CallSearchOnly = 0;
    QString SearchCall;
    // The call last checked: what its look-ups fill belongs to it.
    QString Call;
};

extern CallCheck callCheck;

// False when the call holds nothing to look up (the operator has been asked to
// enter one; the caller says "CallSign 不備です").
bool CheckCallSign(const QString& call);

} // namespace logwindows
