// A macro on the air: the press on its button goes through the expansion, the
// transmit dispatch and the PSK engine, and comes back in the receive pane as
// the transmit stamp, the echo of the expanded text and the receive stamp.
#include "platform/forms/controls/RichTextPane.h"
#include "platform/os/Clock.h"
#include "startup/AboutZORVATEK.h"
#include "terminal/engines/PskFixture.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"

#include <QTest>

namespace {

class MacroOnAir : public psktest::PskWindowTest {};

TEST_F(MacroOnAir, AMacroButtonSendsThroughTheEngineAndEchoesInTheReceivePane) {
    sysclock::setUtcForTest(QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC));
    core::g.UserCall = QStringLiteral("QQ1ZZZ"); // the start-up reads it
    PSK31MAIN& w = loadAndStart(QStringLiteral("SQ_LEVEL=300\n"));
    pskcore::lib().hooks().charIntervalMs = 2;
    terminal::macros::putInStore(
        forms::MACRO_FORM(), 0,
        {QStringLiteral("CQ"), 0xC0FFC0, QStringLiteral("'TXON'CQ DE 'MYCALL' pse k'TXOFF'")});

    QTest::mousePress(w.Command8[0], Qt::LeftButton);

    RichTextPane* pane = w.RichTextBox1;
    ASSERT_TRUE(zvtest::waitUntil([&] { return pane->text().contains(QStringLiteral("RX-<<")); }))
        << pane->text().toStdString();
    const QString text = pane->text();
    const int tx = text.indexOf(QStringLiteral("TX-<< 2026/12/06 21:00:00/JST >>"));
    const int echo = text.indexOf(QStringLiteral("CQ DE QQ1ZZZ pse k"), tx);
    const int rx = text.indexOf(QStringLiteral("RX-<<"), echo);
    EXPECT_GE(tx, 0);
    EXPECT_GT(echo, tx);
    EXPECT_GT(rx, echo);
    EXPECT_EQ(core::g.MacroText, QStringLiteral("\r\nCQ DE QQ1ZZZ pse k\r\n"));
}

// 'CWID3' with the third entry of the list empty: the over goes without it,
// the message names the entry, and it stays up for its time through the
// over's end.
TEST_F(MacroOnAir, AnEmptyCwIdEntryIsNamedAndSaidThroughTheOversEnd) {
    core::g.UserCall = QStringLiteral("QQ1ZZZ");
    PSK31MAIN& w = loadAndStart(QStringLiteral("SQ_LEVEL=300\n"));
    pskcore::lib().hooks().charIntervalMs = 2;
    terminal::macros::putInStore(forms::MACRO_FORM(), 0,
                                 {QStringLiteral("ID"), 0xC0FFC0, QStringLiteral("'TXON' TEST 'CWID3'")});
    const QString said = QStringLiteral("CW ID List の CWID3 が空のため、CW IDは送信しません");

    QTest::mousePress(w.Command8[0], Qt::LeftButton);
    EXPECT_EQ(w.Text3->text(), said);
    ASSERT_TRUE(zvtest::waitUntil([] { return core::g.Transmitting == 1; }));
    ASSERT_TRUE(zvtest::waitUntil([] { return core::g.Transmitting == 0; }));
    EXPECT_EQ(core::g.MacroCwId, 0) << "nothing to identify with";
    ASSERT_TRUE(forms::AboutZORVATEK().Timer3->isActive()) << "the over outlasted the message";
    EXPECT_TRUE(w.Text3->isVisibleTo(&w)) << "the over's end took the message away";
    EXPECT_EQ(w.Text3->text(), said);
}

} // namespace
