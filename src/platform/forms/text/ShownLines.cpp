#include "platform/forms/text/ShownLines.h"

#include <QAbstractItemView>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace ui {

namespace {

// The mark of a paragraph that goes on the line before it. Kept by the
// paragraph as an edit splits or joins it: a split leaves it on the first
// part, whose start is where it was, and a join on the paragraph joined to.
class ShownBreak : public QTextBlockUserData {};

// The document has held a shown break: its text is read paragraph by paragraph.
const char* const kHoldsShownBreaks = "zvHoldsShownBreaks";

// A break no later than `limit`: after a blank of the last tenth of the
// stretch when there is one, never between the two halves of a character.
qsizetype breakBefore(const QString& text, qsizetype from, qsizetype limit) {
    if (limit <= from) return from;
    for (qsizetype at = limit; at > limit - kShownLineChars / 10 && at > from; --at)
        if (text[at - 1] == QLatin1Char(' ')) return at;
    return text[limit].isLowSurrogate() && text[limit - 1].isHighSurrogate() ? limit - 1 : limit;
}

// Qt measures and paints an item's whole text, in a time that grows faster
// than its length.
class CutItems : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->text.size() > kShownLineChars) option->text.truncate(kShownLineChars);
    }
};

bool isBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QChar::ParagraphSeparator;
}

} // namespace

void insertShown(QTextCursor& cursor, const QString& text) {
    insertShown(cursor, text, cursor.charFormat());
}

void insertShown(QTextCursor& cursor, const QString& given, const QTextCharFormat& format) {
    // One character for each break, as the document makes them.
    const QString text = QString(given)
                             .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                             .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const int start = cursor.position();
    // The text as shown, and where in it the shown breaks stand.
    QString shown;
    shown.reserve(text.size() + text.size() / kShownLineChars + 1);
    std::vector<qsizetype> breaks;
    qsizetype lineStart = -qsizetype(cursor.positionInBlock());
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && isBreak(text[i])) {
            lineStart = i + 1;
            continue;
        }
        if (i == text.size() || i - lineStart < kShownLineChars) continue;
        const qsizetype at = breakBefore(text, std::max(from, lineStart), i);
        shown += QStringView(text).sliced(from, at - from);
        breaks.push_back(shown.size());
        shown += QLatin1Char('\n');
        from = lineStart = at;
    }
    if (breaks.empty()) {
        cursor.insertText(text, format);
        cursor.endEditBlock();
        return;
    }
    shown += QStringView(text).sliced(from);
    QTextDocument* document = cursor.document();
    cursor.insertText(shown, format);
    for (const qsizetype at : breaks)
        document->findBlock(start + int(at) + 1).setUserData(new ShownBreak);
    cursor.endEditBlock();
    document->setProperty(kHoldsShownBreaks, true);
    document->setUndoRedoEnabled(false);
}

void setShownText(QPlainTextEdit* box, const QString& text) {
    box->setPlainText(QString());
    QTextDocument* document = box->document();
    document->setProperty(kHoldsShownBreaks, false);
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor c(document);
    insertShown(c, text);
    if (!document->property(kHoldsShownBreaks).toBool()) document->setUndoRedoEnabled(undo);
    document->setModified(false);
    box->moveCursor(QTextCursor::Start);
}

bool afterShownBreak(const QTextBlock& block) {
    return dynamic_cast<ShownBreak*>(block.userData()) != nullptr;
}

QString typedText(const QTextDocument& document) {
    if (!document.property(kHoldsShownBreaks).toBool()) {
        QString raw = document.toRawText();
        raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        return raw;
    }
    QString text;
    text.reserve(document.characterCount());
    for (QTextBlock b = document.firstBlock(); b.isValid(); b = b.next()) {
        if (b != document.firstBlock() && !afterShownBreak(b)) text += QLatin1Char('\n');
        text += b.text();
    }
    return text;
}

QString plainText(const QTextDocument& document) {
    QString text = typedText(document);
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void showItemsCut(QAbstractItemView* list) {
    list->setItemDelegate(new CutItems(list));
}

void ShownLinesEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText() || isReadOnly()) return QPlainTextEdit::insertFromMimeData(source);
    QTextCursor c = textCursor();
    insertShown(c, source->text());
    setTextCursor(c);
    ensureCursorVisible();
}

} // namespace ui
