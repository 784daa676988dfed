#pragma once
// The one refusal of every writer of a Shift-JIS file, form or engine text: a
// character that would come back as another (cp932::uncarried) is named with
// the box that holds it, and the box keeps the text and gets the focus.
#include "platform/forms/text/ShownLines.h"

#include <QString>

class QWidget;

namespace ui {

// True when the text comes back as typed. Otherwise the operator is told
// 「box」の「characters」は{what}できない文字です。 with the request to mend it
// (what says where the text goes: "PSKMEMO.DAT に保存", "スポット情報として送信"),
// the box (when given) gets the focus, and false: nothing is to be written.
bool shiftJisHolds(const QString& text, QWidget* box, const QString& boxName, const QString& what);

// The same for a writer whose file finds the characters it lacks itself (the
// settings file in its own encoding): true when there are none.
bool heldOrSaid(const QString& lost, QWidget* box, const QString& boxName, const QString& what);

} // namespace ui
