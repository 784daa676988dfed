// Our PSK core library against its contract: notices to the one connected
// window, nothing after stop, transmit status and echo, Shift-JIS reception at
// any rate, frequency bounds, spectrum data and forced results.
#include "platform/pskcore/PskCore.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"

#include <QThread>
#include <array>
#include <vector>

namespace {

using namespace pskcore;

constexpr std::int32_t Hwnd = 0x1234;

struct Note {
    std::int32_t msg, w, l;
};

class PskCoreTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        core.hooks().charIntervalMs = 2;
        core.hooks().displayIntervalMs = 20;
    }

    bool connectWindow(std::int32_t hwnd = Hwnd) {
        return core.subclass(hwnd, &window, [this](std::int32_t m, std::int32_t w, std::int32_t l) {
            notes.push_back({m, w, l});
            if (onNote) onNote(notes.back());
        });
    }
    QByteArray bytesOn(std::int32_t channel) const {
        QByteArray b;
        for (const Note& n : notes)
            if (n.msg == PskMsgRxChar && n.l == channel) b.append(char(n.w));
        return b;
    }
    std::vector<std::int32_t> statuses() const {
        std::vector<std::int32_t> s;
        for (const Note& n : notes)
            if (n.msg == PskMsgStatus) s.push_back(n.w);
        return s;
    }
    bool hasStatus(std::int32_t code) const {
        const auto s = statuses();
        return std::find(s.begin(), s.end(), code) != s.end();
    }
    void tune(std::int32_t channel, std::int32_t hz, std::int32_t capture = 30) {
        core.fnSetRXFrequency(hz, capture, channel);
    }

    PskCore& core = lib();
    QObject window;
    std::vector<Note> notes;
    std::function<void(const Note&)> onNote;
};

TEST_F(PskCoreTest, OneWindowAtATimeAndNothingAfterDisconnect) {
    EXPECT_FALSE(core.subclass(Hwnd, nullptr, [](std::int32_t, std::int32_t, std::int32_t) {}));
    ASSERT_TRUE(connectWindow());
    EXPECT_FALSE(connectWindow());
    ASSERT_EQ(core.fnStartSoundCard(Hwnd, 0, 3), StartOk);
    ASSERT_TRUE(zvtest::waitUntil([&] { return !notes.empty(); }));
    core.unsubclass();
    notes.clear();
    core.stepForTest();
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(connectWindow());

    // Notices go to the handle the engine was started with only.
    core.unsubclass();
    ASSERT_TRUE(connectWindow(Hwnd + 1));
    notes.clear();
    core.stepForTest();
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_TRUE(notes.empty());
}

TEST_F(PskCoreTest, NothingArrivesAfterStopNotEvenNoticesUnderWay) {
    connectWindow();
    tune(0, PskCore::StationHz);
    onNote = [&](const Note& n) {
        if (n.msg == PskMsgRxChar) core.fnStopSoundCard();
    };
    core.hooks().charIntervalMs = 0; // many notices queued behind the first
    ASSERT_EQ(core.fnStartSoundCard(Hwnd, 0, 3), StartOk);
    ASSERT_TRUE(zvtest::waitUntil([&] { return !bytesOn(0).isEmpty(); }));
    const std::size_t seen = notes.size();
    ASSERT_TRUE(zvtest::waitForPostedEvents()) << "the notices queued behind the first have had their turn";
    EXPECT_EQ(notes.size(), seen);
    EXPECT_EQ(notes.back().msg, PskMsgRxChar);
    EXPECT_FALSE(core.isRunning());
}

TEST_F(PskCoreTest, TransmitStartsAndEndsAroundTheEchoInOrder) {
    const QByteArray text = cp932::encode(QStringLiteral("CQ de QQ9ABC テスト\r"));
    struct Case {
        const char* name;
        std::function<void()> ask;
        bool fullEcho;
        std::int32_t last = StatusTxEnded; // the status that ends it
    };
    const std::vector<Case> cases{
        {"text then stop", [&] { core.fnStopTX(); }, true},
        {"text, CW identification, stop",
         [&] {
             core.fnSetCWIDString(" QQ9ABC");
             core.fnSendTXCharacter(2, 1);
             core.fnStopTX();
         },
         true},
        {"abort", [&] { core.fnAbortTX(); }, false},
        {"the sound card's output fails", [&] { core.outputFailed(); }, false, 16},
    };
    connectWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notes.clear();
        ASSERT_EQ(core.fnStartSoundCard(Hwnd, -1, 3), StartOk);
        core.fnStartTX(TxBpsk);
        core.fnSendTXString(text);
        c.ask();
        ASSERT_TRUE(zvtest::waitUntil([&] { return hasStatus(c.last); }));
        core.stepForTest();
        ASSERT_TRUE(zvtest::waitForPostedEvents()) << "a tick after the end has had its turn";
        EXPECT_EQ(statuses(), (std::vector<std::int32_t>{StatusTxStarted, c.last}));
        EXPECT_EQ(bytesOn(EchoChannel), c.fullEcho ? text : QByteArray());
        EXPECT_FALSE(core.isTransmitting());
        EXPECT_EQ(core.fnGetTXCharsRemaining(), 0);
        // Every echo lies between the two status notices.
        auto first =
            std::find_if(notes.begin(), notes.end(), [](const Note& n) { return n.msg == PskMsgStatus; });
        auto echoAfterEnd = std::find_if(notes.rbegin(), notes.rend(), [](const Note& n) {
            return n.msg == PskMsgRxChar && n.l == EchoChannel;
        });
        ASSERT_NE(first, notes.end());
        EXPECT_EQ(first->w, StatusTxStarted);
        if (c.fullEcho) {
            auto end = std::find_if(notes.rbegin(), notes.rend(),
                                    [](const Note& n) { return n.msg == PskMsgStatus; });
            EXPECT_LT(std::distance(notes.rbegin(), end), std::distance(notes.rbegin(), echoAfterEnd));
        }
        core.fnStopSoundCard();
    }
}

TEST_F(PskCoreTest, CwIdentificationAloneKeysUpAndReturnsByItself) {
    connectWindow();
    core.fnStartSoundCard(Hwnd, 0, 3);
    core.fnSetCWIDString("QQ9ABC");
    core.fnStartTX(TxCwIdOnly + SatelliteFlag);
    core.fnStopTX();
    ASSERT_TRUE(zvtest::waitUntil([&] { return hasStatus(StatusTxEnded); }));
    EXPECT_EQ(statuses(), (std::vector<std::int32_t>{StatusTxStarted, StatusTxEnded}));
    EXPECT_TRUE(bytesOn(EchoChannel).isEmpty());
}

TEST_F(PskCoreTest, StationArrivesByteByByteWithNothingLostAtAnyRate) {
    const QByteArray station = PskCore::stationText();
    struct Case {
        int intervalMs;
        int receiverDelayMs;
    };
    connectWindow();
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{32, 0}, Case{0, 1}}) {
        SCOPED_TRACE(testing::Message() << c.intervalMs << " ms, receiver " << c.receiverDelayMs << " ms");
        notes.clear();
        onNote = [&](const Note&) {
            if (c.receiverDelayMs) QThread::msleep(c.receiverDelayMs);
        };
        core.hooks().charIntervalMs = c.intervalMs;
        tune(0, PskCore::StationHz + 20, 30);
        tune(1, PskCore::StationHz - 10, 30);
        tune(2, 2500, 30);
        ASSERT_EQ(core.fnStartSoundCard(Hwnd, 0, 3), StartOk);
        const int wanted = c.intervalMs >= 32 ? 40 : int(station.size()) + 10;
        ASSERT_TRUE(zvtest::waitUntil([&] { return bytesOn(0).size() >= wanted; }));
        core.fnStopSoundCard();
        const QByteArray got = bytesOn(0);
        EXPECT_EQ(got, station.repeated(int(got.size() / station.size()) + 1).left(got.size()));
        EXPECT_TRUE(bytesOn(1) == got || got.startsWith(bytesOn(1)));
        EXPECT_TRUE(bytesOn(2).isEmpty());
    }
    // A double-byte character comes as two notices, lead byte first.
    const QByteArray got = bytesOn(0);
    const int lead = int(got.indexOf(cp932::encode(QStringLiteral("こ"))));
    ASSERT_GE(lead, 0);
    EXPECT_TRUE(cp932::isLeadByte(std::uint8_t(got[lead])));
    EXPECT_EQ(cp932::decode(got.mid(lead, 2)), QStringLiteral("こ"));
    EXPECT_TRUE(cp932::decode(got).contains(QStringLiteral("こちらは QQ9ABC です")));
}

TEST_F(PskCoreTest, DisplayTicksImdAndClockErrorForTheChannelsThatHoldTheStation) {
    connectWindow();
    tune(0, PskCore::StationHz);
    tune(1, 2600);
    tune(2, 600);
    core.fnSetClockErrorAdjustment(5);
    core.fnStartSoundCard(Hwnd, 0, 3);
    auto count = [&](std::int32_t msg) {
        return std::count_if(notes.begin(), notes.end(), [&](const Note& n) { return n.msg == msg; });
    };
    ASSERT_TRUE(zvtest::waitUntil([&] { return count(PskMsgClockError) >= 2; }));
    EXPECT_GE(count(PskMsgDisplay), 10);
    for (const Note& n : notes) {
        if (n.msg == PskMsgImd) {
            EXPECT_EQ(n.l, 0);
            EXPECT_TRUE(n.w >= 25 && n.w <= 28) << n.w;
        }
        if (n.msg == PskMsgClockError) {
            EXPECT_EQ(n.w, 12 - 5);
        }
    }
}

TEST_F(PskCoreTest, RewindReplaysTheLastReceivedText) {
    connectWindow();
    tune(0, PskCore::StationHz);
    core.fnStartSoundCard(Hwnd, 0, 3);
    ASSERT_TRUE(zvtest::waitUntil([&] { return bytesOn(0).size() >= 40; }));
    const QByteArray before = bytesOn(0);
    core.fnRewindInput(1); // 0.254 s, seven characters
    notes.clear();
    ASSERT_TRUE(zvtest::waitUntil([&] { return bytesOn(0).size() >= 7; }));
    EXPECT_EQ(bytesOn(0).left(7), before.right(7));
}

TEST_F(PskCoreTest, SquelchAboveTheStationKeepsTheChannelQuiet) {
    connectWindow();
    tune(0, PskCore::StationHz);
    core.fnSetSquelchThreshold(99, 50, 0);
    core.fnStartSoundCard(Hwnd, 0, 3);
    ASSERT_TRUE(zvtest::waitUntil([&] { return notes.size() > 50; }));
    EXPECT_TRUE(bytesOn(0).isEmpty());
    core.fnSetSquelchThreshold(20, 50, 0);
    EXPECT_TRUE(zvtest::waitUntil([&] { return !bytesOn(0).isEmpty(); }));
}

TEST_F(PskCoreTest, FrequencyStaysInsideTheAudioBandAndFollowsTheStation) {
    const struct {
        std::int32_t set, capture, afc, expected;
    } cases[] = {
        {-500, 50, 50, LowestHz},
        {99999, 50, 50, HighestHz},
        {PskCore::StationHz + 25, 50, 50, PskCore::StationHz},
        {PskCore::StationHz + 25, 50, 10, PskCore::StationHz + 25},
        {PskCore::StationHz + 80, 50, 100, PskCore::StationHz + 80},
        {1750, 50, 50, 1750},
    };
    for (const auto& c : cases) {
        core.fnSetRXFrequency(c.set, c.capture, 1);
        core.fnSetAFCLimit(c.afc, 1);
        EXPECT_EQ(core.fnGetRXFrequency(1), c.expected) << c.set;
    }
    EXPECT_EQ(core.fnGetRXFrequency(7), LowestHz);
}

TEST_F(PskCoreTest, DisplayDataFollowTheTunedSignal) {
    std::array<std::int32_t, 1024> fft;
    fft.fill(-1);
    EXPECT_EQ(core.fnGetFFTData(fft.data(), FirstBin, LastBin), 0);
    EXPECT_EQ(fft[FirstBin - 1], -1);
    EXPECT_EQ(fft[LastBin + 1], -1);
    const int stationBin = int(PskCore::StationHz / HzPerBin + 0.5);
    for (int b = FirstBin; b <= LastBin; ++b) {
        EXPECT_GE(fft[b], 0);
        EXPECT_LE(fft[b], 98);
    }
    EXPECT_GT(fft[stationBin], fft[stationBin + 40] + 30);

    core.fnStartSoundCard(Hwnd, 0, 3);
    tune(0, PskCore::StationHz);
    tune(1, 2700);
    std::array<std::int32_t, ScopePoints> onSync, offSync, vec;
    core.fnGetSyncData(onSync.data(), 0);
    core.fnGetSyncData(offSync.data(), 1);
    EXPECT_GT(*std::max_element(onSync.begin(), onSync.end()), 500);
    EXPECT_LT(*std::max_element(offSync.begin(), offSync.end()), 200);
    EXPECT_GE(core.fnGetSignalLevel(0), 40);
    EXPECT_LT(core.fnGetSignalLevel(1), 40);
    // Sending on the receive frequency: the rig's receiver is muted, and only
    // a satellite's downlink brings the own signal back.
    core.fnSetTXFrequency(PskCore::StationHz);
    core.fnStartTX(TxBpsk);
    EXPECT_EQ(core.fnGetSignalLevel(0), 0);
    core.fnAbortTX();
    core.fnStartTX(TxBpsk + SatelliteFlag);
    EXPECT_GE(core.fnGetSignalLevel(0), 40);
    core.fnAbortTX();
    core.fnGetVectorData(vec.data(), 0);
    for (int k = 0; k < ScopePoints; k += 2)
        EXPECT_GT(std::abs(vec[k]), 500);

    std::array<std::int32_t, RawSamples> raw;
    EXPECT_EQ(core.fnGetRawData(raw.data(), 0, RawSamples - 1), 0);
    EXPECT_GT(*std::max_element(raw.begin(), raw.end()), 1000);
    core.hooks().overload = true;
    EXPECT_NE(core.fnGetFFTData(fft.data(), FirstBin, LastBin), 0);
    EXPECT_NE(core.fnGetRawData(raw.data(), 0, RawSamples - 1), 0);
}

TEST_F(PskCoreTest, ForcedAndRefusedResults) {
    connectWindow();
    const struct {
        std::int32_t forced, card, expected;
    } starts[] = {{MemoryAllocationError, 0, 10}, {BadDeviceId, 0, 21}, {StartOk, 5, 21}, {StartOk, -1, 0}};
    for (const auto& s : starts) {
        core.hooks().startResult = s.forced;
        EXPECT_EQ(core.fnStartSoundCard(Hwnd, s.card, 3), s.expected);
        EXPECT_EQ(core.isRunning(), s.expected == StartOk);
        core.fnStopSoundCard();
    }
    notes.clear();
    core.hooks().startResult = BadDeviceId;
    core.fnStartSoundCard(Hwnd, 0, 3);
    core.stepForTest();
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_TRUE(notes.empty()) << "a refused start runs no clock";

    EXPECT_EQ(core.fnSetComPort(3, 1), 1);
    core.hooks().comPortResult = 0;
    EXPECT_EQ(core.fnSetComPort(3, 1), 0);
    EXPECT_GE(core.fnGetDLLVersion(), 114);
    core.hooks().version = 113;
    EXPECT_EQ(core.fnGetDLLVersion(), 113);
}

TEST_F(PskCoreTest, CallRecordKeepsNamesAndArgumentsInOrder) {
    core.fnSetComPort(0, 0);
    core.fnSetRXFrequency(1000, 50, 0);
    core.fnSetRXPSKMode(1, 2);
    core.fnSendTXString(cp932::encode(QStringLiteral("ｱ 73")));
    core.fnStartTX(3 + SatelliteFlag);
    EXPECT_EQ(core.callTexts(),
              (QStringList{"fnSetComPort(0, 0)", "fnSetRXFrequency(1000, 50, 0)", "fnSetRXPSKMode(1, 2)",
                           QStringLiteral("fnSendTXString(\"ｱ 73\")"), "fnStartTX(131)"}));
    core.clearCalls();
    EXPECT_TRUE(core.calls().empty());
}

} // namespace
