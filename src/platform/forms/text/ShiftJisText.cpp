#include "platform/forms/text/ShiftJisText.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"

#include <QWidget>

namespace ui {

namespace {

// A blank or an invisible character is shown by its code: a no-break space
// looks like a blank, a line separator like nothing.
QString shown(const QString& characters) {
    QString out;
    for (const char32_t c : characters.toUcs4()) {
        if (QChar::isPrint(c) && !QChar::isSpace(c))
            out += QString::fromUcs4(&c, 1);
        else
            out += QStringLiteral("[U+%1]").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

QString unstorableText(const QString& characters, const QString& box, const QString& what) {
    return QStringLiteral("「%1」の「%2」は%3できない文字です。\n別の文字に直して下さい。")
        .arg(box, shown(characters), what);
}

} // namespace

bool shiftJisHolds(const QString& text, QWidget* box, const QString& boxName, const QString& what) {
    return heldOrSaid(cp932::uncarried(text), box, boxName, what);
}

bool heldOrSaid(const QString& lost, QWidget* box, const QString& boxName, const QString& what) {
    if (lost.isEmpty()) return true;
    msgBox(unstorableText(lost, boxName, what), OkOnly | Exclamation);
    // After the message: its closing gives the focus back to where it was.
    if (box) {
        // The box's own window takes the keys again, not the one behind it.
        box->window()->activateWindow();
        box->setFocus();
    }
    return false;
}

} // namespace ui
