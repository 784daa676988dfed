#include "platform/forms/controls/RichTextPane.h"

#include "platform/forms/text/ShownLines.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// Queued edits wait this long for more to join them: received text comes about
// three characters a tenth of a second, and one edit and repaint for the three
// costs hardly more than one for each would.
constexpr int kQueuedEditsMs = 100;
// A pane that is not on screen takes its queued text in every five seconds (and
// at once when it is shown): nobody watches it, and each edit lays out its whole
// last line again.
constexpr int kHiddenQueuedEditsMs = 5000;
// At least so many last lines keep their shaped glyphs.
constexpr int kMinGlyphLines = 8;
// How far a glyph may reach left of where its character begins.
constexpr int kGlyphOverhangPx = 2;
// Lines behind the last screenful join into paragraphs of about this many
// characters, their breaks turned into line separators: a paragraph costs
// about half a kilobyte of its own however short it is. Received lines stay
// paragraphs of their own until then, for every edit lays out the last
// paragraph again (a kilobyte of it would take ten times as long as a line).
// A paragraph on screen is laid out whole when it is painted.
constexpr int kParagraphChars = 1024;

// A paragraph of one line, as the text goes in: no separator in it yet. A
// part of a long line shown apart is long already, and its break before it
// is no line separator.
bool loneLine(const QTextBlock& b) {
    return b.length() <= kParagraphChars && !b.text().contains(QChar::LineSeparator) &&
           !ui::afterShownBreak(b);
}

// CR LF and a lone CR are one line break in the pane.
QString normaliseBreaks(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

RichTextPane::RichTextPane(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
    applyTimer_.setSingleShot(true);
    connect(&applyTimer_, &QTimer::timeout, this, [this] { applyPending(); });
    // Qt lays the whole text out anew for another width (the first show, a
    // resize, the scroll bar coming) and then tells every view to repaint.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::update, this,
            [this] { keepJoinedLineCounts(); });
}

int RichTextPane::length() const {
    return document()->characterCount() - 1 + pendingDelta_;
}

QString RichTextPane::text() const {
    applyPending();
    return toPlainText();
}

QString RichTextPane::fileText() const {
    applyPending();
    return ui::plainText(*document());
}

void RichTextPane::setText(const QString& text) {
    clear();
    appendText(text);
}

void RichTextPane::clear() {
    pending_.clear();
    pendingDelta_ = 0;
    tailFrom_ = joinedTo_ = 0;
    QPlainTextEdit::clear();
}

int RichTextPane::selStart() const {
    applyPending();
    return textCursor().selectionStart();
}

int RichTextPane::selLength() const {
    applyPending();
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextPane::setSelStart(int pos) {
    applyPending();
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(pos, 0, length()));
    setTextCursor(c);
}

void RichTextPane::setSelLength(int len) {
    applyPending();
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + len, start, length()), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextPane::selText() const {
    applyPending();
    QString t = textCursor().selectedText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return t;
}

// An explicit format, so that the text never takes on the colour of the
// character before it; without a chosen colour, none: the pane's own shows.
void RichTextPane::insertAt(QTextCursor& c, const QString& text) {
    QTextCharFormat f;
    if (selColor_.isValid()) f.setForeground(selColor_);
    insertInto(c, normaliseBreaks(text), f);
    setTextCursor(c);
}

void RichTextPane::insertInto(QTextCursor& c, const QString& text, const QTextCharFormat& f) const {
    if (wholeLines_)
        c.insertText(text, f);
    else
        ui::insertShown(c, text, f);
}

// The program's own edits: the view's cursor is not touched.
void RichTextPane::insertOwn(QTextCursor& c, const QString& text) {
    QTextCharFormat f;
    if (selColor_.isValid()) f.setForeground(selColor_);
    insertInto(c, normaliseBreaks(text), f);
    followEnd();
}

// A paint shapes the text of every line it draws anew unless the line keeps
// its shaped glyphs. The last lines, where text arrives and the view mostly
// stays, keep them; a line that falls out of that tail gives back all its
// layout holds beyond its lines' places (laid out again when it is next
// needed), so the pane holds glyphs for a screenful whatever its length.
void RichTextPane::keepTailGlyphs() const {
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int tail = std::max(kMinGlyphLines, viewport()->height() / lineHeight + 2);
    QTextBlock b = document()->lastBlock();
    for (int lines = 0; lines < tail && b.isValid(); b = b.previous()) {
        b.layout()->setCacheEnabled(true);
        lines += std::max(1, b.lineCount());
    }
    // Down to where the tail began last time: many lines in one edit put
    // paragraphs that never kept glyphs between the tail and the lines that
    // fell out of it.
    const int tailWas = std::exchange(tailFrom_, b.isValid() ? b.next().position() : 0);
    const QTextBlock fallen = b;
    bool released = false;
    for (; b.isValid() && (b.position() >= tailWas || b.layout()->cacheEnabled()); b = b.previous())
        if (b.layout()->cacheEnabled()) {
            releaseLayout(b.layout());
            released = true;
        }
    // The view holds its top by paragraph number, and a join renumbers the
    // paragraphs after it: while the operator holds a press (the only time the
    // view does not follow the end) the lines wait to be joined.
    if (released && !held_) joinLines(fallen);
}

// One-line paragraphs that end at `last` become one paragraph once they hold
// kParagraphChars (older ones, put in all at once and never on screen, stay
// as they are: a join costs about its own text). Each break goes out after a
// line separator went in just after it, so that a position on either side of
// the break (the operator's insertion point and selection among them) keeps
// its place.
void RichTextPane::joinLines(const QTextBlock& last) const {
    const int end = last.position() + last.length();
    if (end - joinedTo_ < kParagraphChars) return;
    std::vector<int> breaks;
    int chars = 0, lines = 0;
    QTextBlock first = last;
    for (QTextBlock b = last; chars < kParagraphChars; b = b.previous()) {
        if (!b.isValid() || !loneLine(b)) {
            joinedTo_ = b.isValid() ? b.position() + b.length() : 0;
            return;
        }
        chars += b.length();
        lines += b.lineCount();
        if (b != last) breaks.push_back(b.position() + b.length() - 1);
        first = b;
    }
    joinedTo_ = end;
    if (breaks.empty()) return;
    QTextCursor c(document());
    c.beginEditBlock();
    for (const int at : breaks) {
        c.setPosition(at);
        const QTextCharFormat f = c.charFormat();
        c.setPosition(at + 1);
        c.insertText(QString(QChar::LineSeparator), f);
        c.setPosition(at);
        c.deleteChar();
    }
    c.endEditBlock();
    // The layout counts a paragraph it has not laid out as one line; the
    // joined one has the lines its parts were laid out in, and is laid out
    // again only when it is next painted.
    document()->findBlock(first.position()).setLineCount(lines);
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
}

// A new layout counts each paragraph as one line until it lays it out again:
// right for a received line, and the view holds its place by lines. A joined
// paragraph (ours, or one copied in with the text of another pane) counts a
// line for each line it joined, as they counted before, or the scroll range
// would lose them and the view would move.
void RichTextPane::keepJoinedLineCounts() const {
    bool counted = false;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) {
        // Laid out, its count is its own; a joined paragraph is long.
        if (b.lineCount() != 1 || b.length() < kParagraphChars || b.layout()->lineCount() > 0) continue;
        const int lines = int(b.text().count(QChar::LineSeparator)) + 1;
        if (lines > 1) {
            b.setLineCount(lines);
            counted = true;
        }
    }
    if (!counted) return;
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
}

// Clearing a layout keeps its shaped text and character data (a kilobyte or
// more a line); only a layout ended without its cache lets them go. The
// paragraph is laid out anew when it is next measured or painted.
void RichTextPane::releaseLayout(QTextLayout* layout) {
    layout->setCacheEnabled(false);
    layout->beginLayout();
    layout->endLayout();
}

void RichTextPane::followEnd() const {
    keepTailGlyphs();
    if (held_) return;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void RichTextPane::setSelText(const QString& text) {
    applyPending();
    QTextCursor c = textCursor();
    insertAt(c, text);
}

void RichTextPane::appendText(const QString& text) {
    applyPending();
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    insertOwn(c, text);
}

void RichTextPane::insertTextAt(int pos, const QString& text) {
    applyPending();
    QTextCursor c(document());
    c.setPosition(std::clamp(pos, 0, length()));
    insertOwn(c, text);
}

void RichTextPane::chopEnd(int n) {
    applyPending();
    if (n <= 0) return;
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.setPosition(std::max(0, length() - n), QTextCursor::KeepAnchor);
    c.removeSelectedText();
    followEnd();
}

void RichTextPane::appendLater(const QString& text) {
    const QString t = normaliseBreaks(text);
    if (t.isEmpty()) return;
    if (pending_.empty() || pending_.back().colour != selColor_) pending_.push_back({0, {}, selColor_});
    pending_.back().text += t;
    pendingDelta_ += int(t.size());
    schedule();
}

void RichTextPane::chopLater() {
    if (length() <= 0) return;
    if (!pending_.empty() && !pending_.back().text.isEmpty())
        pending_.back().text.chop(1);
    else
        pending_.push_back({1, {}, {}});
    --pendingDelta_;
    schedule();
}

void RichTextPane::insertLater(const QString& text) {
    const QTextCursor c = textCursor();
    const bool atEnd = !c.hasSelection() && c.position() == document()->characterCount() - 1;
    // While the operator holds a button the insertion point is theirs.
    if (pending_.empty() && !atEnd && !held_)
        setSelText(text);
    else
        appendLater(text);
}

void RichTextPane::schedule() {
    if (!applyTimer_.isActive()) applyTimer_.start(isVisible() ? kQueuedEditsMs : kHiddenQueuedEditsMs);
}

void RichTextPane::showEvent(QShowEvent* e) {
    QPlainTextEdit::showEvent(e);
    applyTimer_.stop();
    applyPending();
}

void RichTextPane::applyPending() const {
    if (pending_.empty()) return;
    applyTimer_.stop();
    QTextDocument* doc = document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const QSizeF sizeBefore = layout->documentSize();
    // Where the first change falls; the text before it stays.
    int from = doc->characterCount() - 1;
    for (int end = from; const Edit& e : pending_) {
        end = std::max(0, end - e.chop);
        from = std::min(from, end);
        end += int(e.text.size());
    }
    const LineMark before = lineMark(std::max(0, from - 1));
    {
        // The layout would repaint whole lines, or the whole pane once a line
        // wraps; only what changed is painted again, below.
        const QSignalBlocker quiet(layout);
        QTextCursor c(doc);
        c.beginEditBlock();
        for (const Edit& e : pending_) {
            c.movePosition(QTextCursor::End);
            if (e.chop > 0) {
                c.setPosition(std::max(0, c.position() - e.chop), QTextCursor::KeepAnchor);
                c.removeSelectedText();
            }
            if (e.text.isEmpty()) continue;
            QTextCharFormat f;
            if (e.colour.isValid()) f.setForeground(e.colour);
            insertInto(c, e.text, f);
        }
        c.endEditBlock();
    }
    pending_.clear();
    pendingDelta_ = 0;
    const QSizeF size = layout->documentSize();
    if (size != sizeBefore) emit layout->documentSizeChanged(size);
    followEnd();
    repaintChanged(before, from, size.height() < sizeBefore.height());
}

// The laid-out line that holds a position, and its paragraph.
QTextLine RichTextPane::lineAt(int pos, QTextBlock& block) const {
    block = document()->findBlock(pos);
    return block.isValid() && block.layout() ? block.layout()->lineForTextPosition(pos - block.position())
                                             : QTextLine();
}

// Where a paragraph's text stands in the view.
QPointF RichTextPane::blockOrigin(const QTextBlock& block) const {
    return blockBoundingGeometry(block).translated(contentOffset()).topLeft();
}

RichTextPane::LineMark RichTextPane::lineMark(const QTextBlock& block, const QTextLine& line) {
    if (!line.isValid()) return {};
    return {block.position() + line.textStart(), line.y(), line.ascent(), line.height()};
}

RichTextPane::LineMark RichTextPane::lineMark(int pos) const {
    QTextBlock block;
    const QTextLine line = lineAt(pos, block);
    return lineMark(block, line);
}

// Paints again what a change from `from` on can have touched: the line that
// held the character before it, from that character (for the way a glyph can
// change with the one after it) or from where the line now ends, and every
// line below, down to the pane's bottom when lines went. A line that moved,
// or grew taller for a character of another font, is painted whole.
void RichTextPane::repaintChanged(const LineMark& before, int from, bool linesWent) const {
    QWidget* view = viewport();
    QTextBlock block;
    const QTextLine line = before.start >= 0 ? lineAt(before.start, block) : QTextLine();
    if (!line.isValid()) {
        view->update();
        return;
    }
    const QPointF origin = blockOrigin(block);
    const int top = int(std::floor(origin.y() + line.y()));
    const int bottom = int(std::ceil(origin.y() + line.y() + line.height()));
    int x = 0;
    if (lineMark(block, line) == before) {
        const int lineEnd = line.textStart() + line.textLength();
        const int first = std::clamp(std::max(0, from - 1) - block.position(), line.textStart(), lineEnd);
        x = std::max(0, int(std::floor(origin.x() + line.cursorToX(first))) - kGlyphOverhangPx);
    }
    const int end = linesWent ? view->height() : int(std::ceil(lastLineBottom()));
    // Rows top..bottom - 1 are the line's.
    const QRect tail(x, top, view->width() - x, bottom - top);
    if (end > bottom) {
        lineTail_ = {};
        view->update(QRegion(tail) + QRect(0, bottom, view->width(), end - bottom));
    } else {
        lineTail_ = {tail, block.position() + line.textStart()};
        view->update(tail);
    }
}

void RichTextPane::paintEvent(QPaintEvent* e) {
    const LineTail tail = std::exchange(lineTail_, {});
    if (!paintTail(tail, e->region())) QPlainTextEdit::paintEvent(e);
}

// When only the end of one line is to be painted, that line alone is drawn
// there, with the insertion point, as the whole paint would draw it; the lines
// it touches are not. False where that cannot stand for the whole paint: more
// to paint, a selection, text being composed, the overwrite cursor.
bool RichTextPane::paintTail(const LineTail& tail, const QRegion& region) {
    if (tail.rect.isEmpty() || region != QRegion(tail.rect) || overwriteMode()) return false;
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    if (!context.selections.isEmpty() || context.cursorPosition < -1) return false;
    QTextBlock block;
    const QTextLine line = lineAt(tail.lineStart, block);
    if (!line.isValid()) return false;
    QTextLayout* layout = block.layout();
    const QPointF offset = blockOrigin(block);
    QPainter p(viewport());
    p.setClipRect(tail.rect);
    p.setPen(context.palette.text().color());
    line.draw(&p, offset + layout->position());
    const bool withCursor = !isReadOnly() || (textInteractionFlags() & Qt::TextSelectableByKeyboard);
    const int cursor = context.cursorPosition - block.position();
    if (withCursor && context.cursorPosition >= 0 && cursor >= 0 && cursor < block.length())
        layout->drawCursor(&p, offset, cursor, cursorWidth());
    return true;
}

// The bottom of the text's last line in the view (the margin below it shows
// only the background).
qreal RichTextPane::lastLineBottom() const {
    const QTextBlock last = document()->lastBlock();
    const QTextLayout* tl = last.layout();
    const QRectF geometry = blockBoundingGeometry(last).translated(contentOffset());
    if (!tl || tl->lineCount() == 0) return geometry.bottom();
    const QTextLine line = tl->lineAt(tl->lineCount() - 1);
    return geometry.top() + line.y() + line.height();
}

void RichTextPane::setWrapMargin(int px) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    setAutoFillBackground(true);
    setViewportMargins(0, 0, px, 0);
}

void RichTextPane::mousePressEvent(QMouseEvent* e) {
    held_ = true;
    QPlainTextEdit::mousePressEvent(e);
}

void RichTextPane::mouseReleaseEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseReleaseEvent(e);
    emit mouseUp(e->globalPosition().toPoint());
    held_ = e->buttons() != Qt::NoButton;
}
