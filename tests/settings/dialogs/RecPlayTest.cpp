// The recording dialog: its values, its length box, its file choice, its
// stored settings and the start of a recording through the PSK library's
// stand-in, with the main window as its owner.
#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/dialogs/RecPlayValues.h"
#include "terminal/engines/PskFixture.h"

#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

namespace {

using core::g;

TEST(RecPlayValues, LengthNamesAndModes) {
    struct Case {
        const char* typed;
        const char* kept;
    } lengths[] = {{"1", "1"},  {"1000", "1000"}, {"999", "999"}, {"0", "1"},       {"1500", "1"}, {"", "1"},
                   {"-5", "1"}, {"12a", "1"},     {"00", "1"},    {"0007", "0007"}, {"10000", "1"}};
    for (const auto& c : lengths)
        EXPECT_EQ(settings::recordLengthText(QString::fromLatin1(c.typed)), QString::fromLatin1(c.kept))
            << c.typed;

    struct Name {
        const char* path;
        bool wave;
    } names[] = {{"C:\\REC\\a.WAV", true}, {"/rec/a.wav", true}, {"/rec/a.Wav", true},
                 {"/rec/a", false},        {"", false},          {"/rec/wav", false},
                 {"/rec.wav/a", true}};
    for (const auto& c : names)
        EXPECT_EQ(settings::namesWaveFile(QString::fromLatin1(c.path)), c.wave) << c.path;

    EXPECT_EQ(settings::proposedRecordingName(QDateTime(QDate(2026, 12, 5), QTime(14, 5))),
              QStringLiteral("ZORVAT_2612051405"));
    EXPECT_EQ(settings::recordingModeCode(QStringLiteral("1")), 6);
    EXPECT_EQ(settings::recordingModeCode(QStringLiteral("0")), 2);
    EXPECT_EQ(settings::recordingModeCode(QString()), 2);
}

class RecPlay : public psktest::PskWindowTest {
  protected:
    void SetUp() override {
        PskWindowTest::SetUp();
        w = &loadAndStart();
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
    }
    // The dialog as the record item opens it.
    CFG_RecPlay& open() {
        EXPECT_TRUE(zvtest::chooseMenuItem(w->RecPsk));
        CFG_RecPlay& d = forms::CFG_RecPlay();
        EXPECT_TRUE(d.isVisible());
        return d;
    }
    static QString ini(const char* key) {
        return core::IniStored(QStringLiteral("PSKCFG"), QString::fromLatin1(key))
            .value_or(QStringLiteral("-"));
    }
    PSK31MAIN* w = nullptr;
};

TEST_F(RecPlay, TheDialogSitsBesideTheMainWindowAboveTheOthers) {
    w->move(40, 60);
    CFG_RecPlay& d = open();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("録音設定"));
    EXPECT_EQ(d.pos(), QPoint(40 + 340, 60 + 43));
    EXPECT_EQ(d.size(), QSize(202, 320));
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(d.Text9->toolTip(), QStringLiteral("設定値は　1～1000 迄です"));

    // Beside a window in the screen's far corner it would open off the screen: it comes onto it, whole.
    ASSERT_TRUE(zvtest::chooseInMenuBar(d.menus, d.CLOSE_CFG));
    w->move(600, 500);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = open().frameGeometry();
    EXPECT_EQ(frame.bottomLeft(), QPoint(area.left(), area.bottom()));
}

TEST_F(RecPlay, TheLengthBoxTakesDigitsAndKeepsToItsRange) {
    CFG_RecPlay& d = open();
    struct Case {
        const char* name;
        QString start;
        std::function<void(QLineEdit*)> keys;
        const char* text;
        int minutes;
    } cases[] = {
        {"digits", "", [](QLineEdit* b) { QTest::keyClicks(b, "25"); }, "125", 125},
        {"a letter is refused", "", [](QLineEdit* b) { QTest::keyClicks(b, "x"); }, "1", 1},
        {"backspace is refused", "", [](QLineEdit* b) { QTest::keyClick(b, Qt::Key_Backspace); }, "1", 1},
        {"1500 becomes 1", "", [](QLineEdit* b) { QTest::keyClicks(b, "500"); }, "1", 1},
        {"1000 stays", "", [](QLineEdit* b) { QTest::keyClicks(b, "000"); }, "1000", 1000},
        {"emptied with Delete", "",
         [](QLineEdit* b) {
             b->setCursorPosition(0);
             QTest::keyClick(b, Qt::Key_Delete);
         },
         "1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        d.Text9->setText(QStringLiteral("1"));
        d.Text9->setFocus();
        d.Text9->end(false);
        c.keys(d.Text9);
        EXPECT_EQ(d.Text9->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(g.RecTimeLen, c.minutes);
    }
    d.Text9->setText(QStringLiteral("0"));
    EXPECT_EQ(d.Text9->text(), QStringLiteral("1"));
}

TEST_F(RecPlay, ChoosingTheFileStoresItsFolderAndACancelChangesNothing) {
    sysclock::setUtcForTest(QDateTime(QDate(2026, 12, 5), QTime(5, 5), Qt::UTC));
    QDir(folder()).mkpath(QStringLiteral("wav"));
    writeIni(QStringLiteral("[PSKCFG]\nRecFOL=") + path(QStringLiteral("wav")) + QStringLiteral("\n") +
             psktest::kFixtureKeys);
    CFG_RecPlay& d = open();
    ui::script::push(QVariant());
    QTest::mouseClick(d.Command28, Qt::LeftButton);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt, path(QStringLiteral("wav/ZORVAT_2612051405")));
    EXPECT_EQ(ui::script::asked().front().title, QStringLiteral("録音ﾃﾞｰﾀ保存"));
    EXPECT_EQ(d.Text13->text(), QStringLiteral("録音ファイル名がありません"));
    EXPECT_EQ(g.RecFileReady, 0);
    EXPECT_EQ(g.RecPlayState, 1) << "a cancel leaves the dialog as it was";

    ui::script::push(path(QStringLiteral("wav/evening")));
    QTest::mouseClick(d.Command28, Qt::LeftButton);
    EXPECT_EQ(g.WaveFilePath, path(QStringLiteral("wav/evening.wav")));
    EXPECT_EQ(d.Text13->text(), g.WaveFilePath);
    EXPECT_EQ(d.Text13->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(g.RecFileReady, 1);
    EXPECT_EQ(ini("RecFOL"), path(QStringLiteral("wav")));

    // Its settings are stored only by the save button.
    EXPECT_EQ(ini("RecFname"), QStringLiteral("-"));
    d.Check6->setChecked(true);
    QTest::mouseClick(d.Option1[1], Qt::LeftButton);
    ASSERT_TRUE(d.Option1[1]->isChecked());
    d.Text9->setText(QStringLiteral("30"));
    QTest::mouseClick(d.Command27, Qt::LeftButton);
    EXPECT_EQ(ini("RecFname"), g.WaveFilePath);
    EXPECT_EQ(ini("RecTimelen"), QStringLiteral("30"));
    EXPECT_EQ(ini("RecFappend"), QStringLiteral("1"));
    EXPECT_EQ(ini("RecSpec"), QStringLiteral("1"));
    EXPECT_EQ(g.RecSpecCode, 6);
}

TEST_F(RecPlay, StartingNeedsAFileTheLibraryCanWrite) {
    CFG_RecPlay& d = open();
    QTest::mouseClick(d.Command29, Qt::LeftButton);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt, QStringLiteral("録音ファイル名を指定して下さい。"));
    EXPECT_EQ(g.RecPlayState, 0);

    // A folder that is not there.
    g.WaveFilePath = path(QStringLiteral("gone/a.wav"));
    g.RecFileReady = 1;
    pskcore::lib().clearCalls();
    QTest::mouseClick(d.Command29, Qt::LeftButton);
    EXPECT_EQ(ui::script::asked().back().prompt, QStringLiteral("can't open wave file for output"));
    EXPECT_TRUE(d.isVisible()) << "the dialog stays";
    EXPECT_EQ(calls(), QStringList{QStringLiteral("fnSetOutputWavePath(\"%1\", 60, 0)").arg(g.WaveFilePath)});

    // A sound card the library cannot open: its message, and reception goes on.
    g.WaveFilePath = path(QStringLiteral("a.wav"));
    pskcore::lib().hooks().startResult = pskcore::BadDeviceId;
    QTest::mouseClick(d.Command29, Qt::LeftButton);
    EXPECT_EQ(ui::script::asked().back().prompt, QStringLiteral("Bad Device ID,SoundCard Not Present"));
    EXPECT_EQ(g.RecPlayState, 0);
    EXPECT_TRUE(w->Text3->isHidden());
    EXPECT_TRUE(d.isVisible());
    pskcore::lib().hooks().startResult = pskcore::StartOk;
}

TEST_F(RecPlay, ClosingTheDialogBringsTheItemsBack) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox);
        CFG_RecPlay& d = open();
        EXPECT_FALSE(w->RecPsk->isEnabled());
        EXPECT_FALSE(w->PlayPsk->isEnabled());
        if (closeBox)
            d.close();
        else
            ASSERT_TRUE(zvtest::chooseInMenuBar(d.menus, d.CLOSE_CFG));
        EXPECT_FALSE(forms::isLoaded<CFG_RecPlay>());
        EXPECT_TRUE(w->RecPsk->isEnabled());
        EXPECT_TRUE(w->PlayPsk->isEnabled());
        EXPECT_EQ(g.RecPlayState, 0);
    }
}

} // namespace
