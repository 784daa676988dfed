#pragma once
// The link with the logging program's running window (HamlogLink = 2): the
// QSO is handed over item by item, stored or dropped there, and name, QTH and
// record count are asked for. Every operation first looks for the program and
// says "Turbo HAMLOG/Winが起動していません。" when it is not running.
#include <optional>

namespace logwindows {

void HamlogSaveEntry();
void HamlogClearEntry();
// Call sign, [contest number], [rig frequency], mode and RST sent, then the
// name and QTH exchange: what only one side knows ends up on both.
void HamlogSendQso();
// The logging program's record count; nothing when the program is not running
// or did not answer this very request (the operator has been told). An answer
// that holds no count throws std::runtime_error.
std::optional<int> HamlogAskRecNo();
// Name and QTH requests: the reply is kept in HamlogNameReply / HamlogQthReply
// and, unless a QSO is being sent, written into the box. False without a fresh reply.
bool HamlogAskName();
bool HamlogAskQth();
void HamlogSendName();
void HamlogSendQth();
// The RST box again, as the QSO's hand-over sends it.
void HamlogSendRst();
// At the end of the run: the logging program this run started is closed
// through its window, or ended by its process id while it has no window yet
// (still starting), so that it never outlives the run.
void EndStartedLoggingProgram();

// One action of the operator (a press of the log button) while it lasts: a
// logging program that fails a message is said once, as not answering when it
// was reached and did not answer, and the action's later messages are not
// sent, so that a stopped program costs one wait and one word.
class HamlogAction {
  public:
    HamlogAction();
    ~HamlogAction();
    HamlogAction(const HamlogAction&) = delete;
    HamlogAction& operator=(const HamlogAction&) = delete;
    // A message of this action has failed.
    static bool failed();
};

} // namespace logwindows
