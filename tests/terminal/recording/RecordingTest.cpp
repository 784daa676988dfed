// Recording and play-back from the main window's menu: the record item's
// presets, a timed recording that writes a real wave file, its play-back, the
// stop item, and wave files the library cannot play.
#include "terminal/engines/PskFixture.h"

#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Paths.h"
#include "platform/os/WavFile.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/engines/PskEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QtEndian>

namespace {

using core::g;

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
QByteArray wave(int channels, int bits, const QByteArray& data) {
    const QByteArray fmt = "fmt " + le32(16) + le16(1) + le16(channels) + le32(8000) +
                           le32(8000 * channels * bits / 8) + le16(channels * bits / 8) + le16(bits);
    const QByteArray chunks = fmt + "data" + le32(data.size()) + data;
    return "RIFF" + le32(4 + chunks.size()) + "WAVE" + chunks;
}

class Recording : public psktest::PskWindowTest {
  protected:
    void SetUp() override {
        PskWindowTest::SetUp();
        pskcore::lib().hooks().waveSecondMs = 10; // a minute in 0.6 seconds
    }
    PSK31MAIN& start(const QString& extra = {}) {
        PSK31MAIN& w = loadAndStart(extra);
        g.MainHwnd = terminal::engines::MainWindowHandle;
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        return w;
    }
    bool choose(PSK31MAIN& w, QAction* item) { return zvtest::chooseInMenuBar(w.menuBar(), item); }
    bool asked(const QString& prompt) const {
        for (const ui::Asked& a : ui::script::asked())
            if (a.prompt == prompt) return true;
        return false;
    }
};

TEST_F(Recording, TheRecordItemPresetsTheDialogFromTheSettings) {
    struct Case {
        const char* name;
        const char* keys;
        const char* fileText;
        bool red;
        const char* length;
        bool append;
        int option;
        int mode;
    } cases[] = {
        {"nothing stored", "", "録音ファイル名がありません", true, "1", false, 0, 2},
        {"appending to a stored file", "RecFname=/r/a.WAV\nRecTimelen=30\nRecFappend=1\nRecSpec=1\n",
         "/r/a.WAV", false, "30", true, 1, 6},
        {"a new recording needs a new name", "RecFname=/r/a.WAV\nRecFappend=0\nRecSpec=0\n",
         "録音ファイル名がありません", true, "1", false, 0, 2},
        {"a name that is no wave file", "RecFname=/r/a.txt\nRecFappend=1\n", "録音ファイル名がありません",
         true, "1", true, 0, 2},
        {"a length out of range", "RecTimelen=1500\n", "録音ファイル名がありません", true, "1", false, 0, 2},
    };
    PSK31MAIN& w = start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(QStringLiteral("[PSKCFG]\n") + QString::fromUtf8(c.keys) + psktest::kFixtureKeys);
        ASSERT_TRUE(choose(w, w.RecPsk));
        CFG_RecPlay& d = forms::CFG_RecPlay();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Text13->text(), QString::fromUtf8(c.fileText));
        EXPECT_EQ(d.Text13->palette().color(QPalette::Text), c.red ? QColor(Qt::red) : QColor(Qt::black));
        EXPECT_EQ(g.RecFileReady, c.red ? 0 : 1);
        EXPECT_EQ(d.Text9->text(), QString::fromLatin1(c.length));
        EXPECT_EQ(d.Check6->isChecked(), c.append);
        EXPECT_TRUE(d.Option1[c.option]->isChecked());
        EXPECT_EQ(g.RecSpecCode, c.mode);
        EXPECT_FALSE(w.RecPsk->isEnabled());
        EXPECT_FALSE(w.PlayPsk->isEnabled());
        EXPECT_EQ(g.RecPlayState, 1);
        ASSERT_TRUE(zvtest::chooseInMenuBar(d.menus, d.CLOSE_CFG));
        EXPECT_TRUE(w.RecPsk->isEnabled());
    }
}

TEST_F(Recording, ATimedRecordingWritesAWaveFileThatPlaysBack) {
    PSK31MAIN& w = start();
    ASSERT_TRUE(choose(w, w.RecPsk));
    CFG_RecPlay& d = forms::CFG_RecPlay();
    const QString file = path(QStringLiteral("evening.wav"));
    ui::script::push(path(QStringLiteral("evening")));
    QTest::mouseClick(d.Command28, Qt::LeftButton);
    ASSERT_EQ(g.WaveFilePath, file);
    pskcore::lib().clearCalls();
    ui::script::push(ui::Yes); // play it back when it ends
    QTest::mouseClick(d.Command29, Qt::LeftButton);
    EXPECT_FALSE(forms::isLoaded<CFG_RecPlay>());
    EXPECT_EQ(g.RecPlayState, 1);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("ただ今録音中です。"));
    EXPECT_TRUE(w.Text3->isVisible());
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetOutputWavePath(\"%1\", 60, 0)").arg(file)));
    EXPECT_TRUE(calls().contains(QStringLiteral("fnStartSoundCardEx(65552, 0, 3, 2)")));

    // The file grows while the recording runs and is a whole wave file throughout.
    ASSERT_TRUE(zvtest::waitUntil([&] { return QFileInfo(file).size() > wavfile::HeaderBytes; }));
    EXPECT_EQ(wavfile::check(file), wavfile::Playable);

    const QString ended =
        QStringLiteral("指定時間( 1分)の録音を終了しました\r\nこのファイルを直ぐ再生してみますか？");
    ASSERT_TRUE(zvtest::waitUntil([&] { return asked(ended); }));
    wavfile::Info info;
    EXPECT_EQ(wavfile::check(file, &info), wavfile::Playable);
    EXPECT_EQ(info.samples(), 60 * 8000);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.bitsPerSample, 16);
    EXPECT_EQ(info.sampleRate, 8000);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("Wav File の再生中です"));
    // Play-back after the question is play-back: nothing new starts meanwhile.
    EXPECT_EQ(g.RecPlayState, 1);
    EXPECT_FALSE(w.RecPsk->isEnabled());
    EXPECT_FALSE(w.PlayPsk->isEnabled());
    ASSERT_TRUE(zvtest::waitUntil([&] { return asked(QStringLiteral("再生が終了しました")); }));
    EXPECT_TRUE(w.RecPsk->isEnabled());
    EXPECT_TRUE(w.PlayPsk->isEnabled());
    EXPECT_EQ(g.RecPlayState, 0);
    EXPECT_TRUE(w.Text3->isHidden());
}

TEST_F(Recording, ThePlayItemPlaysAChosenFileAndKeepsItsFolder) {
    QDir(folder()).mkpath(QStringLiteral("wav"));
    const QString file = path(QStringLiteral("wav/qso.WAV"));
    ASSERT_TRUE(psktest::writeShortWave(file));

    PSK31MAIN& w = start();
    pskcore::lib().clearCalls();
    ui::script::push(file);
    ASSERT_TRUE(choose(w, w.PlayPsk));
    EXPECT_EQ(ui::script::asked().front().title, QStringLiteral("再生ﾃﾞｰﾀ閲覧"));
    EXPECT_EQ(ui::script::asked().front().prompt, folder()) << "the program folder at first";
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("RecFOL")),
              path(QStringLiteral("wav")))
        << "without a trailing separator";
    EXPECT_EQ(w.Text3->text(), QStringLiteral("Wav File の再生中です"));
    EXPECT_TRUE(w.Text3->isVisible());
    EXPECT_FALSE(w.RecPsk->isEnabled());
    EXPECT_FALSE(w.PlayPsk->isEnabled());
    EXPECT_EQ(g.RecPlayState, 1);
    EXPECT_TRUE(calls().contains(QStringLiteral("fnStartSoundCardEx(65552, 0, 3, 1)")));

    // Stopped before its end: the sound card again, the items back.
    pskcore::lib().clearCalls();
    ASSERT_TRUE(choose(w, w.RecStop));
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("fnStopSoundCard()"),
                                    QStringLiteral("fnStartSoundCard(65552, 0, 3)")}));
    EXPECT_TRUE(w.RecPsk->isEnabled());
    EXPECT_TRUE(w.PlayPsk->isEnabled());
    EXPECT_EQ(g.RecPlayState, 0);
    EXPECT_TRUE(w.Text3->isHidden());

    // The next play proposes the file just played, in its folder.
    ui::script::clearAsked();
    ui::script::push(file);
    ASSERT_TRUE(choose(w, w.PlayPsk));
    EXPECT_EQ(ui::script::asked().front().prompt, file);
}

TEST_F(Recording, FilesTheLibraryCannotPlayAreNamedAndLeaveTheStateIdle) {
    const QByteArray pcm(1600, '\x01');
    struct Case {
        const char* name;
        QByteArray bytes;    // empty: no file at all
        const char* message; // nullptr: the file dialog was cancelled, which says nothing
    } cases[] = {
        {"missing", {}, "can't open wave file"},
        {"the dialog cancelled, the file chosen before missing", {}, nullptr},
        {"not RIFF", "hello, this is text", "file is not a RIFF wave type"},
        {"truncated", wave(1, 16, pcm).left(60), "Invalid wave file"},
        {"empty data", wave(1, 16, {}), "no data in file"},
        {"stereo", wave(2, 16, pcm), "not a supported data type"},
        {"8-bit", wave(1, 8, pcm), "not a supported data type"},
    };
    PSK31MAIN& w = start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("bad.wav"));
        QFile::remove(file);
        if (!c.bytes.isEmpty()) writeFile(QStringLiteral("bad.wav"), c.bytes);
        ui::script::clearAsked();
        pskcore::lib().clearCalls();
        ui::script::push(c.message ? file : QString());
        ASSERT_TRUE(choose(w, w.PlayPsk));
        ASSERT_EQ(ui::script::asked().size(), c.message ? 2 : 1);
        if (c.message) {
            EXPECT_EQ(ui::script::asked().back().prompt, QString::fromLatin1(c.message));
        }
        EXPECT_EQ(g.RecPlayState, 0);
        EXPECT_TRUE(w.PlayPsk->isEnabled());
        EXPECT_NE(w.Text3->text(), QStringLiteral("Wav File の再生中です"));
        EXPECT_FALSE(calls().contains(QStringLiteral("fnStopSoundCard()"))) << "reception goes on";
    }
}

TEST_F(Recording, RecordingEndedWithNoGoesBackToTheSoundCard) {
    PSK31MAIN& w = start(QStringLiteral("RecFname=") + path(QStringLiteral("b.wav")) +
                         QStringLiteral("\nRecFappend=1\nRecTimelen=1\n"));
    ASSERT_TRUE(choose(w, w.RecPsk));
    ui::script::push(ui::No);
    QTest::mouseClick(forms::CFG_RecPlay().Command29, Qt::LeftButton);
    pskcore::lib().clearCalls();
    ASSERT_TRUE(zvtest::waitUntil([&] { return g.RecPlayState == 0; }));
    EXPECT_TRUE(calls().contains(QStringLiteral("fnStartSoundCard(65552, 0, 3)")));
    EXPECT_TRUE(w.Text3->isHidden());
    EXPECT_TRUE(w.RecPsk->isEnabled());
    EXPECT_EQ(wavfile::check(path(QStringLiteral("b.wav"))), wavfile::Playable);
}

// Appending to a wave file of another format, or a damaged one, is refused
// with the library's words and the file is kept as it was.
TEST_F(Recording, AppendingToAFileOfAnotherFormatIsRefusedAndKeepsIt) {
    const QByteArray pcm(1600, '\x01');
    const struct {
        const char* name;
        QByteArray bytes;
        const char* message;
    } cases[] = {{"stereo 8-bit", wave(2, 8, pcm), "not a supported data type"},
                 {"damaged", wave(1, 16, pcm).left(60), "Invalid wave file"}};
    PSK31MAIN& w = start(QStringLiteral("RecFname=") + path(QStringLiteral("old.wav")) +
                         QStringLiteral("\nRecFappend=1\nRecTimelen=1\n"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("old.wav"), c.bytes);
        ASSERT_TRUE(choose(w, w.RecPsk));
        ui::script::clearAsked();
        QTest::mouseClick(forms::CFG_RecPlay().Command29, Qt::LeftButton);
        ASSERT_FALSE(ui::script::asked().isEmpty());
        EXPECT_EQ(ui::script::asked().back().prompt, QString::fromLatin1(c.message));
        EXPECT_EQ(readFile(QStringLiteral("old.wav")), c.bytes);
        EXPECT_EQ(g.RecPlayState, 0);
        forms::unload<CFG_RecPlay>();
        ASSERT_TRUE(choose(w, w.RecStop));
    }
}

} // namespace
