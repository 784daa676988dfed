// Queued received text in a pane: edits queued together go in together, in
// order, and every reader or editor of the pane sees them in.
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/text/ShownLines.h"
#include "support/ProgramFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>

namespace {

// A pane across the top of a window, its text wrapping `margin` pixels before
// its right edge.
RichTextPane* paneAtTop(QWidget& window, int width, int height, int margin) {
    auto* pane = new RichTextPane(&window);
    pane->setGeometry(0, 0, width, height);
    pane->setWrapMargin(margin);
    return pane;
}

TEST(RichTextPane, QueuedEditsGoInTogetherInOrder) {
    struct Case {
        const char* name;
        QString before;
        int cursor; // the operator's insertion point; -1: at the end
        std::function<void(RichTextPane&)> edits;
        QString after;
        int length; // what length() counts while the edits wait
    } cases[] = {
        {"appended", "AB", -1, [](RichTextPane& p) { p.appendLater("CD"); }, "ABCD", 4},
        {"a CR LF is one break", "", -1, [](RichTextPane& p) { p.appendLater("A\r\nB"); }, "A\nB", 3},
        {"taken back while queued", "AB", -1,
         [](RichTextPane& p) {
             p.appendLater("CD");
             p.chopLater();
         },
         "ABC", 3},
        {"taken back from the pane", "AB", -1,
         [](RichTextPane& p) {
             p.chopLater();
             p.chopLater();
             p.appendLater("X");
         },
         "X", 1},
        {"nothing to take back", "", -1, [](RichTextPane& p) { p.chopLater(); }, "", 0},
        {"a break at the operator's point goes in at once", "HELLO", 2,
         [](RichTextPane& p) {
             p.insertLater("\r\n");
             p.appendLater("X");
         },
         "HE\nLLOX", 7},
        {"after queued text a break goes to the end", "HELLO", 2,
         [](RichTextPane& p) {
             p.appendLater("X");
             p.insertLater("\r\n");
         },
         "HELLOX\n", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RichTextPane pane;
        pane.show(); // takes its queued text in at a tenth of a second
        pane.setText(c.before);
        if (c.cursor >= 0) pane.setSelStart(c.cursor);
        c.edits(pane);
        EXPECT_EQ(pane.length(), c.length);
        QSignalSpy edits(pane.document(), &QTextDocument::contentsChange);
        EXPECT_TRUE(zvtest::waitUntil([&] { return pane.toPlainText() == c.after; }));
        EXPECT_LE(edits.count(), 1);
        EXPECT_EQ(pane.length(), c.length);
    }
}

// A line received without a break is shown in paragraphs of a bounded length;
// the lines joined behind it as more arrive leave it whole, and a file gets it
// as it came.
TEST(RichTextPane, ALongReceivedLineIsShownInPartsAndSavedWhole) {
    QWidget window;
    RichTextPane* pane = paneAtTop(window, 300, 60, 0);
    window.show();
    QString sent(3 * ui::kShownLineChars, QLatin1Char('A'));
    pane->appendLater(sent);
    for (int i = 0; i < 200; ++i) {
        pane->appendLater(QStringLiteral("\r\nQQ9ABC"));
        pane->applyPending();
        sent += QStringLiteral("\nQQ9ABC");
    }
    for (int n = 0; n < 3; ++n)
        EXPECT_LE(pane->document()->findBlockByNumber(n).length(), ui::kShownLineChars + 1);
    EXPECT_EQ(pane->fileText(), sent);
}

TEST(RichTextPane, ReadersAndEditorsSeeQueuedTextInAndClearDropsIt) {
    RichTextPane pane;
    pane.show();
    pane.setText("AB");
    QSignalSpy edits(pane.document(), &QTextDocument::contentsChange);
    pane.setSelColor(Qt::red);
    pane.appendLater("C");
    pane.setSelColor(Qt::blue);
    pane.appendLater("D");
    EXPECT_EQ(edits.count(), 0);
    EXPECT_EQ(pane.selStart(), 4); // done now, with the insertion point after them
    EXPECT_EQ(edits.count(), 1);
    EXPECT_EQ(pane.toPlainText(), "ABCD");
    QTextCursor c(pane.document());
    c.setPosition(3);
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::red));
    c.setPosition(4);
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::blue));

    pane.appendLater("E");
    pane.setSelStart(0);
    pane.setSelText("<");
    EXPECT_EQ(pane.text(), "<ABCDE");

    pane.appendLater("F");
    pane.clear();
    pane.appendLater("G");
    ASSERT_TRUE(zvtest::waitUntil([&] { return !pane.toPlainText().isEmpty(); }));
    EXPECT_EQ(pane.text(), "G");
    pane.clear();
    EXPECT_EQ(pane.length(), 0);
}

// Lines received into a shown pane keep their shaped glyphs for the last
// screenful only, however many arrive; the lines behind it join into a few
// paragraphs. The pane still shows what came, as a pane with a paragraph a
// line shows it, wrapped lines and colours alike, and what the operator drags
// over and copies is the text.
TEST(RichTextPane, OnlyTheLastLinesKeepTheirGlyphs) {
    RichTextPane pane;
    pane.resize(400, 120);
    pane.show();
    ASSERT_TRUE(zvtest::waitExposed(&pane));
    // The paragraphs that keep their glyphs and how many lines they hold.
    auto kept = [&] {
        QList<int> blocks;
        int lines = 0;
        for (QTextBlock b = pane.document()->firstBlock(); b.isValid(); b = b.next())
            if (b.layout()->cacheEnabled()) {
                blocks << b.blockNumber();
                lines += b.lineCount();
            }
        return std::pair{blocks, lines};
    };
    int received = 300;
    auto lineOf = [](int line) {
        return line % 9 == 4
                   ? QStringLiteral("QQ1XYZ de QQ9ABC TNX FB QSO ES 73 GL %1 73 73 73 de QQ9ABC\r\n")
                         .arg(line)
                   : QStringLiteral("CQ de QQ9ABC こんにちは %1\r\n").arg(line);
    };
    QString sent; // as the pane reads it
    int rangeWas = 0;
    for (int line = 0; line < received; ++line) {
        pane.setSelColor(line % 5 == 0 ? Qt::red : Qt::darkBlue);
        pane.appendLater(lineOf(line));
        sent += lineOf(line).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (line % 25 == 0) {
            ASSERT_TRUE(zvtest::waitUntil([&] { return pane.toPlainText() == sent; }));
            // The text is in before the layout's own posted updates have run:
            // the range is read once they have, at every read.
            ASSERT_TRUE(zvtest::waitForPostedEvents());
            EXPECT_EQ(kept().first.last(), pane.document()->blockCount() - 1) << line;
            // Each line received takes a line of the scroll range or more, joined
            // or not; the layout brings the range up to date after the text.
            QScrollBar* bar = pane.verticalScrollBar();
            if (line >= 50) {
                EXPECT_TRUE(zvtest::waitUntil([&] { return bar->maximum() >= rangeWas + 25; }))
                    << line << ": " << bar->maximum() << " after " << rangeWas;
            }
            rangeWas = bar->maximum();
        }
    }
    pane.appendText(QStringLiteral("k"));
    const auto [blocks, lines] = kept();
    const int last = pane.document()->blockCount() - 1;
    ASSERT_FALSE(blocks.isEmpty());
    EXPECT_EQ(blocks.last(), last);
    EXPECT_EQ(blocks.size(), blocks.last() - blocks.first() + 1) << "one run at the end";
    EXPECT_GE(lines, 8);
    EXPECT_LT(lines, 20) << "not every line of the pane";
    EXPECT_LT(pane.document()->blockCount(), received / 4) << "lines behind the screenful joined";
    EXPECT_EQ(pane.text(), sent + QStringLiteral("k"));
    pane.chopEnd(4);
    EXPECT_EQ(kept().first.last(), pane.document()->blockCount() - 1);

    // The lines that gave their layouts back show as they did once the
    // operator goes back to them: as a pane that never gave anything back,
    // and as one with a paragraph a line.
    RichTextPane fresh; // all at once, hidden
    fresh.resize(pane.size());
    QPlainTextEdit perLine;
    perLine.resize(pane.size());
    QTextCursor at(perLine.document());
    for (QTextBlock b = pane.document()->firstBlock(); b.isValid(); b = b.next()) {
        if (b != pane.document()->firstBlock()) {
            at.insertText(QStringLiteral("\n"));
            fresh.appendText(QStringLiteral("\n"));
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QString part = it.fragment().text();
            at.insertText(part.replace(QChar::LineSeparator, QLatin1Char('\n')), it.fragment().charFormat());
            fresh.setSelColor(it.fragment().charFormat().foreground().color());
            fresh.appendText(part);
        }
    }
    ASSERT_EQ(perLine.toPlainText(), pane.text());
    ASSERT_EQ(perLine.document()->blockCount(), pane.text().count(QLatin1Char('\n')) + 1);
    for (QWidget* w : {static_cast<QWidget*>(&fresh), static_cast<QWidget*>(&perLine)}) {
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
    }
    for (QPlainTextEdit* p :
         {static_cast<QPlainTextEdit*>(&pane), static_cast<QPlainTextEdit*>(&fresh), &perLine})
        QTest::keyClick(p, Qt::Key_Home, Qt::ControlModifier);
    auto image = [](QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    EXPECT_EQ(image(pane), image(fresh));
    EXPECT_EQ(image(pane), image(perLine));
    // Down by the scroll bar's arrow, a line a click: the same lines show.
    // (Where the top line is not the first of its paragraph, the view sets
    // the text a pixel lower, as it does for a wrapped line.)
    for (QPlainTextEdit* p :
         {static_cast<QPlainTextEdit*>(&pane), static_cast<QPlainTextEdit*>(&fresh), &perLine}) {
        QScrollBar* bar = p->verticalScrollBar();
        for (int line = 0; line < 40; ++line)
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              QPoint(bar->width() / 2, bar->height() - bar->width() / 2));
        EXPECT_EQ(bar->value(), 40);
    }
    const QPoint top(4, pane.fontMetrics().height() / 2 + 2);
    EXPECT_EQ(pane.cursorForPosition(top).position(), perLine.cursorForPosition(top).position());
    EXPECT_EQ(fresh.cursorForPosition(top).position(), perLine.cursorForPosition(top).position());

    // A drag over three lines selects them; the selection and its copy read
    // as the text does.
    QWidget* view = pane.viewport();
    auto pointAt = [&](const QString& text) {
        QTextCursor c(pane.document());
        c.setPosition(int(pane.text().indexOf(text)));
        return pane.cursorRect(c).center();
    };
    QTest::keyClick(&pane, Qt::Key_Home, Qt::ControlModifier);
    const QPoint from = pointAt(QStringLiteral("こんにちは 0")), to = pointAt(QStringLiteral("こんにちは 3"));
    ASSERT_TRUE(view->rect().contains(from) && view->rect().contains(to));
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    const QString selected = pane.selText();
    EXPECT_EQ(selected.count(QLatin1Char('\n')), 3);
    EXPECT_EQ(selected, pane.text().mid(pane.selStart(), pane.selLength()));
    QTest::keyClick(&pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), selected);

    // A press held in the text while lines arrive: the view stays, through
    // the pending events and a new width (the scroll bar coming, or the
    // window), for which Qt lays every paragraph out anew; the lines behind
    // the screenful are joined once the press is let go.
    RichTextPane pressed;
    pressed.resize(400, 200);
    pressed.show();
    ASSERT_TRUE(zvtest::waitExposed(&pressed));
    for (int line = 0; line < 100; ++line)
        pressed.appendText(lineOf(line));
    QWidget* pressedView = pressed.viewport();
    QTest::mousePress(pressedView, Qt::LeftButton, {}, QPoint(40, 10));
    const QPoint topLeft(4, 4);
    const int topWas = pressed.cursorForPosition(topLeft).position();
    const int paragraphs = pressed.document()->blockCount();
    for (int line = 100; line < 180; ++line) // as the RTTY program's lines come
        pressed.appendText(lineOf(line));
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(pressed.cursorForPosition(topLeft).position(), topWas);
    pressed.resize(380, 200);
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(pressed.cursorForPosition(topLeft).position(), topWas);
    QTest::mouseRelease(pressedView, Qt::LeftButton, {}, QPoint(40, 10));
    pressed.appendText(lineOf(180));
    EXPECT_LT(pressed.document()->blockCount(), paragraphs + 81 - 20) << "joined once let go";
}

// Received text is painted in as it comes, only what changed: what is on the
// screen after each arrival is what a whole repaint of the pane shows, through
// lines that wrap, line breaks, text taken back across a wrap and the view
// scrolling on.
TEST(RichTextPane, WhatIsOnScreenIsTheWholeTextAsItArrives) {
    QWidget window;
    RichTextPane* pane = paneAtTop(window, 260, 110, 10);
    auto* typing = new QLineEdit(&window); // where the operator types, below the pane
    typing->setGeometry(0, 112, 260, 20);
    window.resize(260, 134);
    window.show();
    ASSERT_TRUE(zvtest::waitExposed(&window));
    QTest::mouseClick(typing, Qt::LeftButton);
    ASSERT_TRUE(typing->hasFocus());
    auto onScreen = [&] { return window.screen()->grabWindow(window.winId()).toImage(); };
    auto wholeRepaint = [&] { return window.grab().toImage(); };
    // What the pane marked for repainting is painted and on the screen now, not
    // at the window's next update, which a busy machine may hold back.
    auto paintPending = [&] {
        QEvent update(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&window, &update);
    };
    QList<std::function<void()>> arrivals{
        [&] { pane->appendLater(QStringLiteral("CQ CQ de QQ9ABC")); },
        [&] { pane->appendLater(QStringLiteral(" こんばんは、移動運用中です。山の上から")); },
        [&] { pane->appendLater(QStringLiteral("です。")); },
        [&] {
            for (int k = 0; k < 6; ++k)
                pane->chopLater(); // back across the wrap
        },
        [&] { pane->appendLater(QStringLiteral("Wy")); },
        [&] { pane->appendLater(QStringLiteral("\r\nRST 599 ")); },
        [&] {
            pane->setSelColor(Qt::red);
            pane->appendLater(QStringLiteral("QSL? k\r\n"));
        },
        [&] { pane->appendLater(QStringLiteral("TU 73 73 73 73 73 73 73 73 73 73 73 73 73 73 ee")); },
        [&] { pane->chopLater(); },
        [&] { pane->appendLater(QStringLiteral("\r\nQQ1XYZ de QQ9ABC\r\nGM OM\r\n")); },
        [&] { pane->appendLater(QStringLiteral("TNX FB QSO")); },
        [&] {
            // The operator drags over the last line to its end.
            QWidget* view = pane->viewport();
            const QPoint line = pane->cursorRect(QTextCursor(pane->document()->lastBlock())).center();
            QTest::mousePress(view, Qt::LeftButton, {}, line + QPoint(2, 0));
            QTest::mouseMove(view, QPoint(view->width() - 2, line.y()));
            QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() - 2, line.y()));
            pane->appendLater(QStringLiteral(" 5NN"));
        },
        [&] {
            // A click past the end of the text: the insertion point is there.
            QWidget* view = pane->viewport();
            QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() - 2, view->height() - 4));
            pane->appendLater(QStringLiteral(" BK"));
        },
        [&] {
            QTest::mouseClick(typing, Qt::LeftButton);
            pane->appendLater(QStringLiteral(" K"));
        },
    };
    // A character at a time, till a word outgrows the line and moves down.
    for (QChar ch : QStringLiteral(" GL ES 73 DE QQ9ABC/PORTABLE"))
        arrivals << [&, ch] { pane->appendLater(QString(ch)); };
    int step = 0;
    for (const auto& arrive : arrivals) {
        SCOPED_TRACE(testing::Message() << "arrival " << step++);
        const QString before = pane->toPlainText();
        arrive();
        ASSERT_TRUE(zvtest::waitUntil([&] { return pane->toPlainText() != before; }));
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        paintPending();
        EXPECT_EQ(onScreen(), wholeRepaint());
    }
    EXPECT_FALSE(pane->textCursor().hasSelection()) << "the click took the selection away";
    EXPECT_EQ(pane->textCursor().position(), pane->document()->characterCount() - 1)
        << "at the end, on with the text";
    EXPECT_TRUE(zvtest::waitUntil([&] { return pane->verticalScrollBar()->value() > 0; }))
        << "the view scrolled on with the text";
    EXPECT_TRUE(zvtest::waitUntil([&] { return pane->document()->lastBlock().layout()->lineCount() == 2; }))
        << "the last word wrapped";
}

// A pane in a window not on screen keeps what is queued for it while it is
// hidden; the moment it is shown, everything is in.
TEST(RichTextPane, AHiddenPaneShowsItsQueuedTextTheMomentItIsShown) {
    QWidget window;
    auto* pane = new RichTextPane(&window);
    pane->appendText(QStringLiteral("CQ "));
    pane->appendLater(QStringLiteral("de QQ9ABC"));
    pane->chopLater();
    pane->appendLater(QStringLiteral("C\r\nk"));
    EXPECT_EQ(pane->length(), 14);
    window.show();
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("CQ de QQ9ABC\nk")) << "in as the pane is shown";
    ASSERT_TRUE(zvtest::waitExposed(&window));

    // Shown, text queued now still goes in by itself.
    pane->appendLater(QStringLiteral(" 73"));
    EXPECT_TRUE(zvtest::waitUntil([&] { return pane->toPlainText().endsWith(QStringLiteral("k 73")); }));
    window.hide();
    pane->appendLater(QStringLiteral(" TU"));
    EXPECT_TRUE(zvtest::waitUntil([&] { return pane->toPlainText().endsWith(QStringLiteral("73 TU")); }))
        << "a hidden pane takes it in by itself too";
}

// The pane's colours are its palette's, so that the text area paints itself
// whole (the frame and window behind it need no repaint for a line of text),
// and the pane shows them as set, in the text area and beside it.
TEST(RichTextPane, ColoursSetOnAPaneShowInItsOwnOpaqueTextArea) {
    QWidget window;
    window.resize(300, 120);
    RichTextPane* pane = paneAtTop(window, 300, 120, 40);
    const std::uint32_t blue = 0xFF0000, white = 0xFFFFFF, yellow = 0x00FFFF;
    colour::setBackColor(pane, blue);
    colour::setForeColor(pane, white);
    pane->setText(QStringLiteral("███ ███"));
    window.show();
    ASSERT_TRUE(zvtest::waitExposed(&window));
    EXPECT_TRUE(pane->styleSheet().isEmpty());
    EXPECT_TRUE(pane->viewport()->autoFillBackground());
    EXPECT_EQ(colour::backColor(pane), blue);
    EXPECT_EQ(colour::foreColor(pane), white);

    auto at = [&](int x, int y) { return colour::toRef(pane->grab().toImage().pixelColor(x, y)); };
    const QRect text = pane->viewport()->geometry();
    EXPECT_EQ(at(text.center().x(), text.bottom() - 5), blue) << "below the text";
    EXPECT_EQ(at(text.right() + 20, text.center().y()), blue) << "in the margin beside the text";
    const QRect glyph = pane->cursorRect(QTextCursor(pane->document()));
    EXPECT_EQ(at(text.left() + glyph.left() + 3, text.top() + glyph.center().y()), white) << "the text";

    colour::setBackColor(pane, yellow);
    EXPECT_EQ(at(text.center().x(), text.bottom() - 5), yellow) << "a new colour at once";
    colour::setBackColor(pane, colour::kButtonFace);
    EXPECT_EQ(pane->palette().color(QPalette::Base), QApplication::palette(pane).color(QPalette::Base));
}

} // namespace
