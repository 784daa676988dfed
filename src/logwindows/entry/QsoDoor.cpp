#include "logwindows/entry/QsoDoor.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>

namespace logwindows {

namespace {

bool sstvMode() {
    return core::g.OpMode == core::ModeSstv;
}

QString fixedReport() {
    return sstvMode() ? QStringLiteral("595") : QStringLiteral("599");
}

// The report sent that a new QSO starts with.
QString presetReport() {
    const core::Globals& g = core::g;
    const bool preset = g.ContestMode != 0 ? g.ContestRst599 == 1 : g.HisRstPresetOn == QLatin1String("1");
    return preset ? fixedReport() : QString();
}

// A QSO box as the door writes it: its writers are the door's alone.
QLineEdit* writable(QsoBox* box) {
    return box;
}

// The call whose station the other boxes hold: the one the door put in, or
// the operator's typed call once it settled. A call still being typed over it
// is none yet; while nothing has settled, the call box's own.
constexpr const char* kStationCall = "zvStationCall";

QString stationCall(const QsoBoxes& b) {
    const QString settled = b.call ? b.call->property(kStationCall).toString() : QString();
    return settled.isEmpty() ? textOf(b.call).trimmed() : settled;
}

void settleOn(QLineEdit* call) {
    if (call) call->setProperty(kStationCall, call->text().trimmed());
}

bool bringsCall(DropCause cause) {
    return cause == DropCause::Spot || cause == DropCause::Lookup || cause == DropCause::FskId ||
           cause == DropCause::Typed;
}

// Every box of the QSO emptied, the report back to its preset; the earlier-QSO
// and area-code lists and the status line's QTH and name went with its station.
void emptyBoxes(bool focusCall = true) {
    const QsoBoxes b = operatingBoxes();
    if (!b.call) return;
    forms::unload<::QSODATA>();
    if (!sstvMode()) forms::PSK31MAIN().List1->hide();
    for (QLineEdit* box : {b.call, b.name, b.qth}) {
        box->clear();
        ForgetFill(box);
    }
    settleOn(b.call);
    writable(b.rst)->setText(presetReport());
    (sstvMode() ? forms::SSTVForm().Check4 : forms::PSK31MAIN().Check4)->setChecked(false);
    forms::unload<::CODE_LIST>();
    b.status->setText(1, QString());
    if (focusCall) b.call->setFocus();
}

// After a contest QSO stored: the next station's call and name; the QTH box
// holds the exchange the contest keeps.
void emptyForNextContestQso() {
    const QsoBoxes b = operatingBoxes();
    if (!b.call) return;
    writable(b.call)->clear();
    writable(b.name)->clear();
    settleOn(b.call);
    if (core::g.ContestRst599 == 1) writable(b.rst)->setText(fixedReport());
}

// A name, QTH or report typed into the boxes: a look-up's fill is no typing,
// nor a report at its preset.
bool typedIntoBoxes(const QsoBoxes& b) {
    const QString rst = textOf(b.rst).trimmed();
    return !EmptyForCall(b.name, QString()) || !EmptyForCall(b.qth, QString()) ||
           (!rst.isEmpty() && rst != presetReport());
}

// For the QSO just stored: a name, QTH or report typed since it was stored.
bool typedSinceStored(const QsoBoxes& b) {
    const logbook::Globals::HandedOverQso& was = logbook::g.StoredBoxes;
    const auto changed = [](const QLineEdit* box, const QString& stored) {
        return !EmptyForCall(box, QString()) && textOf(box).trimmed() != stored;
    };
    const QString rst = textOf(b.rst).trimmed();
    return changed(b.name, was.name) || changed(b.qth, was.qth) ||
           (!rst.isEmpty() && rst != presetReport() && rst != was.rst);
}

// The boxes hold the QSO of `station`, not stored yet, with a name, QTH or
// report typed for it; for the QSO just stored, typed since. For an FSK ID
// the call alone counts too, unless an earlier ID put it there.
bool typedQsoOf(const QsoBoxes& b, DropCause cause, const QString& station) {
    if (station.isEmpty()) return false;
    const QString call = textOf(b.call).trimmed();
    const bool idOverCall = cause == DropCause::FskId && !call.isEmpty() && call != logbook::g.StoredCall &&
                            !EmptyForCall(b.call, QString());
    if (station == logbook::g.StoredCall) return typedSinceStored(b) || idOverCall;
    return typedIntoBoxes(b) || idOverCall;
}

// The log entry holds what the operator typed into it beyond what the boxes
// gave it: corrections to a record on show, a name or QTH of its own, a
// code, locator, remark or exchange. A call a pick put there alone is no QSO
// in progress.
bool entryTyped(const QsoBoxes& b) {
    if (logbook::g.LogEditMode == 1) return true;
    const TEMP_LOG& w = forms::TEMP_LOG();
    const auto own = [](const QLineEdit* box, const QString& given) {
        const QString text = box->text().trimmed();
        return !text.isEmpty() && text != given.trimmed() && !EmptyForCall(box, QString());
    };
    const QString myRst = w.Text6->text().trimmed();
    return own(w.Text12, textOf(b.name)) || own(w.Text13, textOf(b.qth)) || own(w.Text9, {}) ||
           own(w.Text10, {}) || own(w.Text14, {}) || own(w.Text15, {}) ||
           (!myRst.isEmpty() && (core::g.ContestRst599 != 1 || myRst != fixedReport()));
}

// The boxes hold another station than the one `call` brings: its call, and
// what went with it, none of it a QSO in progress (stored and not typed into
// since, or never typed). Without a log the operator's typing stays, as it did.
bool holdsStationBefore(const QsoBoxes& b, const QString& call) {
    const QString before = stationCall(b);
    if (before.isEmpty() || before == call) return false;
    return before == logbook::g.StoredCall ? !typedSinceStored(b) : !typedIntoBoxes(b);
}

enum class Held { Nothing, HandedOver, Entry, Typed };

// What of another station the boxes hold, that `call` (or emptying them)
// would drop.
Held heldBy(DropCause cause, const QString& call) {
    const logbook::Globals& g = logbook::g;
    if (cause == DropCause::Typed || cause == DropCause::ContestNext) return Held::Nothing;
    const bool handedOver = g.HamlogLink == 2 && core::g.HamlogEntrySent == 1;
    const QsoBoxes b = operatingBoxes();
    const QString station = stationCall(b);
    if (bringsCall(cause) || cause == DropCause::SpotPicked || cause == DropCause::CallTyped) {
        if (handedOver) return call == g.HandedOver.call ? Held::Nothing : Held::HandedOver;
        if (call == station) return Held::Nothing;
        if (g.HamlogLink == 1 && EntryUnsaved() && (typedQsoOf(b, cause, station) || entryTyped(b)))
            return Held::Entry;
        // Without a log nothing typed would be stored with another call; an
        // FSK ID still leaves the operator's typing alone.
        const bool logged = g.HamlogLink != 0 || cause == DropCause::FskId;
        return logged && typedQsoOf(b, cause, station) ? Held::Typed : Held::Nothing;
    }
    if (handedOver) return Held::HandedOver;
    if (g.HamlogLink == 1 && EntryUnsaved()) return Held::Entry;
    // The other window's boxes, or none at all, would not hold it.
    const bool goes = cause == DropCause::ModeChange || cause == DropCause::ProgramEnd;
    return goes && g.HamlogLink != 0 && typedQsoOf(b, cause, station) ? Held::Typed : Held::Nothing;
}

QString dropQuestion(DropCause cause) {
    switch (cause) {
    case DropCause::Spot:
    case DropCause::SpotPicked:
        return QStringLiteral("スポットを選ぶとこのQSOは破棄されます。選びますか？");
    case DropCause::ProgramEnd:
        return QStringLiteral("終了するとこのQSOは破棄されます。終了しますか？");
    case DropCause::Lookup:
        return QStringLiteral("別のCALLを問い合わせるとこのQSOは破棄されます。問い合わせますか？");
    case DropCause::LinkChange:
        return QStringLiteral("ＬＯＧ連携を変更するとこのQSOは破棄されます。変更しますか？");
    case DropCause::Clear:
        return QStringLiteral("消去するとこのQSOは破棄されます。消去しますか？");
    case DropCause::CallTyped:
        return QStringLiteral("CALLが変わりました。このQSOを破棄して新しい局にしますか？\r\n"
                              "（いいえ: CALLの訂正としてこのQSOに残します）");
    default:
        return QStringLiteral("モードを変更するとこのQSOは破棄されます。変更しますか？");
    }
}

bool operatorLetsGo(Held held, DropCause cause) {
    switch (held) {
    case Held::Nothing:
        return true;
    case Held::Entry:
        return AgreesToDropUnsaved();
    case Held::HandedOver:
        return ui::msgBox(QStringLiteral("LOG作成で渡したQSOがまだ保存されていません。\r\n") +
                              dropQuestion(cause),
                          ui::YesNo | ui::Question, QStringLiteral("ZORVATEK_LOG_SAVE")) == ui::Yes;
    case Held::Typed:
        return ui::msgBox(QStringLiteral("入力中のQSOがまだ保存されていません。\r\n") + dropQuestion(cause),
                          ui::YesNo | ui::Question) == ui::Yes;
    }
    return false;
}

// Everything of the station let go: the logging program's entry or the log
// entry, then the boxes (they go with the program anyway at its end).
void dropHeld(Held held, DropCause cause) {
    if (held == Held::HandedOver) {
        HamlogClearEntry();
        EndHandOver();
    } else if (held == Held::Entry && cause != DropCause::ProgramEnd) {
        forms::TEMP_LOG().closeByOperator();
        forms::unload<TEMP_LOG>();
    }
    if (held != Held::Nothing && cause != DropCause::ProgramEnd) emptyBoxes();
}

// What belonged to the station before goes with it: its boxes, and with the
// library link the log entry's fields (a fresh entry, as the clear button
// starts one), so that nothing of it is stored with the next call.
// The focus stays where the bringer of the next call puts it.
void forgetStationBefore() {
    if (logbook::g.HamlogLink == 1 && forms::isLoaded<TEMP_LOG>()) StartLogEntry();
    emptyBoxes(false);
}

// The clear button: a fresh log entry, or the logging program's entry emptied.
// The SSTV window's button leaves its boxes without a link.
bool clearBoxes() {
    switch (logbook::g.HamlogLink) {
    case 1:
        // The new entry first: the boxes emptied then turn no page of a
        // stored record and raise no notice of it.
        StartLogEntry();
        emptyBoxes();
        return true;
    case 2:
        emptyBoxes();
        HamlogClearEntry();
        // The logging program's entry is gone: nothing is pending there any more.
        EndHandOver();
        return true;
    default:
        if (!sstvMode()) emptyBoxes();
        return true;
    }
}

void sayIdKept(const QString& call) {
    core::g.StatusMessage =
        QStringLiteral("FSK ID ") + call + QStringLiteral(" を受信しました（入力中のQSOはそのままです）");
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
}

} // namespace

bool QsoBoxesDoor(DropCause cause, const QString& call) {
    const QString newCall = call.trimmed();
    const Held held = heldBy(cause, newCall);
    if (cause == DropCause::FskId && held != Held::Nothing) {
        sayIdKept(newCall);
        return false;
    }
    if (!operatorLetsGo(held, cause)) return false;
    if (cause == DropCause::Clear) return clearBoxes();
    // The operator's own typing of a call in the log entry starts no station:
    // what they write there is theirs to clear.
    const bool another = bringsCall(cause) && cause != DropCause::Typed && held == Held::Nothing &&
                         holdsStationBefore(operatingBoxes(), newCall);
    dropHeld(held, cause);
    if (another) forgetStationBefore();
    if (cause == DropCause::ContestNext) emptyForNextContestQso();
    if (!bringsCall(cause)) return true;
    QLineEdit* box = operatingBoxes().call;
    if (cause == DropCause::FskId)
        FillForCall(box, call, call);
    else if (box && box->text() != call)
        box->setText(call);
    settleOn(box);
    return true;
}

namespace {

// The typed call is the new station's: what belonged to the station before
// goes as a pick lets it go, the log entry (library link) starts afresh, and
// the call goes in again so that the entry takes it. The operator stays
// where they went.
void startStationOfTypedCall(const QString& typed) {
    forgetStationBefore();
    QLineEdit* box = operatingBoxes().call;
    box->setText(typed);
    settleOn(box);
}

} // namespace

bool SettleTypedCall(DropCause asking) {
    const QsoBoxes b = operatingBoxes();
    const QString typed = textOf(b.call).trimmed();
    // An emptied call box settles nothing: the station stays the one before.
    if (typed.isEmpty()) return true;
    if (typed == stationCall(b)) {
        settleOn(b.call);
        return true;
    }
    const Held held = heldBy(DropCause::CallTyped, typed);
    const bool another = held == Held::Nothing && holdsStationBefore(b, typed);
    // Asked once: a box left again while the question is up settles nothing.
    settleOn(b.call);
    if (!operatorLetsGo(held, asking)) return false;
    if (held == Held::HandedOver) {
        HamlogClearEntry();
        EndHandOver();
    }
    if (held != Held::Nothing || another) startStationOfTypedCall(typed);
    return true;
}

void SettleTypedCallOnLeaving(QLineEdit* callBox, Qt::FocusReason reason) {
    // A menu opened over the box is no leaving; a window taking the activation
    // (the operator's click elsewhere, or a notice) is judged once its
    // events have run, unless the operator is back in the box.
    if (reason == Qt::PopupFocusReason) return;
    if (reason != Qt::ActiveWindowFocusReason) {
        if (operatingBoxes().call == callBox) SettleTypedCall();
        return;
    }
    QTimer::singleShot(0, callBox, [box = QPointer<QLineEdit>(callBox)] {
        if (box && operatingBoxes().call == box && !box->hasFocus() && !QApplication::activeModalWidget())
            SettleTypedCall();
    });
}

namespace {

bool isCallBox(const QLineEdit* box) {
    return (forms::isLoaded<PSK31MAIN>() && box == forms::PSK31MAIN().Text5) ||
           (forms::isLoaded<SSTVForm>() && box == forms::SSTVForm().Text1);
}

} // namespace

void PutIntoQsoBox(QLineEdit* box, const QString& text) {
    if (box && !isCallBox(box)) box->setText(text);
}

void TypeIntoQsoBox(QLineEdit* box, const QString& typed) {
    if (box) box->insert(typed);
}

void PutBackQsoBox(QLineEdit* box, const QString& before) {
    if (box) box->setText(before);
}

bool MayDropHandedOverQso(DropCause cause) {
    return QsoBoxesDoor(cause);
}

bool MaySendAnotherCall(const QString& call) {
    if (core::g.HamlogEntrySent != 1 || call.trimmed() == logbook::g.HandedOver.call) return true;
    return QsoBoxesDoor(DropCause::Lookup, call);
}

} // namespace logwindows
