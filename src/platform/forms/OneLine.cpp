#include "platform/forms/OneLine.h"

#include "platform/forms/TextRule.h"

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

} // namespace ui
