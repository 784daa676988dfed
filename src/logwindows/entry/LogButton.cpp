#include "logwindows/entry/LogButton.h"

#include "core/Globals.h"
#include "log/ContestSave.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogCharacters.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/os/Clock.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>
#include <QPushButton>

namespace logwindows {

namespace {

constexpr std::uint32_t kPendingRed = 0x0000FF;
constexpr std::uint32_t kIdleGrey = 0xC0C0C0;

// The hand-over state has one owner: every way of handing a QSO over (the log
// button of either window, Ctrl+L) marks it here and every way out (stored,
// dropped, cleared, a save that failed) ends it here, so that a spot or the
// program's end asks about exactly the QSO still waiting in the logging program.
void markPending(int recNoAtSend) {
    logbook::g.RecNoAtSend = recNoAtSend;
    core::g.HamlogEntrySent = 1;
    if (QPushButton* button = operatingBoxes().logButton) {
        colour::setBackColor(button, kPendingRed);
        button->setText(QStringLiteral("LOG保存"));
    }
}

void showIdle(QPushButton* button) {
    colour::setBackColor(button, kIdleGrey);
    button->setText(QStringLiteral("LOG作成"));
}

// An empty call box would be handed over and then fail to store.
bool hasCall() {
    if (!textOf(operatingBoxes().call).trimmed().isEmpty()) return true;
    ui::msgBox(QStringLiteral("CALL DATA がありません"), ui::OkOnly);
    return false;
}

// A mistyped serial box would be handed over as the serial sent.
bool hasSerial() {
    if (core::g.ContestSerialNo != 1 || logbook::isSerialText(textOf(operatingBoxes().contestNo)))
        return true;
    ui::msgBox(QStringLiteral("Contest ナンバーが正しくありません"), ui::OkOnly);
    return false;
}

logbook::Globals::HandedOverQso boxesNow() {
    const QsoBoxes boxes = operatingBoxes();
    return {textOf(boxes.call).trimmed(), textOf(boxes.rst).trimmed(),       textOf(boxes.name).trimmed(),
            textOf(boxes.qth).trimmed(),  textOf(boxes.contestNo).trimmed(), true};
}

void sendQso() {
    HamlogSendQso();
    logbook::g.HandedOver = boxesNow();
}

QString minuteNow() {
    return sysclock::jstNow().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The log entry on show holds the record just stored from it.
bool entryShowsStored() {
    const logbook::Globals& g = logbook::g;
    return g.HamlogLink == 1 && forms::isLoaded<TEMP_LOG>() && forms::TEMP_LOG().isVisible() &&
           g.LogEditMode == 1 && g.LogEntrySaved == 1;
}

bool notJustStored() {
    return MayStoreAgain(textOf(operatingBoxes().call));
}

void handOver() {
    if (!hasCall() || !hasSerial() || !QsoBoxesHold() || !notJustStored()) return;
    const std::optional<int> count = HamlogAskRecNo();
    if (!count) return;
    markPending(*count);
    sendQso();
}

// Corrections made in the boxes since the hand-over go to the logging
// program's entry before it is stored, so that the log holds what the boxes
// show. A name or QTH the operator changed or emptied is theirs, also where
// the logging program knows another one. An entry that holds another call now (started
// anew by whatever sent one, or lost with a restarted program) takes the
// whole QSO again.
void handOverChanges() {
    const logbook::Globals::HandedOverQso before = logbook::g.HandedOver, now = boxesNow();
    const bool entryHeld = hamlog::window::heldCall() == now.call;
    if (before == now && entryHeld) return;
    if (!before.current || !entryHeld || before.call != now.call || before.contestNo != now.contestNo) {
        sendQso();
    } else if (before.rst != now.rst) {
        HamlogSendRst();
    }
    if (before.current && before.name != now.name) HamlogSendName();
    if (before.current && before.qth != now.qth) HamlogSendQth();
    logbook::g.HandedOver = boxesNow();
}

void stored(int count, const std::function<void()>& nextContestNo) {
    NoteStored(logbook::g.HandedOver.call);
    EndHandOver();
    if (count - logbook::g.RecNoAtSend == 1 && core::g.ContestSerialNo == 1 && nextContestNo) nextContestNo();
}

bool addedOne(const std::optional<int>& count) {
    return count && *count - logbook::g.RecNoAtSend == 1;
}

// Stores the handed-over QSO and checks by the record count that it is there;
// a count that has not grown yet is asked once more. A logging program that
// does not answer ends the press at its first failed message, told once; it
// may take the save late, and the next press asks the count first, so that a
// late save counts as stored. A save that did not add the record (the logging
// program restarted with an empty entry, say) keeps the QSO pending: the next
// press asks the count first, and otherwise hands the whole QSO over again
// before storing it.
void storeNow(const std::function<void()>& nextContestNo) {
    handOverChanges();
    HamlogSaveEntry();
    std::optional<int> count = HamlogAskRecNo();
    if (!addedOne(count)) count = HamlogAskRecNo();
    if (addedOne(count)) {
        stored(*count, nextContestNo);
        return;
    }
    logbook::g.HandedOver.current = false;
    // A program that failed a message has been told of already.
    if (!HamlogAction::failed()) ui::msgBox(QStringLiteral("LOG_SAVE を失敗しました"), ui::OkOnly);
}

// A QSO handed over and stored since (late, or by the operator in the logging
// program) ends the hand-over; true then.
bool storedMeanwhile(int count, const std::function<void()>& nextContestNo) {
    if (count == logbook::g.RecNoAtSend) return false;
    stored(count, nextContestNo);
    return true;
}

void storeOrDrop(const std::function<void()>& nextContestNo) {
    // Without a readable count nothing is known: the QSO stays pending.
    const std::optional<int> count = HamlogAskRecNo();
    if (!count || storedMeanwhile(*count, nextContestNo)) return;
    // What the boxes hold at the press is what is stored: mended first where the log cannot hold it.
    if (!hasCall() || !QsoBoxesHold()) return;
    if (logbook::g.HamlogConfirmOn != 1) {
        storeNow(nextContestNo);
        return;
    }
    switch (ui::msgBox(QStringLiteral("LOG を保存しますか？"), ui::YesNoCancel,
                       QStringLiteral("ZORVATEK_LOG_SAVE"))) {
    case ui::Yes:
        storeNow(nextContestNo);
        break;
    case ui::No:
        HamlogClearEntry();
        EndHandOver();
        break;
    default:
        break;
    }
}

// The library link's entry: a new one, unless it would store the QSO just
// stored again and the operator says no.
void openEntry() {
    if (notJustStored()) OpenLogEntry();
}

} // namespace

void NoteStored(const QString& call) {
    logbook::g.StoredCall = call.trimmed();
    logbook::g.StoredMinute = minuteNow();
    logbook::g.StoredBoxes = boxesNow();
}

// A second click of a double click on the red button, say, the log button
// pressed again while the entry shows the QSO it stored, or F1 on a new page
// of the same call, would store the QSO just stored a second time: that goes
// only with the operator's word.
bool MayStoreAgain(const QString& call) {
    logbook::Globals& g = logbook::g;
    if (g.StoredCall.isEmpty() || g.StoredCall != call.trimmed() ||
        (g.StoredMinute != minuteNow() && !entryShowsStored()))
        return true;
    if (ui::msgBox(QStringLiteral("このQSOは保存したばかりです。\r\nもう一度LOG作成しますか？"),
                   ui::YesNo | ui::Question | ui::DefaultButton2) != ui::Yes)
        return false;
    g.StoredCall.clear();
    return true;
}

void EndHandOver() {
    core::g.HamlogEntrySent = 0;
    logbook::g.HandedOver = {};
    if (forms::isLoaded<PSK31MAIN>()) showIdle(forms::PSK31MAIN().Command5);
    if (forms::isLoaded<SSTVForm>()) showIdle(forms::SSTVForm().Command1);
}

namespace {

// The call typed last is the QSO's before it goes to the log. A No to
// letting the QSO before go keeps it with the call as its correction, and
// the press goes on with it.
void settleForLog() {
    const int link = logbook::g.HamlogLink;
    if (link == 1 || link == 2) SettleTypedCall();
}

// An unreadable answer of the logging program ends the press with a word.
void guarded(const std::function<void()>& press) {
    const HamlogAction action;
    try {
        press();
    } catch (const std::exception& e) {
        qWarning("log button: %s", e.what());
        ui::msgBox(QStringLiteral("LOG Save Err"), ui::OkOnly);
    }
}

} // namespace

void LogButtonPress(const std::function<void()>& nextContestNo) {
    settleForLog();
    if (logbook::g.HamlogLink == 1) {
        guarded(openEntry);
    } else if (logbook::g.HamlogLink == 2) {
        guarded([&] {
            if (core::g.HamlogEntrySent == 0)
                handOver();
            else
                storeOrDrop(nextContestNo);
        });
    }
}

// The key hands the QSO over as the button's first press does, also when one
// is pending already: the logging program's entry then takes the boxes anew.
// A pending QSO that has been stored meanwhile is not handed over twice.
void LogKeyPress(const std::function<void()>& nextContestNo) {
    settleForLog();
    if (logbook::g.HamlogLink == 1) {
        openEntry();
        return;
    }
    if (logbook::g.HamlogLink != 2) return;
    guarded([&] {
        if (core::g.HamlogEntrySent == 1) {
            const std::optional<int> count = HamlogAskRecNo();
            if (!count || storedMeanwhile(*count, nextContestNo)) return;
        }
        handOver();
    });
}

} // namespace logwindows
