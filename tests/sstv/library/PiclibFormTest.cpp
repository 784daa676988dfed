// The picture library on the SSTV window, on folders of real picture files:
// listing, pages, thumbnails, the transmit folder and the window's place, then
// what the thumbnails' menu and a double click do. Driven with the mouse and
// the keys as the operator does.
#include "sstv/library/PiclibForm.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/os/Cp932.h"
#include "sstv/SstvWorkshopFixture.h"
#include "sstv/receive/Bigviewer.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>

namespace {

// A colour of its own for each file number, far enough apart for JPEG.
QColor colourOf(int n) {
    return QColor::fromHsv((n * 47) % 360, 255, 200 + (n % 3) * 25);
}

class Piclib : public zvtest::SstvWorkshopTest {
  protected:
    void SetUp() override {
        SstvWorkshopTest::SetUp();
        QDir().mkpath(path("tx"));
        writeIni(QStringLiteral("[BMP_POS]\nTXbmpFol=") + QDir::toNativeSeparators(path("tx")) +
                 QStringLiteral("\n"));
    }
    // Files tx/p00.jpg .. of a colour each, small to be quick.
    void numberedFiles(const QString& folder, int count) {
        for (int n = 0; n < count; ++n)
            pictureFile(QStringLiteral("%1/p%2.jpg").arg(folder).arg(n, 2, 10, QLatin1Char('0')), {64, 48},
                        colourOf(n));
    }
    PiclibForm& open() {
        SSTVForm& f = window();
        EXPECT_TRUE(zvtest::waitExposed(&f));
        EXPECT_TRUE(zvtest::chooseMenuItem(f.PicLibShow));
        EXPECT_TRUE(forms::isLoaded<PiclibForm>());
        return forms::PiclibForm();
    }
    static void clickTab(PiclibForm& lib, int tab) {
        QTabBar* bar = lib.SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    static PictureBox* box(PiclibForm& lib, int tab, int i) {
        return (tab == 0 ? lib.Picture1 : tab == 1 ? lib.Picture2 : lib.Picture3)[std::size_t(i)];
    }
    static QLabel* label(PiclibForm& lib, int tab) {
        return tab == 0 ? lib.Label1 : tab == 1 ? lib.Label2 : lib.Label3;
    }
    // A box that shows nothing but its back colour.
    static bool blank(PictureBox* b) {
        const QImage& c = b->canvas();
        if (c.isNull()) return true;
        const QRgb back = b->backColor().rgb();
        for (int y = 0; y < c.height(); y += 5)
            for (int x = 0; x < c.width(); x += 5)
                if (c.pixel(x, y) != back) return false;
        return true;
    }
    // The file number a box shows, by its colour; -1 when none matches.
    static int shownNumber(PictureBox* b, int count) {
        for (int n = 0; n < count; ++n)
            if (near(at(b, 60, 50), colourOf(n), 12)) return n;
        return -1;
    }
    static QStringList shownPage(PiclibForm& lib, int tab, int count) {
        QStringList page;
        for (int i = 0; i < 8; ++i)
            page << QString::number(shownNumber(box(lib, tab, i), count));
        return page;
    }
};

TEST_F(Piclib, ListsPictureNamesInCaseBlindOrderAndNoSubfolders) {
    pictureFile(QStringLiteral("tx/b.JPG"), {64, 48}, Qt::red);
    pictureFile(QStringLiteral("tx/a.bmp"), {64, 48}, Qt::green);
    pictureFile(QStringLiteral("tx/PHOTO.Jpeg"), {64, 48}, Qt::blue);
    pictureFile(QStringLiteral("tx/photo.png"), {64, 48}, Qt::yellow);
    pictureFile(QStringLiteral("tx/sub.bmp/inner.bmp"), {64, 48}, Qt::cyan);
    writeFile(QStringLiteral("tx/photo.bmp.txt"), "not a picture");
    PiclibForm& lib = open();
    EXPECT_TRUE(lib.isVisible());
    EXPECT_EQ(lib.windowTitle(), QStringLiteral("画像ライブラリ"));
    EXPECT_EQ(sstv::g.PiclibOpen, 1);
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/4 - 4/4"));
    const QString tx = path("tx");
    const std::array<QString, 8> expected{
        tx + "/a.bmp", tx + "/b.JPG", tx + "/photo.bmp.txt", tx + "/PHOTO.Jpeg", {}, {}, {}, {}};
    EXPECT_EQ(lib.BoxPath, expected);
    EXPECT_TRUE(near(at(box(lib, 0, 0), 60, 50), Qt::green));
    EXPECT_TRUE(near(at(box(lib, 0, 1), 60, 50), Qt::red));
    EXPECT_TRUE(blank(box(lib, 0, 2))) << "a file that is no picture stays blank, its path kept";
    EXPECT_TRUE(near(at(box(lib, 0, 3), 60, 50), Qt::blue));
    for (int i = 4; i < 8; ++i)
        EXPECT_TRUE(blank(box(lib, 0, i))) << i;
    EXPECT_TRUE(lib.GetFol->isEnabled());
    EXPECT_FALSE(lib.LibSave->isEnabled());
}

TEST_F(Piclib, ThumbnailIsTheWholePictureStretchedTo128By106) {
    pictureFile(QStringLiteral("tx/wide.bmp"), {640, 100}, Qt::red, Qt::blue, 10);
    PiclibForm& lib = open();
    PictureBox* b = box(lib, 0, 0);
    EXPECT_TRUE(near(at(b, 2, 2), Qt::red));
    EXPECT_TRUE(near(at(b, 127, 2), Qt::red));
    EXPECT_TRUE(near(at(b, 64, 104), Qt::blue)) << "the bottom band reaches the thumbnail's bottom";
    EXPECT_TRUE(near(at(b, 64, 80), Qt::red));
    ASSERT_GT(b->canvas().width(), 128);
    ASSERT_GT(b->canvas().height(), 106);
    EXPECT_EQ(at(b, 128, 50), b->backColor());
    EXPECT_EQ(at(b, 50, 106), b->backColor());
}

TEST_F(Piclib, FewFilesOnePageAndAnEmptyFolder) {
    numberedFiles(QStringLiteral("tx"), 5);
    PiclibForm& lib = open();
    const QStringList page{"0", "1", "2", "3", "4", "-1", "-1", "-1"};
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/5 - 5/5"));
    EXPECT_EQ(shownPage(lib, 0, 5), page);
    for (int i = 5; i < 8; ++i)
        EXPECT_TRUE(lib.BoxPath[std::size_t(i)].isEmpty()) << i;
    for (QPushButton* button : {lib.Command4, lib.Command3}) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/5 - 5/5"));
        EXPECT_EQ(shownPage(lib, 0, 5), page);
    }

    // The received pictures' folder is there but empty.
    clickTab(lib, 1);
    EXPECT_EQ(lib.Label2->text(), QStringLiteral("1/0 - 0/0"));
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(blank(box(lib, 1, i))) << i;
        EXPECT_TRUE(lib.BoxPath[std::size_t(i)].isEmpty()) << i;
    }
    EXPECT_FALSE(lib.GetFol->isEnabled());
}

TEST_F(Piclib, TwentyFilesPagedBothWaysAndEachTabKeepsItsPage) {
    numberedFiles(QStringLiteral("tx"), 20);
    PiclibForm& lib = open();
    const auto pageOf = [](int first) {
        QStringList p;
        for (int n = first; n < first + 8; ++n)
            p << QString::number(n);
        return p;
    };
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/20 - 8/20"));
    EXPECT_EQ(shownPage(lib, 0, 20), pageOf(0));
    const struct {
        QPushButton* button;
        const char* label;
        int first;
    } steps[] = {
        {lib.Command4, "9/20 - 16/20", 8}, {lib.Command4, "13/20 - 20/20", 12},
        {lib.Command4, "1/20 - 8/20", 0},  {lib.Command3, "13/20 - 20/20", 12},
        {lib.Command3, "5/20 - 12/20", 4}, {lib.Command3, "1/20 - 8/20", 0},
        {lib.Command4, "9/20 - 16/20", 8},
    };
    for (const auto& step : steps) {
        QTest::mouseClick(step.button, Qt::LeftButton);
        EXPECT_EQ(lib.Label1->text(), QString::fromLatin1(step.label));
        EXPECT_EQ(shownPage(lib, 0, 20), pageOf(step.first)) << step.label;
    }
    // Away to the history tab and back: the transmit tab is where it was left,
    // also after the library was closed and opened again.
    clickTab(lib, 2);
    EXPECT_TRUE(lib.LibSave->isEnabled());
    clickTab(lib, 0);
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("9/20 - 16/20"));
    EXPECT_EQ(shownPage(lib, 0, 20), pageOf(8));
    ASSERT_TRUE(zvtest::chooseMenuItem(lib.PCLS));
    EXPECT_EQ(sstv::g.PiclibOpen, 0);
    PiclibForm& again = open();
    EXPECT_EQ(again.Label1->text(), QStringLiteral("9/20 - 16/20"));
    EXPECT_EQ(again.BoxPath[0], path("tx/p08.jpg"));
}

TEST_F(Piclib, ThumbnailsAreMadeAnewFromTheFilesAtEachDrawing) {
    numberedFiles(QStringLiteral("tx"), 2);
    PiclibForm& lib = open();
    ASSERT_TRUE(near(at(box(lib, 0, 0), 60, 50), colourOf(0)));
    pictureFile(QStringLiteral("tx/p00.jpg"), {64, 48}, Qt::white);
    ASSERT_TRUE(QFile::remove(path("tx/p01.jpg")));
    QTest::mouseClick(lib.Command4, Qt::LeftButton);
    EXPECT_TRUE(near(at(box(lib, 0, 0), 60, 50), Qt::white));
    EXPECT_TRUE(blank(box(lib, 0, 1))) << "a file gone since the listing leaves its box blank";
    EXPECT_EQ(lib.BoxPath[1], path("tx/p01.jpg"));
}

TEST_F(Piclib, ABrokenFileMidPageLeavesOneBoxBlankAndTheRestDrawn) {
    numberedFiles(QStringLiteral("tx"), 8);
    writeFile(QStringLiteral("tx/p03.jpg"), QByteArray("\xFF\xD8\xFF\xE0 broken", 10));
    writeFile(QStringLiteral("tx/p05.jpg"), QByteArray(200, '\0'));
    PiclibForm& lib = open();
    EXPECT_EQ(shownPage(lib, 0, 8), QStringList({"0", "1", "2", "-1", "4", "-1", "6", "7"}));
    EXPECT_EQ(lib.BoxPath[3], path("tx/p03.jpg"));
    EXPECT_EQ(lib.BoxPath[5], path("tx/p05.jpg"));
    EXPECT_TRUE(blank(box(lib, 0, 3)));
}

TEST_F(Piclib, AMissingFolderIsReportedAndNoBoxKeepsAFileOfAnotherTab) {
    numberedFiles(QStringLiteral("tx"), 3);
    PiclibForm& lib = open();
    ASSERT_FALSE(lib.BoxPath[0].isEmpty());
    ASSERT_TRUE(QDir(sstv::g.RcvDatFolder).removeRecursively());
    ui::script::clearAsked();
    clickTab(lib, 1);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt,
              QDir::toNativeSeparators(sstv::g.RcvDatFolder) + QStringLiteral("が見つかりません"));
    EXPECT_EQ(lib.Label2->text(), QString()) << "the label is not changed";
    for (const QString& p : lib.BoxPath)
        EXPECT_TRUE(p.isEmpty());
    // The delete items find nothing to delete.
    EXPECT_TRUE(zvtest::chooseByClick(box(lib, 1, 0), lib.LibDeleteNoKakunin));
    EXPECT_TRUE(QFile::exists(path("tx/p00.jpg")));
}

TEST_F(Piclib, FolderChosenWithGetFolIsStoredAndListed) {
    numberedFiles(QStringLiteral("tx"), 2);
    numberedFiles(QStringLiteral("other"), 10);
    PiclibForm& lib = open();
    // A cancel changes nothing.
    ASSERT_TRUE(zvtest::chooseMenuItem(lib.GetFol));
    EXPECT_EQ(core::IniStored(QStringLiteral("BMP_POS"), QStringLiteral("TXbmpFol")),
              QDir::toNativeSeparators(path("tx")));
    ui::script::push(path("other/p04.jpg"));
    ASSERT_TRUE(zvtest::chooseMenuItem(lib.GetFol));
    EXPECT_EQ(ui::script::asked().last().title, QStringLiteral("画像ﾌｧｲﾙ選択"));
    EXPECT_EQ(ui::script::asked().last().prompt, QDir::toNativeSeparators(path("tx")));
    EXPECT_EQ(core::IniStored(QStringLiteral("BMP_POS"), QStringLiteral("TXbmpFol")),
              QDir::toNativeSeparators(path("other")));
    EXPECT_EQ(sstv::g.TxBmpFolder, path("other"));
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/10 - 8/10"));
    EXPECT_EQ(lib.BoxPath[7], path("other/p07.jpg"));
    EXPECT_FALSE(lib.LibSave->isEnabled());
}

TEST_F(Piclib, AFolderTheSstvWindowLoadsFromShowsInTheOpenLibrary) {
    numberedFiles(QStringLiteral("tx"), 2);
    numberedFiles(QStringLiteral("other"), 3);
    PiclibForm& lib = open();
    clickTab(lib, 2);
    loadBackground(path("other/p01.jpg"));
    EXPECT_EQ(lib.SSTab1->currentIndex(), 0);
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/3 - 3/3"));
    EXPECT_EQ(lib.BoxPath[2], path("other/p02.jpg"));
    EXPECT_EQ(shownPage(lib, 0, 3), QStringList({"0", "1", "2", "-1", "-1", "-1", "-1", "-1"}));
}

TEST_F(Piclib, PlaceIsKeptAndAMissingTopStartsAtTheCorner) {
    PiclibForm& lib = open();
    lib.move(90, 60);
    QTest::mouseClick(lib.menuBar, Qt::LeftButton, {}, lib.menuBar->actionGeometry(lib.PCLS).center());
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<PiclibForm>(); }));
    const QString pos = QStringLiteral("Picture_Viewer_POS");
    EXPECT_EQ(core::IniWhole(pos, QStringLiteral("TopPos")), 60 * 15);
    EXPECT_EQ(core::IniWhole(pos, QStringLiteral("LeftPos")), 90 * 15);
    PiclibForm& again = open();
    EXPECT_EQ(again.pos(), QPoint(90, 60));
    forms::unload<PiclibForm>();
    // Only a left position, or one that is no number.
    writeIni(QStringLiteral("[BMP_POS]\nTXbmpFol=") + QDir::toNativeSeparators(path("tx")) +
             QStringLiteral("\n[Picture_Viewer_POS]\nLeftPos=1500\n"));
    EXPECT_EQ(open().pos(), QPoint(0, 0));
    forms::unload<PiclibForm>();
    writeIni(QStringLiteral("[Picture_Viewer_POS]\nTopPos=900\nLeftPos=abc\n"));
    EXPECT_EQ(open().pos(), QPoint(0, 60));
    forms::unload<PiclibForm>();
    // Stored at the bottom right corner: whole on the screen, frame and all, once framed.
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    writeIni(QStringLiteral("[Picture_Viewer_POS]\nTopPos=%1\nLeftPos=%2\n")
                 .arg(twips::fromPx(free.bottom()))
                 .arg(twips::fromPx(free.right())));
    PiclibForm& corner = open();
    ASSERT_TRUE(
        zvtest::waitUntil([&] { return !corner.findChild<QObject*>(QStringLiteral("zv-frame-placer")); }));
    EXPECT_NE(corner.frameGeometry(), corner.geometry()) << "the frame has come";
    EXPECT_TRUE(free.contains(corner.frameGeometry()));
    EXPECT_EQ(corner.frameGeometry().bottom(), free.bottom()) << "moved in no further than it must";
}

} // namespace
