// What the operator does with one thumbnail of the picture library: delete it
// with or without the question, hand it to the QSL program, send it to the
// workshop or as the inset, save a history picture, enlarge it.
#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "platform/os/Cp932.h"
#include "sstv/SstvWorkshopFixture.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/receive/Bigviewer.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTabBar>
#include <functional>

namespace {

class PiclibActions : public zvtest::SstvWorkshopTest {
  protected:
    void SetUp() override {
        SstvWorkshopTest::SetUp();
        QDir().mkpath(path("tx"));
        writeIni(QStringLiteral("[BMP_POS]\nTXbmpFol=") + QDir::toNativeSeparators(path("tx")) +
                 QStringLiteral("\n"));
    }
    void files(int count) {
        for (int n = 0; n < count; ++n)
            pictureFile(QStringLiteral("tx/p%1.jpg").arg(n), {64, 48}, QColor::fromHsv(n * 40, 255, 255));
    }
    PiclibForm& open() {
        SSTVForm& f = window();
        EXPECT_TRUE(zvtest::waitExposed(&f));
        EXPECT_TRUE(zvtest::chooseMenuItem(f.PicLibShow));
        return forms::PiclibForm();
    }
    static PictureBox* box(PiclibForm& lib, int i) {
        const int tab = lib.SSTab1->currentIndex();
        return (tab == 0 ? lib.Picture1 : tab == 1 ? lib.Picture2 : lib.Picture3)[std::size_t(i)];
    }
    static void clickTab(PiclibForm& lib, int tab) {
        QTabBar* bar = lib.SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    static int drawnBoxes(PiclibForm& lib) {
        int drawn = 0;
        for (int i = 0; i < 8; ++i)
            drawn += at(box(lib, i), 60, 50) != box(lib, i)->backColor() ? 1 : 0;
        return drawn;
    }
};

TEST_F(PiclibActions, DeleteOnThePageTwoRedrawsFromTheSameStart) {
    files(9);
    PiclibForm& lib = open();
    QTest::mouseClick(lib.Command4, Qt::LeftButton);
    ASSERT_EQ(lib.Label1->text(), QStringLiteral("2/9 - 9/9"));
    ASSERT_EQ(lib.BoxPath[2], path("tx/p3.jpg"));

    // No keeps the file.
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 2), lib.LibDelete));
    EXPECT_EQ(lib.fnDisp->text(), QStringLiteral("p3.jpg"));
    ASSERT_FALSE(ui::script::asked().isEmpty());
    const ui::Asked question = ui::script::asked().last();
    EXPECT_EQ(question.prompt, QDir::toNativeSeparators(path("tx/p3.jpg")) +
                                   QStringLiteral("\r\nを削除します、宜しいですか？"));
    EXPECT_EQ(question.title, QStringLiteral("ZOR-SSTV"));
    EXPECT_EQ(question.style, ui::YesNo | ui::Question);
    EXPECT_TRUE(QFile::exists(path("tx/p3.jpg")));
    EXPECT_EQ(drawnBoxes(lib), 8);

    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 2), lib.LibDelete));
    EXPECT_FALSE(QFile::exists(path("tx/p3.jpg")));
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("2/9 - 9/9")) << "the label keeps its text";
    EXPECT_EQ(drawnBoxes(lib), 7);
    EXPECT_EQ(lib.BoxPath[2], path("tx/p4.jpg")) << "the later files move up";
    EXPECT_TRUE(lib.BoxPath[7].isEmpty());

    // Without the question.
    const int asked = int(ui::script::asked().size());
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.LibDeleteNoKakunin));
    EXPECT_EQ(int(ui::script::asked().size()), asked);
    EXPECT_FALSE(QFile::exists(path("tx/p1.jpg")));
    EXPECT_EQ(drawnBoxes(lib), 6);
}

TEST_F(PiclibActions, QslHandOffWritesOneLineAndReplacesIt) {
    files(3);
    QDir().mkpath(path("QSL"));
    logbook::g.QslPrintProgPath = QDir::toNativeSeparators(path("QSL/HLQSLN.EXE"));
    PiclibForm& lib = open();
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.QSLset));
    EXPECT_EQ(readFile("QSL/ZORVATEK.DAT"),
              cp932::encode(QDir::toNativeSeparators(path("tx/p0.jpg"))) + "\r\n");
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 2), lib.QSLset));
    EXPECT_EQ(readFile("QSL/ZORVATEK.DAT"),
              cp932::encode(QDir::toNativeSeparators(path("tx/p2.jpg"))) + "\r\n");

    // A box without a file, and a file gone since the page was drawn, name nothing.
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 5), lib.QSLset));
    EXPECT_EQ(lib.fnDisp->text(), QString());
    ASSERT_TRUE(QFile::remove(path("tx/p1.jpg")));
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 1), lib.QSLset));
    EXPECT_EQ(readFile("QSL/ZORVATEK.DAT"),
              cp932::encode(QDir::toNativeSeparators(path("tx/p2.jpg"))) + "\r\n");
    EXPECT_EQ(window().Text3->text(), QStringLiteral("画像を読み込めません: p1.jpg"));

    // A hand-off that cannot be made is told.
    logbook::g.QslPrintProgPath = QDir::toNativeSeparators(path("NOWHERE/HLQSLN.EXE"));
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.QSLset));
    EXPECT_EQ(window().Text3->text(), QStringLiteral("QSL 印刷プログラムのフォルダへ渡せません: ") +
                                          QDir::toNativeSeparators(path("NOWHERE")));
}

TEST_F(PiclibActions, AJpegFillsTheWorkshopsBasePictureAndAnInsetGoesOverIt) {
    pictureFile(QStringLiteral("tx/big.jpg"), {640, 496}, Qt::red, Qt::blue, 31);
    pictureFile(QStringLiteral("tx/small.bmp"), {80, 60}, Qt::green);
    PiclibForm& lib = open();
    SSTVForm& f = window();
    f.SSTab2->setCurrentIndex(0);
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.setB4pic));
    EXPECT_EQ(f.SSTab2->currentIndex(), 1);
    const QImage* base = eng().bitmap(sstv::g.dib.CanvasDib);
    ASSERT_NE(base, nullptr);
    ASSERT_EQ(base->size(), QSize(320, 256));
    EXPECT_TRUE(near(at(base, 1, 1), Qt::red));
    EXPECT_TRUE(near(at(base, 318, 1), Qt::red));
    EXPECT_TRUE(near(at(base, 160, 254), Qt::blue)) << "stretched to the full height";
    EXPECT_TRUE(near(at(base, 160, 200), Qt::red));
    EXPECT_TRUE(near(at(f.Picture8, 318, 254), Qt::blue));
    EXPECT_EQ(QFileInfo(path("tx")).dir().entryList({QStringLiteral("*.bmp")}, QDir::Files), QStringList())
        << "no file is made of the JPEG";

    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 1), lib.setB4picSm));
    EXPECT_EQ(sstv::g.InsetShown, 1);
    EXPECT_TRUE(f.Picture11->isVisible());
    const QImage* inset = eng().bitmap(sstv::g.dib.InsetDib);
    ASSERT_NE(inset, nullptr);
    EXPECT_EQ(inset->size(), QSize(320, 256));
    EXPECT_TRUE(near(at(inset, 300, 240), Qt::green));

    // The next base picture keeps the inset over it.
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.setB4pic));
    EXPECT_EQ(sstv::g.InsetShown, 1);
    EXPECT_TRUE(near(at(f.Picture11, 5, 5), Qt::green));
}

TEST_F(PiclibActions, AnUnreadablePictureChangesNothingAndSaysSo) {
    writeFile(QStringLiteral("tx/bad.jpg"), "no picture here");
    PiclibForm& lib = open();
    SSTVForm& f = window();
    const QImage before = *eng().bitmap(sstv::g.dib.CanvasDib);
    const int bitmaps = eng().liveBitmaps();
    for (QAction* item : {lib.setB4pic, lib.setB4picSm}) {
        ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), item));
        EXPECT_EQ(f.Text3->text(), QStringLiteral("画像を読み込めません: bad.jpg"));
        f.Text3->clear();
    }
    QTest::mouseDClick(box(lib, 0), Qt::LeftButton, {}, {20, 20});
    EXPECT_EQ(f.Text3->text(), QStringLiteral("画像を読み込めません: bad.jpg"));
    EXPECT_FALSE(forms::isLoaded<Bigviewer>());
    EXPECT_EQ(*eng().bitmap(sstv::g.dib.CanvasDib), before);
    EXPECT_EQ(sstv::g.InsetShown, 0);
    EXPECT_FALSE(f.Picture11->isVisible());
    EXPECT_EQ(eng().liveBitmaps(), bitmaps) << "every loaded picture is released";
}

TEST_F(PiclibActions, DoubleClickShowsThePictureEnlargedAndStopsTheMirror) {
    pictureFile(QStringLiteral("tx/p.jpg"), {320, 256}, Qt::magenta);
    PiclibForm& lib = open();
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::chooseMenuItem(f.bigview));
    ASSERT_EQ(sstv::g.BigViewOn, 1);
    QTest::mouseDClick(box(lib, 0), Qt::LeftButton, {}, {20, 20});
    EXPECT_EQ(sstv::g.BigViewOn, 0);
    EXPECT_FALSE(f.bigview->isChecked());
    ASSERT_TRUE(forms::isLoaded<Bigviewer>());
    Bigviewer& viewer = forms::Bigviewer();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_TRUE(near(at(viewer.Picture1, sstv::g.BigViewWidth - 2, sstv::g.BigViewHeight - 2), Qt::magenta));
    // A double click on a box without a file does nothing.
    forms::unload<Bigviewer>();
    QTest::mouseDClick(box(lib, 5), Qt::LeftButton, {}, {20, 20});
    EXPECT_FALSE(forms::isLoaded<Bigviewer>());
}

TEST_F(PiclibActions, SaveUnderANewNameOnlyOnTheHistoryTab) {
    pictureFile(QStringLiteral("tx/p.jpg"), {64, 48}, Qt::red);
    pictureFile(QStringLiteral("History/Hist_001.bmp"), {320, 256}, Qt::cyan);
    PiclibForm& lib = open();
    EXPECT_FALSE(zvtest::chooseByClick(box(lib, 0), lib.LibSave)) << "greyed on the transmit tab";
    clickTab(lib, 1);
    EXPECT_FALSE(zvtest::chooseByClick(box(lib, 0), lib.LibSave)) << "greyed on the received tab";
    clickTab(lib, 2);
    ASSERT_EQ(lib.BoxPath[0], sstv::g.HistoryFolder + QStringLiteral("Hist_001.bmp"));
    ui::script::push(sstv::g.RcvDatFolder + QStringLiteral("kept"));
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.LibSave));
    const ui::Asked asked = ui::script::asked().last();
    EXPECT_EQ(asked.title, QStringLiteral("受信画像保存"));
    EXPECT_EQ(asked.prompt, sstv::g.RcvDatFolder);
    const QImage saved(sstv::g.RcvDatFolder + QStringLiteral("kept.bmp"));
    ASSERT_EQ(saved.size(), QSize(320, 256));
    EXPECT_TRUE(near(QColor(saved.pixel(160, 128)), Qt::cyan));
    // A cancel saves nothing.
    ui::script::push(QVariant());
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.LibSave));
    EXPECT_EQ(QDir(sstv::g.RcvDatFolder).entryList(QDir::Files), QStringList({QStringLiteral("kept.bmp")}));
}

} // namespace

namespace {

TEST_F(PiclibActions, WhileAPageIsDrawnNoBoxNamesAFileOfTheTabLeft) {
    files(8);
    for (int n = 1; n <= 8; ++n)
        pictureFile(QStringLiteral("History/Hist_%1.bmp").arg(n, 3, 10, QLatin1Char('0')), {320, 256},
                    QColor::fromHsv(n * 30, 200, 200));
    PiclibForm& lib = open();
    ASSERT_EQ(lib.BoxPath[7], path("tx/p7.jpg"));
    // The operator's right click on box 7 comes while the history page is half drawn.
    bool clicked = false;
    QString named = QStringLiteral("-");
    std::function<void()> rightClickMidway = [&] {
        if (lib.BoxPath[2].isEmpty()) {
            QMetaObject::invokeMethod(qApp, rightClickMidway, Qt::QueuedConnection);
            return;
        }
        clicked = true;
        zvtest::clickAt(lib.Picture3[7], Qt::RightButton, QPointF(20, 20));
        named = lib.fnDisp->text();
        lib.PopUpLib->hide();
    };
    QMetaObject::invokeMethod(qApp, rightClickMidway, Qt::QueuedConnection);
    clickTab(lib, 2);
    ASSERT_TRUE(clicked);
    EXPECT_EQ(named, QString()) << "box 7 names no file until the drawing reaches it";
    EXPECT_EQ(lib.SelectedBox, 7);
    EXPECT_EQ(lib.BoxPath[7], sstv::g.HistoryFolder + QStringLiteral("Hist_008.bmp"));
    EXPECT_TRUE(lib.LibSave->isEnabled());
    EXPECT_TRUE(QFile::exists(path("tx/p7.jpg")));
}

TEST_F(PiclibActions, ANewTransmitFolderStartsWithinItsFilesAndAnUnwritableNameIsRefused) {
    files(20);
    QDir().mkpath(path("QSL"));
    logbook::g.QslPrintProgPath = QDir::toNativeSeparators(path("QSL/HLQSLN.EXE"));
    pictureFile(QStringLiteral("one/a09_한글_café.jpg"), {64, 48}, Qt::green);
    PiclibForm& lib = open();
    QTest::mouseClick(lib.Command4, Qt::LeftButton);
    ASSERT_EQ(lib.Label1->text(), QStringLiteral("9/20 - 16/20"));
    ui::script::push(path("one/a09_한글_café.jpg"));
    ASSERT_TRUE(zvtest::chooseMenuItem(lib.GetFol));
    EXPECT_EQ(lib.Label1->text(), QStringLiteral("1/1 - 1/1"));
    ASSERT_EQ(lib.BoxPath[0], path("one/a09_한글_café.jpg"));

    // Shift-JIS cannot carry the name: the QSL program would get a path with "?".
    ASSERT_TRUE(zvtest::chooseByClick(box(lib, 0), lib.QSLset));
    EXPECT_FALSE(QFile::exists(path("QSL/ZORVATEK.DAT")));
    EXPECT_TRUE(window().Text3->text().contains(QStringLiteral("a09_한글_café.jpg")));
}

} // namespace

namespace {

// The operator right-clicks a box of the history page while it is still being
// drawn and chooses an item once the page is complete: the item acts on the
// file the menu named as it opened, nothing when it named none.
TEST_F(PiclibActions, AMenuOpenedWhileAPageIsDrawnActsOnTheFileItNamed) {
    QDir().mkpath(path("QSL"));
    logbook::g.QslPrintProgPath = QDir::toNativeSeparators(path("QSL/HLQSLN.EXE"));
    files(8);
    for (int n = 1; n <= 8; ++n)
        pictureFile(QStringLiteral("History/Hist_%1.bmp").arg(n, 3, 10, QLatin1Char('0')), {320, 256},
                    QColor::fromHsv(n * 30, 200, 200));
    const auto hist = [](int n) {
        return sstv::g.HistoryFolder + QStringLiteral("Hist_%1.bmp").arg(n, 3, 10, QLatin1Char('0'));
    };
    PiclibForm& lib = open();
    // Retried from the event loop until the drawing has reached drawnBox.
    std::function<void()> click;
    const auto rightClickWhenDrawn = [&](int drawnBox, int clickedBox) {
        click = [&, drawnBox, clickedBox] {
            if (lib.BoxPath[std::size_t(drawnBox)].isEmpty()) {
                QMetaObject::invokeMethod(qApp, click, Qt::QueuedConnection);
                return;
            }
            zvtest::clickAt(box(lib, clickedBox), Qt::RightButton, QPointF(20, 20));
        };
        QMetaObject::invokeMethod(qApp, click, Qt::QueuedConnection);
    };

    // Box 7 still shows its transmit picture when the menu opens: it names nothing.
    rightClickWhenDrawn(2, 7);
    clickTab(lib, 2);
    ASSERT_EQ(lib.BoxPath[7], hist(8));
    ASSERT_TRUE(lib.PopUpLib->isVisible());
    EXPECT_EQ(lib.fnDisp->text(), QString());
    EXPECT_TRUE(zvtest::chooseInPopup(lib.PopUpLib, lib.LibDeleteNoKakunin));
    EXPECT_TRUE(QFile::exists(hist(8))) << "the file drawn into the box since is kept";
    rightClickWhenDrawn(2, 7);
    QTest::mouseClick(lib.Command4, Qt::LeftButton);
    EXPECT_TRUE(zvtest::chooseInPopup(lib.PopUpLib, lib.QSLset));
    EXPECT_FALSE(QFile::exists(path("QSL/ZORVATEK.DAT")));

    // Redrawn from the same start (the page turned to itself), box 1 is named
    // as the menu opens and only its file goes.
    rightClickWhenDrawn(1, 1);
    QTest::mouseClick(lib.Command4, Qt::LeftButton);
    ASSERT_TRUE(lib.PopUpLib->isVisible());
    EXPECT_EQ(lib.fnDisp->text(), QStringLiteral("Hist_002.bmp"));
    EXPECT_TRUE(zvtest::chooseInPopup(lib.PopUpLib, lib.LibDeleteNoKakunin));
    EXPECT_FALSE(QFile::exists(hist(2)));
    for (int n : {1, 3, 4, 5, 6, 7, 8})
        EXPECT_TRUE(QFile::exists(hist(n))) << n;
    EXPECT_EQ(lib.BoxPath[1], hist(3)) << "the later files move up";
}

} // namespace
