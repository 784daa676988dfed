#pragma once
// A text box shows a line of any length as paragraphs of at most
// kShownLineChars characters: Qt lays a paragraph out whole at each change and
// each paint, in a time that grows faster than its length (a line of a
// megabyte holds the window for most of a minute, and no signal is taken
// meanwhile). The breaks put in for showing are no part of the text: the
// box's text reads without them, so a file shown and written back keeps its
// lines as they were. An edit keeps them apart from the operator's own breaks
// (a line break typed or pasted is the operator's; a shown break deleted is
// gone), except for undo, which would bring a shown break back as a real one:
// a document that holds them keeps no undo.
#include <QPlainTextEdit>
#include <QString>
#include <QTextCharFormat>

class QAbstractItemView;
class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace ui {

constexpr int kShownLineChars = 1000;

// Inserts the text at the cursor (in place of its selection) in the format
// (the cursor's own when none is given), breaking for showing each line that
// would grow longer than kShownLineChars.
void insertShown(QTextCursor& cursor, const QString& text);
void insertShown(QTextCursor& cursor, const QString& text, const QTextCharFormat& format);

// The box's text replaced, as setPlainText does (no undo step for it), in
// lines of a bounded length.
void setShownText(QPlainTextEdit* box, const QString& text);

// True for a paragraph that goes on the line of the one before it.
bool afterShownBreak(const QTextBlock& block);

// The document's text without the shown breaks: as typed (a no-break space and
// a line separator stay themselves) or plain (as QTextDocument::toPlainText
// gives it, a no-break space a blank and a line separator a line break).
QString typedText(const QTextDocument& document);
QString plainText(const QTextDocument& document);

// A list whose items show at most kShownLineChars characters of their text (a
// line of a list file, however long); the items keep their whole text.
void showItemsCut(QAbstractItemView* list);

// A box whose pasted or dropped text is shown in lines of a bounded length.
class ShownLinesEdit : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;

  protected:
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace ui
