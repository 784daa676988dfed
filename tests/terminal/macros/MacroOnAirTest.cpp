// A macro on the air: the press on its button goes through the expansion, the
// transmit dispatch and the PSK engine, and comes back in the receive pane as
// the transmit stamp, the echo of the expanded text and the receive stamp.
#include "platform/forms/controls/RichTextPane.h"
#include "platform/os/Clock.h"
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
    ASSERT_TRUE(zvtest::waitUntil([&] { return pane->text().contains(QStringLiteral("RX-<<")); }, 10000))
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

} // namespace
