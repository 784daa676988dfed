// The workshop canvas driven as the operator drives it: picture files loaded,
// dropped, pasted and saved; the inset with its border, handles and dragging;
// the rubber band and its picture boxes; the canvas cleared.
#include "core/ini/IniValues.h"
#include "platform/os/Paths.h"
#include "sstv/SstvWorkshopFixture.h"
#include "sstv/workshop/SstvCompose.h"
#include "sstv/workshop/SstvTxFolder.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>
#include <QtEndian>

namespace {

using zvtest::SstvWorkshopTest;

QString stored(const char* section, const char* key) {
    return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QString());
}

TEST_F(SstvWorkshopTest, LoadingABackgroundStretchesItAndKeepsItsFolder) {
    SSTVForm& f = shown();
    const QString file = pictureFile(QStringLiteral("pics/tall.jpg"), QSize(40, 200), QColor(200, 30, 30));
    loadBackground(file);
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_EQ(ui::script::asked().last().title, QStringLiteral("画像ﾌｧｲﾙ選択"));
    EXPECT_EQ(ui::script::asked().last().kind, QStringLiteral("openFile"));
    const QImage* canvas = eng().bitmap(sstv::g.dib.CanvasDib);
    for (QPoint p : {QPoint(0, 0), QPoint(319, 255), QPoint(160, 128)}) {
        EXPECT_TRUE(near(at(canvas, p.x(), p.y()), QColor(200, 30, 30))) << p.x() << "," << p.y();
        EXPECT_TRUE(near(at(f.Picture8, p.x(), p.y()), QColor(200, 30, 30))) << p.x() << "," << p.y();
    }
    EXPECT_EQ(QDir(paths::fromStored(stored("BMP_POS", "TXbmpFol"))), QDir(path("pics")));
    // A folder the settings would give back as another is used, said once and not stored.
    for (const QString& name : {QStringLiteral("d〜"), QStringLiteral("d−"), QStringLiteral("dé")}) {
        ui::script::clearAsked();
        loadBackground(pictureFile(name + QStringLiteral("/p.jpg"), QSize(40, 40), QColor(200, 30, 30)));
        EXPECT_TRUE(ui::script::asked().last().prompt.contains(QStringLiteral("フォルダは記憶されません")));
        EXPECT_EQ(QDir(paths::fromStored(stored("BMP_POS", "TXbmpFol"))), QDir(path("pics")));
        EXPECT_EQ(QDir(sstv::ReadTxBmpFolder()), QDir(path(name)));
    }
    EXPECT_TRUE(f.Timer6->isActive());
    EXPECT_EQ(eng().liveBitmaps(), 10) << "the loaded picture is released";

    // A cancelled dialog and an unreadable file change nothing.
    ui::script::push(QVariant());
    QTest::mouseClick(f.Command6, Qt::LeftButton);
    writeFile(QStringLiteral("pics/broken.jpg"), QByteArray("not a picture"));
    loadBackground(path("pics/broken.jpg"));
    EXPECT_TRUE(near(at(eng().bitmap(sstv::g.dib.CanvasDib), 10, 10), QColor(200, 30, 30)));
    EXPECT_EQ(eng().liveBitmaps(), 10);
}

TEST_F(SstvWorkshopTest, DroppedFilesTheLastCountsAndOtherTypesAreRefused) {
    SSTVForm& f = shown();
    sstv::g.TxImageWidth = 320;
    sstv::g.TxImageHeight = 240;
    const QString green = pictureFile(QStringLiteral("drop/green.bmp"), QSize(64, 64), QColor(0, 200, 0));
    const QString gif = path(QStringLiteral("drop/other.gif"));
    writeFile(QStringLiteral("drop/other.gif"), QByteArray("GIF89a"));
    ASSERT_TRUE(drop(f.Picture8, {green, gif}));
    EXPECT_TRUE(f.Text3->isVisible());
    EXPECT_EQ(f.Text3->text(), QStringLiteral("ファイルの形式が異なります。"));
    EXPECT_FALSE(near(at(eng().bitmap(sstv::g.dib.CanvasDib), 10, 10), QColor(0, 200, 0)));

    const QString upper = pictureFile(QStringLiteral("drop/BLUE.JPEG"), QSize(64, 64), QColor(20, 20, 220));
    ASSERT_TRUE(drop(f.Picture8, {gif, upper}));
    const QImage* canvas = eng().bitmap(sstv::g.dib.CanvasDib);
    EXPECT_TRUE(near(at(canvas, 10, 10), QColor(20, 20, 220)));
    EXPECT_TRUE(near(at(canvas, 319, 239), QColor(20, 20, 220))) << "stretched to the mode's 320 x 240";
    EXPECT_FALSE(near(at(canvas, 10, 250), QColor(20, 20, 220)));
    EXPECT_FALSE(core::IniStored(QStringLiteral("BMP_POS"), QStringLiteral("TXbmpFol")))
        << "a drop keeps the folder";

    // Files dragged over the transmit picture or the settings tab bring the canvas up.
    clickTab(0);
    EXPECT_FALSE(drop(f.Picture3, {upper}, false));
    EXPECT_EQ(f.SSTab2->currentIndex(), 1);
    clickTab(2);
    EXPECT_FALSE(drop(f.Frame8, {upper}, false));
    EXPECT_EQ(f.SSTab2->currentIndex(), 1);
}

TEST_F(SstvWorkshopTest, PasteTakesTheClipboardPictureAtItsOwnSize) {
    SSTVForm& f = shown();
    loadBackground(pictureFile(QStringLiteral("bg.bmp"), QSize(320, 256), QColor(200, 200, 0)));
    QGuiApplication::clipboard()->clear();
    f.Timer6->stop();
    const std::int32_t before = sstv::g.dib.CanvasDib;
    QTest::keyClick(&f, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(sstv::g.dib.CanvasDib, before) << "no picture: the canvas stays";
    EXPECT_TRUE(near(at(f.Picture8, 10, 10), QColor(200, 200, 0)));
    EXPECT_TRUE(f.Timer6->isActive());
    EXPECT_EQ(f.Text3->text(), QStringLiteral("クリップボードに画像がありません"));

    // A picture larger than the canvas takes is refused with the reason.
    QGuiApplication::clipboard()->setImage(QImage(4097, 16, QImage::Format_RGB32));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture8, f.Pasteclip));
    EXPECT_EQ(sstv::g.dib.CanvasDib, before);
    EXPECT_TRUE(f.Text3->text().startsWith(QStringLiteral("画像を読み込めません: ")));
    EXPECT_TRUE(f.Text3->text().contains(QStringLiteral("4097×16")));

    QImage small(100, 80, QImage::Format_RGB32);
    small.fill(QColor(0, 0, 180));
    QGuiApplication::clipboard()->setImage(small);
    QTest::keyClick(&f, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sstv::g.dib.CanvasDib, before) << "Ctrl+Shift+V does nothing";
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture8, f.Pasteclip));
    ASSERT_NE(sstv::g.dib.CanvasDib, before);
    EXPECT_EQ(eng().bitmap(before), nullptr) << "the replaced canvas is released";
    ASSERT_NE(eng().bitmap(sstv::g.dib.CanvasDib), nullptr);
    EXPECT_EQ(eng().bitmap(sstv::g.dib.CanvasDib)->size(), QSize(100, 80));
    EXPECT_TRUE(near(at(f.Picture8, 50, 40), QColor(0, 0, 180)));

    // A file loaded after the paste fills the whole canvas again.
    loadBackground(pictureFile(QStringLiteral("bg2.bmp"), QSize(32, 32), QColor(0, 160, 0)));
    EXPECT_EQ(eng().bitmap(sstv::g.dib.CanvasDib)->size(), QSize(320, 256));
    EXPECT_TRUE(near(at(eng().bitmap(sstv::g.dib.CanvasDib), 300, 250), QColor(0, 160, 0)));
}

TEST_F(SstvWorkshopTest, SavedTransmitPictureLoadsBackAndACancelWritesNothing) {
    SSTVForm& f = shown();
    loadBackground(pictureFile(QStringLiteral("bg.bmp"), QSize(320, 256), QColor(10, 120, 240)));
    ui::script::push(path(QStringLiteral("saved/mine")));
    QDir().mkpath(path(QStringLiteral("saved")));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture8, f.Savefile));
    EXPECT_EQ(ui::script::asked().last().title, QStringLiteral("送信画像保存"));
    const QImage saved(path(QStringLiteral("saved/mine.bmp")));
    ASSERT_EQ(saved.size(), QSize(320, 256));
    EXPECT_TRUE(near(QColor(saved.pixel(5, 5)), QColor(10, 120, 240)));

    ui::script::push(QVariant());
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture8, f.Savefile));
    EXPECT_EQ(QDir(path(QStringLiteral("saved"))).entryList(QDir::Files),
              QStringList(QStringLiteral("mine.bmp")));

    QTest::mouseClick(f.Command18, Qt::LeftButton);
    EXPECT_FALSE(near(at(f.Picture8, 5, 5), QColor(10, 120, 240)));
    loadBackground(path(QStringLiteral("saved/mine.bmp")));
    EXPECT_TRUE(near(at(f.Picture8, 5, 5), QColor(10, 120, 240)));
}

TEST_F(SstvWorkshopTest, ReceivedPictureAsInsetWithABorderResizedAndMoved) {
    SSTVForm& f = shown();
    ASSERT_TRUE(receive(sstveng::Scottie1));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.ToB4TxPic));
    ASSERT_EQ(sstv::g.InsetShown, 1);
    ASSERT_EQ(f.Picture11->geometry(), QRect(60, 50, 160, 128));

    QTest::mouseClick(f.Option4[15], Qt::LeftButton);
    EXPECT_EQ(stored("BackColor", "PBCcode"), QStringLiteral("65535"));
    EXPECT_EQ(stored("BackColor", "PBCmode"), QStringLiteral("1"));
    EXPECT_TRUE(f.Picture12->isVisible());
    EXPECT_EQ(f.Picture12->geometry(), QRect(57, 47, 166, 134));

    // The lower-right handle, dragged 40 pixels to the right.
    zvtest::moveMouseTo(f.Picture8, QPointF(225, 183));
    EXPECT_EQ(f.InsetHandle, 1);
    drag(f.Picture8, QPointF(225, 183), QPointF(265, 183));
    EXPECT_EQ(f.Picture11->geometry(), QRect(60, 50, 200, 160));
    EXPECT_EQ(f.Picture12->geometry(), QRect(57, 47, 206, 166));
    EXPECT_EQ(f.InsetResizing, 0);

    // The upper-right handle keeps the bottom edge where it is.
    zvtest::moveMouseTo(f.Picture8, QPointF(262, 45));
    EXPECT_EQ(f.InsetHandle, 2);
    drag(f.Picture8, QPointF(262, 45), QPointF(222, 45));
    EXPECT_EQ(f.Picture11->geometry(), QRect(60, 82, 160, 128));
    EXPECT_EQ(f.Picture12->geometry(), QRect(57, 79, 166, 134));

    // Dragged by itself, the border follows.
    const QPointF grab = QPointF(40, 32);
    zvtest::pressAt(f.Picture11, Qt::LeftButton, grab);
    zvtest::moveMouseTo(f.Picture11, grab + QPointF(20, 10), Qt::LeftButton);
    zvtest::releaseAt(f.Picture11, Qt::LeftButton, grab + QPointF(20, 10));
    EXPECT_EQ(f.Picture11->geometry(), QRect(80, 92, 160, 128));
    EXPECT_EQ(f.Picture12->geometry(), QRect(77, 89, 166, 134));

    // The transmit picture carries the border at (L - 3, T - 3) and the inset.
    clickTab(0);
    EXPECT_TRUE(near(at(f.Picture3, 77, 89), QColor(255, 255, 0), 2));
    EXPECT_FALSE(near(at(f.Picture3, 85, 100), QColor(255, 255, 0), 40));

    QTest::mouseClick(f.Command16, Qt::LeftButton);
    EXPECT_EQ(sstv::g.InsetShown, 0);
    EXPECT_EQ(f.Picture11->geometry(), QRect(60, 50, 160, 128));
}

TEST_F(SstvWorkshopTest, InsetFromAFileAndABorderChosenBeforeAnyInset) {
    SSTVForm& f = shown();
    QTest::mouseClick(f.Option4[13], Qt::LeftButton);
    EXPECT_EQ(stored("BackColor", "PBCcode"), QStringLiteral("255"));
    EXPECT_EQ(sstv::g.InsetShown, 0);
    EXPECT_TRUE(f.Text1->hasFocus());

    ui::script::push(pictureFile(QStringLiteral("inset.bmp"), QSize(50, 50), QColor(250, 0, 250)));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture8, f.GetSASHIfile));
    EXPECT_EQ(sstv::g.InsetShown, 1);
    EXPECT_TRUE(near(at(f.Picture11, 80, 64), QColor(250, 0, 250)));
    EXPECT_TRUE(near(at(f.Picture12, 1, 1), QColor(255, 0, 0), 2));
    EXPECT_EQ(stored("BMP_POS", "TXbmpFol"), QString()) << "the inset's folder is not stored";
    EXPECT_TRUE(f.Command16->isEnabled());
}

TEST_F(SstvWorkshopTest, RubberBandMakesPictureBoxesThatMoveFillAndGo) {
    SSTVForm& f = shown();
    QTest::mouseClick(f.Command8, Qt::LeftButton);
    EXPECT_EQ(f.BandMode, 1);
    drag(f.Picture8, QPointF(30, 30), QPointF(100, 80));
    drag(f.Picture8, QPointF(10, 10), QPointF(40, 30));
    ASSERT_EQ(f.Picture13.size(), 2);
    PictureBox* first = f.Picture13.value(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->geometry(), QRect(0, 0, 100, 80)) << "the band starts at the top-left corner";
    EXPECT_EQ(f.Picture13.value(2)->geometry(), QRect(0, 0, 40, 30));
    QTest::mouseClick(f.Command8, Qt::LeftButton);
    EXPECT_EQ(f.BandMode, 0);

    // The newer box is moved away, then filled from a file through its menu.
    PictureBox* second = f.Picture13.value(2);
    zvtest::pressAt(second, Qt::LeftButton, QPointF(5, 5));
    zvtest::moveMouseTo(second, QPointF(155, 105), Qt::LeftButton);
    EXPECT_EQ(second->pos(), QPoint(150, 100));
    ui::script::push(pictureFile(QStringLiteral("el.bmp"), QSize(20, 20), QColor(0, 220, 220)));
    ASSERT_TRUE(zvtest::chooseByClick(second, f.Getfile, Qt::LeftButton));
    EXPECT_EQ(f.TargetKind, QStringLiteral("pic13"));
    EXPECT_TRUE(near(at(second, 39, 29), QColor(0, 220, 220)));
    EXPECT_FALSE(near(at(eng().bitmap(sstv::g.dib.CanvasDib), 5, 5), QColor(0, 220, 220)));

    // The box goes into the transmit picture; a right click removes it at once.
    clickTab(0);
    EXPECT_TRUE(near(at(f.Picture3, 160, 110), QColor(0, 220, 220)));
    clickTab(1);
    QTest::mouseClick(second, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_FALSE(f.Picture13.contains(2));
    EXPECT_TRUE(f.Picture13.contains(1));
    // A right click on the canvas makes the canvas the menu's target again.
    QTest::mouseClick(f.Picture8, Qt::RightButton, {}, QPoint(300, 200));
    ASSERT_TRUE(zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QApplication::activePopupWidget()->close();
    EXPECT_TRUE(f.TargetKind.isEmpty());
}

TEST_F(SstvWorkshopTest, ClearingTheCanvasAndChoosingItsColour) {
    SSTVForm& f = shown();
    loadBackground(pictureFile(QStringLiteral("bg.bmp"), QSize(320, 256), QColor(200, 100, 0)));
    ASSERT_TRUE(receive(sstveng::Scottie1));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.ToB4TxPic));
    clickTab(1);
    ui::script::push(QColor(0, 90, 0));
    QTest::mouseClick(f.Command18, Qt::RightButton);
    EXPECT_EQ(ui::script::asked().last().kind, QStringLiteral("colour"));
    EXPECT_EQ(eng().mmsGetClearColor(), 0x005A00);
    EXPECT_EQ(sstv::g.InsetShown, 1) << "choosing the colour clears nothing";

    QTest::mouseClick(f.Command18, Qt::LeftButton);
    EXPECT_EQ(at(eng().bitmap(sstv::g.dib.CanvasDib), 100, 100), QColor(0, 90, 0));
    EXPECT_EQ(at(f.Picture8, 100, 100), QColor(0, 90, 0));
    EXPECT_EQ(sstv::g.InsetShown, 0);
    EXPECT_FALSE(f.Picture11->isVisibleTo(f.Picture8));
    EXPECT_NE(sstv::g.dib.InsetDib, 0);
}

} // namespace

namespace {

// A camera photo written progressively, as many cameras and editors do.
QByteArray progressivePhoto(QSize size, QColor colour) {
    QImage photo(size, QImage::Format_RGB32);
    photo.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(90);
    EXPECT_TRUE(writer.write(photo));
    return bytes;
}

// A run-length (RLE8) BMP of one colour: each row one run, then its end codes.
QByteArray runLengthBmp(QSize size, QColor colour) {
    QByteArray runs;
    for (int y = 0; y < size.height(); ++y)
        runs += QByteArray(1, char(size.width())) + char(1) + char(0) + char(0);
    runs += QByteArray("\x00\x01", 2);
    QByteArray file(54 + 8, '\0');
    const auto put = [&file](int at, quint32 value) { qToLittleEndian(value, file.data() + at); };
    file[0] = 'B';
    file[1] = 'M';
    put(2, quint32(file.size() + runs.size()));
    put(10, 54 + 8);
    put(14, 40);
    put(18, quint32(size.width()));
    put(22, quint32(size.height()));
    qToLittleEndian(quint16(1), file.data() + 26);
    qToLittleEndian(quint16(8), file.data() + 28);
    put(30, 1);
    put(34, quint32(runs.size()));
    put(46, 2);
    put(58, quint32(colour.rgb() & 0xFFFFFF));
    return file + runs;
}

// Pictures that would decode only in part are refused with their name, and
// the canvas keeps what the operator had on it; a whole one still loads.
TEST_F(SstvWorkshopTest, APictureThatDecodesOnlyInPartIsRefusedAndTheCanvasKept) {
    SSTVForm& f = shown();
    loadBackground(pictureFile(QStringLiteral("kept.bmp"), QSize(320, 256), QColor(0, 160, 0)));
    const QByteArray photo = progressivePhoto({3000, 2000}, QColor(200, 40, 200));
    // Cut in half, its end marker put back on.
    writeFile(QStringLiteral("cam2.jpg"), photo.left(photo.size() / 2) + QByteArray("\xFF\xD9", 2));
    // A small picture whose header claims 60000 x 60000.
    QByteArray claim =
        readFile(QFileInfo(pictureFile(QStringLiteral("s.jpg"), {16, 16}, Qt::red)).fileName());
    const qsizetype frame = claim.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    claim.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    writeFile(QStringLiteral("huge.jpg"), claim);
    const QByteArray runs = runLengthBmp({200, 100}, QColor(0, 0, 200));
    writeFile(QStringLiteral("runs.bmp"), runs.left(runs.size() / 2));

    for (const QString& name :
         {QStringLiteral("cam2.jpg"), QStringLiteral("huge.jpg"), QStringLiteral("runs.bmp")}) {
        loadBackground(path(name));
        EXPECT_EQ(f.Text3->text(), QStringLiteral("画像を読み込めません: ") + name);
        EXPECT_EQ(at(eng().bitmap(sstv::g.dib.CanvasDib), 160, 200), QColor(0, 160, 0)) << name.toStdString();
        EXPECT_EQ(at(f.Picture8, 160, 200), QColor(0, 160, 0));
        f.Text3->clear();
        ASSERT_TRUE(drop(f.Picture8, {path(name)}));
        EXPECT_EQ(f.Text3->text(), QStringLiteral("画像を読み込めません: ") + name) << "dropped";
        EXPECT_EQ(at(f.Picture8, 160, 200), QColor(0, 160, 0));
    }
    writeFile(QStringLiteral("whole.jpg"), photo);
    loadBackground(path(QStringLiteral("whole.jpg")));
    EXPECT_TRUE(near(at(eng().bitmap(sstv::g.dib.CanvasDib), 160, 250), QColor(200, 40, 200)));
    writeFile(QStringLiteral("runs.bmp"), runs);
    loadBackground(path(QStringLiteral("runs.bmp")));
    EXPECT_EQ(at(eng().bitmap(sstv::g.dib.CanvasDib), 160, 250), QColor(0, 0, 200));
}

} // namespace
