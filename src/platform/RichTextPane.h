#pragma once
// A receive or transmit pane with the selection model the system's code uses:
// an insertion point (selStart), a selection length, the colour of text
// inserted next (selColor) and the text that replaces the selection (setSelText).
// Until a colour is chosen, inserted text shows in the pane's own text colour,
// as typed text does.
// Appending at the end costs the same however long the pane's text is.
#include <QColor>
#include <QPlainTextEdit>
#include <QTextCursor>

class RichTextPane : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit RichTextPane(QWidget* parent = nullptr);

    // Number of characters; a line break counts one.
    int length() const;
    QString text() const { return toPlainText(); }
    void setText(const QString& text);

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

    // Text wraps this many pixels before the pane's right edge; the margin
    // shows the pane's own background.
    void setWrapMargin(int px);

  signals:
    // A mouse button let go over the pane, after the pane has set its selection.
    void mouseUp(const QPoint& globalPos);

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    void insertAt(QTextCursor& c, const QString& text);

    QColor selColor_;
};
