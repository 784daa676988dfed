#include "logwindows/entry/LogButton.h"

#include "core/Globals.h"
#include "log/ContestSave.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "platform/forms/ControlColour.h"
#include "platform/forms/Dialogs.h"
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

void handOver() {
    if (!hasCall() || !hasSerial()) return;
    const std::optional<int> count = HamlogAskRecNo();
    if (!count) return;
    markPending(*count);
    HamlogSendQso();
}

void stored(int count, const std::function<void()>& nextContestNo) {
    EndHandOver();
    if (count - logbook::g.RecNoAtSend == 1 && core::g.ContestSerialNo == 1 && nextContestNo) nextContestNo();
}

// Stores the handed-over QSO and checks by the record count that it is there.
// A save that did not add the record (the logging program restarted with an
// empty entry, say) leaves the QSO in the boxes, ready to be handed over again.
void storeNow(const std::function<void()>& nextContestNo) {
    HamlogSaveEntry();
    const std::optional<int> count = HamlogAskRecNo();
    if (count && *count - logbook::g.RecNoAtSend == 1) {
        stored(*count, nextContestNo);
        return;
    }
    EndHandOver();
    ui::msgBox(QStringLiteral("LOG_SAVE を失敗しました"), ui::OkOnly);
}

void storeOrDrop(const std::function<void()>& nextContestNo) {
    // Without a readable count nothing is known: the QSO stays pending.
    const std::optional<int> count = HamlogAskRecNo();
    if (!count) return;
    if (*count != logbook::g.RecNoAtSend) {
        stored(*count, nextContestNo);
        return;
    }
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

} // namespace

void EndHandOver() {
    core::g.HamlogEntrySent = 0;
    if (forms::isLoaded<PSK31MAIN>()) showIdle(forms::PSK31MAIN().Command5);
    if (forms::isLoaded<SSTVForm>()) showIdle(forms::SSTVForm().Command1);
}

void LogButtonPress(const std::function<void()>& nextContestNo) {
    try {
        if (logbook::g.HamlogLink == 1) {
            OpenLogEntry();
        } else if (logbook::g.HamlogLink == 2) {
            if (core::g.HamlogEntrySent == 0)
                handOver();
            else
                storeOrDrop(nextContestNo);
        }
    } catch (const std::exception& e) {
        qWarning("log button: %s", e.what());
        ui::msgBox(QStringLiteral("LOG Save Err"), ui::OkOnly);
    }
}

namespace {

QString dropQuestion(DropCause cause) {
    switch (cause) {
    case DropCause::Spot:
        return QStringLiteral("スポットを選ぶとこのQSOは破棄されます。選びますか？");
    case DropCause::ProgramEnd:
        return QStringLiteral("終了するとこのQSOは破棄されます。終了しますか？");
    default:
        return QStringLiteral("モードを変更するとこのQSOは破棄されます。変更しますか？");
    }
}

} // namespace

bool MayDropHandedOverQso(DropCause cause) {
    if (logbook::g.HamlogLink != 2 || core::g.HamlogEntrySent != 1) return true;
    const ui::MsgResult answer =
        ui::msgBox(QStringLiteral("LOG作成で渡したQSOがまだ保存されていません。\r\n") + dropQuestion(cause),
                   ui::YesNo | ui::Question, QStringLiteral("ZORVATEK_LOG_SAVE"));
    if (answer != ui::Yes) return false;
    HamlogClearEntry();
    EndHandOver();
    const QsoBoxes boxes = operatingBoxes();
    // The spot's station takes the boxes: the dropped station's name and QTH
    // would otherwise go to the logging program with it.
    if (cause == DropCause::Spot)
        for (QLineEdit* box : {boxes.name, boxes.qth})
            if (box) box->clear();
    return true;
}

// The key hands the QSO over as the button's first press does, also when one
// is pending already: the logging program's entry then takes the boxes anew.
void LogKeyPress() {
    if (logbook::g.HamlogLink == 1)
        OpenLogEntry();
    else if (logbook::g.HamlogLink == 2)
        handOver();
}

} // namespace logwindows
