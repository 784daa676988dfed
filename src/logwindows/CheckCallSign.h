#pragma once
// The look-up run when a call sign has been entered: with the window link
// (HamlogLink 2) the QSO is handed to the logging program; with the library
// link (1) the earlier-QSO, JCA and prefix look-ups run; with no link (0)
// nothing happens.
#include <QString>

namespace logwindows {

struct CallCheck {
    // 1: the next check only searches the earlier QSOs of SearchCall.
    int CallSearchOnly = 0;
    QString SearchCall;
};

extern CallCheck callCheck;

// False when the call does not serve (the caller says "CallSign 不備です").
bool CheckCallSign(const QString& call);

} // namespace logwindows
