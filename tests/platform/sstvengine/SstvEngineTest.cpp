// Our SSTV engine library against its contract: bitmap handles, clipped
// stretching, BMP written and read back, JPEG read, nothing else read, the
// mode table's size words, notices to the one connected window and none after
// stop, the station's pictures and FSK ID, and the echo of a sent picture.
#include "platform/sstvengine/SstvEngine.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/sstvengine/SstvDrawing.h"
#include "platform/sstvengine/SstvModes.h"
#include "platform/sstvengine/SstvPictureFile.h"
#include "support/ProgramFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QtEndian>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace sstveng;

constexpr std::int32_t Hwnd = 0x2345;

struct Note {
    std::int32_t w, l;
};

class SstvEngineTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        eng.hooks().lineIntervalMs = 1;
    }
    void TearDown() override {
        eng.mmsStop();
        eng.unsubclass();
        ProgramFolderTest::TearDown();
    }
    void run() {
        ASSERT_TRUE(eng.subclass(Hwnd, &window, [this](std::int32_t m, std::int32_t w, std::int32_t l) {
            if (m == SstvMsgEngine) notes.push_back({w, l});
            if (w == NtfJob) eng.mmsDoJob(1);
        }));
        eng.mmsCreate(Hwnd, SstvMsgEngine);
        eng.mmsStart();
    }
    int count(std::int32_t w, std::int32_t l) const {
        return int(
            std::count_if(notes.begin(), notes.end(), [&](const Note& n) { return n.w == w && n.l == l; }));
    }
    bool seen(std::int32_t w, std::int32_t l) const { return count(w, l) > 0; }
    QRgb pixel(std::int32_t handle, int x, int y) const { return eng.bitmap(handle)->pixel(x, y); }

    SstvEngine& eng = lib();
    QObject window;
    std::vector<Note> notes;
};

TEST_F(SstvEngineTest, HandlesAreNeverReusedAndUnknownOnesAreIgnored) {
    const std::int32_t a = eng.mmsCreateDIB(320, 256);
    const std::int32_t b = eng.mmsCreateDIB(800, 616);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(eng.liveBitmaps(), 2);
    EXPECT_EQ(eng.DeleteObject(a), 1);
    EXPECT_EQ(eng.DeleteObject(a), 0) << "released once";
    EXPECT_EQ(eng.DeleteObject(0), 0);
    EXPECT_EQ(eng.DeleteObject(0x777), 0);
    EXPECT_EQ(eng.liveBitmaps(), 1);
    const std::int32_t c = eng.mmsCreateDIB(10, 10);
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    EXPECT_EQ(eng.mmsCreateDIB(0, 10), 0);
    EXPECT_EQ(eng.mmsCreateDIB(10, -1), 0);
    Rect r;
    EXPECT_EQ(eng.mmsGetDIBSize(&r, b), 1);
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.bottom, 616);
    Rect none{0, 0, 5, 5};
    EXPECT_EQ(eng.mmsGetDIBSize(&none, a), 0);
    EXPECT_EQ(none.right, 5) << "a released handle gives no size";
}

TEST(SstvDrawing, SourceOutsideTheBitmapIsClipped) {
    struct Case {
        Rect src, dst;
        QSize bitmap;
        QRectF source, target;
    } cases[] = {
        {{0, 0, 320, 256}, {0, 0, 320, 256}, {800, 616}, {0, 0, 320, 256}, {0, 0, 320, 256}},
        {{0, 0, 320, 240}, {0, 0, 640, 480}, {800, 616}, {0, 0, 320, 240}, {0, 0, 640, 480}},
        // The source reaches beyond a 320 x 256 bitmap: only its part is drawn, in its place.
        {{0, 0, 800, 616}, {0, 0, 800, 616}, {320, 256}, {0, 0, 320, 256}, {0, 0, 320, 256}},
        {{-10, 0, 10, 10}, {0, 0, 20, 10}, {100, 100}, {0, 0, 10, 10}, {10, 0, 10, 10}},
        {{200, 200, 300, 300}, {0, 0, 50, 50}, {100, 100}, {}, {}},
        {{0, 0, 0, 10}, {0, 0, 10, 10}, {100, 100}, {}, {}},
    };
    for (const Case& c : cases) {
        const Stretch s = clipStretch(c.src, c.dst, c.bitmap);
        EXPECT_EQ(s.source, c.source);
        EXPECT_EQ(s.target, c.target);
    }
}

TEST_F(SstvEngineTest, DrawingStretchesIntoBitmapsAndPictureBoxes) {
    const std::int32_t small = eng.mmsCreateDIB(2, 2);
    eng.mmsFillDIB(small, 0x0000FF); // red, as a colour value 0x00BBGGRR
    const std::int32_t big = eng.mmsCreateDIB(8, 8);
    eng.mmsFillDIB(big, 0xFF0000); // blue
    EXPECT_EQ(eng.mmsDrawDIBbmp(big, {0, 0, 4, 4}, small, {0, 0, 2, 2}, 4), 1);
    EXPECT_EQ(qRed(pixel(big, 3, 3)), 255);
    EXPECT_EQ(qBlue(pixel(big, 5, 5)), 255) << "outside the destination nothing changes";
    EXPECT_EQ(eng.mmsDrawDIBbmp(big, {0, 0, 4, 4}, 0, {0, 0, 2, 2}, 4), 0);

    PictureBox box;
    box.setScale(320, 256);
    box.setFixedSize(160, 128);
    EXPECT_EQ(eng.mmsDrawDIBdc(&box, {0, 0, 320, 256}, small, {0, 0, 2, 2}, 4), 1);
    EXPECT_EQ(box.canvas().size(), QSize(160, 128));
    EXPECT_EQ(qRed(box.canvas().pixel(150, 120)), 255);
    const std::int32_t back = eng.mmsCreateDIB(320, 256);
    EXPECT_EQ(eng.mmsDrawDCbmp(back, {0, 0, 320, 256}, &box, {0, 0, 320, 256}, 4), 1);
    EXPECT_EQ(qRed(pixel(back, 300, 250)), 255);
}

TEST_F(SstvEngineTest, BmpRoundTripIs24BitAndLoadsBack) {
    const std::int32_t dib = eng.mmsCreateDIB(320, 256);
    eng.mmsFillDIB(dib, 0x00FF00);
    const QString file = path("Hist_001.bmp");
    ASSERT_EQ(eng.mmsSaveDIB(file, dib), 1);
    const QByteArray bytes = readFile("Hist_001.bmp");
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24);
    const std::int32_t loaded = eng.LoadPicture(file);
    ASSERT_NE(loaded, 0);
    EXPECT_EQ(eng.bitmap(loaded)->size(), QSize(320, 256));
    EXPECT_EQ(qGreen(pixel(loaded, 10, 10)), 255);
    EXPECT_EQ(eng.mmsSaveDIB(path("missing/x.bmp"), dib), 0);
    EXPECT_EQ(eng.mmsSaveDIB(path("y.bmp"), 0), 0);
    EXPECT_FALSE(QFile::exists(path("y.bmp")));
}

TEST_F(SstvEngineTest, LoaderReadsJpegAndBmpOnly) {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(path("a.jpg"), "JPG"));
    ASSERT_TRUE(picture.save(path("a.png"), "PNG"));
    const std::int32_t jpeg = eng.LoadPicture(path("a.jpg"));
    ASSERT_NE(jpeg, 0);
    EXPECT_EQ(eng.bitmap(jpeg)->size(), QSize(64, 48));
    EXPECT_EQ(eng.LoadPicture(path("a.png")), 0);
    EXPECT_EQ(eng.LoadPicture(path("none.bmp")), 0);
    writeFile("junk.bmp", "BM this is not a picture");
    EXPECT_EQ(eng.LoadPicture(path("junk.bmp")), 0);
    // A BMP header that claims a picture far too large is refused unread.
    QImage tiny(2, 2, QImage::Format_RGB888);
    tiny.fill(Qt::red);
    ASSERT_TRUE(tiny.save(path("huge.bmp"), "BMP"));
    QByteArray bytes = readFile("huge.bmp");
    qToLittleEndian<qint32>(20000, bytes.data() + 18);
    writeFile("huge.bmp", bytes);
    EXPECT_EQ(eng.LoadPicture(path("huge.bmp")), 0);
}

TEST_F(SstvEngineTest, CameraPhotosLoadScaledCutOnesAndPipesAreRefused) {
    QImage photo(6000, 4000, QImage::Format_RGB888);
    photo.fill(QColor(200, 40, 40));
    ASSERT_TRUE(photo.save(path("camera.jpg"), "JPG", 90));
    const std::int32_t big = eng.LoadPicture(path("camera.jpg"));
    ASSERT_NE(big, 0);
    EXPECT_EQ(eng.bitmap(big)->size(), QSize(MaxPictureSide, 1365)) << "decoded scaled, its shape kept";
    const QColor middle = eng.bitmap(big)->pixelColor(1000, 600);
    EXPECT_NEAR(middle.red(), 200, 8);
    EXPECT_NEAR(middle.green(), 40, 8);

    // A JPEG cut off half way would decode with grey in its lower part: refused.
    const QByteArray whole = readFile("camera.jpg");
    writeFile("cut.jpg", whole.left(whole.size() / 2));
    EXPECT_EQ(eng.LoadPicture(path("cut.jpg")), 0);

    // A pipe named like a history picture is not opened, so nothing waits on it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("Hist_013.bmp")).constData(), 0600), 0);
    EXPECT_EQ(eng.LoadPicture(path("Hist_013.bmp")), 0);
    EXPECT_EQ(eng.LoadPicture(path(".")), 0);
}

TEST(SstvModes, SizeWordsFollowThePublishedModes) {
    struct Case {
        int mode;
        const char* name;
        int width, height;
    } cases[] = {{0, "B/W 8", 160, 120},     {3, "Robot 36", 320, 240}, {4, "Robot 72", 320, 240},
                 {6, "Scottie 1", 320, 256}, {9, "Martin 1", 320, 256}, {20, "PD-290", 800, 616},
                 {36, "ML-320", 640, 496}};
    for (const Case& c : cases) {
        EXPECT_EQ(modeName(c.mode), QLatin1String(c.name));
        EXPECT_EQ(imageSizeWord(c.mode), (c.height << 16) | c.width) << c.name;
    }
    for (const ModeInfo& m : Modes) {
        EXPECT_LE(m.width, MaxWidth) << m.name;
        EXPECT_LE(m.height, MaxHeight) << m.name;
    }
    EXPECT_EQ(imageSizeWord(37), 0);
    EXPECT_EQ(imageSizeWord(-1), 0);
    EXPECT_TRUE(modeName(37).isEmpty());
}

TEST_F(SstvEngineTest, TextsComeBackByAddress) {
    QByteArray text;
    EXPECT_EQ(eng.mmsStrCopy(&text, 256, eng.mmsGetModeName(6)), 9);
    EXPECT_EQ(text, QByteArray("Scottie 1"));
    EXPECT_GT(eng.mmsStrCopy(&text, 256, eng.mmsGetVersion()), 0);
    EXPECT_EQ(eng.mmsStrCopy(&text, 256, 0), 0);
    EXPECT_TRUE(text.isEmpty());
    eng.mmsSetCWID("QQ1ZZZ");
    EXPECT_EQ(eng.mmsStrCopy(&text, 256, eng.mmsSetCWID({})), 6) << "an empty ID only reads";
    EXPECT_EQ(text, QByteArray("QQ1ZZZ"));
}

TEST_F(SstvEngineTest, WordsReadWithMinusOneAndSet) {
    const std::int32_t first = eng.mmsSetRxControl(-1);
    EXPECT_EQ(eng.mmsSetRxControl(first | RxFskId | RxErase), first | RxFskId | RxErase);
    EXPECT_EQ(eng.mmsSetRxControl(-1), first | RxFskId | RxErase);
    EXPECT_EQ(eng.mmsSetLMS(2), 2);
    EXPECT_EQ(eng.mmsSetLMS(7), 2);
    EXPECT_EQ(eng.mmsSetLMS(-1), 2);
    EXPECT_EQ(eng.mmsGetSampleFreq(3), 1102500);
    EXPECT_EQ(eng.mmsGetSampleFreq(2), 1102500);
    eng.hooks().measuredRate = 1102611;
    eng.mmsCorrectSlant();
    EXPECT_EQ(eng.mmsGetSampleFreq(2), 1102611);
    eng.mmsSetSampleFreq(0, 1102400);
    EXPECT_EQ(eng.mmsGetSampleFreq(2), 1102400);
}

TEST_F(SstvEngineTest, StationPictureBuildsLineByLineThenSendsItsFskId) {
    const std::int32_t rx = eng.mmsCreateDIB(800, 616);
    eng.mmsFillDIB(rx, 0);
    eng.mmsSetBitmap(rx, eng.mmsCreateDIB(320, 256), eng.mmsCreateDIB(800, 616));
    eng.mmsSetRxControl(eng.mmsSetRxControl(-1) | RxFskId);
    run();
    eng.startStationPicture(Robot36);
    ASSERT_TRUE(zvtest::waitUntil([&] { return seen(NtfFskId, 0); }));
    EXPECT_EQ(count(NtfRxPicture, 1), 1);
    EXPECT_EQ(count(NtfRxPicture, 0), 1);
    EXPECT_GE(count(NtfJob, 0), 240);
    EXPECT_EQ(eng.mmsGetMode(0), Robot36);
    QByteArray id;
    eng.mmsStrCopy(&id, 256, eng.mmsGetFSKID());
    EXPECT_EQ(id, QByteArray("QQ9ABC"));
    // The picture fills the top 240 rows; below it the bitmap keeps its fill.
    EXPECT_NE(pixel(rx, 10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(pixel(rx, 10, 250), qRgb(0, 0, 0));
}

TEST_F(SstvEngineTest, NoFskIdWithoutItsBitAndNoEndForADroppedPicture) {
    eng.mmsSetRxControl(eng.mmsSetRxControl(-1) & ~RxFskId);
    run();
    eng.startStationPicture(0);
    ASSERT_TRUE(zvtest::waitUntil([&] { return seen(NtfRxPicture, 0); }));
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_FALSE(seen(NtfFskId, 0));
    notes.clear();
    eng.mmsStartScan(Scottie1);
    ASSERT_TRUE(zvtest::waitUntil([&] { return count(NtfJob, 0) > 3; }));
    eng.mmsStopScan(0);
    eng.mmsStopScan(1);
    EXPECT_FALSE(eng.isReceiving());
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_FALSE(seen(NtfRxPicture, 0));
}

TEST_F(SstvEngineTest, NothingArrivesAfterStopAndOneHandlerOnly) {
    run();
    EXPECT_FALSE(eng.subclass(Hwnd, &window, [](std::int32_t, std::int32_t, std::int32_t) {}));
    eng.startStationPicture(Scottie1);
    ASSERT_TRUE(zvtest::waitUntil([&] { return count(NtfJob, 0) > 2; }));
    eng.mmsStop();
    const std::size_t before = notes.size();
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(notes.size(), before);
}

TEST_F(SstvEngineTest, SentPictureAdvancesAndIsEchoedInThePreview) {
    const std::int32_t preview = eng.mmsCreateDIB(320, 256);
    const std::int32_t tx = eng.mmsCreateDIB(800, 616);
    eng.mmsFillDIB(preview, 0);
    eng.mmsFillDIB(tx, 0x0000FF);
    eng.mmsSetBitmap(eng.mmsCreateDIB(800, 616), preview, tx);
    run();
    std::vector<std::int32_t> positions;
    eng.mmsSendPic(0); // B/W 8, 120 lines
    ASSERT_TRUE(zvtest::waitUntil([&] {
        if (eng.isTransmitting()) positions.push_back(eng.mmsGetPos(0));
        return seen(NtfTxState, 0);
    }));
    EXPECT_EQ(count(NtfTxState, 1), 1);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GT(positions.back(), 0);
    EXPECT_EQ(qRed(pixel(preview, 160, 200)), 255);

    notes.clear();
    eng.mmsSendTone(1750);
    ASSERT_TRUE(zvtest::waitUntil([&] { return seen(NtfTxState, 1); }));
    eng.mmsSendStop();
    ASSERT_TRUE(zvtest::waitUntil([&] { return seen(NtfTxState, 0); }));
    notes.clear();
    eng.mmsSendCWID("QQ9XYZ");
    ASSERT_TRUE(zvtest::waitUntil([&] { return seen(NtfTxState, 0); }));
    EXPECT_EQ(count(NtfTxState, 1), 1);
}

} // namespace

namespace {

TEST_F(SstvEngineTest, OptionDialogSetsBandPassFskReceptionAndIds) {
    const std::int32_t before = eng.mmsSetRxControl(-1);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(zvtest::waitExposed(dialog));
        auto* combo = dialog->findChild<QComboBox*>();
        auto* box = dialog->findChild<QCheckBox*>();
        const auto edits = dialog->findChildren<QLineEdit*>();
        ASSERT_TRUE(combo && box && edits.size() == 2);
        combo->setCurrentIndex(3);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        edits[1]->setText(QStringLiteral(" QQ1CW "));
        // The engine keeps its IDs in Shift-JIS: a character it lacks is said, never kept as "?".
        edits[0]->selectAll();
        QTest::keyClicks(edits[0], QStringLiteral("JA1"));
        QTest::sendKeyEvent(QTest::Click, edits[0], Qt::Key_unknown, QStringLiteral("€"), {});
        QTest::keyClick(dialog, Qt::Key_Return);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_TRUE(ui::script::asked().first().prompt.startsWith(QStringLiteral("「FSK ID」の「€」は")));
        QTest::keyClick(edits[0], Qt::Key_Backspace);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    ui::script::clearAsked();
    EXPECT_EQ(eng.mmsOption(), 1);
    QByteArray fsk;
    eng.mmsStrCopy(&fsk, 256, eng.mmsSetFSKID({}));
    EXPECT_EQ(fsk, QByteArray("JA1"));
    const std::int32_t after = eng.mmsSetRxControl(-1);
    EXPECT_EQ(after >> 28, 3) << "vySharp";
    EXPECT_EQ(after & RxFskId, (before & RxFskId) ^ RxFskId);
    EXPECT_EQ(after & 0x0FFFFFFE, before & 0x0FFFFFFE) << "the other positions stay";
    QByteArray cw;
    eng.mmsStrCopy(&cw, 256, eng.mmsSetCWID({}));
    EXPECT_EQ(cw, QByteArray("QQ1CW"));

    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_EQ(eng.mmsOption(), 0);
    EXPECT_EQ(eng.mmsSetRxControl(-1), after);
}

} // namespace
