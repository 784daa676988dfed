// The SSTV window as the operator meets it: its load from stored settings
// (none, bad ones), pictures arriving into the history ring, browsing, the
// FSK ID saving the picture under the call, the receive options read back
// from the engine, the notch from the spectrum, each bitmap released once.
#include "core/ini/IniValues.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "platform/sstvengine/SstvSimulation.h"
#include "sstv/SstvFixture.h"
#include "sstv/window/SstvPlaces.h"
#include "sstv/window/SstvRoutines.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimeZone>

namespace {

using zvtest::SstvWindowTest;

QString stored(const char* section, const char* key) {
    return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key))
        .value_or(QStringLiteral("-"));
}

TEST_F(SstvWindowTest, FirstLoadWithoutSettingsTakesTheDefaults) {
    SSTVForm& f = window();
    const sstv::Globals& s = sstv::g;
    EXPECT_TRUE(QDir(path("History")).exists());
    EXPECT_TRUE(QDir(path("RcvDat")).exists());
    EXPECT_EQ(QDir::fromNativeSeparators(stored("BMP_POS", "History")), path("History") + '/');
    EXPECT_EQ(QDir::fromNativeSeparators(stored("BMP_POS", "RcvDat")), path("RcvDat") + '/');
    EXPECT_EQ(s.HistoryIndex, 1);
    EXPECT_EQ(f.HScroll1->value(), 1);
    EXPECT_EQ(f.Label15->text(), QStringLiteral("1"));
    EXPECT_EQ(readFile("RSVmenu.DAT"), QByteArray("595\r\n"));
    ASSERT_EQ(f.List4->count(), 1);
    EXPECT_EQ(f.List4->item(0)->text(), QStringLiteral("595"));
    EXPECT_EQ(std::tie(s.GradRed, s.GradGreen, s.GradBlue, s.GradChannel), std::make_tuple(155, 255, 255, 2));
    EXPECT_EQ(s.InsetBorderColor, 0xFFFFFFu);
    EXPECT_EQ(s.InsetBorderOn, 0);
    EXPECT_EQ(s.OutlineRgb, 0xFFFFFFu);
    EXPECT_TRUE(f.Option4[0]->isChecked()) << "white border, off";
    EXPECT_FALSE(f.Check5->isChecked());
    EXPECT_FALSE(f.Check6->isChecked());
    EXPECT_EQ(f.Label4->text(), QStringLiteral("QQ1TST"));
    EXPECT_EQ(f.pos(), QPoint(0, 0));
    EXPECT_EQ(f.Combo1->currentText(), QStringLiteral("Scottie 1"));
    EXPECT_EQ(f.SSTab1->tabText(0), QStringLiteral("受信画"));
    EXPECT_EQ(f.SSTab1->tabText(1), QStringLiteral("履歴"));
    EXPECT_EQ(f.SSTab1->tabText(2), QStringLiteral("同期"));
    EXPECT_EQ(f.SSTab2->currentIndex(), 1);
    EXPECT_EQ(f.StatusBar1->text(2), QStringLiteral("SSTV"));
    EXPECT_TRUE(f.PSKMODE[5]->isChecked());
    EXPECT_TRUE(eng().isRunning());
    EXPECT_EQ(eng().liveBitmaps(), 10);
    // Controls whose work comes later are there, greyed; the transmit side's are built.
    for (QWidget* later : {static_cast<QWidget*>(f.Command1)})
        EXPECT_FALSE(later->isEnabled());
    for (QWidget* built : {static_cast<QWidget*>(f.Command9), static_cast<QWidget*>(f.Command14),
                           static_cast<QWidget*>(f.Command10), static_cast<QWidget*>(f.Combo2)})
        EXPECT_TRUE(built->isEnabled());
    EXPECT_TRUE(f.ToB4TxPic->isEnabled());
    EXPECT_FALSE(f.Command16->isEnabled()) << "no inset to erase yet";
    EXPECT_TRUE(f.Picture14->isHidden());
}

TEST_F(SstvWindowTest, BadStoredValuesTakeTheirDefaultsAndTheLoadGoesOn) {
    writeIni(
        QStringLiteral("[GradColor]\nGrad_R=abc\nGrad_G=1\n[BackColor]\nPBCcode=zz\nPBCmode=x\nMBCcode=\n"
                       "[BMP_POS]\nHistoryNum=999\n[CFGPOS]\nPMPOSTop=999999\nPMPOSLeft=150\n"
                       "[SSTV_Gen]\nTitleStr=QQ1TST de %c\nAutoPaste=1\n"));
    writeFile("RSVmenu.DAT", cp932::encode(QStringLiteral("5999\r\n   \r\n57\r\n")));
    SSTVForm& f = window();
    EXPECT_EQ(sstv::g.GradRed, 155);
    EXPECT_EQ(sstv::g.GradGreen, 255) << "with Grad_R unusable the others are not looked at";
    EXPECT_EQ(sstv::g.InsetBorderColor, 0xFFFFFFu);
    EXPECT_EQ(sstv::g.InsetBorderOn, 0);
    EXPECT_EQ(sstv::g.HistoryIndex, 1);
    // Top beyond the screen; the left kept as far as the window stays whole on the screen.
    const int roomLeft =
        QGuiApplication::primaryScreen()->availableGeometry().width() - f.frameGeometry().width();
    EXPECT_EQ(f.pos(), QPoint(std::clamp(10, 0, std::max(0, roomLeft)), 0));
    EXPECT_TRUE(f.Check5->isChecked());
    // The title bar shows its text expanded (the call box is empty), the raw text is kept.
    EXPECT_EQ(f.Label4->text(), QStringLiteral("QQ1TST de "));
    EXPECT_EQ(sstv::g.SstvTitleBarText, QStringLiteral("QQ1TST de %c"));
    ASSERT_EQ(f.List4->count(), 2);
    EXPECT_EQ(f.List4->item(0)->text(), QStringLiteral("599"));
    EXPECT_EQ(f.List4->item(1)->text(), QStringLiteral("57"));
}

TEST_F(SstvWindowTest, BorderOptionFollowsTheStoredColour) {
    writeIni(QStringLiteral("[BackColor]\nPBCcode=255\nPBCmode=1\n"));
    EXPECT_TRUE(window().Option4[13]->isChecked()) << "red";
    struct Case {
        unsigned colour;
        int on, option;
    } cases[] = {{0, 0, 1},       {0xFF0000, 1, 10}, {0xFF00, 0, 11},  {0xFF, 1, 13},
                 {0xFFFF, 0, 15}, {0xFFFFFF, 1, 16}, {0xFFFFFF, 0, 0}, {0x123456, 1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(sstv::BorderOptionFor(c.colour, c.on), c.option) << c.colour;
}

TEST_F(SstvWindowTest, ARestartKeepsTheHistoryNumber) {
    ASSERT_TRUE(receive(sstveng::Scottie1));
    ASSERT_TRUE(receive(sstveng::Scottie1));
    SSTVForm& f = restartWindow();
    EXPECT_EQ(sstv::g.HistoryIndex, 3);
    EXPECT_EQ(f.Label15->text(), QStringLiteral("3"));
    ASSERT_TRUE(receive(sstveng::Scottie1));
    EXPECT_TRUE(QFile::exists(historyFile(4)));
}

TEST_F(SstvWindowTest, AutomaticInsetPutsTheFinishedPictureOnTheCanvas) {
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::waitExposed(&f));
    f.SSTab2->setCurrentIndex(1);
    QTest::mouseClick(f.Check5, Qt::LeftButton, {}, QPoint(6, f.Check5->height() / 2));
    EXPECT_EQ(stored("SSTV_Gen", "AutoPaste"), QStringLiteral("1"));
    f.SSTab2->setCurrentIndex(0);
    ASSERT_TRUE(receive(sstveng::Scottie1));
    EXPECT_EQ(sstv::g.InsetShown, 1);
    EXPECT_TRUE(f.Picture11->isVisible());
    EXPECT_EQ(f.SSTab2->currentIndex(), 1);
    EXPECT_NE(f.Picture11->canvas().pixel(5, 5), qRgb(0, 0, 0));
    ASSERT_TRUE(f.Command16->isEnabled());
    QTest::mouseClick(f.Command16, Qt::LeftButton);
    EXPECT_EQ(sstv::g.InsetShown, 0);
    EXPECT_FALSE(f.Picture11->isVisible());
}

TEST_F(SstvWindowTest, APressOnThePreviewCorrectsThePhase) {
    SSTVForm& f = window();
    f.SSTab1->setCurrentIndex(2);
    ASSERT_TRUE(zvtest::waitExposed(&f));
    eng().clearCalls();
    QTest::mouseClick(f.Picture2, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(eng().callTexts().filter(QStringLiteral("mmsAdjustPhase")),
              QStringList(QStringLiteral("mmsAdjustPhase(220, 320)")));
}

TEST_F(SstvWindowTest, APictureLandsInTheNextHistorySlotRoundTheRing) {
    writeIni(QStringLiteral("[BMP_POS]\nHistoryNum=320\n"));
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    EXPECT_EQ(f.SSTab1->tabText(0), QStringLiteral("受信 320x256"));
    EXPECT_EQ(sstv::g.HistoryIndex, 1);
    EXPECT_EQ(stored("BMP_POS", "HistoryNum"), QStringLiteral("1"));
    EXPECT_EQ(f.HScroll1->value(), 1);
    const QImage saved(historyFile(1));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(320, 256));
    EXPECT_EQ(saved.pixel(10, 250), sstveng::testPicture(320, 256, "QQ9ABC").pixel(10, 250))
        << "the picture reaches the bottom row";
    // The history box and its bitmap show the picture.
    EXPECT_NE(f.Picture9->canvas().pixel(10, 10), qRgb(0, 0, 0));
}

TEST_F(SstvWindowTest, Robot36FillsTheTop240RowsOfItsHistoryPicture) {
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Robot36));
    EXPECT_EQ(f.SSTab1->tabText(0), QStringLiteral("受信 320x240"));
    EXPECT_EQ(f.Combo1->currentText(), QStringLiteral("Robot 36"));
    const QImage saved(historyFile(2));
    ASSERT_EQ(saved.size(), QSize(320, 256));
    const QImage sent = sstveng::testPicture(320, 240, "QQ9ABC");
    EXPECT_EQ(saved.pixel(10, 235), sent.pixel(10, 235));
    EXPECT_NE(saved.pixel(10, 235), qRgb(0, 0, 0));
    EXPECT_EQ(saved.pixel(10, 245), qRgb(0, 0, 0)) << "below the picture: the clear colour";
}

TEST_F(SstvWindowTest, BrowsingWrapsAndTheNextPictureFollowsThePictureOnShow) {
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Scottie1)); // Hist_002
    f.SSTab1->setCurrentIndex(1);
    f.HScroll1->setFocus();
    QTest::keyClick(f.HScroll1, Qt::Key_Left); // 1
    QTest::keyClick(f.HScroll1, Qt::Key_Left); // round to 320
    EXPECT_EQ(f.HScroll1->value(), 320);
    EXPECT_EQ(f.Label15->text(), QStringLiteral("320"));
    EXPECT_EQ(f.Picture9->canvas().pixel(10, 10), qRgb(0, 0, 0)) << "no Hist_320 yet: the box stays empty";
    QTest::keyClick(f.HScroll1, Qt::Key_Right); // round to 1
    EXPECT_EQ(f.Label15->text(), QStringLiteral("1"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(f.HScroll1, Qt::Key_Right);
    EXPECT_EQ(sstv::g.HistoryIndex, 5);
    EXPECT_EQ(stored("BMP_POS", "HistoryNum"), QStringLiteral("2")) << "browsing does not store";
    ASSERT_TRUE(receive(sstveng::Scottie1));
    EXPECT_TRUE(QFile::exists(historyFile(6)));
    EXPECT_EQ(f.HScroll1->value(), 6);
}

TEST_F(SstvWindowTest, FskIdSavesThePictureUnderTheCallInsideTheReceivedFolder) {
    sysclock::setUtcForTest(QDateTime(QDate(2025, 7, 3), QTime(23, 15, 2), Qt::UTC));
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::waitExposed(&f));
    QCheckBox* fsk = f.Check2[30];
    QTest::mouseClick(fsk, Qt::LeftButton, {}, QPoint(6, fsk->height() / 2));
    ASSERT_TRUE(eng().mmsSetRxControl(-1) & sstveng::RxFskId);
    EXPECT_TRUE(fsk->isChecked());
    ASSERT_TRUE(receive(sstveng::Scottie1));
    const QString saved = sstv::g.RcvDatFolder + QStringLiteral("QQ9ABC_250704_081502.bmp");
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(QImage(saved).size(), QSize(320, 256));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("QQ9ABC"));

    eng().hooks().stationFskId = "../x/1";
    ASSERT_TRUE(receive(sstveng::Robot36));
    EXPECT_TRUE(QFile::exists(sstv::g.RcvDatFolder + QStringLiteral("---x-1_250704_081502.bmp")));
    EXPECT_EQ(QImage(sstv::g.RcvDatFolder + QStringLiteral("---x-1_250704_081502.bmp")).size(),
              QSize(320, 240));
    EXPECT_FALSE(QDir(path("x")).exists());
    EXPECT_EQ(f.Text1->text(), QStringLiteral("../X/1")) << "the call box holds a call in upper case";
    sysclock::resetForTest();
}

TEST_F(SstvWindowTest, PictureFoldersTheSettingsCannotNameAreUsedSaidOnceAndNotStored) {
    const QString home = path(QStringLiteral("h〜"));
    qputenv("ZORVATEK_HOME", home.toUtf8());
    window();
    EXPECT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(
        ui::script::asked().value(0).prompt.contains(QStringLiteral("「〜」は設定ファイルに保存できない")));
    EXPECT_EQ(stored("BMP_POS", "History"), QStringLiteral("-"));
    EXPECT_EQ(stored("BMP_POS", "RcvDat"), QStringLiteral("-"));
    ASSERT_TRUE(receive(sstveng::Scottie1));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/History/Hist_002.bmp")));
}

TEST_F(SstvWindowTest, AFailedHistorySaveIsToldOnTheMessageLineAndTakesNoNumber) {
    SSTVForm& f = window();
    const int before = sstv::g.HistoryIndex;
    sstv::g.HistoryFolder = path("gone/");
    eng().startStationPicture(sstveng::Scottie1);
    ASSERT_TRUE(zvtest::waitUntil([&] { return f.Text3->isVisible(); }));
    // After a restart the next picture must not find a gap where this one was not saved.
    EXPECT_EQ(sstv::g.HistoryIndex, before);
    EXPECT_EQ(stored("BMP_POS", "HistoryNum"), QStringLiteral("-"));
    EXPECT_TRUE(f.Text3->text().startsWith(QStringLiteral("画像を保存できませんでした: ")));
    EXPECT_TRUE(ui::script::asked().isEmpty()) << "no modal box";
    EXPECT_TRUE(eng().isRunning());
}

TEST_F(SstvWindowTest, ReceiveOptionsAreWrittenPositionByPositionAndReadBack) {
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::waitExposed(&f));
    QCheckBox* erase = f.Check2[23];
    QTest::mouseClick(erase, Qt::LeftButton, {}, QPoint(6, erase->height() / 2));
    EXPECT_TRUE(eng().mmsSetRxControl(-1) & sstveng::RxErase);
    EXPECT_EQ(f.RxControlWord.at(22), QLatin1Char('1'));
    QTest::mouseClick(erase, Qt::LeftButton, {}, QPoint(6, erase->height() / 2));
    EXPECT_FALSE(eng().mmsSetRxControl(-1) & sstveng::RxErase);

    const std::int32_t before = eng().mmsSetRxControl(-1);
    QTest::mouseClick(f.Command12, Qt::LeftButton);
    EXPECT_EQ(eng().mmsSetRxControl(-1), before | sstveng::RxAfc);
    EXPECT_EQ(f.SstvAfcOn, 1);
    QTest::mouseClick(f.Option2[3], Qt::LeftButton, {}, QPoint(6, f.Option2[3]->height() / 2));
    EXPECT_EQ(eng().mmsSetRxControl(-1) >> 28, 3) << "vySharp";
    EXPECT_EQ(eng().mmsSetRxControl(-1) & 0x0FFFFFFF, (before | sstveng::RxAfc) & 0x0FFFFFFF);

    // An engine word with slant mode "00": the slant controls go grey, even with automatic slant set.
    eng().mmsSetRxControl((eng().mmsSetRxControl(-1) & ~(3 << 20)) | sstveng::RxSlant);
    eng().hooks().optionResult = 1;
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.mmsCFG));
    EXPECT_FALSE(f.Check2[24]->isEnabled());
    EXPECT_TRUE(f.Check2[24]->isChecked());
    EXPECT_FALSE(f.Command17->isEnabled());
    EXPECT_FALSE(f.Command21->isEnabled());

    QTest::mouseClick(f.Option1[1], Qt::LeftButton, {}, QPoint(6, f.Option1[1]->height() / 2));
    EXPECT_EQ(f.Command13->text(), QStringLiteral("ANF"));
    EXPECT_EQ(eng().mmsSetLMS(-1), 1);
}

TEST_F(SstvWindowTest, TuningIndicatorWordAndTheNotch) {
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::waitExposed(&f));
    QTest::mouseClick(f.Command4, Qt::LeftButton);
    EXPECT_TRUE(f.Frame12->isVisible());
    EXPECT_EQ(f.Command4->text(), QStringLiteral("設定完了"));
    f.VScroll1->setFocus();
    QTest::keyClick(f.VScroll1, Qt::Key_End);
    EXPECT_EQ(eng().mmsSetTuneControl(-1) & 0xF, 7);
    EXPECT_EQ(f.Label10->text(), QStringLiteral("7"));

    eng().clearCalls();
    QTest::mouseClick(f.Picture4, Qt::LeftButton, {}, QPoint(0, 50));
    QTest::mouseClick(f.Picture5, Qt::RightButton, {}, QPoint(100, 50));
    EXPECT_EQ(eng().callTexts().filter(QStringLiteral("mmsSetNotch")),
              QStringList({QStringLiteral("mmsSetNotch(500)"), QStringLiteral("mmsSetNotch(0)")}));
}

TEST(SstvNotch, FromThePressOnTheSpectrum) {
    struct Case {
        double x;
        int button, hz;
    } cases[] = {{0, 1, 500}, {330, 1, 3000}, {165, 1, 1750}, {1, 1, 508}, {200, 2, 0}, {200, 4, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(sstv::NotchHz(500, 2500, c.x, 330, c.button), c.hz) << c.x;
}

TEST_F(SstvWindowTest, ManualReceiveAndTheClockCheck) {
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::waitExposed(&f));
    eng().clearCalls();
    QTest::mouseClick(f.Command11, Qt::LeftButton);
    EXPECT_EQ(f.ManualRxOn, 1);
    QTest::mouseClick(f.Command11, Qt::LeftButton);
    EXPECT_EQ(eng().callTexts().filter(QStringLiteral("Scan")),
              QStringList({QStringLiteral("mmsStartScan(6)"), QStringLiteral("mmsStopScan(0)"),
                           QStringLiteral("mmsStopScan(1)")}));
    QTest::mouseClick(f.Command21, Qt::LeftButton);
    EXPECT_FALSE(f.Command2->isEnabled()) << "no change of the clock";
    eng().hooks().measuredRate = 1102500 + 111;
    QTest::mouseClick(f.Command21, Qt::LeftButton);
    ASSERT_TRUE(f.Command2->isEnabled());
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(callsOf(QStringLiteral("mmsSetSampleFreq(0, 1102611)")), 1);
    EXPECT_FALSE(f.Command2->isEnabled());
}

TEST_F(SstvWindowTest, EachBitmapIsReleasedOnceAndNothingArrivesAfterTheUnload) {
    window();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    const sstv::Bitmaps d = sstv::g.dib;
    forms::unload<SSTVForm>();
    EXPECT_EQ(eng().liveBitmaps(), 0);
    for (std::int32_t h : {d.RxDib, d.RxPreviewDib, d.TxDib, d.CanvasDib, d.LastRxPictureDib,
                           d.PickedPictureDib, d.HistoryDib, d.TuneDibs[0], d.TuneDibs[1], d.TuneDibs[2]})
        EXPECT_EQ(callsOf(QStringLiteral("DeleteObject(%1)").arg(h)), 1) << h;
    EXPECT_EQ(callsOf(QStringLiteral("DeleteObject(0)")), 0);
    EXPECT_FALSE(eng().isRunning());
    EXPECT_FALSE(eng().isSubclassed());
}

} // namespace
