// Wave files through our PSK core library: the result codes for files that
// cannot be played, play-back ending with status 4, and recordings that are
// real wave files, ending with status 5 when timed.
#include "platform/os/WavFile.h"
#include "platform/pskcore/PskCore.h"
#include "support/ProgramFolder.h"

#include <QtEndian>
#include <vector>

namespace {

using namespace pskcore;

constexpr std::int32_t Hwnd = 0x2345;

QByteArray le32(std::uint32_t v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray le16(std::uint16_t v) {
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray fmtChunk(int channels, int rate, int bits) {
    return "fmt " + le32(16) + le16(1) + le16(channels) + le32(rate) + le32(rate * channels * bits / 8) +
           le16(channels * bits / 8) + le16(bits);
}

QByteArray wave(const QByteArray& chunks) {
    return "RIFF" + le32(4 + chunks.size()) + "WAVE" + chunks;
}

QByteArray pcm(int samples) {
    QByteArray b;
    for (int i = 0; i < samples; ++i)
        b += le16(std::uint16_t(i * 37));
    return b;
}

class PskWaveFileTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        core.subclass(Hwnd, &window, [this](std::int32_t m, std::int32_t w, std::int32_t) {
            if (m == PskMsgStatus) statuses.push_back(w);
            if (m == PskMsgDisplay) ++displayTicks;
        });
    }
    bool waitForStatus(std::int32_t code) {
        return zvtest::waitUntil(
            [&] { return std::find(statuses.begin(), statuses.end(), code) != statuses.end(); });
    }
    PskCore& core = lib();
    QObject window;
    std::vector<std::int32_t> statuses;
    int displayTicks = 0;
};

TEST_F(PskWaveFileTest, InputFilesGetTheirResultCodes) {
    const QByteArray good = wave(fmtChunk(1, 8000, 16) + "data" + le32(1600) + pcm(800));
    const struct {
        const char* name;
        QByteArray bytes;
        std::int32_t expected;
    } cases[] = {
        {"good.wav", good, wavfile::Playable},
        {"with-list.wav",
         wave(fmtChunk(1, 8000, 16) + "LIST" + le32(3) + "abc" + QByteArray(1, '\0') + "data" + le32(4) +
              pcm(2)),
         wavfile::Playable},
        {"notes.txt", "CQ CQ de QQ9ABC\r\n", wavfile::NotRiffWave},
        {"empty.wav", "", wavfile::NotRiffWave},
        {"avi.wav", "RIFF" + le32(4) + "AVI ", wavfile::NotRiffWave},
        {"truncated.wav", good.left(good.size() - 100), wavfile::Invalid},
        {"cut-in-header.wav", good.left(30), wavfile::Invalid},
        {"no-format.wav", wave("data" + le32(4) + pcm(2)), wavfile::Invalid},
        {"no-data.wav", wave(fmtChunk(1, 8000, 16)), wavfile::NoData},
        {"zero-data.wav", wave(fmtChunk(1, 8000, 16) + "data" + le32(0)), wavfile::NoData},
        {"8bit-stereo.wav", wave(fmtChunk(2, 8000, 8) + "data" + le32(4) + "abcd"), wavfile::Unsupported},
        {"44k.wav", wave(fmtChunk(1, 44100, 16) + "data" + le32(4) + pcm(2)), wavfile::Unsupported},
    };
    for (const auto& c : cases) {
        writeFile(c.name, c.bytes);
        std::int32_t length = 0;
        EXPECT_EQ(core.fnSetInputWavePath(path(c.name), &length, 0), c.expected) << c.name;
    }
    std::int32_t length = 0;
    EXPECT_EQ(core.fnSetInputWavePath(path("missing.wav"), &length, 0), wavfile::CantOpen);
    EXPECT_EQ(core.fnSetInputWavePath(folder(), &length, 0), wavfile::CantOpen);
    EXPECT_EQ(core.fnSetInputWavePath(path("good.wav"), &length, 0), wavfile::Playable);
    EXPECT_EQ(length, 800);
}

TEST_F(PskWaveFileTest, PlayBackEndsWithStatusFour) {
    writeFile("short.wav", wave(fmtChunk(1, 8000, 16) + "data" + le32(8000) + pcm(4000)));
    EXPECT_EQ(core.fnStartSoundCardEx(Hwnd, 0, 3, SoundFromWaveFile), wavfile::CantOpen);
    std::int32_t length = 0;
    ASSERT_EQ(core.fnSetInputWavePath(path("short.wav"), &length, 0), 0);
    ASSERT_EQ(core.fnStartSoundCardEx(Hwnd, 0, 3, SoundFromWaveFile), StartOk);
    std::array<std::int32_t, RawSamples> raw{};
    core.fnGetRawData(raw.data(), 0, RawSamples - 1);
    // The file's samples, wherever the half-second play-back stands by now.
    for (int k = 1; k < 4; ++k)
        EXPECT_EQ(std::uint16_t(raw[std::size_t(k)] - raw[std::size_t(k - 1)]), 37) << k;
    ASSERT_TRUE(waitForStatus(StatusPlaybackEnded));
    EXPECT_EQ(statuses, std::vector<std::int32_t>{StatusPlaybackEnded});
}

TEST_F(PskWaveFileTest, TimedRecordingWritesAWaveThatReadsBack) {
    const QString file = path("rec.wav");
    EXPECT_EQ(core.fnSetOutputWavePath(path("no/such/folder/rec.wav"), 1, 0), wavfile::CantOpenOutput);
    ASSERT_EQ(core.fnSetOutputWavePath(file, 1, 0), 0);
    ASSERT_EQ(core.fnStartSoundCardEx(Hwnd, 0, 3, RecordReceive), StartOk);
    ASSERT_TRUE(waitForStatus(StatusRecordingEnded));
    EXPECT_TRUE(core.isRunning()); // reception goes on after the recording
    std::int32_t length = 0;
    EXPECT_EQ(core.fnSetInputWavePath(file, &length, 0), wavfile::Playable);
    EXPECT_EQ(length, wavfile::SampleRate);
    const auto samples = wavfile::readSamples(file);
    EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 1000);

    // Appending continues the same file.
    ASSERT_EQ(core.fnSetOutputWavePath(file, 1, 1), 0);
    statuses.clear();
    ASSERT_EQ(core.fnStartSoundCardEx(Hwnd, 0, 3, RecordReceiveAndTransmit), StartOk);
    ASSERT_TRUE(waitForStatus(StatusRecordingEnded));
    EXPECT_EQ(wavfile::readSamples(file).size(), 2 * wavfile::SampleRate);
}

TEST_F(PskWaveFileTest, StoppingCutsTheRecordingShortButKeepsItReadable) {
    const QString file = path("cut.wav");
    ASSERT_EQ(core.fnSetOutputWavePath(file, 60, 0), 0);
    ASSERT_EQ(core.fnStartSoundCardEx(Hwnd, 0, 3, RecordReceive), StartOk);
    // Each display tick writes the samples due by then: two ticks are a fifth of a second.
    ASSERT_TRUE(zvtest::waitUntil([&] { return displayTicks >= 2; }));
    core.fnStopSoundCard();
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_TRUE(statuses.empty());
    wavfile::Info info;
    ASSERT_EQ(wavfile::check(file, &info), wavfile::Playable);
    EXPECT_GT(info.samples(), 1000);
    EXPECT_LT(info.samples(), 8000);
}

} // namespace
