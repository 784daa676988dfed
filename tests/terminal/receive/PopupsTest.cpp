// The receive panes' pop-ups, raised by letting a mouse button go over a pane,
// and the QTH label's pop-up, raised by a click on the label.
#include "terminal/transmit/TxFixture.h"

#include "log/LogGlobals.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/macros/MacroState.h"
#include "terminal/receive/RxPicking.h"
#include "terminal/receive/WordPick.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTextCursor>

namespace {

TEST(WordPick, TheWordAroundTheCaretGoesToTheCallBoxOrThePopupCut) {
    using T = terminal::receive::PickTarget;
    struct Case {
        QString text;
        int caret;
        int contest;
        QString word;
        T target;
        int cut;
    };
    const QString l30(30, QLatin1Char('a'));
    const QString noBlank(10000, QLatin1Char('x'));
    auto qs = [](const char* s) { return QString::fromUtf8(s); };
    const Case cases[] = {
        {qs("CQ DE QQ9XYZ K"), 8, 0, qs("QQ9XYZ"), T::CallBox, 10},
        {qs("CQ DE QQ9XYZ K"), 6, 0, qs("QQ9XYZ"), T::CallBox, 10},
        {qs("CQ DE QQ9XYZ K"), 12, 0, qs("QQ9XYZ"), T::CallBox, 10},
        {qs("CQ DE QQ9XYZ K"), 14, 0, qs("K"), T::WordPopup, 28},
        {qs("CQ DE QQ9XYZ K"), 0, 0, {}, T::Nothing, 0},
        {qs("CQ DE QQ9XYZ K"), 99, 0, qs("K"), T::WordPopup, 28},
        {qs("de qq9xyz, k"), 5, 0, qs("qq9xyz,"), T::CallBox, 10},
        {qs("de qq9xyz/p1xy k"), 6, 0, qs("qq9xyz/p1x"), T::CallBox, 10},
        {qs("de QQ9XYZ/1 k"), 6, 0, qs("QQ9XYZ/1"), T::CallBox, 10},
        {qs("de 9Q1AB k"), 5, 0, qs("9Q1AB"), T::CallBox, 10},
        // A call ending a line is that call, not the next line's first word.
        {qs("cq de qq9xyz\r\nname taro"), 9, 0, qs("qq9xyz"), T::CallBox, 10},
        {qs("abc de\nqq9aaa k"), 5, 0, qs("de"), T::WordPopup, 28},
        {qs("abc de\r\nqq9aaa k"), 8, 0, qs("qq9aaa"), T::CallBox, 10},
        {qs("tnx\nqq9bbb"), 2, 0, qs("tnx"), T::WordPopup, 28},
        {qs("name is ") + l30 + qs(" k"), 10, 0, l30.left(28), T::WordPopup, 28},
        {qs("ur 599-012 k"), 5, 1, qs("599-012"), T::WordPopup, 50},
        {qs("ur 599012 k"), 5, 0, qs("599012"), T::CallBox, 10},
        {qs("名前は\u3000太郎\u3000です"), 5, 0, qs("太郎"), T::WordPopup, 28},
        {qs("ＱＴＨ\u3000東京都3区 k"), 6, 0, qs("東京都3区"), T::CallBox, 10},
        {qs("a  b"), 2, 0, {}, T::Nothing, 0},
        {QString(), 1, 0, {}, T::Nothing, 0},
        {qs("\x01\x02\ufffd\ufffd k"), 2, 0, qs("\x01\x02\ufffd\ufffd"), T::WordPopup, 28},
        {noBlank, 5000, 0, noBlank.left(28), T::WordPopup, 28},
        {noBlank, 5000, 1, noBlank.left(50), T::WordPopup, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 @%2").arg(c.text.left(40)).arg(c.caret).toStdString());
        const terminal::receive::WordPick pick = terminal::receive::pickWord(c.text, c.caret, c.contest);
        EXPECT_EQ(pick.word, c.word);
        EXPECT_EQ(pick.target, c.target);
        EXPECT_EQ(pick.cut, c.cut);
    }
}

class Popups : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        terminal::receive::g = {};
        terminal::macros::g = {};
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        TxTest::TearDown();
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
    // What the operator's drag leaves selected.
    static void select(RichTextPane* pane, const QString& part) {
        pane->setSelStart(static_cast<int>(pane->text().indexOf(part)));
        pane->setSelLength(static_cast<int>(part.size()));
    }
    // The place of the caret in front of the character at `pos`.
    static QPoint placeOf(RichTextPane* pane, int pos) {
        QTextCursor c(pane->document());
        c.setPosition(pos);
        return pane->cursorRect(c).center();
    }
    QMenu* rightClick(RichTextPane* pane) { return zvtest::popupByClick(pane->viewport()); }
};

TEST_F(Popups, ASelectionIsOfferedWithItsTextInTheHeader) {
    struct Case {
        QString selected;
        QString header;
        QString kept;
    };
    const QString sixty(60, QLatin1Char('x'));
    const Case cases[] = {
        {QStringLiteral(" 3 stars "), QStringLiteral("Get->3 stars"), QStringLiteral("3 stars")},
        {QStringLiteral("QQ9XYZ"), QStringLiteral("Get->QQ9XYZ"), QStringLiteral("QQ9XYZ")},
        {sixty, QStringLiteral("Get->") + sixty.left(50), sixty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected.toStdString());
        w->RichTextBox1->setText(QStringLiteral("cq de") + c.selected + QStringLiteral("k\r\n"));
        select(w->RichTextBox1, c.selected);
        ASSERT_EQ(rightClick(w->RichTextBox1), w->PUPMNU);
        EXPECT_EQ(w->GETNAIYOUMAIN->text(), c.header);
        EXPECT_EQ(terminal::receive::g.PickedSelection, c.kept);
        EXPECT_EQ(clipboard(), c.selected) << "the items find the selection here";
        EXPECT_EQ(w->RichTextBox1->selStart(), w->RichTextBox1->length()) << "caret at the end";
        EXPECT_EQ(w->focusWidget(), w->Text1);
        w->PUPMNU->close();
    }
}

TEST_F(Popups, ADragSelectionIsOfferedWhenTheButtonIsLetGo) {
    w->RichTextBox1->setText(QStringLiteral("name is Taro k"));
    QWidget* view = w->RichTextBox1->viewport();
    QTest::mousePress(view, Qt::LeftButton, {}, placeOf(w->RichTextBox1, 8));
    QTest::mouseMove(view, placeOf(w->RichTextBox1, 12));
    QTest::mouseRelease(view, Qt::LeftButton, {}, placeOf(w->RichTextBox1, 12));
    ASSERT_TRUE(zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_EQ(QApplication::activePopupWidget(), w->PUPMNU);
    EXPECT_EQ(w->GETNAIYOUMAIN->text(), QStringLiteral("Get->Taro"));
}

TEST_F(Popups, APlainClickEmptiesTheClipboardAndOffersNothing) {
    QSignalSpy offered(w->PUPMNU, &QMenu::aboutToShow);
    w->RichTextBox1->setText(QStringLiteral("cq de qq9xyz k"));
    w->RichTextBox1->setSelStart(3);
    QTest::mouseClick(w->RichTextBox1->viewport(), Qt::RightButton);
    EXPECT_TRUE(clipboard().isEmpty());
    // The next click, on a selection, must show the pop-up: only it does.
    select(w->RichTextBox1, QStringLiteral("qq9xyz"));
    ASSERT_EQ(rightClick(w->RichTextBox1), w->PUPMNU);
    EXPECT_EQ(offered.count(), 1);
}

TEST_F(Popups, ThePlayBackPaneOffersItsSelectionAsItStands) {
    terminal::receive::g.PickedSelection = QStringLiteral("from the main pane");
    w->RichTextBox2->show();
    w->RichTextBox2->raise();
    w->RichTextBox2->setText(QStringLiteral("ur rst 599 599 k"));
    select(w->RichTextBox2, QStringLiteral(" 599 "));
    const int caret = w->RichTextBox2->selStart();
    ASSERT_EQ(rightClick(w->RichTextBox2), w->PUPMNU);
    EXPECT_EQ(w->GETNAIYOUMAIN->text(), QStringLiteral("Get-> 599 "));
    EXPECT_EQ(clipboard(), QStringLiteral(" 599 "));
    EXPECT_EQ(terminal::receive::g.PickedSelection, QStringLiteral("599")) << "its contest item acts on it";
    EXPECT_EQ(w->RichTextBox2->selStart(), caret);
}

TEST_F(Popups, WithDataCaptureAClickPicksTheWordUnderIt) {
    struct Case {
        const char* text;
        int at;
        int contest;
        QString call;   // the call-sign box afterwards
        QMenu* popup;   // the pop-up shown, if any
        QString header; // of the word pop-up
    };
    const QString letters30(30, QLatin1Char('a'));
    const Case cases[] = {
        {"CQ DE QQ9XYZ K", 9, 0, QStringLiteral("QQ9XYZ"), nullptr, QStringLiteral("Get->QQ9XYZ")},
        {"de qq9xyz/p1xy k", 6, 0, QStringLiteral("QQ9XYZ/P1X"), nullptr, QStringLiteral("Get->qq9xyz/p1x")},
        {"de QQ9ABC, k", 6, 0, QStringLiteral("QQ9ABC,"), nullptr, QStringLiteral("Get->QQ9ABC,")},
        {"name TARO k", 7, 0, {}, w->GETDATOTHER, QStringLiteral("Get->TARO")},
        {"ur 599012 k", 5, 1, {}, w->GETDATOTHER, QStringLiteral("Get->599012")},
    };
    core::g.DataCaptureOn = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        core::g.ContestMode = c.contest;
        zvtest::clearBox(w->Text5);
        w->RichTextBox1->setText(QString::fromLatin1(c.text));
        QTest::mouseClick(w->RichTextBox1->viewport(), Qt::LeftButton, {}, placeOf(w->RichTextBox1, c.at));
        if (c.popup) {
            ASSERT_TRUE(zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
            EXPECT_EQ(QApplication::activePopupWidget(), c.popup);
            c.popup->close();
        } else {
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        }
        EXPECT_EQ(w->Text5->text(), c.call);
        EXPECT_EQ(w->GETNAIYOU->text(), c.header);
        EXPECT_EQ(w->focusWidget(), w->Text1);
    }
}

TEST_F(Popups, APickedWordIsCutToItsLimit) {
    core::g.DataCaptureOn = 1;
    const QString word(60, QLatin1Char('a'));
    for (int contest : {0, 1}) {
        SCOPED_TRACE(contest);
        core::g.ContestMode = contest;
        w->RichTextBox1->setText(QStringLiteral("qsl ") + word + QStringLiteral(" k"));
        w->RichTextBox1->setSelStart(10);
        ASSERT_EQ(rightClick(w->RichTextBox1), w->GETDATOTHER);
        EXPECT_EQ(terminal::receive::g.PickedWord, word.left(contest ? 50 : 28));
        w->GETDATOTHER->close();
    }
}

TEST_F(Popups, AClickBeforeTheFirstCharacterPicksNothing) {
    core::g.DataCaptureOn = 1;
    w->RichTextBox1->setText(QStringLiteral("QQ9XYZ de QQ9ABC"));
    QTest::mouseClick(w->RichTextBox1->viewport(), Qt::LeftButton, {}, placeOf(w->RichTextBox1, 0));
    EXPECT_TRUE(w->Text5->text().isEmpty());
    EXPECT_TRUE(terminal::receive::g.PickedWord.isEmpty());
    EXPECT_TRUE(clipboard().isEmpty());
    EXPECT_EQ(w->focusWidget(), w->Text1);
}

TEST_F(Popups, WhileMacroButtonsAreMovedTheClipboardIsLeftAlone) {
    QSignalSpy offered(w->PUPMNU, &QMenu::aboutToShow);
    w->RichTextBox1->setText(QStringLiteral("cq de qq9xyz k"));
    terminal::macros::g.MacroMoveMode = 1;
    select(w->RichTextBox1, QStringLiteral("qq9xyz"));
    QTest::mouseClick(w->RichTextBox1->viewport(), Qt::RightButton);
    EXPECT_EQ(clipboard(), QStringLiteral("earlier"));
    terminal::macros::g.MacroMoveMode = 0;
    ASSERT_EQ(rightClick(w->RichTextBox1), w->PUPMNU);
    EXPECT_EQ(offered.count(), 1);
}

TEST_F(Popups, TheQthLabelOpensItsPopupWithTheLibraryLinkOnly) {
    QSignalSpy opened(w->QTHPST, &QMenu::aboutToShow);
    ui::script::clearAsked();
    logbook::g.HamlogLink = 0;
    QTest::mouseClick(w->Label47, Qt::LeftButton);
    logbook::g.HamlogLink = 1;
    QTest::mouseClick(w->Label47, Qt::RightButton);
    ASSERT_EQ(zvtest::popupByClick(w->Label47, Qt::LeftButton), w->QTHPST);
    EXPECT_EQ(opened.count(), 1) << "only the left click with the library link";
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

} // namespace
