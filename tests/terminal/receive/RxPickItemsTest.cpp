// The receive panes' pop-up items, chosen as the operator does: a drag or a
// click in the pane, then the item, and what ends up in the QSO boxes, the
// clipboard and the log entry window.
#include "terminal/transmit/TxFixture.h"

#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "support/Contest.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/macros/MacroState.h"
#include "terminal/receive/GetCall.h"
#include "terminal/receive/RxPicking.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTextCursor>

namespace {

TEST(GetCall, TheCallAfterTheLastDeIsFoundOrOffered) {
    struct Case {
        const char* text;
        const char* own;
        QString call;
        QStringList candidates;
        bool searched;
    };
    const QString none;
    const Case cases[] = {
        {"CQ CQ DE QQ9AAA QQ9AAA K", "QQ9BBB", QStringLiteral("QQ9AAA"), {}, true},
        {"qq9bbb de qq9aaa qq9aaa pse k", "QQ9BBB", QStringLiteral("QQ9AAA"), {}, true},
        {"QQ9BBB DE QQ9AAA QQ9AAA KN\r\nQQ9AAA DE QQ9BBB tnx", "qq9bbb", QStringLiteral("QQ9AAA"), {}, true},
        {"x DE X QQ9AAA DE QQ9BBB DE QQ9BBB K", "QQ9BBB", none, {QStringLiteral("QQ9AAA")}, true},
        {"ur 599 QRZ  any one", "QQ9BBB", none, {}, true},
        {"CQ TEST DE QQ9AAA QQ9CCC QQ9DDD",
         "",
         none,
         {QStringLiteral("QQ9AAA"), QStringLiteral("QQ9CCC"), QStringLiteral("QQ9DDD")},
         true},
        {"CQ DE TARO QQ9AAA QQ9AAA", "", QStringLiteral("QQ9AAA"), {}, true},
        {"DE\u3000QQ9EEE\u3000QQ9EEE", "", none, {}, false},
        {"x DE\u3000QQ9EEE\u3000QQ9EEE", "", none, {}, false},
        {"x DE QQ9EEE\u3000QQ9EEE", "", QStringLiteral("QQ9EEE"), {}, true},
        // Upper case that would lengthen the text must not shift the places found.
        {"ßßßß DE QQ9AAA QQ9AAA", "", QStringLiteral("QQ9AAA"), {}, true},
        {"CQ CQ", "", none, {}, false},
        {"", "", none, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const terminal::receive::Found f =
            terminal::receive::FindCall(QString::fromUtf8(c.text), QString::fromUtf8(c.own));
        EXPECT_EQ(f.call, c.call);
        EXPECT_EQ(f.candidates, c.candidates);
        EXPECT_EQ(f.searched, c.searched);
    }
}

class PickItems : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        terminal::receive::g = {};
        terminal::macros::g = {};
        core::g.ContestMode = 0;
        core::g.QthOperation.clear();
        core::g.StatusMessage.clear();
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
        log = &forms::TEMP_LOG();
        // What the library link's load leaves enabled.
        for (QAction* a : {w->CALLSR, w->PSTTOREM1, w->PSTTOREM2})
            a->setEnabled(true);
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        logbook::g.HamlogLink = 0;
        TxTest::TearDown();
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
    static QPoint placeOf(RichTextPane* pane, int pos) {
        QTextCursor c(pane->document());
        c.setPosition(pos);
        return pane->cursorRect(c).center();
    }
    // Drags over the part (data capture off) or clicks inside it (on), and
    // chooses the item in the pop-up that comes.
    bool pickAndChoose(const QString& text, const QString& part, bool word, QAction* item) {
        RichTextPane* pane = w->RichTextBox1;
        pane->setText(text);
        const int from = static_cast<int>(text.indexOf(part));
        if (w->Check5->isChecked() != word) zvtest::tick(w->Check5); // データ取込
        EXPECT_EQ(core::g.DataCaptureOn, word ? 1 : 0);
        QWidget* view = pane->viewport();
        if (word) {
            QTest::mouseClick(view, Qt::LeftButton, {}, placeOf(pane, from + 1));
        } else {
            QTest::mousePress(view, Qt::LeftButton, {}, placeOf(pane, from));
            QTest::mouseMove(view, placeOf(pane, from + static_cast<int>(part.size())));
            QTest::mouseRelease(view, Qt::LeftButton, {},
                                placeOf(pane, from + static_cast<int>(part.size())));
        }
        if (!zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; })) return false;
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return popup && zvtest::chooseInPopup(popup, item);
    }
    TEMP_LOG* log = nullptr;
};

TEST_F(PickItems, EachItemPutsThePickWhereItSays) {
    struct Case {
        const char* name;
        QString part; // dragged over, or clicked inside when `word`
        bool word;
        QAction* PSK31MAIN::*item;
        QString qthOperation;
        QString rem1Before;
        // Afterwards; a click (a word) leaves the clipboard empty.
        QString call, name_, qth, logQth, rem1, clip;
    };
    const QString none;
    auto s = [](const char* t) { return QString::fromUtf8(t); };
    const Case cases[] = {
        {"TOCALL", s(" qq9xyz "), false, &PSK31MAIN::TOCALL, none, none, s("QQ9XYZ"), none, none, none, none,
         s(" qq9xyz ")},
        {"TONAME", s(" Taro "), false, &PSK31MAIN::TONAME, none, none, none, s("Taro"), none, none, none,
         none},
        {"TOQTHREM1 QTH", s("Tokyo"), false, &PSK31MAIN::TOQTHREM1, s("QTH"), none, none, none, s("Tokyo"),
         s("Tokyo"), none, none},
        {"TOQTHREM1 Rem1", s("Tokyo"), false, &PSK31MAIN::TOQTHREM1, s("Rem1"), s("QSL VIA BURO"), none, none,
         s("Tokyo"), none, s("QSL VIA BURO,QTH=Tokyo"), none},
        {"TOQTHREM1 Free", s("Tokyo"), false, &PSK31MAIN::TOQTHREM1, s("Free"), s("A"), none, none,
         s("Tokyo"), none, s("A"), none},
        {"TOCLPB", s("Tokyo"), false, &PSK31MAIN::TOCLPB, none, none, none, none, none, none, none,
         s("Tokyo")},
        {"CLIPCLR", s("Tokyo"), false, &PSK31MAIN::CLIPCLR, none, none, none, none, none, none, none, none},
        {"CALLSR", s("qq9xyz"), false, &PSK31MAIN::CALLSR, none, none, none, none, none, none, none, none},
        {"PSTCALL", s("taro"), true, &PSK31MAIN::PSTCALL, none, none, s("TARO"), none, none, none, none,
         none},
        {"PSTNAME", s("Taro"), true, &PSK31MAIN::PSTNAME, none, none, none, s("Taro"), none, none, none,
         none},
        {"PSTQTH Rem1 empty", s("Osaka"), true, &PSK31MAIN::PSTQTH, s("Rem1"), s("  "), none, none,
         s("Osaka"), none, s("Osaka"), none},
        {"PSTQTH QTH", s("Osaka"), true, &PSK31MAIN::PSTQTH, s("QTH"), none, none, none, s("Osaka"),
         s("Osaka"), none, none},
        {"PSTTOREM1 empty", s("hello"), true, &PSK31MAIN::PSTTOREM1, none, none, none, none, none, none,
         s("hello"), none},
        {"PSTTOREM1 A", s("hello"), true, &PSK31MAIN::PSTTOREM1, none, s("A"), none, none, none, none,
         s("A,hello"), none},
        {"TOCLIP2", s("hello"), true, &PSK31MAIN::TOCLIP2, none, none, none, none, none, none, none,
         s("hello")},
        {"DATCLR", s("hello"), true, &PSK31MAIN::DATCLR, none, none, none, none, none, none, none, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (QLineEdit* box : std::initializer_list<QLineEdit*>{w->Text5, w->Text6, w->Text14, log->Text13,
                                                                log->Text14, log->Text15})
            box->clear();
        log->Text14->setText(c.rem1Before);
        core::g.QthOperation = c.qthOperation;
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
        ASSERT_TRUE(
            pickAndChoose(QStringLiteral("de ") + c.part + QStringLiteral(" k"), c.part, c.word, w->*c.item));
        EXPECT_EQ(w->Text5->text(), c.call);
        EXPECT_EQ(w->Text6->text(), c.name_);
        EXPECT_EQ(w->Text14->text(), c.qth);
        EXPECT_EQ(log->Text13->text(), c.logQth);
        EXPECT_EQ(log->Text14->text(), c.rem1);
        EXPECT_EQ(clipboard(), c.clip);
        EXPECT_TRUE(zvtest::waitUntil([this] { return w->focusWidget() == w->Text1; }));
    }
}

TEST_F(PickItems, TheQthBoxKeepsTheQthOutsideContestMode) {
    struct Case {
        int link;
        const char* operation;
        QString logQth;
    };
    const Case cases[] = {{1, "QTH", QStringLiteral("Kyoto")}, {1, "Rem1", {}}, {0, "QTH", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        logbook::g.HamlogLink = c.link;
        core::g.QthOperation = QString::fromLatin1(c.operation);
        log->Text13->clear();
        zvtest::clearBox(w->Text14);
        zvtest::setBoxText(w->Text14, QStringLiteral(" Kyoto "));
        EXPECT_EQ(terminal::receive::g.QthText, QStringLiteral("Kyoto"));
        EXPECT_EQ(log->Text13->text(), c.logQth);
    }
    logbook::g.HamlogLink = 0;
    core::g.ContestMode = 1;
    zvtest::setBoxText(w->Text14, QStringLiteral("Nara"));
    EXPECT_EQ(terminal::receive::g.QthText, QStringLiteral("Kyoto"));
}

TEST_F(PickItems, AContestExchangeGoesToMyRstCodeAndRemarks) {
    struct Case {
        QString word;
        int toCode, toRem1;
        QString code, myRst, rem1, message;
    };
    const Case cases[] = {
        {QStringLiteral("599-012"), 1, 0, QStringLiteral("012"), QStringLiteral("599"), {}, {}},
        {QStringLiteral("599/13M"), 0, 1, {}, QStringLiteral("599"), QStringLiteral("59913M"), {}},
        {QStringLiteral("-/-"), 1, 1, {}, {}, {}, QStringLiteral("Contest No 不備です")},
    };
    EXPECT_FALSE(w->PSTCON_NO->isEnabled()) << "only contest logging enables it";
    EXPECT_FALSE(w->GetContestNo->isEnabled());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word.toStdString());
        // Each exchange in a contest of its own: a box of the dialog opens
        // unticked, a second click takes back what the last contest left.
        CFG_Contest* d = zvtest::openContestDialog();
        ASSERT_NE(d, nullptr);
        for (auto [box, on] : {std::pair{d->Check1, c.toCode}, std::pair{d->Check2, c.toRem1}}) {
            zvtest::tick(box);
            if (!on) zvtest::tick(box);
        }
        ASSERT_TRUE(zvtest::joinContest(*d));
        EXPECT_TRUE(w->PSTCON_NO->isEnabled());
        log = &forms::TEMP_LOG();
        for (QLineEdit* box : {log->Text6, log->Text9, log->Text14})
            box->clear();
        core::g.StatusMessage.clear();
        ASSERT_TRUE(
            pickAndChoose(QStringLiteral("ur ") + c.word + QStringLiteral(" k"), c.word, true, w->PSTCON_NO));
        EXPECT_EQ(log->Text9->text(), c.code);
        EXPECT_EQ(log->Text6->text(), c.myRst);
        EXPECT_EQ(log->Text14->text(), c.rem1);
        EXPECT_EQ(core::g.StatusMessage, c.message);
        ASSERT_TRUE(zvtest::chooseMenuItem(w->CONON)); // the contest ends
        EXPECT_FALSE(w->PSTCON_NO->isEnabled());
    }
}

TEST_F(PickItems, ARemarkThatWouldNotFitTheLogFieldIsNotAppended) {
    const QString full(250, QLatin1Char('x'));
    log->Text14->setText(full);
    core::g.QthOperation = QStringLiteral("Rem1");
    ASSERT_TRUE(pickAndChoose(QStringLiteral("qth 東京都千代田区 k"), QStringLiteral("東京都千代田区"), false,
                              w->TOQTHREM1));
    EXPECT_EQ(log->Text14->text(), full);
    EXPECT_EQ(w->Text14->text(), QStringLiteral("東京都千代田区")) << "the QTH box takes it all the same";
    EXPECT_FALSE(core::g.StatusMessage.isEmpty());
}

TEST_F(PickItems, TheCallBoxItemsSayWhenTheCallDoesNotServe) {
    logbook::g.HamlogLink = 1;
    // Only blanks dragged over: no call at all.
    ASSERT_TRUE(pickAndChoose(QStringLiteral("pse    tu"), QStringLiteral("   "), false, w->TOCALL));
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("CallSign 不備です"));
    core::g.StatusMessage.clear();
    logbook::g.HamlogLink = 0;
    ASSERT_TRUE(pickAndChoose(QStringLiteral("pse    tu"), QStringLiteral("   "), false, w->TOCALL));
    EXPECT_TRUE(core::g.StatusMessage.isEmpty()) << "without a link there is nothing to check";
}

TEST_F(PickItems, TheQthLabelsItemsWriteTheQthIntoTheLogEntry) {
    struct Case {
        QAction* PSK31MAIN::*item;
        QString before;
        QString qth, rem1, rem2;
    };
    const Case cases[] = {
        {&PSK31MAIN::ADDQTHUPD, QStringLiteral("x"), QStringLiteral("Kobe"), QStringLiteral("x"), {}},
        {&PSK31MAIN::ADDREM1, {}, {}, QStringLiteral("QTH=Kobe"), {}},
        {&PSK31MAIN::ADDREM1, QStringLiteral("A"), {}, QStringLiteral("A,QTH=Kobe"), {}},
        {&PSK31MAIN::ADDREM2, QStringLiteral("A"), {}, QStringLiteral("A"), QStringLiteral("QTH=Kobe")},
    };
    logbook::g.HamlogLink = 1;
    zvtest::setBoxText(w->Text14, QStringLiteral("Kobe "));
    for (const Case& c : cases) {
        for (QLineEdit* box : {log->Text13, log->Text15})
            box->clear();
        log->Text14->setText(c.before);
        ASSERT_EQ(zvtest::popupByClick(w->Label47, Qt::LeftButton), w->QTHPST);
        ASSERT_TRUE(zvtest::chooseInPopup(w->QTHPST, w->*c.item));
        EXPECT_EQ(log->Text13->text(), c.qth);
        EXPECT_EQ(log->Text14->text(), c.rem1);
        EXPECT_EQ(log->Text15->text(), c.rem2);
    }
}

TEST_F(PickItems, ClearButtonAndCtrlCStartANewQsoByTheLink) {
    struct Case {
        int link;
        bool ctrlC;
        QString call;    // the call box afterwards
        QString hisCall; // HisCall afterwards
    };
    const Case cases[] = {
        // Without a link the boxes empty all the same.
        {0, false, {}, {}},
        {0, true, {}, {}},
        {1, false, {}, {}},
        {1, true, {}, {}},
    };
    core::g.HisRstPresetOn = QStringLiteral("1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link * 10 + c.ctrlC);
        logbook::g.HamlogLink = c.link;
        logbook::g.LogWindowOpen = 0;
        zvtest::clearBox(w->Text5);
        zvtest::setBoxText(w->Text5, QStringLiteral("QQ9XYZ"));
        zvtest::setBoxText(w->Text6, QStringLiteral("Taro"));
        zvtest::setBoxText(w->Text7, QStringLiteral("579"));
        w->Label26->setText(QStringLiteral("sync"));
        // The lists of the station on the boxes.
        forms::QSODATA().show();
        forms::CODE_LIST().show();
        if (c.ctrlC) {
            w->Text1->setFocus();
            QTest::keyClick(w->Text1, Qt::Key_C, Qt::ControlModifier);
        } else {
            QTest::mouseClick(w->Command4, Qt::LeftButton);
        }
        EXPECT_EQ(w->Text5->text(), c.call);
        EXPECT_EQ(core::g.HisCall, c.hisCall);
        EXPECT_EQ(w->Text7->text(), c.call.isEmpty() ? QStringLiteral("599") : QStringLiteral("579"));
        EXPECT_EQ(w->Label26->text(), QStringLiteral("sync"));
        EXPECT_EQ(forms::isLoaded<QSODATA>(), !c.call.isEmpty());
        EXPECT_EQ(forms::isLoaded<CODE_LIST>(), !c.call.isEmpty());
    }
}

TEST_F(PickItems, AnUnsavedLogEntryIsClearedOnlyOnYes) {
    logbook::g.HamlogLink = 1;
    // Only an entry on show holds the operator's typing.
    log->show();
    for (const ui::MsgResult answer : {ui::No, ui::Yes}) {
        SCOPED_TRACE(answer);
        ui::script::clearAsked();
        ui::script::push(answer);
        logbook::g.LogWindowOpen = 1;
        logbook::g.LogEntrySaved = 0;
        logbook::g.LogEditMode = 0;
        zvtest::setBoxText(w->Text5, QStringLiteral("QQ9XYZ"));
        log->Text1->setText(QStringLiteral("QQ9XYZ"));
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_EQ(w->Text5->text(), answer == ui::Yes ? QString() : QStringLiteral("QQ9XYZ"));
    }
}

TEST_F(PickItems, GetFillsTheCallBoxOrOffersTheCandidates) {
    struct Case {
        const char* text;
        int row; // chosen in the list, -1 for none
        QString call;
        QStringList list;
    };
    const QStringList three = {QStringLiteral("QQ9AAA"), QStringLiteral("QQ9CCC"), QStringLiteral("QRZ?"),
                               QStringLiteral("Cancel")};
    const Case cases[] = {
        {"CQ CQ DE QQ9AAA QQ9AAA K", -1, QStringLiteral("QQ9AAA"), {}},
        {"QRZ de tnx k", -1, {}, {}},
        {"CQ DE QQ9AAA QQ9CCC", 1, QStringLiteral("QQ9CCC"), three},
        {"CQ DE QQ9AAA QQ9CCC", 2, QStringLiteral("QRZ?"), three},
        {"CQ DE QQ9AAA QQ9CCC", 3, {}, three},
    };
    logbook::g.HamlogLink = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 row %2").arg(QString::fromUtf8(c.text)).arg(c.row).toStdString());
        zvtest::clearBox(w->Text5);
        w->RichTextBox1->setText(QString::fromUtf8(c.text));
        const int held = core::g.EngineMsgHold;
        QTest::mouseClick(w->Command6, Qt::LeftButton);
        QStringList shown;
        for (int i = 0; i < w->List1->count(); ++i)
            shown.append(w->List1->item(i)->text());
        EXPECT_EQ(shown, c.list);
        EXPECT_EQ(w->List1->isVisible(), !c.list.isEmpty());
        EXPECT_EQ(core::g.EngineMsgHold, held) << "given back as it was";
        if (c.row >= 0) {
            QListWidgetItem* item = w->List1->item(c.row);
            QTest::mouseClick(w->List1->viewport(), Qt::LeftButton, {},
                              w->List1->visualItemRect(item).center());
            EXPECT_FALSE(w->List1->isVisible());
            EXPECT_EQ(w->List1->count(), 0);
        }
        EXPECT_EQ(w->Text5->text(), c.call);
    }
}

TEST_F(PickItems, TheEntryBoxesOvertypeFilterAndWalkOnEnter) {
    struct Case {
        QsoBox* PSK31MAIN::*box;
        QString before;
        int caret;
        QString keys; // typed; "<" is Backspace, "|" Enter, "^" Ctrl+A
        QString after;
        QsoBox* PSK31MAIN::*focus;
    };
    const Case cases[] = {
        {&PSK31MAIN::Text5, {}, 0, QStringLiteral("qq9xyz"), QStringLiteral("QQ9XYZ"), &PSK31MAIN::Text5},
        {&PSK31MAIN::Text5, QStringLiteral("QQ9XYZ"), 0, QStringLiteral("a"), QStringLiteral("A"),
         &PSK31MAIN::Text5},
        {&PSK31MAIN::Text5, QStringLiteral("QQ9XYZ"), 2, QStringLiteral("<"), QStringLiteral("QQ"),
         &PSK31MAIN::Text5},
        {&PSK31MAIN::Text5, QStringLiteral("QQ9XYZ/P"), 6, QStringLiteral("/1"), QStringLiteral("QQ9XYZ/1"),
         &PSK31MAIN::Text5},
        // A selection longer than the overtype is replaced whole.
        {&PSK31MAIN::Text5, QStringLiteral("QQ1ABCDEFGHIJKT/3"), 4, QStringLiteral("^qq1abc/3"),
         QStringLiteral("QQ1ABC/3"), &PSK31MAIN::Text5},
        {&PSK31MAIN::Text5, QStringLiteral("QQ1ABCDEFGHIJKT/3"), 0, QStringLiteral("^<"), QString(),
         &PSK31MAIN::Text5},
        {&PSK31MAIN::Text7, QStringLiteral("599"), 3, QStringLiteral("^57"), QStringLiteral("57"),
         &PSK31MAIN::Text7},
        {&PSK31MAIN::Text5,
         {},
         0,
         QString(25, QLatin1Char('a')),
         QString(20, QLatin1Char('A')),
         &PSK31MAIN::Text5},
        {&PSK31MAIN::Text7, QStringLiteral("599"), 2, QStringLiteral("7"), QStringLiteral("597"),
         &PSK31MAIN::Text7},
        {&PSK31MAIN::Text7, QStringLiteral("599"), 2, QStringLiteral("x-"), QStringLiteral("599"),
         &PSK31MAIN::Text7},
        {&PSK31MAIN::Text7, QStringLiteral("599"), 0, QStringLiteral("<"), QStringLiteral("99"),
         &PSK31MAIN::Text7},
        {&PSK31MAIN::Text7, QStringLiteral("59"), 2, QStringLiteral("9|"), QStringLiteral("599"),
         &PSK31MAIN::Text5},
        {&PSK31MAIN::Text6, QStringLiteral("Taro"), 4, QStringLiteral("u|"), QStringLiteral("Tarou"),
         &PSK31MAIN::Text7},
    };
    for (const Case& c : cases) {
        QLineEdit* box = w->*c.box;
        SCOPED_TRACE(
            (box->objectName() + QLatin1Char(' ') + c.before + QLatin1Char(' ') + c.keys).toStdString());
        box->setText(c.before);
        box->setFocus();
        ASSERT_TRUE(zvtest::waitUntil([box] { return box->hasFocus(); }));
        box->setCursorPosition(c.caret);
        for (QChar k : c.keys) {
            if (k == QLatin1Char('<'))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
            else if (k == QLatin1Char('|'))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            else if (k == QLatin1Char('^'))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            else
                QTest::keyClicks(QApplication::focusWidget(), QString(k));
        }
        EXPECT_EQ(box->text(), c.after);
        EXPECT_EQ(QApplication::focusWidget(), w->*c.focus);
    }
}

TEST_F(PickItems, DownOrADoubleClickInTheCallBoxRunsTheCheck) {
    struct Case {
        bool doubleClick;
        int moveMode;
        int asked;
    };
    const Case cases[] = {{false, 0, 1}, {true, 0, 1}, {false, 1, 0}, {true, 1, 0}};
    logbook::g.HamlogLink = 2; // the check hands the QSO over, and finds no logging program
    zvtest::setBoxText(w->Text5, QStringLiteral("QQ9XYZ"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.doubleClick * 10 + c.moveMode);
        terminal::macros::g.MacroMoveMode = c.moveMode;
        ui::script::clearAsked();
        if (c.doubleClick)
            QTest::mouseDClick(w->Text5, Qt::LeftButton);
        else
            QTest::keyClick(w->Text5, Qt::Key_Down);
        EXPECT_EQ(ui::script::asked().size(), c.asked);
        // The key that must come: typing still reaches the box.
        w->Text5->setFocus();
        w->Text5->setCursorPosition(6);
        QTest::keyClicks(w->Text5, QStringLiteral("a"));
        EXPECT_EQ(w->Text5->text(), QStringLiteral("QQ9XYZA"));
        zvtest::setBoxText(w->Text5, QStringLiteral("QQ9XYZ"));
    }
}

TEST_F(PickItems, TheEndOfContestLoggingPutsTheBoxesBack) {
    struct Case {
        int link;
        const char* preset;
        QString rst;
    };
    const Case cases[] = {{1, "1", QStringLiteral("599")}, {0, "0", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        logbook::g.HamlogLink = c.link;
        core::g.HisRstPresetOn = QString::fromLatin1(c.preset);
        ASSERT_TRUE(zvtest::beginContest(w->CONON, true));
        EXPECT_TRUE(w->CONON->isChecked());
        EXPECT_TRUE(w->GetContestNo->isEnabled());
        EXPECT_TRUE(w->PSTCON_NO->isEnabled());
        ASSERT_TRUE(w->Text11->isVisible());
        w->Text11->setText(QStringLiteral("042"));
        zvtest::setBoxText(w->Text7, QStringLiteral("5NN"));
        TEMP_LOG& entry = forms::TEMP_LOG();
        entry.Text5->setText(QStringLiteral("5NN"));
        entry.Text6->setText(QStringLiteral("001"));
        QSignalSpy unloaded(&entry, &QObject::destroyed);
        ASSERT_TRUE(zvtest::chooseMenuItem(w->CONON)); // the contest ends
        EXPECT_EQ(core::g.ContestMode, 0);
        EXPECT_FALSE(w->GetContestNo->isEnabled());
        EXPECT_FALSE(w->PSTCON_NO->isEnabled());
        EXPECT_FALSE(w->CONON->isChecked());
        EXPECT_FALSE(w->Text11->isVisibleTo(w));
        EXPECT_EQ(w->Text7->text(), c.rst);
        EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")),
                  QStringLiteral("042"));
        EXPECT_TRUE(unloaded.count() == 1 || unloaded.wait(zvtest::kSafetyNetMsecs))
            << "the log entry window is put away";
        EXPECT_TRUE(zvtest::waitUntil([this] { return w->focusWidget() == w->Text1; }));
    }
}

} // namespace

namespace {

// The main pane gives the keyboard away at once, and nothing the operator
// does with keys changes the received text.
TEST_F(PickItems, KeysInTheReceivePaneNeverEditIt) {
    const QString received = QStringLiteral("CQ DE QQ9XYZ K");
    QGuiApplication::clipboard()->setText(QStringLiteral("PASTED"));
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        {"Delete", Qt::Key_Delete, Qt::NoModifier},     {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
        {"Ctrl+X", Qt::Key_X, Qt::ControlModifier},     {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier},
        {"Right arrow", Qt::Key_Right, Qt::NoModifier},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w->RichTextBox1->setText(received);
        w->RichTextBox1->setFocus();
        ASSERT_TRUE(zvtest::waitUntil([this] { return w->RichTextBox1->hasFocus(); }));
        // The whole text selected: a cut or a delete would take it all.
        w->RichTextBox1->selectAll();
        QTest::keyClick(w->RichTextBox1, c.key, c.modifiers);
        EXPECT_EQ(w->RichTextBox1->text(), received);
        EXPECT_EQ(QApplication::focusWidget(), w->Text1);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("PASTED")) << "nothing was cut";
}

// Sends text as an input method commits it.
void compose(QWidget* box, const QString& text) {
    QInputMethodEvent e(QString(), {});
    e.setCommitString(text);
    QApplication::sendEvent(box, &e);
}

TEST_F(PickItems, CallAndRstBoxesTakeComposedAndPastedTextByTheirRules) {
    EXPECT_FALSE(w->Text5->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(w->Text7->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(w->Text6->testAttribute(Qt::WA_InputMethodEnabled)) << "the name box keeps the operator's";
    EXPECT_EQ(w->Text7->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    struct Case {
        const char* name;
        QsoBox* PSK31MAIN::*box;
        QString before;
        int caret;
        QString composed; // empty: the clipboard is pasted with Ctrl+V
        QString clipboard;
        QString after;
    } cases[] = {
        {"composed call, upper case",
         &PSK31MAIN::Text5,
         {},
         0,
         QStringLiteral("qq9xyz"),
         {},
         QStringLiteral("QQ9XYZ")},
        {"composed call overtypes",
         &PSK31MAIN::Text5,
         QStringLiteral("QQ9XYZ"),
         0,
         QStringLiteral("a"),
         {},
         QStringLiteral("A")},
        {"composed RST, digits only, overtyped",
         &PSK31MAIN::Text7,
         QStringLiteral("599"),
         1,
         QStringLiteral("4x"),
         {},
         QStringLiteral("549")},
        {"pasted RST keeps its digits",
         &PSK31MAIN::Text7,
         QStringLiteral("5"),
         1,
         {},
         QStringLiteral("7x9"),
         QStringLiteral("579")},
        {"pasted letters leave the RST as it was",
         &PSK31MAIN::Text7,
         QStringLiteral("599"),
         3,
         {},
         QStringLiteral("abc"),
         QStringLiteral("599")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit* box = w->*c.box;
        box->setText(c.before);
        box->setFocus();
        ASSERT_TRUE(zvtest::waitUntil([box] { return box->hasFocus(); }));
        box->setCursorPosition(c.caret);
        if (c.composed.isEmpty()) {
            QGuiApplication::clipboard()->setText(c.clipboard);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            compose(box, c.composed);
        }
        EXPECT_EQ(box->text(), c.after);
    }
    // What the program writes there (a pick from a list) keeps to the same rule.
    zvtest::setBoxText(w->Text7, QStringLiteral("5NN"));
    EXPECT_EQ(w->Text7->text(), QStringLiteral("5"));
}

TEST_F(PickItems, TheRetuneLabelsTellWhatTheyDo) {
    const QString tip = QStringLiteral("RIGコン時受信信号に対してTXFreqまでVFOを動かします(逆NET)");
    EXPECT_EQ(w->Label11->toolTip(), tip);
    EXPECT_EQ(w->Label16->toolTip(), tip);
    // In the PSK modes both frequency captions show, and nothing covers them.
    for (QLabel* label : {w->Label16, w->Label19}) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_TRUE(label->isVisible());
        const QPoint centre = label->mapTo(w, label->rect().center());
        EXPECT_EQ(w->childAt(centre), label);
    }
}

} // namespace
