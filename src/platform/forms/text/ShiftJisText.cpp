#include "platform/forms/text/ShiftJisText.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"

#include <QWidget>

namespace ui {

QString unstorableText(const QString& characters, const QString& box, const QString& what) {
    return QStringLiteral("「%1」の「%2」は%3できない文字です。\n別の文字に直して下さい。")
        .arg(box, characters, what);
}

bool shiftJisHolds(const QString& text, QWidget* box, const QString& boxName, const QString& what) {
    const QString lost = cp932::uncarried(text);
    if (lost.isEmpty()) return true;
    msgBox(unstorableText(lost, boxName, what), OkOnly | Exclamation);
    // After the message: its closing gives the focus back to where it was.
    if (box) box->setFocus();
    return false;
}

} // namespace ui
