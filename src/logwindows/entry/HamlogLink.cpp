#include "logwindows/entry/HamlogLink.h"

#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogCharacters.h"
#include "logwindows/entry/QsoBoxes.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/hamlog/HamlogWindowLinkReplies.h"
#include "platform/os/ProcessStop.h"
#include "rig/RigGlobals.h"

#include <QLineEdit>

#include <stdexcept>

namespace logwindows {

namespace {

namespace link = hamlog::window;

const QString kNotRunning = QStringLiteral("Turbo HAMLOG/Winが起動していません。");

struct ActionState {
    int depth = 0;
    bool failed = false;
} action;

// A failed message of an action: said once, the action's later ones skipped.
// A program that does not answer is told as such; the word comes without
// waiting for the operator, so that what they clicked meanwhile still acts.
void failedOnce(const QString& unreachable) {
    const bool inAction = action.depth > 0;
    if (inAction && action.failed) return;
    if (inAction) action.failed = true;
    if (link::lastFailure() == link::Failure::NoAnswer)
        ui::notice(QStringLiteral("Turbo HAMLOG/Winが応答しません。"));
    else
        ui::msgBox(unreachable, ui::OkOnly);
}

// The logging program's window, or 0 after telling the operator it is not running.
qintptr findProgram() {
    if (action.depth > 0 && action.failed) return 0;
    const qintptr window = link::findWindow();
    if (window >= 1) return window;
    if (action.depth > 0) action.failed = true;
    ui::msgBox(kNotRunning, ui::OkOnly);
    return 0;
}

// Sends one item; false (after saying so) when the program has gone.
bool sendItem(qintptr window, quint32 code, const QString& text = {}) {
    if (link::sendCopyData(window, link::item(code, text))) return true;
    failedOnce(kNotRunning);
    return false;
}

void sendToProgram(quint32 code, const QString& text = {}) {
    if (const qintptr window = findProgram()) sendItem(window, code, text);
}

// One request; the reply text of this request only.
std::optional<QString> request(quint32 code, const QString& key) {
    const qintptr window = findProgram();
    if (!window) return std::nullopt;
    logbook::g.HamlogRequestKey = key;
    std::optional<QString> reply;
    const bool handled = link::sendCopyData(window, link::item(code), [&reply](const link::CopyData& data) {
        if (auto t = link::replyText(data)) reply = t;
    });
    if (!handled) {
        failedOnce(QStringLiteral("読み取りエラー(^^ゞ"));
        return std::nullopt;
    }
    return reply;
}

// A call starts the program's entry anew: a QSO handed over goes whole again at its save.
bool sendCall(qintptr window, const QString& call) {
    logbook::g.HandedOver.current = false;
    return sendItem(window, link::HamlogItemCall, call);
}

// The logging program answers for the call its entry holds: it is given the
// call in the boxes first, unless it holds that call already. Another call
// would start its entry anew, in place of a QSO handed over and not stored.
bool programHoldsCall(const QString& call) {
    if (!call.isEmpty() && link::heldCall() == call) return true;
    if (call.isEmpty()) {
        ui::msgBox(QStringLiteral("CALL DATA がありません"), ui::OkOnly);
        return false;
    }
    if (!LogFieldsHold({{operatingBoxes().call, QStringLiteral("Call Sign"), call}}) ||
        !MaySendAnotherCall(call))
        return false;
    const qintptr window = findProgram();
    return window && sendCall(window, call);
}

// What the program knows of this call, once its answer is in: the box takes
// it as filled for that call. An empty answer leaves what the box holds, and
// an answer that comes after the operator has typed another call is not theirs.
void fillFromReply(QsoBox* QsoBoxes::*box, const QString& reply, const QString& call) {
    if (reply.isEmpty() || textOf(operatingBoxes().call).trimmed() != call) return;
    FillForCall(operatingBoxes().*box, reply, call);
}

bool takeReply(quint32 code, const QString& key, QString& kept, QsoBox* QsoBoxes::*box) {
    const QString call = textOf(operatingBoxes().call).trimmed();
    const bool sending = logbook::g.HamlogSending == 1;
    if (!sending && !programHoldsCall(call)) return false;
    const std::optional<QString> reply = request(code, key);
    if (!reply) return false;
    kept = *reply;
    if (!sending) fillFromReply(box, kept, call);
    return true;
}

// Name or QTH: an empty box takes the program's; a box the program lacks is sent.
void exchange(QsoBox* QsoBoxes::*box, const QString& boxText, bool asked, const QString& reply,
              const QString& call, void (*send)()) {
    if (!asked) return;
    if (boxText.isEmpty()) fillFromReply(box, reply, call);
    if (reply.isEmpty() && !boxText.isEmpty()) send();
}

} // namespace

HamlogAction::HamlogAction() {
    if (action.depth++ == 0) action.failed = false;
}

HamlogAction::~HamlogAction() {
    --action.depth;
}

bool HamlogAction::failed() {
    return action.depth > 0 && action.failed;
}

void HamlogSaveEntry() {
    logbook::g.HamlogSending = 0;
    sendToProgram(link::HamlogCmdSave);
}

void HamlogClearEntry() {
    logbook::g.HamlogSending = 0;
    sendToProgram(link::HamlogCmdClear);
}

void HamlogSendQso() {
    const qintptr window = findProgram();
    if (!window) return;
    logbook::g.HamlogSending = 1;
    const QsoBoxes boxes = operatingBoxes();
    core::g.HisCall = textOf(boxes.call).trimmed();
    // A name or QTH the logging program gave for another call is not sent
    // with this one: the box takes this call's.
    DropFillsOfOtherCalls(core::g.HisCall);
    const QString rst = textOf(boxes.rst).trimmed();
    const QString name = textOf(boxes.name).trimmed();
    const QString qth = textOf(boxes.qth).trimmed();
    const QString call = core::g.HisCall;
    bool sent = sendCall(window, call);
    if (sent && core::g.ContestSerialNo == 1)
        sent =
            sendItem(window, link::HamlogItemRemarks, textOf(boxes.contestNo) + QStringLiteral("(SendNo) "));
    if (sent && !rig::g.RigFreqText.isEmpty())
        sent = sendItem(window, link::HamlogItemFreq, rig::g.RigFreqText);
    if (sent) sent = sendItem(window, link::HamlogItemMode, core::g.ModeDisplayText);
    if (sent) sent = sendItem(window, link::HamlogItemField4, rst);
    if (sent)
        exchange(&QsoBoxes::name, name, HamlogAskName(), logbook::g.HamlogNameReply, call, HamlogSendName);
    if (sent) exchange(&QsoBoxes::qth, qth, HamlogAskQth(), logbook::g.HamlogQthReply, call, HamlogSendQth);
    logbook::g.HamlogSending = 0;
}

std::optional<int> HamlogAskRecNo() {
    const std::optional<QString> reply = request(link::HamlogReqRecNo, QStringLiteral("RecNo"));
    if (!reply) return std::nullopt;
    const std::optional<int> count = link::recordCountOf(*reply);
    if (!count) throw std::runtime_error("the logging program's record count is unreadable");
    logbook::g.HamlogReplyRecNo = *count;
    return count;
}

bool HamlogAskName() {
    return takeReply(link::HamlogReqName, QStringLiteral("NAME"), logbook::g.HamlogNameReply,
                     &QsoBoxes::name);
}

bool HamlogAskQth() {
    return takeReply(link::HamlogReqQth, QStringLiteral("QTH"), logbook::g.HamlogQthReply, &QsoBoxes::qth);
}

void HamlogSendName() {
    sendToProgram(link::HamlogItemName, textOf(operatingBoxes().name));
}

void HamlogSendQth() {
    sendToProgram(link::HamlogItemQth, textOf(operatingBoxes().qth));
}

void HamlogSendRst() {
    sendToProgram(link::HamlogItemField4, textOf(operatingBoxes().rst).trimmed());
}

void EndStartedLoggingProgram() {
    logbook::Globals& l = logbook::g;
    if (l.HamlogStartResult != 1) return;
    const qintptr window = link::findWindow();
    if (window <= 0)
        process::askToEnd(l.HamlogProcessId);
    else if (!link::postClose(window))
        ui::msgBox(QStringLiteral("HAMLOGの終了に失敗しました、後で終了させて下さい。"), ui::OkOnly);
    l.HamlogStartResult = 0;
    l.HamlogProcessId = 0;
}

} // namespace logwindows
