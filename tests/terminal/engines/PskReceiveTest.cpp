// Received bytes from the PSK library into the receive panes, and the
// simulated station's text end to end.
#include "terminal/engines/PskFixture.h"

#include "platform/forms/colour/Colour.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskCoreWndProc.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

namespace {

using core::g;

class PskReceive : public psktest::PskWindowTest {
  protected:
    void feed(const QList<int>& bytes, int channel) {
        for (int b : bytes)
            terminal::engines::PskCoreWndProc(pskcore::PskMsgRxChar, b, channel);
    }
    static QColor colourAt(RichTextPane* pane, int pos) {
        QTextCursor c(pane->document());
        c.setPosition(pos + 1);
        return c.charFormat().foreground().color();
    }
};

QString sjis(const char* bytes) {
    return cp932::decode(QByteArray(bytes));
}

TEST_F(PskReceive, BytesBecomeTextInTheMainPane) {
    struct Case {
        const char* name;
        QString before;
        QList<int> bytes;
        QString after;
    } cases[] = {
        {"a Shift-JIS pair is one character", {}, {0x82, 0xA0}, sjis("\x82\xA0")},
        {"a CR after a lead byte drops it", "A", {0x82, 0x0D}, "A\n"},
        {"a blank after a lead byte stands for the pair", "A", {0x82, 0x20}, "A "},
        {"half-width katakana", {}, {0xB1, 0xDD}, sjis("\xB1\xDD")},
        {"bytes that show nothing are dropped", "A", {0x07, 0x0A, 0x80, 0xA0, 0xF5}, "A"},
        {"a backspace takes the last character", "AB", {0x08}, "A"},
        {"a backspace on an empty pane does nothing", {}, {0x08}, {}},
        {"a backspace takes a whole Japanese character", "A", {0x82, 0xA0, 0x08}, "A"},
        {"a lead byte waits for its partner", "A", {0x88}, "A"},
    };
    PSK31MAIN& w = loadIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.RichTextBox1->setText(c.before);
        feed(c.bytes, 0);
        EXPECT_EQ(w.RichTextBox1->text(), c.after);
        feed({0x0D}, 0); // ends any pending lead byte before the next case
    }
}

TEST_F(PskReceive, ACrGoesWhereTheOperatorClickedAndTheNextByteToTheEnd) {
    PSK31MAIN& w = loadIdle();
    w.RichTextBox1->setText("HELLO");
    w.RichTextBox1->setSelStart(2);
    feed({0x0D, 'X'}, 0);
    EXPECT_EQ(w.RichTextBox1->text(), "HE\nLLOX");
    EXPECT_EQ(g.RxMarkPos, 6);
}

// What arrives together goes in as one edit with one cursor move, in order,
// each character in its channel's colour; the mark position counts what is
// still on its way.
TEST_F(PskReceive, BytesArrivingTogetherGoInAsOneEdit) {
    PSK31MAIN& w = loadIdle();
    RichTextPane* pane = w.RichTextBox1;
    pane->setText("AB");
    QSignalSpy edits(pane->document(), &QTextDocument::contentsChange);
    QSignalSpy moves(pane, &QPlainTextEdit::cursorPositionChanged);
    feed({0x08, 'C', 'D', 0x08, 'E', 0x0D, 'F'}, 0);
    feed({'T', 'X'}, -1);
    feed({'G'}, 0);
    EXPECT_EQ(g.RxMarkPos, 7); // "ACE", a line break, "FTX"
    EXPECT_EQ(edits.count(), 0);
    ASSERT_TRUE(zvtest::waitUntil([&] { return edits.count() > 0; }));
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(edits.count(), 1);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(pane->toPlainText(), "ACE\nFTXG");
    EXPECT_EQ(pane->selStart(), 8);
    EXPECT_EQ(colour::toRef(colourAt(pane, 1)), 0x000000u);
    EXPECT_EQ(colour::toRef(colourAt(pane, 5)), 0x0000FFu);
    EXPECT_EQ(colour::toRef(colourAt(pane, 7)), 0x000000u);

    // Anything that reads or edits the pane meanwhile sees the text in.
    feed({'H'}, 0);
    EXPECT_EQ(pane->text(), "ACE\nFTXGH");
}

TEST_F(PskReceive, EachChannelWritesItsPaneInItsColour) {
    struct Case {
        int channel;
        int satellite;
        const char* pane;
        std::uint32_t colour;
    } cases[] = {
        {0, 0, "main", 0x000000},    {-1, 0, "main", 0x0000FF},   {-1, 1, "satellite", 0x0000FF},
        {1, 0, "multi 1", 0xFF0000}, {2, 0, "multi 2", 0xFF0000},
    };
    PSK31MAIN& w = loadIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pane);
        g.SatelliteMode = c.satellite;
        RichTextPane* pane = QString(c.pane) == "main"        ? w.RichTextBox1
                             : QString(c.pane) == "satellite" ? w.RichTextBox4
                             : QString(c.pane) == "multi 1"   ? forms::multi_ch().RichTextBox1
                                                              : forms::multi_ch().RichTextBox2;
        pane->setText(QString());
        feed({'Q', 0x82, 0xA0}, c.channel);
        EXPECT_EQ(pane->text(), "Q" + sjis("\x82\xA0"));
        EXPECT_EQ(colour::toRef(colourAt(pane, 0)), c.colour);
        EXPECT_EQ(colour::toRef(colourAt(pane, 1)), c.colour);
    }
    const QString mainText = w.RichTextBox1->text();
    feed({'Z'}, 3);
    EXPECT_EQ(w.RichTextBox1->text(), mainText);

    // A closed multi-channel window is not loaded to keep its channels' text:
    // it would pile up unseen, as the window empties its panes when it opens.
    forms::unload<::multi_ch>();
    feed({'Q', 0x0D}, 1);
    feed({'Q', 0x0D}, 2);
    EXPECT_FALSE(forms::isLoaded<::multi_ch>());
    EXPECT_EQ(w.RichTextBox1->text(), mainText);
}

TEST_F(PskReceive, HeldNoticesChangeNothing) {
    PSK31MAIN& w = loadIdle();
    g.EngineMsgHold = 1;
    w.RichTextBox1->setText("A");
    feed({'B'}, 0);
    terminal::engines::PskCoreWndProc(pskcore::PskMsgStatus, pskcore::StatusTxStarted, 0);
    terminal::engines::PskCoreWndProc(pskcore::PskMsgImd, 25, 0);
    terminal::engines::PskCoreWndProc(pskcore::PskMsgDisplay, 0, 0);
    EXPECT_EQ(w.RichTextBox1->text(), "A");
    EXPECT_EQ(g.Transmitting, 0);
    EXPECT_EQ(w.Label15->text(), "No Data");
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(PskReceive, TheStationsJapaneseTextArrivesInTheMainPane) {
    PSK31MAIN& w = loadAndStart("RX_SearchRange=10\n");
    const QString line = QStringLiteral("こんにちは、こちらは QQ9ABC です。ＱＳＯお願いします。");
    ASSERT_TRUE(zvtest::waitUntil([&] { return w.RichTextBox1->text().contains(line); }))
        << w.RichTextBox1->text().toStdString();
    EXPECT_TRUE(w.RichTextBox1->text().contains("CQ CQ CQ de QQ9ABC"));
    EXPECT_FALSE(w.RichTextBox1->text().contains(QChar(0xFFFD)));
}

TEST_F(PskReceive, WithThreeChannelsTheExtraPanesReceiveTheStationToo) {
    pskcore::lib().hooks().charIntervalMs = 1;
    load("RX1Freq=2000\nRX2Freq=1000\nRX3Freq=1000\n");
    g.ChannelDisplay = 3;
    forms::PSK31MAIN().Timer2_Timer();
    const QString line = QStringLiteral("こんにちは、こちらは QQ9ABC です。");
    ::multi_ch& m = forms::multi_ch();
    ASSERT_TRUE(zvtest::waitUntil(
        [&] { return m.RichTextBox1->text().contains(line) && m.RichTextBox2->text().contains(line); }));
    EXPECT_FALSE(forms::PSK31MAIN().RichTextBox1->text().contains(line));
}

// On screen, the text queued for the main pane goes in with the display tick,
// so that it repaints together with the waterfall.
TEST_F(PskReceive, TheDisplayTickTakesInTheMainPanesQueuedText) {
    PSK31MAIN& w = loadIdle();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    w.RichTextBox1->setText("CQ");
    QSignalSpy edits(w.RichTextBox1->document(), &QTextDocument::contentsChange);
    feed({' ', 'd', 'e', 0x0D, 'k'}, 0);
    EXPECT_EQ(edits.count(), 0);
    terminal::engines::PskCoreWndProc(pskcore::PskMsgDisplay, 0, 0);
    EXPECT_EQ(edits.count(), 1);
    EXPECT_EQ(w.RichTextBox1->toPlainText(), "CQ de\nk");
}

} // namespace
