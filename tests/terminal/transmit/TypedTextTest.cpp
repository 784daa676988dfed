// Typing in the transmit box: each key to the engine the moment it is typed,
// the character-kind history behind Backspace, the full-width conversion, and
// the RTTY program's and the multi-mode control's own rules.
#include "terminal/transmit/TxFixture.h"

#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "terminal/transmit/TypedText.h"

namespace {

using mmtty::Pair;

class TypedText : public zvtest::TxTest {
  protected:
    void type(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w->Text1, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void backspace() { QTest::keyClick(w->Text1, Qt::Key_Backspace); }
    // Backspace on a double-byte character whose lead byte is on the air and
    // whose trail byte still waits in the library: the box stays usable. What
    // the library still holds after it.
    int backspaceAfterTheLeadByte() {
        transmitByF12();
        type(QStringLiteral("あ"));
        pskcore::lib().fnClearTXBuffer();
        pskcore::lib().fnSendTXString("\xA0");
        pskcore::lib().clearCalls();
        backspace();
        EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"\b\")"});
        EXPECT_TRUE(w->Text1->text().isEmpty());
        return pskcore::lib().fnGetTXCharsRemaining();
    }
    QStringList sent() const {
        QStringList s;
        for (const QString& c : calls())
            if (c.startsWith(QLatin1String("fnSendTXString"))) s << c;
        return s;
    }
};

TEST_F(TypedText, FirstKeyWhileReceivingBeginsANewLine) {
    type(QStringLiteral("a"));
    EXPECT_EQ(calls(),
              (QStringList{"fnGetTXCharsRemaining()", "fnSendTXString(\"\r\n\")", "fnSendTXString(\"a\")"}));
    EXPECT_EQ(terminal::transmit::g.TxCharCount, 2);
    EXPECT_EQ(terminal::transmit::g.TxCharKinds[1], terminal::transmit::kSingleByte);
    EXPECT_EQ(terminal::transmit::g.TxCharKinds[2], terminal::transmit::kSingleByte);
    EXPECT_EQ(w->Text1->text(), QStringLiteral("a"));
    EXPECT_EQ(pskcore::lib().fnGetTXCharsRemaining(), 3);
}

TEST_F(TypedText, NoNewLineWhileTransmitting) {
    transmitByF12();
    pskcore::lib().clearCalls();
    type(QStringLiteral("ab"));
    EXPECT_EQ(sent(), (QStringList{"fnSendTXString(\"a\")", "fnSendTXString(\"b\")"}));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("ab"));
    endByEscape();
}

TEST_F(TypedText, FullWidthConversionBySetting) {
    struct Case {
        const char* setting;
        QString typed;
        QString shown;
        int kind;
    };
    const QList<Case> cases = {
        {"YES", QStringLiteral("Ａ"), QStringLiteral("A"), terminal::transmit::kSingleByte},
        {"YES", QStringLiteral("ｚ"), QStringLiteral("z"), terminal::transmit::kSingleByte},
        {"YES", QStringLiteral("９"), QStringLiteral("9"), terminal::transmit::kSingleByte},
        {"YES", QStringLiteral("　"), QStringLiteral(" "), terminal::transmit::kSingleByte},
        {"YES", QStringLiteral("あ"), QStringLiteral("あ"), terminal::transmit::kDoubleByte},
        {"NO", QStringLiteral("Ａ"), QStringLiteral("Ａ"), terminal::transmit::kDoubleByte},
    };
    transmitByF12();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + " " + c.typed.toStdString());
        core::g.ZenHanConv = QString::fromLatin1(c.setting);
        w->Text1->setText(QString());
        pskcore::lib().fnClearTXBuffer();
        pskcore::lib().clearCalls();
        type(c.typed);
        EXPECT_EQ(w->Text1->text(), c.shown);
        EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"" + c.shown + "\")"});
        EXPECT_EQ(
            terminal::transmit::g.TxCharKinds[static_cast<std::size_t>(terminal::transmit::g.TxCharCount)],
            c.kind);
    }
    endByEscape();
}

TEST_F(TypedText, BackspaceTakesBackADoubleByteCharacterWhole) {
    transmitByF12();
    ASSERT_TRUE(zvtest::waitUntil([] { return pskcore::lib().fnGetTXCharsRemaining() == 0; }))
        << "the line end of the start goes out";
    type(QStringLiteral("xあ"));
    ASSERT_EQ(pskcore::lib().fnGetTXCharsRemaining(), 3);
    pskcore::lib().clearCalls();
    backspace();
    EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"\b\b\")"});
    EXPECT_EQ(w->Text1->text(), QStringLiteral("x"));
    EXPECT_EQ(pskcore::lib().fnGetTXCharsRemaining(), 1) << "the library holds the x alone";
    EXPECT_EQ(terminal::transmit::g.TxCharCount, 1);

    pskcore::lib().clearCalls();
    backspace();
    EXPECT_EQ(sent(), QStringList{"fnSendTXString(\"\b\")"});
    EXPECT_TRUE(w->Text1->text().isEmpty());

    pskcore::lib().clearCalls();
    backspace();
    EXPECT_TRUE(sent().isEmpty()) << "nothing to take back in an empty box";
    endByEscape();
}

TEST_F(TypedText, BackspaceAfterTheLeadByteWentOutWaitsForTheTrailByte) {
    EXPECT_EQ(backspaceAfterTheLeadByte(), 1) << "the trail byte went out before the backspace";
    endByEscape();
}

TEST_F(TypedText, BackspaceAfterTheLeadByteWentOutWaitsWithALimit) {
    pskcore::lib().hooks().charIntervalMs = 3600 * 1000; // the library sends nothing
    EXPECT_EQ(backspaceAfterTheLeadByte(), 0) << "the backspace took back the waiting trail byte";
    endByEscape();
}

TEST_F(TypedText, HistoryNeverRunsPastItsEnd) {
    for (int i = 0; i < terminal::transmit::kHistorySlots + 5; ++i)
        terminal::transmit::recordKind(i == terminal::transmit::kHistorySlots + 4
                                           ? terminal::transmit::kDoubleByte
                                           : terminal::transmit::kSingleByte);
    EXPECT_EQ(terminal::transmit::g.TxCharCount, terminal::transmit::kHistorySlots);
    EXPECT_EQ(terminal::transmit::newestKind(), terminal::transmit::kDoubleByte);
    terminal::transmit::dropNewestKind();
    EXPECT_EQ(terminal::transmit::newestKind(), terminal::transmit::kSingleByte);
}

TEST_F(TypedText, EscapeStopsAndRepeatSwallowsKeys) {
    w->Timer2_Timer(); // the engine starts
    // A repeating macro with a CW ID, in its pause after the first transmission.
    zvtest::sendMacro(*w, 0, QStringLiteral("'TXON'cq 'CWID''RPT 30''TXOFF'"));
    ASSERT_TRUE(zvtest::waitUntil([&] { return w->Timer1->isActive(); }))
        << "no pause after the transmission";
    ASSERT_EQ(core::g.RepeatTxOn, 1);
    ASSERT_EQ(core::g.MacroCwId, 1);
    ASSERT_TRUE(w->Text3->isVisibleTo(w));
    pskcore::lib().clearCalls();
    type(QStringLiteral("q"));
    EXPECT_TRUE(w->Text1->text().isEmpty()) << "typing is ignored during the repeat";
    EXPECT_TRUE(sent().isEmpty());

    pskcore::lib().clearCalls();
    QTest::keyClick(w->Text1, Qt::Key_Escape);
    QStringList ours;
    for (const QString& c : calls())
        if (!c.startsWith(QLatin1String("fnSetSquelchThreshold"))) ours << c; // the repeat's own
    // The main window's Esc aborts first; the box then takes its own Esc.
    EXPECT_EQ(ours,
              (QStringList{"fnAbortTX()", "fnGetTXCharsRemaining()", "fnStopTX()", "fnClearTXBuffer()"}));
    EXPECT_EQ(core::g.RepeatTxOn, 0);
    EXPECT_EQ(core::g.MacroCwId, 0);
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_FALSE(w->Text3->isVisibleTo(w));
}

TEST_F(TypedText, RttyKeysArePostedByTheProgramsRules) {
    runRttyProgram();
    struct Case {
        const char* name;
        std::function<void()> press;
        QList<Pair> expected;
        QString shown;
    };
    const QList<Case> cases = {
        {"letter", [&] { type("a"); }, {{mmtty::CmdChar, 'a'}}, "a"},
        {"brace goes out as a parenthesis", [&] { type("{"); }, {{mmtty::CmdChar, '('}}, "{"},
        {"backspace sends x", [&] { backspace(); }, {{mmtty::CmdChar, 'x'}}, ""},
        {"enter sends CR LF",
         [&] { QTest::keyClick(w->Text1, Qt::Key_Return); },
         {{mmtty::CmdChar, 13}, {mmtty::CmdChar, 10}},
         "\n"},
        {"double-byte code, sign extended",
         [&] { type("あ"); },
         {{mmtty::CmdChar, std::int16_t(0x82A0)}},
         "あ"},
    };
    zvtest::sendMacro(*w, 0, QStringLiteral("'RPT 30'"));
    ASSERT_EQ(core::g.RepeatTxOn, 1) << "not tested in RTTY: keys still go out";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w->Text1->setText(QString());
        link->clearPosted();
        c.press();
        EXPECT_EQ(posted(), c.expected);
        EXPECT_EQ(w->Text1->text(), c.shown);
    }
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(TypedText, MmvariGetsEachKeyThroughItsSendMethod) {
    useMmvari();
    type(QStringLiteral("aあ"));
    const QList<dispatch::Call> sends = w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodSend);
    ASSERT_EQ(sends.size(), 2);
    EXPECT_EQ(sends[0].args, QVariantList{QStringLiteral("a")});
    EXPECT_EQ(sends[1].args, QVariantList{QStringLiteral("あ")});

    w->MMVARI->set(mmvari::IdTuneReset, 2);
    w->MMVARI->clearCalls();
    backspace();
    EXPECT_EQ(w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodSend).value(0).args,
              QVariantList{QStringLiteral("\b")});
    EXPECT_EQ(setsOf(mmvari::IdTuneReset), QVariantList{1});

    w->MMVARI->clearCalls();
    colour::setBackColor(w->Command1, 0x0000FF);
    QTest::keyClick(w->Text1, Qt::Key_Escape);
    // The main window's Esc, then the box's own.
    EXPECT_EQ(setsOf(mmvari::IdTransmit), (QVariantList{false, false}));
    EXPECT_EQ(setsOf(mmvari::IdTuneReset), (QVariantList{0, 0}));
    EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(TypedText, KeysInTheReceivePaneGoToTheEngineOfTheMode) {
    w->RichTextBox1->setText(QStringLiteral("CQ de QQ9ABC"));
    QTest::sendKeyEvent(QTest::Click, w->RichTextBox1, Qt::Key_A, QStringLiteral("a"), Qt::NoModifier);
    EXPECT_EQ(calls(),
              (QStringList{"fnGetTXCharsRemaining()", "fnSendTXString(\"\r\n\")", "fnSendTXString(\"a\")"}));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("a"));
    EXPECT_EQ(w->RichTextBox1->text(), QStringLiteral("CQ de QQ9ABC"));

    useMmvari();
    QTest::sendKeyEvent(QTest::Click, w->RichTextBox1, Qt::Key_B, QStringLiteral("b"), Qt::NoModifier);
    EXPECT_EQ(w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodSend).value(0).args,
              QVariantList{QStringLiteral("b")});
    EXPECT_EQ(w->Text1->text(), QStringLiteral("ab"));
}

TEST_F(TypedText, KeyCodesOfTheSystemCodePage) {
    EXPECT_EQ(terminal::transmit::keyAsciiOf(QChar('A')), 65);
    EXPECT_EQ(terminal::transmit::keyAsciiOf(QChar(u'あ')), std::int16_t(0x82A0));
    EXPECT_EQ(terminal::transmit::keyAsciiOf(QChar(u'ｱ')), 0xB1) << "half-width katakana is one byte";
    EXPECT_EQ(terminal::transmit::charOfKeyAscii(std::int16_t(0x82A0)), QStringLiteral("あ"));
    EXPECT_EQ(terminal::transmit::bytesOfKeyAscii(std::int16_t(0x8260)), QByteArray("\x82\x60"));
}

} // namespace
