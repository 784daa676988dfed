// Typing into the log entry window's fields: accepted keys, overwrite typing,
// focus moves, the date and time switches and the copies to the main window.
#include "logwindows/LogFixture.h"

#include "core/ini/IniValues.h"
#include "platform/os/Cp932.h"
#include "rig/RigPort.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMimeData>

namespace {

using zvtest::LogTest;
using Field = QLineEdit* TEMP_LOG::*;

// '\b' is Backspace, '\x7f' Delete, '\r' Enter, '\x01' Ctrl+A, '\x02' Shift+Home;
// other characters are typed as they stand.
void typeKeys(QWidget* target, const QString& keys) {
    for (QChar c : keys) {
        if (c == QChar(0x01))
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        else if (c == QChar(0x02))
            QTest::keyClick(target, Qt::Key_Home, Qt::ShiftModifier);
        else if (c == QLatin1Char('\b'))
            QTest::keyClick(target, Qt::Key_Backspace);
        else if (c == QChar(0x7f))
            QTest::keyClick(target, Qt::Key_Delete);
        else if (c == QLatin1Char('\r'))
            QTest::keyClick(target, Qt::Key_Return);
        else
            QTest::keyClick(target, c.toLatin1());
    }
}

// Keys go to whichever widget has the focus, as the operator's keys do.
void typeFocused(const QString& keys) {
    for (QChar c : keys)
        typeKeys(QApplication::focusWidget(), QString(c));
}

void commitText(QWidget* box, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(box, &e);
}

class LogFieldsTest : public LogTest {
  protected:
    TEMP_LOG& open() {
        TEMP_LOG& w = openFromMain(QStringLiteral("QQ2XYZ"), QStringLiteral("太郎"));
        w.activateWindow();
        EXPECT_TRUE(zvtest::waitActive(&w));
        return w;
    }
    static void focusAt(QLineEdit* box, const QString& text, int cursor) {
        box->setFocus();
        box->setText(text);
        box->setCursorPosition(cursor);
    }
    static void clickLabel(QWidget* label) { QTest::mouseClick(label, Qt::LeftButton); }
};

TEST_F(LogFieldsTest, EachFieldTakesOnlyItsCharacters) {
    struct Case {
        Field field;
        const char* before;
        int cursor;
        const char* keys;
        const char* after;
        const char* slashPart = nullptr;      // the "/" part box after the keys
        const char* slashBefore = "";         // and before them
        QComboBox* TEMP_LOG::*band = nullptr; // the band box, typed in place of the field
    } cases[] = {
        {&TEMP_LOG::Text3, "2024-01-05", 3, "7", "2027-01-05"},
        {&TEMP_LOG::Text3, "2024-01-05", 6, "\b\x7f", "2024-01-05"},
        {&TEMP_LOG::Text3, "2024-01-05", 0, "a-/", "2024-01-05"},
        // All selected: a date, a time or a report keeps its places.
        {&TEMP_LOG::Text3, "2024-01-05", 10,
         "\x02"
         "20251231",
         "2025-12-31"},
        {&TEMP_LOG::Text4, "14:05J", 3,
         "\x01"
         "0800",
         "08:00J"},
        {&TEMP_LOG::Text5, "599", 3,
         "\x02"
         "57",
         "579"},
        {&TEMP_LOG::Text4, "12:34J", 5, "u", "12:34U"},
        {&TEMP_LOG::Text4, "12:34U", 5, "j\b", "12:34J"},
        // A ":" typed where the box stepped over its colon is that colon.
        {&TEMP_LOG::Text4, "14:05J", 0, "08:00J", "08:00J"},
        {&TEMP_LOG::Text4, "14:05U", 0, "09:3", "09:35U"},
        {&TEMP_LOG::Text4, "14:05J", 2, ":", "14:05J"},
        // A "/" goes on in the "/" part box.
        {&TEMP_LOG::Text1, "", 0, "qq1/abc", "QQ1", "ABC"},
        {&TEMP_LOG::Text1, "", 0, "3d2/", "3D2", ""},
        // A call selected whole is typed anew, the "/" part too: no tail of either stays.
        {&TEMP_LOG::Text1, "QQ1ABCT", 2, "\x01qq1abc/3", "QQ1ABC", "3", "3"},
        {&TEMP_LOG::Text1, "QQ1ABCDEFGHIJKLMNOPQ", 0, "\x01q", "Q"},
        {&TEMP_LOG::Text8, "BPSK", 4, "\x01rtty", "RTTY"},
        {&TEMP_LOG::Text1, "QQ1ABC", 0, "7", "7Q1ABC"},
        {&TEMP_LOG::Text1, "QQ1ABC", 6, "\b", "QQ1AB"},
        {&TEMP_LOG::Text2, "P", 0, "kh6", "KH6P"},
        {&TEMP_LOG::Text6, "", 0, "5x9-", "59"},
        {&TEMP_LOG::Text8, "BPSK", 0, "rtty", "RTTY"},
        {&TEMP_LOG::Text9, "", 0, "12ab-", "12AB"},
        {&TEMP_LOG::Text10, "", 0, "pm95", "PM95"},
        {&TEMP_LOG::Text11, "J", 0, "1", "J"},
        {&TEMP_LOG::Text11, "J", 0, "n", "N"},
        {&TEMP_LOG::Text16, "a", 0, "*", "*"},
        {&TEMP_LOG::Text17, "", 0, "b", "b"},
        {&TEMP_LOG::Text12, "X", 0, "ab/", "ab/X"},
        {&TEMP_LOG::Text13, "", 0, "tokyo", "tokyo"},
        // The band box takes digits and a point, whichever of its parts has
        // the focus; Enter sets the band and adds none to the list.
        {.field = nullptr,
         .before = "14",
         .cursor = 2,
         .keys = "a\b.0x7",
         .after = "14.07",
         .band = &TEMP_LOG::Combo1},
        {.field = nullptr,
         .before = "21",
         .cursor = 2,
         .keys = "/.08-\r",
         .after = "21.08",
         .band = &TEMP_LOG::Combo1},
    };
    TEMP_LOG& w = open();
    for (const Case& c : cases) {
        QLineEdit* box = c.band ? (w.*c.band)->lineEdit() : w.*c.field;
        SCOPED_TRACE(std::string(c.before) + "|" + c.keys);
        w.Text2->setText(QLatin1String(c.slashBefore));
        focusAt(box, QString::fromLatin1(c.before), c.cursor);
        typeFocused(QString::fromLatin1(c.keys));
        EXPECT_EQ(box->text(), QString::fromLatin1(c.after));
        if (c.slashPart) {
            EXPECT_EQ(w.Text2->text(), QLatin1String(c.slashPart));
            EXPECT_TRUE(w.Text2->hasFocus());
        }
    }
    EXPECT_EQ(w.Label17->text(), QStringLiteral("21.08"));
    EXPECT_TRUE(w.Text9->hasFocus());
    EXPECT_EQ(w.Combo1->count(), logwindows::kBands.size());
    // The last band of the list, chosen from it, is stored by its place there.
    EXPECT_TRUE(zvtest::chooseInList(w.Combo1, w.Combo1->count() - 1));
    EXPECT_EQ(w.Combo1->currentText(), logwindows::kBands.last());
    EXPECT_EQ(core::IniStored(QStringLiteral("Hamlog"), QStringLiteral("LastBand")).value_or(QString()),
              QStringLiteral("14"));
    // Esc in the open list closes the list and asks nothing of the entry.
    w.Combo1->setFocus();
    QTest::keyClick(w.Combo1, Qt::Key_F4);
    QAbstractItemView* list = w.Combo1->view();
    ASSERT_TRUE(zvtest::waitUntil([list] { return list->isVisible(); }));
    ui::script::clearAsked();
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_TRUE(zvtest::waitUntil([list] { return !list->isVisible(); }));
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_TRUE(forms::isLoaded<TEMP_LOG>());
}

// Text with line breaks pasted into any one-line box of the QSO: the box holds
// one line, and so does what is stored. A call and a report keep to what their
// keys take, whichever way the text comes: a call in upper case without
// blanks, a report in digits.
TEST_F(LogFieldsTest, APastedLineBreakBecomesABlankInEveryQsoBox) {
    const QString pasted = QStringLiteral("Line1 東京\r\nLine2 大阪\nLine3");
    const QString joined = QStringLiteral("Line1 東京 Line2 大阪 Line3");
    PSK31MAIN& m = forms::PSK31MAIN();
    m.show();
    TEMP_LOG& w = open();
    enum class Way { CtrlV, Menu, Drop, Pick };
    const auto put = [](QWidget* window, QLineEdit* box, Way way, const QString& text) {
        window->activateWindow();
        EXPECT_TRUE(zvtest::waitActive(window));
        box->setFocus();
        box->selectAll();
        QApplication::clipboard()->setText(text);
        if (way == Way::CtrlV) QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        if (way == Way::Menu) {
            box->clear();
            // The right button's press, as the window system turns it into a menu request.
            const QPoint at = box->rect().center();
            QContextMenuEvent request(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
            QApplication::sendEvent(box, &request);
            ASSERT_TRUE(zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            // The box's own menu names its paste item by the paste key, in any language.
            const QString pasteKey = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
            QAction* paste = nullptr;
            for (QAction* a : menu->actions())
                if (a->text().endsWith(QLatin1Char('\t') + pasteKey)) paste = a;
            EXPECT_TRUE(zvtest::chooseInPopup(menu, paste));
        }
        if (way == Way::Drop) {
            box->clear();
            QMimeData mime;
            mime.setText(text);
            const QPoint at = box->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &dropped);
        }
        // A pick writes the box from the program, as the word picks and the lists do.
        if (way == Way::Pick) box->setText(text);
        EXPECT_FALSE(box->text().contains(QLatin1Char('\n')) || box->text().contains(QLatin1Char('\r')))
            << box->text().toStdString();
    };
    const struct {
        QWidget* window;
        QLineEdit* box;
        Way way;
        QString text;
        QString held; // what the box holds after; nothing: only one line
    } cases[] = {
        {&m, m.Text5, Way::CtrlV, QStringLiteral("QQ3PA\nST"), QStringLiteral("QQ3PAST")},
        {&m, m.Text5, Way::Menu, QStringLiteral("qq3ab\rcd"), QStringLiteral("QQ3ABCD")},
        // The main call box takes no drop at all: a call comes in through its door.
        {&m, m.Text5, Way::Drop, QStringLiteral(" qq1 xy/p\r\n"), {}},
        {&m, m.Text5, Way::Pick, QStringLiteral("qq9 abc\t"), QStringLiteral("QQ9ABC")},
        // Held to the rule first, then cut at the box's length: blanks and
        // breaks take no room from what the box can hold.
        {&m, m.Text5, Way::CtrlV, pasted, QStringLiteral("LINE1東京LINE2大阪LINE3")},
        {&m, m.Text5, Way::Menu, QStringLiteral("qq1 abc\r\ndefg hijk lmno pqrs tu"),
         QStringLiteral("QQ1ABCDEFGHIJKLMNOPQ")},
        {&m, m.Text7, Way::Drop, QStringLiteral("5 9 9 5 9 9 5 9 9 5 9"), QStringLiteral("59959959959")},
        {&m, m.Text6, Way::CtrlV, QStringLiteral("ab\r\n").repeated(20), QStringLiteral("ab ").repeated(20)},
        // The log's boxes that count their width in bytes too: the rule first,
        // then the cut, and the width judges what is left.
        {&w, w.Text12, Way::Drop, QStringLiteral("ab\r\n").repeated(30),
         QStringLiteral("ab ").repeated(22).left(64)},
        {&w, w.Text13, Way::Menu, QStringLiteral("ab\r\n").repeated(50),
         QStringLiteral("ab ").repeated(43).left(128)},
        {&m, m.Text7, Way::CtrlV, QStringLiteral("5 7x"), QStringLiteral("57")},
        {&m, m.Text7, Way::Menu, QStringLiteral("5\r\n9"), QStringLiteral("59")},
        {&m, m.Text7, Way::Drop, QStringLiteral("5x9"), QStringLiteral("59")},
        {&m, m.Text7, Way::Pick, QStringLiteral("5NN"), QStringLiteral("5")},
        {&m, m.Text11, Way::CtrlV, pasted, {}},
        {&m, m.Text14, Way::CtrlV, pasted, joined},
        {&m, m.Text6, Way::CtrlV, pasted, joined},
        // The log's fixed boxes drop Ctrl+V as their keys do; every other way passes their rule.
        {&w, w.Text1, Way::CtrlV, pasted, {}},
        {&w, w.Text1, Way::Menu, QStringLiteral("qq1 xy/p"), QStringLiteral("QQ1XY/P")},
        {&w, w.Text1, Way::Drop, QStringLiteral("qq1\nxy"), QStringLiteral("QQ1XY")},
        {&w, w.Text2, Way::Menu, QStringLiteral("p\r\n"), QStringLiteral("P")},
        {&w, w.Text6, Way::Drop, QStringLiteral("5\r\n9"), QStringLiteral("59")},
        {&w, w.Text5, Way::Menu, QStringLiteral("5 7x"), QStringLiteral("57")},
        {&w, w.Text9, Way::CtrlV, pasted, {}},
        {&w, w.Text13, Way::CtrlV, pasted, joined},
        {&w, w.Text14, Way::Menu, pasted, joined},
        {&w, w.Text15, Way::Drop, pasted, joined},
        // The band box: a band the program puts there (a stored record's)
        // shows as it stands; a paste gives it only what its keys take.
        {&w, w.Combo1->lineEdit(), Way::Pick, QStringLiteral("10G"), QStringLiteral("10G")},
        {&w, w.Combo1->lineEdit(), Way::CtrlV, QStringLiteral("14.0 7x\r\nMHz"), QStringLiteral("14.07")},
        {&w, w.Combo1->lineEdit(), Way::Menu, QStringLiteral("abc21"), QStringLiteral("21")},
        {&w, w.Combo1->lineEdit(), Way::Drop, QStringLiteral("７ 7.0a40"), QStringLiteral("7.040")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString() + " " + c.text.toStdString());
        put(c.window, c.box, c.way, c.text);
        if (!c.held.isEmpty()) {
            EXPECT_EQ(c.box->text(), c.held);
        }
    }
    EXPECT_EQ(w.Text12->text(), joined) << "the name as the main window passes it on";
    QTest::keyClick(w.Text13, Qt::Key_F1);
    ASSERT_EQ(logCount(), 1);
    const hamlog::QsoRecord r = stored(1);
    EXPECT_EQ(r.CALL.trimmed(), QStringLiteral("QQ1XY/P"));
    EXPECT_EQ(r.HIS.trimmed(), QStringLiteral("57"));
    EXPECT_EQ(r.MY.trimmed(), QStringLiteral("59"));
    EXPECT_EQ(r.NAME.trimmed(), joined);
    EXPECT_EQ(r.QTH.trimmed(), joined);
    EXPECT_EQ(r.REM1.trimmed(), joined);
    EXPECT_EQ(r.REM2.trimmed(), joined);
    EXPECT_EQ(r.FREQ.trimmed(), QStringLiteral("7.040"));
}

TEST_F(LogFieldsTest, EnterMovesTheFocusInTheFixedOrder) {
    TEMP_LOG& w = open();
    const std::pair<QLineEdit*, QWidget*> order[] = {
        {w.Text1, w.Text6},   {w.Text2, w.Text4},   {w.Text3, w.Text4},   {w.Text4, w.Text5},
        {w.Text5, w.Text6},   {w.Text6, w.Combo1},  {w.Text8, w.Text9},   {w.Text9, w.Text10},
        {w.Text10, w.Text12}, {w.Text12, w.Text13}, {w.Text13, w.Text11}, {w.Text11, w.Text16},
        {w.Text16, w.Text17}, {w.Text17, w.Text14}, {w.Text14, w.Text15}, {w.Text15, w.Text4},
    };
    for (const auto& [from, to] : order) {
        SCOPED_TRACE(from->text().toStdString());
        const QString before = from->text();
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_TRUE(to->hasFocus());
        EXPECT_EQ(from->text(), before);
    }
    w.Combo1->setEditText(QStringLiteral("14"));
    w.Text6->setFocus();
    QTest::keyClick(w.Text6, Qt::Key_Return);
    EXPECT_EQ(w.Combo1->lineEdit()->cursorPosition(), 2);
}

TEST_F(LogFieldsTest, FixedFieldsSkipTheirSeparatorsAndMoveOnWhenFull) {
    TEMP_LOG& w = open();
    focusAt(w.Text3, QStringLiteral("2024-01-05"), 0);
    typeFocused(QStringLiteral("2025"));
    EXPECT_EQ(w.Text3->cursorPosition(), 5);
    typeFocused(QStringLiteral("12"));
    EXPECT_EQ(w.Text3->cursorPosition(), 8);
    typeFocused(QStringLiteral("31"));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("2025-12-31"));
    ASSERT_TRUE(w.Text4->hasFocus());
    EXPECT_EQ(w.Text4->cursorPosition(), 0);

    typeFocused(QStringLiteral("08"));
    EXPECT_EQ(w.Text4->cursorPosition(), 3);
    typeFocused(QStringLiteral("45"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("08:45J"));

    focusAt(w.Text5, QString(), 0);
    typeFocused(QStringLiteral("579"));
    ASSERT_TRUE(w.Text6->hasFocus());
    typeFocused(QStringLiteral("5"));
    EXPECT_EQ(w.Text5->text(), QStringLiteral("579"));
    EXPECT_EQ(w.Text6->text(), QStringLiteral("5"));
}

TEST_F(LogFieldsTest, EnteringTheRstFieldByKeyDoesNotSkipIt) {
    TEMP_LOG& w = open();
    w.Text5->setText(QStringLiteral("599"));
    w.Text4->setFocus();
    // The release of Enter reaches the field the press moved the focus to.
    QTest::keyPress(w.Text4, Qt::Key_Return);
    ASSERT_TRUE(w.Text5->hasFocus());
    QTest::keyRelease(w.Text5, Qt::Key_Return);
    ASSERT_TRUE(w.Text5->hasFocus());
    typeFocused(QStringLiteral("57"));
    EXPECT_EQ(w.Text5->text(), QStringLiteral("579"));
    EXPECT_TRUE(w.Text5->hasFocus());

    // Tab selects the whole field; typing then overwrites it from its start.
    w.Text5->setText(QStringLiteral("599"));
    w.Text4->setFocus();
    QTest::keyPress(w.Text4, Qt::Key_Tab);
    ASSERT_TRUE(w.Text5->hasFocus());
    QTest::keyRelease(w.Text5, Qt::Key_Tab);
    ASSERT_TRUE(w.Text5->hasFocus());
    typeFocused(QStringLiteral("57"));
    EXPECT_EQ(w.Text5->text(), QStringLiteral("579"));
    EXPECT_TRUE(w.Text5->hasFocus());
    typeFocused(QStringLiteral("9"));
    EXPECT_TRUE(w.Text6->hasFocus());
}

TEST_F(LogFieldsTest, JstUtcSwitchTakesTheDateFromTheQsoHour) {
    struct Case {
        const char* qsoTime;
        const char* date;
        const char* time;
        const char* now = "2024-03-02 10:00";
        const char* jstDate = "2024-03-02";
    } cases[] = {
        {"08:30", "2024-03-01", "23:30U"},
        {"09:00", "2024-03-02", "00:00U"},
        {"00:05", "2024-03-01", "15:05U"},
        // Begun before midnight, switched after it: the QSO keeps its own day.
        {"23:50", "2024-03-01", "14:50U", "2024-03-02 00:10", "2024-03-01"},
        {"08:59", "2024-02-28", "23:59U", "2024-03-01 00:01", "2024-02-29"},
    };
    TEMP_LOG& w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.qsoTime);
        setJst(QString::fromLatin1(c.now));
        logbook::g.QsoTime = QTime::fromString(QString::fromLatin1(c.qsoTime), QStringLiteral("HH:mm"));
        core::g.LogTimeUtc = 0;
        clickLabel(w.Label4);
        EXPECT_EQ(w.Text3->text(), QString::fromLatin1(c.date));
        EXPECT_EQ(w.Text4->text(), QString::fromLatin1(c.time));
        EXPECT_EQ(w.Label4->text(), QStringLiteral("Time(UTC)"));
        EXPECT_EQ(core::g.LogTimeUtc, 1);
        clickLabel(w.Label4);
        EXPECT_EQ(w.Text3->text(), QString::fromLatin1(c.jstDate));
        EXPECT_EQ(w.Text4->text(), QString::fromLatin1(c.qsoTime) + QLatin1Char('J'));
        EXPECT_EQ(w.Label4->text(), QStringLiteral("Time(JST)"));
        EXPECT_EQ(core::g.LogTimeUtc, 0);
        // Down in the "/" field always goes to UTC.
        core::g.LogTimeUtc = 1;
        QTest::keyClick(w.Text2, Qt::Key_Down);
        EXPECT_EQ(w.Text4->text(), QString::fromLatin1(c.time));
        EXPECT_TRUE(w.Text4->hasFocus());
    }
    logbook::g.LogEditMode = 1;
    clickLabel(w.Label4);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Time(UTC)"));
}

TEST_F(LogFieldsTest, DownInTheTimeFieldRefreshesItInItsZone) {
    struct Case {
        const char* now;
        const char* before;
        int editMode;
        const char* date;
        const char* time;
        bool moved;
    } cases[] = {
        {"2024-03-02 10:15", "09:00J", 0, "2024-03-02", "10:15J", true},
        {"2024-03-02 10:15", "09:00U", 0, "2024-03-02", "01:15U", true},
        {"2024-03-02 05:10", "09:00U", 0, "2024-03-01", "20:10U", true},
        {"2024-03-02 10:15", "09:00J", 1, "2024-01-01", "09:00J", false},
    };
    TEMP_LOG& w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.now);
        setJst(QString::fromLatin1(c.now));
        logbook::g.LogEditMode = c.editMode;
        w.Text3->setText(QStringLiteral("2024-01-01"));
        focusAt(w.Text4, QString::fromLatin1(c.before), 0);
        QTest::keyClick(w.Text4, Qt::Key_Down);
        EXPECT_EQ(w.Text3->text(), QString::fromLatin1(c.date));
        EXPECT_EQ(w.Text4->text(), QString::fromLatin1(c.time));
        EXPECT_EQ(w.Text5->hasFocus(), c.moved);
    }
    typeKeys(w.Text4, QStringLiteral("\x7f"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("9:00J")) << "Delete works while a logged record is edited";
}

TEST_F(LogFieldsTest, DownInTheCallFieldNeedsACall) {
    TEMP_LOG& w = open();
    logbook::g.WkdCall = QStringLiteral("OLD");
    focusAt(w.Text1, QString(), 0);
    QTest::keyClick(w.Text1, Qt::Key_Down);
    EXPECT_TRUE(w.Text1->hasFocus());
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("OLD"));
    focusAt(w.Text1, QStringLiteral("QQ3ABC "), 0);
    QTest::keyClick(w.Text1, Qt::Key_Down);
    EXPECT_TRUE(w.Text4->hasFocus());
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("QQ3ABC"));
}

TEST_F(LogFieldsTest, CallRstAndNameFollowTheMainWindowUnlessEditing) {
    TEMP_LOG& w = open();
    PSK31MAIN& m = forms::PSK31MAIN();
    for (int edit : {0, 1}) {
        SCOPED_TRACE(edit);
        // A change in the main window's boxes while a logged record is shown
        // starts a new entry; the record is shown only after they are filled.
        logbook::g.LogEditMode = 0;
        zvtest::setBoxText(m.Text5, QStringLiteral("MAIN"));
        zvtest::setBoxText(m.Text7, QStringLiteral("111"));
        zvtest::setBoxText(m.Text6, QStringLiteral("花子"));
        logbook::g.LogEditMode = edit;
        focusAt(w.Text1, QString(), 0);
        typeKeys(w.Text1, QStringLiteral("qq4d"));
        focusAt(w.Text5, QString(), 0);
        typeKeys(w.Text5, QStringLiteral("57"));
        EXPECT_EQ(m.Text5->text(), edit ? QStringLiteral("MAIN") : QStringLiteral("QQ4D"));
        EXPECT_EQ(m.Text7->text(), edit ? QStringLiteral("111") : QStringLiteral("57"));

        w.Text12->clear();
        clickLabel(w.Label11);
        EXPECT_EQ(w.Text12->text(), edit ? QString() : QStringLiteral("花子"));
        // The name goes back on Enter in both modes.
        focusAt(w.Text12, QStringLiteral(" 次郎 "), 0);
        QTest::keyClick(w.Text12, Qt::Key_Return);
        EXPECT_EQ(m.Text6->text(), QStringLiteral("次郎"));
        zvtest::clearBox(m.Text6);
    }
}

TEST_F(LogFieldsTest, LabelsSwitchTheInputMethodAndKeepTheSwitch) {
    struct Case {
        QLabel* TEMP_LOG::*label;
        Field field;
        int logbook::Globals::*on;
        const char* key;
    } cases[] = {
        {&TEMP_LOG::Label12, &TEMP_LOG::Text13, &logbook::Globals::QthImeOn, "QTHIME_SW"},
        {&TEMP_LOG::Label14, &TEMP_LOG::Text14, &logbook::Globals::Rem1ImeOn, "Rem1IME_SW"},
        {&TEMP_LOG::Label15, &TEMP_LOG::Text15, &logbook::Globals::Rem2ImeOn, "Rem2IME_SW"},
    };
    TEMP_LOG& w = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QLineEdit* box = w.*c.field;
        for (int expected : {1, 0}) {
            clickLabel(w.*c.label);
            EXPECT_EQ(logbook::g.*c.on, expected);
            EXPECT_EQ(box->testAttribute(Qt::WA_InputMethodEnabled), expected == 1);
            EXPECT_TRUE(box->hasFocus());
            EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QString::fromLatin1(c.key)),
                      QString::number(expected));
        }
        // Focus applies the switch again even when something else changed the box.
        box->setAttribute(Qt::WA_InputMethodEnabled, true);
        w.Text1->setFocus();
        box->setFocus();
        EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled));
    }
}

TEST_F(LogFieldsTest, ModeListShowsOnItsLabelAndHidesAfterAPick) {
    writeFile(QStringLiteral("otherMODE.DAT"), "Hell\r\nFT8\r\n");
    TEMP_LOG& w = open();
    EXPECT_FALSE(w.List1->isVisible());
    clickLabel(w.Label8);
    ASSERT_TRUE(w.List1->isVisible());
    EXPECT_TRUE(w.List1->hasFocus());
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {},
                      w.List1->visualItemRect(w.List1->item(1)).center());
    EXPECT_EQ(w.Text8->text(), QStringLiteral("FT8"));
    EXPECT_TRUE(w.Text8->hasFocus());
    EXPECT_FALSE(w.List1->isVisible());
}

TEST_F(LogFieldsTest, JapaneseTextStaysWithinTheFieldsBytesAndIsStoredWhole) {
    TEMP_LOG& w = open();
    const QString name = QString(31, QChar(0x5C71)); // 31 x "山", 62 bytes
    focusAt(w.Text12, QString(), 0);
    commitText(w.Text12, name);
    commitText(w.Text12, QStringLiteral("a"));
    commitText(w.Text12, QStringLiteral("山"));
    EXPECT_EQ(w.Text12->text(), name + QLatin1Char('a')) << "a character past 64 bytes is refused";
    typeKeys(w.Text12, QStringLiteral("b"));
    EXPECT_EQ(cp932::byteLength(w.Text12->text()), 64);
    const QString qth = QString(64, QChar(0x6771)); // 64 x "東", the full 128 bytes
    focusAt(w.Text13, QString(), 0);
    commitText(w.Text13, qth);
    commitText(w.Text13, QStringLiteral("京"));
    EXPECT_EQ(w.Text13->text(), qth);

    pressF1();
    const hamlog::QsoRecord r = stored(1);
    EXPECT_EQ(r.NAME.trimmed(), name + QStringLiteral("ab"));
    EXPECT_EQ(r.QTH.trimmed(), qth);
}

TEST_F(LogFieldsTest, MhzLabelReadsTheRigOnlyWhenItIsNotPolled) {
    struct Case {
        int pollMode;
        int editMode;
        bool reads;
    } cases[] = {{0, 0, true}, {1, 0, true}, {2, 0, false}, {0, 1, false}};
    TEMP_LOG& w = open();
    zvtest::RigSimulator sim(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(sim.isOpen());
    zvtest::pointRigLinkAt(sim);
    sim.dialHz = 21080000;
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pollMode << " " << c.editMode);
        rig::g.RigPollMode = c.pollMode;
        logbook::g.LogEditMode = c.editMode;
        w.Label17->setText(QStringLiteral("7"));
        sim.commands.clear();
        clickLabel(w.Label7);
        if (c.reads) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return w.Label17->text() == QLatin1String("21.080"); }));
        } else {
            ASSERT_TRUE(zvtest::waitForRigToCatchUp(sim));
            EXPECT_TRUE(sim.commands.isEmpty());
            EXPECT_EQ(w.Label17->text(), QStringLiteral("7"));
        }
    }
    rig::RigClosePort();
}

} // namespace
