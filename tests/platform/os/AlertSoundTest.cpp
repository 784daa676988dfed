// The alert tone written beside the program at build time, and the player of
// the run loading it.
#include "platform/os/AlertSound.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"
#include "platform/os/WavFile.h"
#include "support/ProgramFolder.h"

#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QtEndian>

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

// A wave file of a format the sound output does not take (compressed).
QString unsupportedWave(const QTemporaryDir& dir) {
    QByteArray fmt(16, '\0');
    qToLittleEndian<quint16>(0x55, fmt.data());
    qToLittleEndian<quint16>(1, fmt.data() + 2);
    qToLittleEndian<quint32>(8000, fmt.data() + 4);
    const QByteArray body(800, '\x11');
    QByteArray bytes = "RIFF" + QByteArray(4, '\0') + "WAVEfmt " + QByteArray("\x10\0\0\0", 4) + fmt + "data";
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(body.size()), size.data());
    bytes += size + body;
    qToLittleEndian<quint32>(quint32(bytes.size() - 8), bytes.data() + 4);
    const QString path = dir.filePath("mp3.wav");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
    return path;
}

// A failure told in a box, inside the effect's own signal: a spot's alert
// played meanwhile leaves that effect alive until the box is answered.
TEST(AlertPlayer, AnotherPlayWhileAFailureIsToldFreesNothingUnderIt) {
    QTemporaryDir dir;
    const QString bad = unsupportedWave(dir);
    ASSERT_EQ(wavfile::check(bad), wavfile::Unsupported);
    alertsound::SoundEffectPlayer player;
    QPointer<QSoundEffect> first;
    bool told = false;
    bool aliveAfterBox = false;
    player.play(bad, false, [&] {
        if (told) return;
        told = true;
        bool replayed = false;
        QTimer::singleShot(0, [&] {
            player.play(toneFile(), false, [] {});
            replayed = true;
        });
        forms::waitUntil([&] { return replayed; }, zvtest::kSafetyNetMsecs);
        aliveAfterBox = !first.isNull();
    });
    first = player.effect();
    ASSERT_NE(first, nullptr);
    if (!zvtest::waitUntil([&] { return told || first->status() == QSoundEffect::Ready; }) || !told)
        GTEST_SKIP() << "the sound output here takes the file or never says it cannot";
    EXPECT_TRUE(aliveAfterBox);
    EXPECT_NE(player.effect(), first.data());
    EXPECT_TRUE(zvtest::waitUntil([&] { return first.isNull(); })) << "freed once the box is answered";
}

} // namespace
