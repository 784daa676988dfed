// The repeat cycle on real controls and the settable clock: the pause, the
// busy-channel watch, the operator's stops and counts that do not repeat.
#include "terminal/macros/RepeatTx.h"

#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/os/Clock.h"
#include "terminal/macros/MacroExpand.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using terminal::macros::TxEngine;

// The engine as the repeat sees it: what it was asked, and the level it reports.
class RecordingEngine final : public terminal::macros::Engine {
  public:
    void setSquelch(bool normal) override { squelch.push_back(normal); }
    void clearTxBuffer() override { ++cleared; }
    void txSend() override { sentModes.push_back(core::g.OpMode); }
    double signalLevel() override { return level; }
    void mmvariReceiveWhenEmpty() override { ++mmvariReceive; }
    bool transmitting() override { return onAir; }

    std::vector<bool> squelch;
    std::vector<int> sentModes;
    int cleared = 0;
    int mmvariReceive = 0;
    double level = 0;
    bool onAir = false;
};

class Repeat : public ::testing::Test {
  protected:
    void SetUp() override {
        core::g = {};
        terminal::macros::g = {};
        sysclock::setUtcForTest(QDateTime(QDate(2026, 5, 3), QTime(1, 0), Qt::UTC));
        // The switch reaches the cycle as the main window's does.
        Check3.setText(QStringLiteral("Timer送信無効"));
        Check3.adjustSize();
        QObject::connect(&Check3, &QCheckBox::clicked, [this] { cycle.Check3_Click(); });
    }
    void TearDown() override { sysclock::resetForTest(); }

    // Sends a macro text: cancels a running repeat, then sets the repeat up.
    void send(const QString& raw) {
        cycle.cancelForNewMacro();
        core::g.RepeatTxOn = 0;
        cycle.setUp(terminal::macros::parseRepeat(raw));
    }
    // One transmission of the repeat: start, then end.
    void transmission(TxEngine e = TxEngine::PskCore) {
        cycle.onTxStart(e);
        cycle.onTxEnd(e);
    }
    // Lets the clock run and fires the ticks of whichever timer is due, as the
    // event loop would: Timer4 every second, Timer1 at the end of the pause.
    void runFor(int seconds, const std::vector<double>& levels = {}) {
        for (int s = 1; s <= seconds; ++s) {
            sysclock::advanceForTest(1000);
            if (s <= static_cast<int>(levels.size())) engine.level = levels[static_cast<std::size_t>(s - 1)];
            if (Timer4.isActive()) cycle.Timer4_Timer();
            if (Timer1.isActive() &&
                (sysclock::utcNow().toMSecsSinceEpoch() - pauseStart) >= Timer1.interval())
                cycle.Timer1_Timer();
        }
    }
    void pauseBegins() { pauseStart = sysclock::utcNow().toMSecsSinceEpoch(); }

    QTimer Timer1, Timer4;
    QPushButton Command1, Command3;
    QLineEdit Text3;
    QCheckBox Check3;
    RecordingEngine engine;
    terminal::macros::Cycle cycle{{&Timer1, &Timer4, &Command1, &Command3, &Text3, &Check3}, engine};
    qint64 pauseStart = 0;
};

TEST_F(Repeat, PauseThenSendAgainUntilEscape) {
    core::g.OpMode = core::ModeQpskUsb;
    terminal::macros::g.RepeatPskMode = core::ModeQpskUsb;
    send(QStringLiteral("CQ 'RPT 30' 'TXOFF'"));
    EXPECT_EQ(core::g.RepeatTxOn, 1);
    EXPECT_FALSE(Command1.isEnabled());
    EXPECT_FALSE(Command3.isEnabled());
    EXPECT_EQ(engine.squelch, std::vector<bool>{false}) << "no squelch response during the repeat";

    cycle.onTxStart(TxEngine::PskCore);
    EXPECT_FALSE(Text3.isHidden());
    EXPECT_EQ(Text3.text(), terminal::macros::kRepeatNotice);
    EXPECT_EQ(colour::backColor(&Command1), terminal::macros::kTransmitColour);
    core::g.OpMode = core::ModeBpsk; // the receiver went back to the receive mode
    cycle.onTxEnd(TxEngine::PskCore);
    pauseBegins();
    EXPECT_TRUE(Timer1.isActive());
    EXPECT_EQ(Timer1.interval(), 30000);
    EXPECT_TRUE(Timer4.isActive());
    EXPECT_EQ(colour::backColor(&Command1), terminal::macros::kPauseColour);

    runFor(29);
    EXPECT_TRUE(engine.sentModes.empty()) << "nothing before the pause is over";
    runFor(1);
    EXPECT_EQ(engine.sentModes, std::vector<int>{core::ModeQpskUsb}) << "sent again in the repeat's mode";

    transmission();
    pauseBegins();
    runFor(10);
    cycle.stopByOperator(true); // Esc in the transmit box
    runFor(60);
    EXPECT_EQ(engine.sentModes.size(), 1u) << "no transmission after Esc";
    EXPECT_FALSE(Timer1.isActive());
    EXPECT_TRUE(Timer4.isActive()) << "the watch runs on until a plain transmit end";
    EXPECT_EQ(core::g.RepeatArmed, 1);
    cycle.onTxEnd(TxEngine::PskCore);
    EXPECT_FALSE(Timer4.isActive());
    EXPECT_EQ(core::g.RepeatArmed, 0);
    EXPECT_EQ(colour::backColor(&Command1), colour::kButtonFace);
}

TEST_F(Repeat, EscapeFromTheMainWindowLetsTheNextTickEndIt) {
    core::g.OpMode = core::ModeRtty;
    send(QStringLiteral("'RPT 5''TXOFF'"));
    transmission(TxEngine::Mmtty);
    pauseBegins();
    cycle.stopByOperator(false);
    EXPECT_TRUE(Timer1.isActive());
    runFor(5);
    EXPECT_TRUE(engine.sentModes.empty());
    EXPECT_FALSE(Timer1.isActive());
    EXPECT_FALSE(Timer4.isActive());
    EXPECT_TRUE(Text3.isHidden());
    EXPECT_EQ(core::g.RepeatArmed, 0);
}

TEST_F(Repeat, BusyChannelWatch) {
    struct Row {
        const char* what;
        int mode;
        std::vector<double> levels;
        bool cancelled;
    } rows[] = {
        {"PSK: third reading above 50 cancels", core::ModeBpsk, {60, 10, 70, 40, 80}, true},
        {"PSK: 50 itself is quiet", core::ModeBpsk, {50, 50, 50, 51, 51}, false},
        {"RTTY: the same readings are quiet", core::ModeRtty, {60, 10, 70, 40, 80}, false},
        {"RTTY: above 250", core::ModeRtty, {251, 300, 260}, true},
        {"multi-mode modem: above 50", core::ModeMmvari, {90, 90, 90}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        terminal::macros::g = {};
        core::g.OpMode = r.mode;
        engine = {};
        send(QStringLiteral("'RPT 60''TXOFF'"));
        transmission(r.mode == core::ModeRtty ? TxEngine::Mmtty : TxEngine::PskCore);
        pauseBegins();
        runFor(static_cast<int>(r.levels.size()) - 1, r.levels);
        EXPECT_EQ(core::g.RepeatTxOn, 1) << "not before the last reading";
        runFor(1, {r.levels.back()});
        EXPECT_EQ(core::g.RepeatTxOn, r.cancelled ? 0 : 1);
        EXPECT_EQ(Timer4.isActive(), !r.cancelled);
        if (r.cancelled) {
            EXPECT_TRUE(Command1.isEnabled());
            EXPECT_EQ(Command3.isEnabled(), r.mode != core::ModeRtty);
            EXPECT_TRUE(Timer1.isActive()) << "its next tick ends the repeat";
            runFor(60);
            EXPECT_FALSE(Timer1.isActive());
            EXPECT_TRUE(engine.sentModes.empty());
        }
    }
}

TEST_F(Repeat, BusyReadingsCountAcrossTheNextTransmission) {
    send(QStringLiteral("'RPT 3''TXOFF'"));
    transmission();
    pauseBegins();
    runFor(2, {90, 90});
    runFor(1, {0});
    ASSERT_EQ(engine.sentModes.size(), 1u);
    cycle.onTxStart(TxEngine::PskCore);
    engine.level = 90;
    cycle.Timer4_Timer();
    EXPECT_EQ(core::g.RepeatTxOn, 0) << "third busy reading, during the transmission";
    cycle.onTxEnd(TxEngine::PskCore);
    EXPECT_FALSE(Timer1.isActive());
    runFor(10);
    EXPECT_EQ(engine.sentModes.size(), 1u);
}

TEST_F(Repeat, CountsThatDoNotRepeatSendOnce) {
    for (const char* raw : {"'RPT 0'", "'RPT'", "'RPT x'", "'RPT 30", "CQ"}) {
        SCOPED_TRACE(raw);
        terminal::macros::g = {};
        send(QString::fromUtf8(raw));
        EXPECT_EQ(core::g.RepeatTxOn, 0);
        EXPECT_EQ(core::g.RepeatArmed, 0);
        EXPECT_TRUE(Command1.isEnabled());
        transmission();
        EXPECT_FALSE(Timer1.isActive());
    }
    send(QStringLiteral("'RPT 120'"));
    transmission();
    EXPECT_EQ(Timer1.interval(), 65000);
}

TEST_F(Repeat, SuspendSwitchAndNewMacro) {
    Check3.setChecked(true);
    send(QStringLiteral("'RPT 30''TXOFF'"));
    EXPECT_EQ(core::g.RepeatArmed, 1);
    EXPECT_EQ(core::g.RepeatTxOn, 0);
    EXPECT_TRUE(Command1.isEnabled());
    engine.onAir = true;
    QTest::mouseClick(&Check3, Qt::LeftButton);
    ASSERT_FALSE(Check3.isChecked());
    EXPECT_EQ(core::g.RepeatTxOn, 1) << "cleared while transmitting: the repeat runs";
    EXPECT_FALSE(Command1.isEnabled());
    cycle.onTxEnd(TxEngine::PskCore);
    EXPECT_TRUE(Timer1.isActive());

    engine.squelch.clear();
    send(QStringLiteral("plain"));
    EXPECT_EQ(core::g.RepeatTxOn, 0);
    EXPECT_FALSE(Timer1.isActive());
    EXPECT_EQ(engine.cleared, 1) << "the queued repeat text is dropped";
    EXPECT_EQ(engine.squelch, (std::vector<bool>{true, true}));
    EXPECT_TRUE(Command3.isEnabled());

    core::g.OpMode = core::ModeMmvari;
    send(QStringLiteral("'RPT 9''TXOFF'"));
    QTest::mouseClick(&Check3, Qt::LeftButton);
    ASSERT_TRUE(Check3.isChecked());
    EXPECT_EQ(engine.mmvariReceive, 1);
    EXPECT_EQ(core::g.RepeatArmed, 0);
    EXPECT_EQ(core::g.RepeatTxOn, 0);
}

} // namespace
