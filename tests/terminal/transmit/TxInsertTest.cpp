// The transmit box's insert menu and clipboard paste: appended at the end, to
// the engine at once, with quoting and the history of character kinds.
#include "terminal/transmit/TxFixture.h"

#include "core/SharedRoutines.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Clock.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/transmit/TxInsert.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

class TxInsert : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        // On the air, so that no new-line rule applies unless a test asks for
        // it; the library keeps what it gets, so that it can be taken back.
        pskcore::lib().hooks().charIntervalMs = 3600 * 1000;
        transmitByF12();
        pskcore::lib().clearCalls();
    }
    // A click on the box's tick when it does not show the state yet.
    void setByClick(QCheckBox* box, bool on) {
        if (box->isChecked() != on) zvtest::tick(box);
        EXPECT_EQ(box->isChecked(), on);
    }
    QStringList sent() const {
        QStringList s;
        for (const QString& c : calls())
            if (c.startsWith(QLatin1String("fnSendTXString"))) s << c;
        return s;
    }
};

TEST_F(TxInsert, ItemsAppendAtTheEndAndSendAtOnce) {
    sysclock::setUtcForTest(QDateTime(QDate(2026, 5, 3), QTime(3, 4, 5), Qt::UTC));
    zvtest::setBoxText(w->Text5, QStringLiteral("JH3ABC"));
    zvtest::setBoxText(w->Text7, QStringLiteral("599"));
    zvtest::setBoxText(w->Text14, QStringLiteral("Kyoto"));
    struct Case {
        QAction* item;
        QString inserted;
    };
    terminal::receive::MakeTimeStamp();
    const QList<Case> cases = {
        {w->INSHisCall, QStringLiteral("JH3ABC")},
        {w->INSHISRST, QStringLiteral("599")},
        {w->INSHisQTH, QStringLiteral("Kyoto")},
        {w->INSMyCall, QStringLiteral("JA1ZVK")},
        {w->INSTimeStamp, core::g.TimeStampText + QStringLiteral("\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->text().toStdString());
        w->Text1->setText(QStringLiteral("de "));
        w->Text1->setSelStart(1);
        pskcore::lib().clearCalls();
        ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), c.item));
        EXPECT_EQ(w->Text1->text(), QStringLiteral("de ") + QString(c.inserted).replace("\r\n", "\n"));
        EXPECT_EQ(w->Text1->selStart(), w->Text1->length()) << "caret behind the last character";
        EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"" + c.inserted + "\")"});
    }
}

TEST_F(TxInsert, TheGreetingItemInsertsTheGreetingForTheOtherStationsHour) {
    sysclock::setUtcForTest(QDateTime(QDate(2026, 5, 3), QTime(1, 30), Qt::UTC));
    logbook::g.HamlogLink = 1;
    w->INSAISATU->setEnabled(true); // as a start with the library link leaves it
    logbook::g.Longitude = 120;
    logbook::g.LongitudeSide = QStringLiteral("西経");
    w->Text1->setText(QString());
    ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), w->INSAISATU));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("Good Afternoon"));
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("17:30"));
}

TEST_F(TxInsert, HisNameWithAndWithoutHonorific) {
    struct Case {
        QString name;
        bool san;
        int ime;
        QString expected;
    };
    const QList<Case> cases = {
        {{}, false, 2, QStringLiteral(" Dear Friend ")},
        {QStringLiteral("Taro"), true, 0, QStringLiteral("Taro San ")},
        {QStringLiteral("太郎"), true, 2, QStringLiteral("太郎さん ")},
        {QStringLiteral("Taro"), false, 2, QStringLiteral("Taro")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        w->Text1->setText(QString());
        zvtest::setBoxText(w->Text6, c.name);
        setByClick(w->Check1, c.san);
        core::g.ImeState = c.ime;
        ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), w->INSHisName));
        EXPECT_EQ(w->Text1->text(), c.expected);
        EXPECT_EQ(terminal::transmit::g.HisNameText, c.expected);
    }
}

TEST_F(TxInsert, InsertedDoubleByteTextIsTakenBackWhole) {
    zvtest::setBoxText(w->Text6, QStringLiteral("太郎"));
    setByClick(w->Check1, false);
    ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), w->INSHisName));
    pskcore::lib().clearCalls();
    QTest::keyClick(w->Text1, Qt::Key_Backspace);
    EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"\b\b\")"});
    EXPECT_EQ(w->Text1->text(), QStringLiteral("太"));
}

TEST_F(TxInsert, InsertIntoAnEmptyBoxWhileReceivingBeginsANewLine) {
    endByEscape();
    pskcore::lib().clearCalls();
    ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), w->INSMyCall));
    EXPECT_EQ(sent(), (QStringList{"fnSendTXString(\"\r\n\")", "fnSendTXString(\"JA1ZVK\")"}));
}

TEST_F(TxInsert, TwoLinesPastedWithQuoteMarks) {
    core::g.UseQuoteMark = QStringLiteral("YES");
    core::g.QuoteMark = QStringLiteral(">");
    QGuiApplication::clipboard()->setText(QStringLiteral("line one\nline two"));
    w->Text1->setText(QStringLiteral("re: "));
    QTest::keyClick(w->Text1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w->Text1->text(), QStringLiteral("re: >line one\n>line two\n"));
    EXPECT_EQ(sent(), QStringList{"fnSendTXString(\">line one\r\n>line two\r\n\")"});
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty()) << "the box's own paste finds nothing";
    const QMimeData* emptied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(emptied && emptied->hasText()) << "emptied, it holds an empty text, not nothing";
    EXPECT_TRUE(terminal::transmit::g.PasteText.isEmpty());
}

// A paste over the bound goes nowhere, said: nothing of it on the air, the
// box and the clipboard as they were; one at the bound goes whole.
TEST_F(TxInsert, APasteTooLongIsRefusedWholeAndSaid) {
    const QString refused =
        QStringLiteral("貼り付けできません: クリップボードの文字が多すぎます (32767文字まで)");
    const struct {
        const char* clip;
        QString text;
        bool taken;
    } rows[] = {
        {"tens of megabytes", QString(20 * 1024 * 1024, QLatin1Char('a')), false},
        {"one character over", QString(terminal::transmit::kLongestPaste + 1, QLatin1Char('b')), false},
        {"at the bound", QString(terminal::transmit::kLongestPaste, QLatin1Char('c')), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.clip);
        QGuiApplication::clipboard()->setText(row.text);
        w->Text1->setText(QStringLiteral("re: "));
        pskcore::lib().clearCalls();
        ui::script::clearAsked();
        QTest::keyClick(w->Text1, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(!ui::script::asked().isEmpty() && ui::script::asked().back().prompt == refused, !row.taken);
        EXPECT_EQ(w->Text1->text(), row.taken ? QStringLiteral("re: ") + row.text : QStringLiteral("re: "));
        EXPECT_EQ(sent().size(), row.taken ? 1 : 0);
        EXPECT_EQ(QGuiApplication::clipboard()->text().size(), row.taken ? 0 : row.text.size());
    }
}

TEST_F(TxInsert, EveryPasteKeyGoesThroughTheSamePath) {
    for (auto modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        const Qt::Key key = modifiers == Qt::ControlModifier ? Qt::Key_V : Qt::Key_Insert;
        SCOPED_TRACE(key);
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        w->Text1->setText(QString());
        pskcore::lib().clearCalls();
        QTest::keyClick(w->Text1, key, modifiers);
        EXPECT_EQ(w->Text1->text(), QStringLiteral("abc"));
        EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"abc\")"});
    }
}

TEST_F(TxInsert, QuotingRule) {
    EXPECT_EQ(terminal::transmit::quotedPasteText("a\r\nb", true, "> "), QStringLiteral("> a\r\n> b\r\n"));
    EXPECT_EQ(terminal::transmit::quotedPasteText("a\nb", false, ">"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(terminal::transmit::quotedPasteText("one", true, ">"), QStringLiteral(">one\r\n"));
}

TEST_F(TxInsert, MenuOffersPasteOnlyWithTextOnTheClipboard) {
    clipboard::empty();
    ASSERT_EQ(zvtest::popupByClick(w->Text1->viewport()), w->MACCOM);
    EXPECT_FALSE(w->PSTCLIP->isEnabled());
    w->MACCOM->close();
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    QTest::keyClick(w->Text1, Qt::Key_Insert);
    EXPECT_TRUE(w->PSTCLIP->isEnabled());
    EXPECT_TRUE(w->MACCOM->isVisible());
    w->MACCOM->close();
}

TEST_F(TxInsert, SelectionIntoTheRemarksOfTheLogEntry) {
    struct Case {
        QAction* item;
        QString before;
        QString selected;
        QString after;
    };
    const QList<Case> cases = {
        {w->PSTREM1, {}, QStringLiteral("  QSL via bureau "), QStringLiteral("QSL via bureau")},
        {w->PSTREM2, QStringLiteral("eQSL"), QStringLiteral("LoTW"), QStringLiteral("eQSL/LoTW")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after.toStdString());
        QLineEdit* box = c.item == w->PSTREM1 ? forms::TEMP_LOG().Text14 : forms::TEMP_LOG().Text15;
        box->setText(c.before);
        c.item->setEnabled(true); // as the library link leaves it
        w->RichTextBox1->setText(QStringLiteral("pse") + c.selected + QStringLiteral("tu"));
        w->RichTextBox1->setSelStart(3);
        w->RichTextBox1->setSelLength(static_cast<int>(c.selected.size()));
        ASSERT_TRUE(zvtest::chooseByClick(w->RichTextBox1->viewport(), c.item));
        EXPECT_EQ(box->text(), c.after);
        EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
        EXPECT_EQ(w->focusWidget(), w->Text1);
    }
}

// With the multi-mode control on the air, and the PSK library at rest.
class TxInsertMmvari : public zvtest::TxTest {};

TEST_F(TxInsertMmvari, InsertsReachTheMultiModeControl) {
    useMmvari();
    emit w->MMVARI->txState(1);
    ASSERT_EQ(core::g.Transmitting, 1);
    ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), w->INSMyCall));
    EXPECT_EQ(w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodSend).value(0).args,
              QVariantList{QStringLiteral("JA1ZVK")});
    EXPECT_TRUE(calls().isEmpty());
}

// The colours the box's characters are shown in ("text on back"), each once,
// and how many characters there are.
std::pair<std::string, int> shownColours(RichTextPane* box) {
    box->ensurePolished();
    QStringList shown;
    int count = 0;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QColor fore = f.hasProperty(QTextFormat::ForegroundBrush)
                                    ? f.foreground().color()
                                    : box->palette().color(QPalette::Text);
            const QColor back = f.hasProperty(QTextFormat::BackgroundBrush)
                                    ? f.background().color()
                                    : box->palette().color(QPalette::Base);
            const QString colours = fore.name() + QStringLiteral(" on ") + back.name();
            if (!shown.contains(colours)) shown << colours;
            count += it.fragment().length();
        }
    return {shown.join(QStringLiteral(", ")).toStdString(), count};
}

// Whatever puts text into the transmit box, it shows as typed text does: in the
// box's own text and back colours, also when typed text came before it.
TEST_F(TxInsert, InsertedTextShowsInTheBoxColours) {
    terminal::macros::putInStore(forms::MACRO_FORM(), 1,
                                 {QStringLiteral("CQ"), 0xC0FFC0, QStringLiteral("CQ de 'MYCALL'")});
    struct Case {
        const char* way;
        std::function<void()> put;
    };
    const QList<Case> cases = {
        {"typed in the box", [&] { QTest::keyClicks(w->Text1, QStringLiteral("ab")); }},
        {"macro button", [&] { QTest::mousePress(w->Command8[1], Qt::LeftButton); }},
        {"insert item", [&] { ASSERT_TRUE(zvtest::chooseByClick(w->Text1->viewport(), w->INSMyCall)); }},
        {"paste",
         [&] {
             QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
             QTest::keyClick(w->Text1, Qt::Key_V, Qt::ControlModifier);
         }},
        {"typed in the receive pane",
         [&] {
             QTest::sendKeyEvent(QTest::Click, w->RichTextBox1, Qt::Key_C, QStringLiteral("c"),
                                 Qt::NoModifier);
         }},
    };
    const std::string boxColours =
        (colour::fromRef(colour::foreColor(w->Text1)).name() + QStringLiteral(" on ") +
         colour::fromRef(colour::backColor(w->Text1)).name())
            .toStdString();
    ASSERT_EQ(boxColours, "#ffffff on #0000ff") << "the box's default colours";
    for (const bool typedFirst : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.way) + (typedFirst ? " after typing" : ""));
            w->Text1->setText(QString());
            if (typedFirst) QTest::keyClicks(w->Text1, QStringLiteral("x"));
            c.put();
            const auto [colours, count] = shownColours(w->Text1);
            EXPECT_GT(count, typedFirst ? 1 : 0) << "the text came in";
            EXPECT_EQ(colours, boxColours);
        }
}

} // namespace
