#include "platform/forms/text/OneLine.h"

#include "platform/forms/text/TextRule.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>

namespace ui {

namespace {

bool isBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x0B) || c == QChar(0x0C) ||
           c == QChar(0x85) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString oneLine(const QString& text) {
    QString joined;
    joined.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreak(text[i])) {
            joined += text[i];
            continue;
        }
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        joined += QLatin1Char(' ');
    }
    return joined;
}

void keepOneLine(QLineEdit* box) {
    keepRule(box, oneLine);
}

OneLineBoxes::OneLineBoxes() {
    qApp->installEventFilter(this);
}

OneLineBoxes::~OneLineBoxes() {
    if (qApp) qApp->removeEventFilter(this);
}

bool OneLineBoxes::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::Polish) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && !qobject_cast<QAbstractSpinBox*>(box->parent()) && (!box->validator() || keepsRules(box)))
        keepOneLine(box);
    return false;
}

} // namespace ui
