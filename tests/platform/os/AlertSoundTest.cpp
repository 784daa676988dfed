// The alert tone written beside the program at build time, and the player of
// the run loading it.
#include "platform/os/AlertSound.h"
#include "platform/os/Paths.h"
#include "platform/os/WavFile.h"
#include "support/ProgramFolder.h"

#include <QSoundEffect>

namespace {

// Sign changes in a run of samples: twice the tone's frequency over its length.
int signChanges(const QVector<std::int16_t>& s, qsizetype from, qsizetype count) {
    int n = 0;
    for (qsizetype i = from + 1; i < from + count; ++i)
        if ((s[i - 1] < 0) != (s[i] < 0)) ++n;
    return n;
}

QString toneFile() {
    return paths::join(paths::executableFolder(), alertsound::AlertToneFile);
}

TEST(AlertTone, IsTwoTonesOfSixteenBitPcmBesideTheProgram) {
    wavfile::Info info;
    ASSERT_EQ(wavfile::check(toneFile(), &info), wavfile::Playable);
    EXPECT_EQ(info.bitsPerSample, 16);
    EXPECT_EQ(info.channels, 1);
    const QVector<std::int16_t> s = wavfile::readSamples(toneFile());
    const qsizetype perTone = wavfile::SampleRate * alertsound::AlertToneMsecs / 1000;
    ASSERT_EQ(s.size(), 2 * perTone);
    for (int t = 0; t < 2; ++t) {
        const double hz = signChanges(s, t * perTone, perTone) / 2.0 / (alertsound::AlertToneMsecs / 1000.0);
        EXPECT_NEAR(hz, alertsound::AlertToneHz[t], 10) << "tone " << t;
    }
    EXPECT_EQ(s.front(), 0) << "the tone rises from silence";
    EXPECT_GT(*std::max_element(s.begin(), s.end()), 8000);
}

TEST(AlertPlayer, FileThatIsNoWaveFailsAtOnce) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.wav");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a wave file at all, not even close to one");
    f.close();
    alertsound::SoundEffectPlayer player;
    int failures = 0;
    player.play(bad, false, [&] { ++failures; });
    EXPECT_EQ(failures, 1);
    player.play(dir.filePath("missing.wav"), true, [&] { ++failures; });
    EXPECT_EQ(failures, 2);
    EXPECT_EQ(player.effect(), nullptr);
}

TEST(AlertPlayer, LoadsTheToneInALoop) {
    alertsound::SoundEffectPlayer player;
    int failures = 0;
    player.play(toneFile(), true, [&] { ++failures; });
    ASSERT_NE(player.effect(), nullptr);
    EXPECT_EQ(player.effect()->loopCount(), int(QSoundEffect::Infinite));
    if (!player.hasOutput()) GTEST_SKIP() << "no sound output on this machine to load the effect for";
    EXPECT_TRUE(zvtest::waitUntil([&] { return player.effect()->status() == QSoundEffect::Ready; }));
    EXPECT_EQ(failures, 0);
    player.stop();
    EXPECT_FALSE(player.effect()->isPlaying());
}

} // namespace
