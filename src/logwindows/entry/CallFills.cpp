#include "logwindows/entry/CallFills.h"

#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/controls/StatusPanels.h"

#include <QLineEdit>
#include <QVariant>

#include <optional>

namespace logwindows {

namespace {

// The fill is kept on the box itself, so that it goes with the box's window.
constexpr const char* kFilledFor = "zvFilledFor";
constexpr const char* kFilledText = "zvFilledText";

QString callKey(const QString& call) {
    return call.trimmed().toUpper();
}

// The call the box's text was filled for; nothing once the operator changed it.
std::optional<QString> filledFor(const QLineEdit* box) {
    const QVariant call = box->property(kFilledFor);
    if (!call.isValid() || box->text() != box->property(kFilledText).toString()) return std::nullopt;
    return call.toString();
}

} // namespace

void FillForCall(QLineEdit* box, const QString& text, const QString& call) {
    if (!box) return;
    box->setText(text);
    box->setProperty(kFilledFor, callKey(call));
    box->setProperty(kFilledText, box->text());
}

bool EmptyForCall(const QLineEdit* box, const QString& call) {
    if (!box || box->text().trimmed().isEmpty()) return true;
    const std::optional<QString> filled = filledFor(box);
    return filled && *filled != callKey(call);
}

void DropFillsOfOtherCalls(const QString& call) {
    const QsoBoxes boxes = operatingBoxes();
    QList<QLineEdit*> filled = {boxes.name, boxes.qth};
    if (forms::isLoaded<TEMP_LOG>()) {
        TEMP_LOG& log = forms::TEMP_LOG();
        filled << log.Text12 << log.Text13 << log.Text9 << log.Text10;
    }
    bool dropped = false;
    for (QLineEdit* box : filled) {
        if (!box || box->text().isEmpty() || !EmptyForCall(box, call)) continue;
        box->clear();
        ForgetFill(box);
        dropped = true;
    }
    // The status line's QTH and name came with them.
    if (dropped && boxes.status) boxes.status->setText(1, QString());
}

void ForgetFill(QLineEdit* box) {
    box->setProperty(kFilledFor, QVariant());
    box->setProperty(kFilledText, QVariant());
}

} // namespace logwindows
