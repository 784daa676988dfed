#include "platform/RichTextPane.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
// CR LF and a lone CR are one line break in the pane.
QString normaliseBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

RichTextPane::RichTextPane(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
}

int RichTextPane::length() const {
    return document()->characterCount() - 1;
}

void RichTextPane::setText(const QString& text) {
    setPlainText(QString());
    appendText(text);
}

int RichTextPane::selStart() const {
    return textCursor().selectionStart();
}

int RichTextPane::selLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextPane::setSelStart(int pos) {
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(pos, 0, length()));
    setTextCursor(c);
}

void RichTextPane::setSelLength(int len) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + len, start, length()), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextPane::selText() const {
    QString t = textCursor().selectedText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return t;
}

// An explicit format, so that the text never takes on the colour of the
// character before it; without a chosen colour, none: the pane's own shows.
void RichTextPane::insertAt(QTextCursor& c, const QString& text) {
    QTextCharFormat f;
    if (selColor_.isValid()) f.setForeground(selColor_);
    c.insertText(normaliseBreaks(text), f);
    setTextCursor(c);
}

void RichTextPane::setSelText(const QString& text) {
    QTextCursor c = textCursor();
    insertAt(c, text);
}

void RichTextPane::appendText(const QString& text) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    insertAt(c, text);
}

void RichTextPane::chopEnd(int n) {
    if (n <= 0) return;
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.setPosition(std::max(0, length() - n), QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

void RichTextPane::setWrapMargin(int px) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    setAutoFillBackground(true);
    setViewportMargins(0, 0, px, 0);
}

void RichTextPane::mouseReleaseEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseReleaseEvent(e);
    emit mouseUp(e->globalPosition().toPoint());
}
