// The picture menu, the keys, the enlarged viewer, PTT by CAT and the mode
// menus of the SSTV window, driven as the operator drives them.
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "platform/os/Cp932.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "sstv/SstvFixture.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SstvPlaces.h"
#include "support/Popups.h"
#include "support/RigSimulator.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTest>

namespace {

using zvtest::SstvWindowTest;

class SstvPictureMenu : public SstvWindowTest {
  protected:
    void TearDown() override {
        terminal::mainwindow::setProcessEndForTest({});
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        SstvWindowTest::TearDown();
        sim.reset();
    }
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(SstvPictureMenu, SaveFromTheLivePictureProposesTheCallAndAddsTheExtension) {
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    core::g.HisCall = QStringLiteral("QQ2AB/P");
    eng().clearCalls();
    ui::script::push(path("RcvDat/mine"));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.SaveRcvFile));
    ASSERT_FALSE(ui::script::asked().isEmpty());
    const ui::Asked asked = ui::script::asked().last();
    EXPECT_EQ(asked.title, QStringLiteral("受信画像保存"));
    EXPECT_TRUE(asked.prompt.startsWith(sstv::g.RcvDatFolder + QStringLiteral("QQ2AB-P_")))
        << asked.prompt.toStdString();
    const QImage saved(path("RcvDat/mine.bmp"));
    ASSERT_EQ(saved.size(), QSize(320, 256));
    EXPECT_NE(saved.pixel(10, 10), qRgb(0, 0, 0));
    const QStringList scans = eng().callTexts().filter(QStringLiteral("mmsStopScan"));
    EXPECT_EQ(scans, QStringList({QStringLiteral("mmsStopScan(0)"), QStringLiteral("mmsStopScan(1)")}));
}

TEST_F(SstvPictureMenu, SaveFromHistoryKeepsReceivingAndACancelWritesNothing) {
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    f.SSTab1->setCurrentIndex(1);
    eng().clearCalls();
    ui::script::push(QVariant());
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture9, f.SaveRcvFile));
    EXPECT_TRUE(eng().callTexts().filter(QStringLiteral("mmsStopScan")).isEmpty());
    EXPECT_EQ(QDir(sstv::g.RcvDatFolder).entryList(QDir::Files), QStringList());
    EXPECT_EQ(eng().liveBitmaps(), 10) << "the work bitmap is gone again";
}

TEST_F(SstvPictureMenu, QslHandOffWritesThePictureThenOneLineNamingIt) {
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    QDir().mkpath(path("QSL"));
    logbook::g.QslPrintProgPath = QDir::toNativeSeparators(path("QSL/HLQSLN.EXE"));
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.QSLsashikomi));
    EXPECT_EQ(QImage(path("TmpBMP.BMP")).size(), QSize(320, 256));
    EXPECT_EQ(readFile("QSL/ZORVATEK.DAT"),
              cp932::encode(QDir::toNativeSeparators(path("TmpBMP.BMP"))) + "\r\n");

    QFile::remove(path("QSL/ZORVATEK.DAT"));
    logbook::g.QslPrintProgPath.clear();
    QFile::remove(path("TmpBMP.BMP"));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.QSLsashikomi));
    EXPECT_TRUE(QFile::exists(path("TmpBMP.BMP")));
    EXPECT_FALSE(QFile::exists(path("QSL/ZORVATEK.DAT")));
    EXPECT_EQ(f.Text3->text(), QStringLiteral("QSL 印刷プログラムが設定されていません"));
}

TEST_F(SstvPictureMenu, ClipboardFromTheMenuAndFromCtrlC) {
    SSTVForm& f = window();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.goClip));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(320, 256));
    f.SSTab1->setCurrentIndex(0);
    QTest::keyClick(&f, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(800, 616));
    f.SSTab1->setCurrentIndex(1);
    QTest::keyClick(f.Text1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(320, 256)) << "the history picture";
    f.SSTab1->setCurrentIndex(2);
    QTest::keyClick(&f, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull()) << "emptied, nothing copied";
    QTest::keyClick(&f, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST(SstvViewer, KeepsFiveToFour) {
    struct Case {
        int width, height, last;
        sstv::ViewerSize size;
    } cases[] = {
        {9795, 0, 0, {9795, 8432, 9665, 7732}},
        {9000, 6700, 9000, {7630, 6700, 7500, 6000}},
        {5130, 8000, 4000, {5130, 4700, 5000, 4000}},
        {100, 300, 0, {2000, 2196, 1870, 1496}},
    };
    for (const Case& c : cases) {
        const sstv::ViewerSize s = sstv::ViewerResized(c.width, c.height, c.last);
        EXPECT_EQ(
            std::tie(s.windowWidth, s.windowHeight, s.pictureWidth, s.pictureHeight),
            std::tie(c.size.windowWidth, c.size.windowHeight, c.size.pictureWidth, c.size.pictureHeight))
            << c.width << "x" << c.height;
    }
}

TEST_F(SstvPictureMenu, EnlargedViewerLiveThenStillThenClosed) {
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.bigview));
    ASSERT_TRUE(forms::isLoaded<Bigviewer>());
    Bigviewer& v = forms::Bigviewer();
    EXPECT_TRUE(f.bigview->isChecked());
    EXPECT_EQ(sstv::g.BigViewOn, 1);
    EXPECT_EQ(v.width(), twips::toPx(9795));
    EXPECT_EQ(sstv::g.BigViewWidth, v.Picture1->width());
    EXPECT_EQ(sstv::g.BigViewHeight, v.Picture1->height());
    ASSERT_TRUE(receive(sstveng::Scottie1));
    EXPECT_NE(v.Picture1->canvas().pixel(20, 20), qRgb(0, 0, 0)) << "the live picture, enlarged";

    f.SSTab1->setCurrentIndex(1);
    v.Picture1->clear();
    QTest::mouseDClick(f.Picture9, Qt::LeftButton);
    EXPECT_EQ(sstv::g.BigViewOn, 0);
    EXPECT_FALSE(f.bigview->isChecked());
    EXPECT_NE(v.Picture1->canvas().pixel(20, 20), qRgb(0, 0, 0)) << "the history picture";

    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar, v.fEnd));
    EXPECT_FALSE(forms::isLoaded<Bigviewer>());
    EXPECT_EQ(core::IniStored(QStringLiteral("Picture_BigViewer_POS"), QStringLiteral("WidthPos")),
              QStringLiteral("9795"));
}

TEST_F(SstvPictureMenu, CatPttOnlyWithPttPortZeroAndUnkeyedWhenTheWindowGoes) {
    sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
    zvtest::pointRigLinkAt(*sim);
    core::g.PttPortControl = QStringLiteral("1");
    window();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    eng().mmsSendCWID("QQ1TST");
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_EQ(sim->pttOnCount, 0);

    core::g.PttPortControl = QStringLiteral("0");
    eng().mmsSendTone(1750);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    ASSERT_TRUE(zvtest::waitUntil([&] { return sim->ptt; }));
    // The window goes while the engine still sends: the rig is unkeyed all the same.
    forms::unload<SSTVForm>();
    EXPECT_EQ(sstv::g.SstvTxActive, 0);
    EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->ptt; }));
    EXPECT_EQ(sim->pttOffCount, 1);
}

TEST_F(SstvPictureMenu, ModeMenusRefusedWhileSendingThenBpskReturnsToTheMainWindow) {
    SSTVForm& f = window();
    eng().mmsSendTone(1750);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    EXPECT_EQ(core::g.OpMode, int(core::ModeSstv));
    EXPECT_TRUE(f.Text3->isVisible());
    EXPECT_EQ(f.Text3->text(), QStringLiteral("送信中は変更できません"));
    EXPECT_TRUE(f.PSKMODE[5]->isChecked());
    QTest::keyClick(&f, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 0; }));

    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    EXPECT_EQ(core::g.OpMode, int(core::ModeBpsk));
    EXPECT_FALSE(forms::isLoaded<SSTVForm>());
    EXPECT_TRUE(forms::PSK31MAIN().isVisible());
    EXPECT_FALSE(eng().isRunning());
    EXPECT_EQ(eng().liveBitmaps(), 0);
}

TEST_F(SstvPictureMenu, CtrlAltZClosesEverythingAndEndsTheProgram) {
    bool ended = false;
    terminal::mainwindow::setProcessEndForTest([&] { ended = true; });
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.bigview));
    QTest::keyClick(&f, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(ended);
    EXPECT_EQ(forms::loadedCount(), 0);
    EXPECT_EQ(eng().liveBitmaps(), 0);
    EXPECT_TRUE(core::IniStored(QStringLiteral("CFGPOS"), QStringLiteral("PMPOSTop")).has_value());
}

} // namespace
