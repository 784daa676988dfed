#include "logwindows/CheckCallSign.h"

#include "log/LogGlobals.h"
#include "logwindows/HamlogLink.h"

namespace logwindows {

CallCheck callCheck;

namespace {

// The library link's look-ups (earlier QSOs, JCA, prefix) come with the
// call-sign check of the log database; until then the call is taken as it is.
bool LookUpCall(const QString& call) {
    return !call.trimmed().isEmpty();
}

} // namespace

bool CheckCallSign(const QString& call) {
    switch (logbook::g.HamlogLink) {
    case 1:
        return LookUpCall(call);
    case 2:
        HamlogSendQso();
        return true;
    default:
        return true;
    }
}

} // namespace logwindows
