#include "logwindows/entry/LogButton.h"

#include "core/Globals.h"
#include "log/ContestSave.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "platform/forms/ControlColour.h"
#include "platform/forms/Dialogs.h"

#include <QLineEdit>
#include <QPushButton>

namespace logwindows {

namespace {

constexpr std::uint32_t kPendingRed = 0x0000FF;
constexpr std::uint32_t kIdleGrey = 0xC0C0C0;

void showPending(QPushButton* button) {
    colour::setBackColor(button, kPendingRed);
    button->setText(QStringLiteral("LOG保存"));
}

void showIdle(QPushButton* button) {
    core::g.HamlogEntrySent = 0;
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

void handOver(QPushButton* button) {
    if (!hasCall() || !hasSerial()) return;
    const std::optional<int> count = HamlogAskRecNo();
    if (!count) return;
    logbook::g.RecNoAtSend = *count;
    core::g.HamlogEntrySent = 1;
    HamlogSendQso();
    showPending(button);
}

void stored(QPushButton* button, int count, const std::function<void()>& nextContestNo) {
    showIdle(button);
    if (count - logbook::g.RecNoAtSend == 1 && core::g.ContestSerialNo == 1 && nextContestNo) nextContestNo();
}

// Stores the handed-over QSO and checks by the record count that it is there.
void storeNow(QPushButton* button, const std::function<void()>& nextContestNo) {
    HamlogSaveEntry();
    const std::optional<int> count = HamlogAskRecNo();
    if (count && *count - logbook::g.RecNoAtSend == 1) {
        stored(button, *count, nextContestNo);
        return;
    }
    ui::msgBox(QStringLiteral("LOG_SAVE を失敗しました"), ui::OkOnly);
}

void storeOrDrop(QPushButton* button, const std::function<void()>& nextContestNo) {
    // Without a readable count nothing is known: the QSO stays pending.
    const std::optional<int> count = HamlogAskRecNo();
    if (!count) return;
    if (*count != logbook::g.RecNoAtSend) {
        stored(button, *count, nextContestNo);
        return;
    }
    if (logbook::g.HamlogConfirmOn != 1) {
        storeNow(button, nextContestNo);
        return;
    }
    switch (ui::msgBox(QStringLiteral("LOG を保存しますか？"), ui::YesNoCancel,
                       QStringLiteral("ZORVATEK_LOG_SAVE"))) {
    case ui::Yes:
        storeNow(button, nextContestNo);
        break;
    case ui::No:
        HamlogClearEntry();
        showIdle(button);
        break;
    default:
        break;
    }
}

} // namespace

void LogButtonPress(QPushButton* button, const std::function<void()>& nextContestNo) {
    try {
        if (logbook::g.HamlogLink == 1) {
            OpenLogEntry();
        } else if (logbook::g.HamlogLink == 2) {
            if (core::g.HamlogEntrySent == 0)
                handOver(button);
            else
                storeOrDrop(button, nextContestNo);
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
    const QsoBoxes boxes = operatingBoxes();
    if (boxes.logButton)
        showIdle(boxes.logButton);
    else
        core::g.HamlogEntrySent = 0;
    // The spot's station takes the boxes: the dropped station's name and QTH
    // would otherwise go to the logging program with it.
    if (cause == DropCause::Spot)
        for (QLineEdit* box : {boxes.name, boxes.qth})
            if (box) box->clear();
    return true;
}

void LogKeyPress() {
    if (logbook::g.HamlogLink == 1)
        OpenLogEntry();
    else if (logbook::g.HamlogLink == 2 && hasCall() && hasSerial())
        HamlogSendQso();
}

} // namespace logwindows
