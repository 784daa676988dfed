// The operator's click or drag in a receive pane while the simulated station's
// text keeps arriving: the press, received text going in, then the release;
// what was under the pointer is what is taken.
#include "terminal/engines/PskFixture.h"

#include "platform/forms/controls/RichTextPane.h"
#include "support/Popups.h"
#include "terminal/displays/multi_ch.h"
#include "support/QsoBoxSetUp.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

namespace {

using core::g;

class PickWhileReceiving : public psktest::PskWindowTest {
  protected:
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        PskWindowTest::TearDown();
    }
    static QPoint placeOf(RichTextPane* pane, int pos) {
        QTextCursor c(pane->document());
        c.setPosition(pos);
        return pane->cursorRect(c).center();
    }
    // Where the call starts in the first line that shows it whole, once the
    // pane has received it; -1 when it never came.
    static int visibleCall(RichTextPane* pane) {
        int at = -1;
        zvtest::waitUntil([&] {
            const QString text = pane->text();
            const int top = pane->cursorForPosition(QPoint(0, 0)).position();
            for (at = int(text.indexOf(QLatin1String("QQ9ABC"), top)); at >= 0;
                 at = int(text.indexOf(QLatin1String("QQ9ABC"), at + 1))) {
                QTextCursor from(pane->document()), to(pane->document());
                from.setPosition(at);
                to.setPosition(at + 6);
                const QRect a = pane->cursorRect(from), b = pane->cursorRect(to);
                if (a.top() >= 0 && b.bottom() < pane->viewport()->height() && a.top() == b.top() &&
                    text.size() > at + 10)
                    return true;
            }
            return false;
        });
        return at;
    }
    // Holds the button while received text goes in: the hand's 100 ms or more.
    static bool textArrivesWhileHeld(RichTextPane* pane) {
        const int before = pane->document()->characterCount();
        const int scroll = pane->verticalScrollBar()->value();
        const bool arrived =
            zvtest::waitUntil([&] { return pane->document()->characterCount() >= before + 4; });
        EXPECT_EQ(pane->verticalScrollBar()->value(), scroll) << "the view stays under the pointer";
        return arrived;
    }
    static QMenu* activePopup() {
        zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; });
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
};

TEST_F(PickWhileReceiving, AHeldClickOnACallInTheMainPaneTakesThatCall) {
    pskcore::lib().hooks().charIntervalMs = 8;
    PSK31MAIN& w = loadAndStart(QStringLiteral("RX_SearchRange=10\n"));
    g.DataCaptureOn = 1;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        zvtest::clearBox(w.Text5);
        RichTextPane* pane = w.RichTextBox1;
        const int at = visibleCall(pane);
        ASSERT_GE(at, 0);
        const QPoint inCall = placeOf(pane, at + 2);
        QTest::mousePress(pane->viewport(), Qt::LeftButton, {}, inCall);
        ASSERT_TRUE(textArrivesWhileHeld(pane));
        QTest::mouseRelease(pane->viewport(), Qt::LeftButton, {}, inCall);
        EXPECT_EQ(w.Text5->text(), QStringLiteral("QQ9ABC"));
        EXPECT_EQ(pane->selStart(), pane->length()) << "after the pick the insertion point is at the end";
    }
}

TEST_F(PickWhileReceiving, EachMultiChannelPaneTakesAHeldClickAndADrag) {
    pskcore::lib().hooks().charIntervalMs = 8;
    load(QStringLiteral("RX1Freq=2000\nRX2Freq=1000\nRX3Freq=1000\nRX_SearchRange=10\n"));
    g.ChannelDisplay = 3;
    PSK31MAIN& w = forms::PSK31MAIN();
    w.Timer2_Timer();
    ::multi_ch& m = forms::multi_ch();
    m.show();
    for (RichTextPane* pane : {m.RichTextBox1, m.RichTextBox2}) {
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << (pane == m.RichTextBox1 ? "Ch2 " : "Ch3 ") << i);
            // A click on the call: into the call-sign box.
            g.DataCaptureOn = 1;
            zvtest::clearBox(w.Text5);
            int at = visibleCall(pane);
            ASSERT_GE(at, 0);
            QTest::mousePress(pane->viewport(), Qt::LeftButton, {}, placeOf(pane, at + 3));
            ASSERT_TRUE(textArrivesWhileHeld(pane));
            QTest::mouseRelease(pane->viewport(), Qt::LeftButton, {}, placeOf(pane, at + 3));
            EXPECT_EQ(w.Text5->text(), QStringLiteral("QQ9ABC"));

            // A drag over it: offered in the pop-up, the selection on the clipboard.
            g.DataCaptureOn = 0;
            at = visibleCall(pane);
            ASSERT_GE(at, 0);
            const QPoint from = placeOf(pane, at);
            const QPoint to = placeOf(pane, at + 6);
            QTest::mousePress(pane->viewport(), Qt::LeftButton, {}, from);
            QTest::mouseMove(pane->viewport(), to);
            ASSERT_TRUE(textArrivesWhileHeld(pane));
            QTest::mouseRelease(pane->viewport(), Qt::LeftButton, {}, to);
            EXPECT_EQ(activePopup(), m.PUPMENU);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("QQ9ABC"));
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        }
    }
}

} // namespace
