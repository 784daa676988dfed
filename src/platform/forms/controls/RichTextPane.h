#pragma once
// A receive or transmit pane with the selection model the system's code uses:
// an insertion point (selStart), a selection length, the colour of text
// inserted next (selColor) and the text that replaces the selection (setSelText).
// Until a colour is chosen, inserted text shows in the pane's own text colour,
// as typed text does.
// Appending at the end costs the same however long the pane's text is.
//
// Received text may be queued (appendLater, chopLater, insertLater): what
// arrives within a tenth of a second goes in as one edit and one repaint
// however much it is, and the repaint is of the new text, not of whole lines;
// in a pane that is not on screen, what arrives within five seconds, and the
// rest as soon as it is shown. Everything else that reads or edits the pane sees the
// queued edits done first; length() counts them.
// Text the program puts in (appendText, chopEnd, insertTextAt and the queued
// edits) goes in with a cursor of its own: the operator's selection and
// insertion point stay where they are (an insertion point at the end moves on
// with the text). The view follows the end, except while a mouse button is
// down in the pane: what the operator presses on stays under the pointer.
// Lines behind the last screenful are joined into longer paragraphs (their
// breaks become line separators, one character as a break is): the pane costs
// about the text it holds. text() and selText() read every break as '\n'.
// A line received without a break is shown in paragraphs of a bounded length
// (ShownLines.h): each edit lays its last paragraph out again.
#include <QColor>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>

#include <vector>

class RichTextPane : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit RichTextPane(QWidget* parent = nullptr);

    // Number of characters; a line break counts one.
    int length() const;
    // The text as shown, position for position (a break put in for showing a
    // long line reads as a line break).
    QString text() const;
    // The text as received, for a file: without those breaks.
    QString fileText() const;
    void setText(const QString& text);
    // Empties the pane, queued edits included.
    void clear();

    int selStart() const;
    int selLength() const;
    void setSelStart(int pos);
    void setSelLength(int len);
    QString selText() const;
    // Replaces the selection (or inserts at the insertion point) in selColor.
    void setSelText(const QString& text);

    // Invalid while the pane's own text colour is used.
    QColor selColor() const { return selColor_; }
    void setSelColor(const QColor& c) { selColor_ = c; }

    // Appends at the end in selColor, leaving the insertion point after it.
    void appendText(const QString& text);
    // Removes the last n characters.
    void chopEnd(int n);
    // Inserts at a position (clamped to the text) in selColor.
    void insertTextAt(int pos, const QString& text);

    // True from a mouse press in the pane until its release has been handled.
    bool operatorHolds() const { return held_; }

    // Queued: appends at the end in selColor; takes back the last character;
    // inserts at the insertion point (queued when that will be the end,
    // at once otherwise).
    void appendLater(const QString& text);
    void chopLater();
    void insertLater(const QString& text);
    // Does the queued edits now (a caller that repaints anyway takes them in
    // with its own repaint).
    void applyPending() const;

    // Text wraps this many pixels before the pane's right edge; the margin
    // shows the pane's own background.
    void setWrapMargin(int px);
    // Lines are kept in one paragraph however long: for a box whose text()
    // is what goes on the air, where a break shown would be sent.
    void keepLinesWhole() { wholeLines_ = true; }

  signals:
    // A mouse button let go over the pane, after the pane has set its selection.
    void mouseUp(const QPoint& globalPos);

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    void insertAt(QTextCursor& c, const QString& text);
    void insertInto(QTextCursor& c, const QString& text, const QTextCharFormat& f) const;
    void insertOwn(QTextCursor& c, const QString& text);
    void followEnd() const;
    // A line of the text as laid out: where it begins, where it stands in its
    // paragraph and its height.
    struct LineMark {
        int start = -1; // -1: no line (not laid out)
        qreal y = 0, ascent = 0, height = 0;
        bool operator==(const LineMark&) const = default;
    };
    static LineMark lineMark(const QTextBlock& block, const QTextLine& line);
    LineMark lineMark(int pos) const;
    QTextLine lineAt(int pos, QTextBlock& block) const;
    QPointF blockOrigin(const QTextBlock& block) const;
    void repaintChanged(const LineMark& before, int from, bool linesWent) const;
    struct LineTail;
    bool paintTail(const LineTail& tail, const QRegion& region);
    qreal lastLineBottom() const;
    void keepTailGlyphs() const;
    void joinLines(const QTextBlock& last) const;
    void keepJoinedLineCounts() const;
    static void releaseLayout(QTextLayout* layout);
    void schedule();

    // One queued edit: so many characters taken from the end, then text appended.
    struct Edit {
        int chop = 0;
        QString text;
        QColor colour;
    };
    QColor selColor_;
    // Mutable: a reader that must see the queued edits done does them.
    mutable std::vector<Edit> pending_;
    mutable int pendingDelta_ = 0;
    mutable QTimer applyTimer_;
    // The end of a line asked to be painted again for received text, and
    // where the line begins; nothing else asked since.
    struct LineTail {
        QRect rect;
        int lineStart = 0;
    };
    mutable LineTail lineTail_;
    // Where the paragraphs that keep their glyphs began at the last edit.
    mutable int tailFrom_ = 0;
    // Where the paragraph last joined ends: the lines after it wait until
    // they hold enough to join.
    mutable int joinedTo_ = 0;
    bool held_ = false;
    bool wholeLines_ = false;
};
