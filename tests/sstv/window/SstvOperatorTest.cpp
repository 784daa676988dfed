// The SSTV window as an operator meets it after a restart and while sending:
// the history tab's picture, saving it under a typed name, the scales' arrows,
// the tuning frame, the title bar's values at the moment of sending, the
// stacking of the canvas's layers, the keys of the text boxes, the editors
// going with the window, and the stored places and fonts read back.
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/os/Clock.h"
#include "sstv/SstvWorkshopFixture.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/overlay/SSTVMACRO.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/workshop/SstvTitles.h"
#include "support/Contest.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDoubleValidator>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTimeZone>

namespace {

using zvtest::SstvWorkshopTest;

// A picture with some light in it (the station's bars), not a black box.
bool shows(const QImage& picture) {
    for (int y = 0; y < picture.height(); y += 8)
        for (int x = 0; x < picture.width(); x += 8)
            if (qGray(picture.pixel(x, y)) > 60) return true;
    return false;
}

// A click on a vertical bar's top (▲) or bottom (▼) arrow.
void clickArrow(QScrollBar* bar, bool up) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, up ? 3 : bar->height() - 4));
}

class SstvOperatorTest : public SstvWorkshopTest {};

TEST_F(SstvOperatorTest, HistoryTabAfterARestartShowsItsPictureAndSavingAsksForTheNameWritten) {
    ASSERT_TRUE(receive(sstveng::Scottie1));
    SSTVForm& f = restartWindow();
    ASSERT_TRUE(zvtest::waitExposed(&f));
    EXPECT_EQ(f.Line1->x1(), 0);
    EXPECT_EQ(f.Line1->x2(), 50) << "the marker has its receive span before any sending";
    QTabBar* bar = f.SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    ASSERT_TRUE(zvtest::waitUntil([&] { return shows(f.Picture9->canvas()); }));

    // "pic" typed: the question is about pic.bmp, which is the file written.
    writeFile("RcvDat/pic.bmp", "kept");
    ui::script::push(path("RcvDat/pic"));
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture9, f.SaveRcvFile));
    EXPECT_EQ(readFile("RcvDat/pic.bmp"), QByteArray("kept"));
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_TRUE(ui::script::asked().last().prompt.contains(QStringLiteral("pic.bmp")));
    ui::script::push(path("RcvDat/pic"));
    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture9, f.SaveRcvFile));
    EXPECT_TRUE(shows(QImage(path("RcvDat/pic.bmp")))) << "the history picture, not a black one";
}

TEST_F(SstvOperatorTest, UpperArrowsRaiseTheScalesAndTheTuningFrameKeepsTheWindowsSize) {
    SSTVForm& f = shown();
    const QSize before = f.size();
    QTest::mouseClick(f.Command4, Qt::LeftButton);
    ASSERT_TRUE(f.Frame12->isVisible());
    EXPECT_EQ(f.size(), before);
    EXPECT_TRUE(f.rect().contains(f.Frame12->geometry()));
    for (QScrollBar* scale : {f.VScroll1, f.VScroll2, f.VScroll3}) {
        clickArrow(scale, false);
        const int lowered = scale->value();
        clickArrow(scale, true);
        EXPECT_EQ(scale->value(), lowered + 1) << "▲ raises";
        clickArrow(scale, false);
        EXPECT_EQ(scale->value(), lowered) << "▼ lowers";
    }
    QTest::mouseClick(f.Command4, Qt::LeftButton);
    EXPECT_FALSE(f.Frame12->isVisible());
    EXPECT_EQ(f.size(), before);

    // The editor's gradient bars, with the title bar being edited.
    QMenu* menu = zvtest::popupByClick(f.Picture8, Qt::RightButton, QPoint(300, 200));
    ASSERT_TRUE(menu);
    ASSERT_TRUE(zvtest::chooseInPopup(menu, f.TB_ON));
    QTest::mouseClick(f.Picture14, Qt::LeftButton, {}, QPoint(200, 10));
    QScrollBar* red = forms::mojiinput().GradBar[0];
    ASSERT_TRUE(red->isEnabled());
    const int redBefore = red->value();
    clickArrow(red, true);
    EXPECT_EQ(red->value(), redBefore + 1);
    EXPECT_EQ(sstv::g.GradRed, redBefore + 1);
    forms::unload<mojiinput>();

    // The text editor's size bar: its top is its largest value too.
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(140, 140));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    mojiinput& editor = forms::mojiinput();
    ASSERT_TRUE(zvtest::waitExposed(&editor));
    const int size = editor.VScroll1->value();
    clickArrow(editor.VScroll1, true);
    EXPECT_EQ(editor.VScroll1->value(), size + 1);
}

TEST_F(SstvOperatorTest, TheTitleBarIsSentWithTheCallTypedAndTheTimeOfSending) {
    writeIni(QStringLiteral("[SSTV_Gen]\nTitleStr=de %m to %c %U\nTitleBar=1\n"));
    sysclock::setUtcForTest(QDateTime(QDate(2026, 3, 1), QTime(12, 4), Qt::UTC));
    SSTVForm& f = shown(0);
    QTest::keyClicks(f.Text1, QStringLiteral("ja5zzz"));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("de QQ1TST to JA5ZZZ 21:04J"));
    sysclock::setUtcForTest(QDateTime(QDate(2026, 3, 1), QTime(12, 9), Qt::UTC));
    EXPECT_TRUE(zvtest::waitUntil([&] { return f.Label4->text().endsWith(QStringLiteral("21:09J")); }))
        << f.Label4->text().toStdString();
    zvtest::clearBox(f.Text1);
    QTest::keyClicks(f.Text1, QStringLiteral("jh1aaa"));
    QTest::keyClick(f.Text1, Qt::Key_F12);
    EXPECT_EQ(f.Label4->text(), QStringLiteral("de QQ1TST to JH1AAA 21:09J"));
    EXPECT_TRUE(zvtest::waitUntil([] { return sstv::g.SstvTxActive == 1; }));
    QTest::keyClick(&f, Qt::Key_Escape);
}

TEST_F(SstvOperatorTest, TheSentPictureStacksAsTheCanvasAndLeavesOutTheInsetItDoesNotShow) {
    ASSERT_TRUE(receive(sstveng::Scottie1));
    SSTVForm& f = shown();
    loadBackground(pictureFile(QStringLiteral("back.bmp"), {320, 256}, QColor(0, 0, 200)));
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.ToB4TxPic));
    ASSERT_TRUE(f.Picture11->isVisible());
    clickTab(1);
    QTest::mouseClick(f.Command8, Qt::LeftButton);
    drag(f.Picture8, QPointF(30, 30), QPointF(100, 80));
    QTest::mouseClick(f.Command8, Qt::LeftButton);
    PictureBox* element = f.Picture13.value(1);
    ASSERT_NE(element, nullptr);
    ui::script::push(pictureFile(QStringLiteral("el.bmp"), QSize(20, 20), QColor(0, 220, 220)));
    ASSERT_TRUE(zvtest::chooseByClick(element, f.Getfile, Qt::LeftButton));
    const QPoint both(80, 70); // under the element and the inset
    ASSERT_TRUE(f.Picture11->geometry().contains(both));
    clickTab(0);
    EXPECT_TRUE(near(at(f.Picture3, both.x(), both.y()), QColor(0, 220, 220))) << "the newer element on top";
    const QPoint insetOnly = f.Picture11->geometry().bottomRight() - QPoint(5, 5);
    EXPECT_FALSE(near(at(f.Picture3, insetOnly.x(), insetOnly.y()), QColor(0, 0, 200)));

    // Copied to the clipboard, the inset leaves the sent picture and the canvas alike.
    ASSERT_TRUE(zvtest::chooseByClick(f.Picture1, f.goClip));
    EXPECT_FALSE(f.Picture11->isVisible());
    clickTab(1);
    clickTab(0);
    EXPECT_TRUE(near(at(f.Picture3, insetOnly.x(), insetOnly.y()), QColor(0, 0, 200)));
}

TEST_F(SstvOperatorTest, TextBoxesKeepTheirCopyAndPasteAndTheCanvasTakesItsOwn) {
    SSTVForm& f = shown();
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText(QStringLiteral("JA1ABC"));
    f.Text1->setFocus();
    QTest::keyClick(f.Text1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Text1->text(), QStringLiteral("JA1ABC"));
    zvtest::setBoxText(f.Text7, QStringLiteral("Taro"));
    f.Text7->setFocus();
    f.Text7->selectAll();
    QTest::keyClick(f.Text7, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clip->text(), QStringLiteral("Taro"));

    // Without a text box in focus Ctrl+V is the canvas's.
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    clip->setImage(red);
    f.HScroll1->setFocus();
    QTest::keyClick(f.HScroll1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(near(at(eng().bitmap(sstv::g.dib.CanvasDib), 10, 10), Qt::red));

    EXPECT_FALSE(f.Check4->text().isEmpty());
    EXPECT_FALSE(f.Check4->toolTip().isEmpty());
    ASSERT_TRUE(zvtest::beginContest(f.CONON));
    const QString exchange(40, QLatin1Char('a'));
    QTest::keyClicks(f.Text14, exchange);
    EXPECT_EQ(f.Text14->text().size(), 28);
    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON)); // the contest ends
    zvtest::clearBox(f.Text14);
    QTest::keyClicks(f.Text14, exchange);
    EXPECT_EQ(f.Text14->text(), exchange) << "the contest's limit went with it";
}

TEST_F(SstvOperatorTest, TheEditorsGoWithTheWindowOnAModeChange) {
    SSTVForm& f = shown();
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(140, 140));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    ASSERT_TRUE(forms::isLoaded<mojiinput>());
    QTest::mouseClick(forms::mojiinput().Command3, Qt::RightButton);
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    EXPECT_EQ(core::g.OpMode, int(core::ModeBpsk));
    EXPECT_FALSE(forms::isLoaded<mojiinput>());
    EXPECT_FALSE(forms::isLoaded<SSTVMACRO>());
    EXPECT_TRUE(QFile::exists(path("MACmenu.DAT")));
}

// Stock texts typed while their file cannot be written go nowhere unasked: a
// mode change or the end stops and keeps them, or drops them on a yes.
TEST_F(SstvOperatorTest, UnstoredStockTextsStayUnlessTheOperatorDropsThem) {
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    SSTVForm& f = shown();
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(140, 140));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    QTest::mouseClick(forms::mojiinput().Command3, Qt::RightButton);
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    ASSERT_TRUE(QDir().mkdir(path("MACmenu.DAT")));
    QTest::keyClicks(forms::SSTVMACRO().Text1, QStringLiteral("QRZ?"));

    ui::script::clearAsked();
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseMenuItem(f.pEnd));
    ASSERT_EQ(ui::script::asked().size(), 2);
    for (const ui::Asked& a : ui::script::asked())
        EXPECT_TRUE(a.prompt.startsWith(QStringLiteral("定型文を保存できませんでした")))
            << a.prompt.toStdString();
    EXPECT_EQ(core::g.OpMode, int(core::ModeSstv));
    EXPECT_EQ(ends, 0);
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    EXPECT_TRUE(forms::SSTVMACRO().Text1->toPlainText().endsWith(QStringLiteral("QRZ?")));

    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    EXPECT_EQ(core::g.OpMode, int(core::ModeBpsk));
    EXPECT_FALSE(forms::isLoaded<SSTVMACRO>());
    int questions = 0;
    for (const ui::Asked& a : ui::script::asked())
        questions += a.prompt.endsWith(QStringLiteral("入力した定型文を破棄して続けますか？"));
    EXPECT_EQ(questions, 3) << "a dropped text is not asked about again";
    terminal::mainwindow::setProcessEndForTest({});
}

// A title bar text the settings cannot hold goes with the window only on the
// operator's yes, whichever way the window goes.
TEST_F(SstvOperatorTest, AnUnstorableTitleBarTextStaysUnlessTheOperatorDropsIt) {
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    SSTVForm& f = shown();
    QMenu* menu = zvtest::popupByClick(f.Picture8, Qt::RightButton, QPoint(300, 200));
    ASSERT_TRUE(menu);
    ASSERT_TRUE(zvtest::chooseInPopup(menu, f.TB_ON));
    QTest::mouseClick(f.Picture14, Qt::LeftButton, {}, QPoint(200, 10));
    ASSERT_EQ(sstv::g.TitleBarEditing, 1);
    mojiinput& ed = forms::mojiinput();
    QTest::sendKeyEvent(QTest::Click, ed.Text1, Qt::Key_unknown, QStringLiteral(" 〜€é"), {});
    const QString typed = ed.Text1->text();
    const QString dropQuestion = QStringLiteral("入力したタイトル文字を破棄して続けますか？");
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"close box",
         [&] {
             QCloseEvent e;
             QSpontaneKeyEvent::setSpontaneous(&e);
             static_cast<QObject*>(&f)->event(&e);
         }},
        {"終了(&X)", [&] { ASSERT_TRUE(zvtest::chooseMenuItem(f.pEnd)); }},
        {"モード選択 BPSK", [&] { ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0])); }},
    };
    for (const auto& [what, go] : ways) {
        SCOPED_TRACE(what);
        ui::script::clearAsked();
        ui::script::push(ui::Ok);
        ui::script::push(ui::No);
        go();
        ASSERT_EQ(ui::script::asked().size(), 2);
        EXPECT_TRUE(ui::script::asked()[0].prompt.startsWith(QStringLiteral("「文字入力」の「€é」")));
        EXPECT_EQ(ui::script::asked()[1].prompt, dropQuestion);
        EXPECT_EQ(core::g.OpMode, int(core::ModeSstv));
        EXPECT_EQ(ends, 0);
        ASSERT_TRUE(forms::isLoaded<mojiinput>());
        EXPECT_EQ(forms::mojiinput().Text1->text(), typed);
    }
    ui::script::push(ui::Ok);
    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    EXPECT_EQ(core::g.OpMode, int(core::ModeBpsk));
    EXPECT_EQ(core::IniStored(QStringLiteral("SSTV_Gen"), QStringLiteral("TitleStr")), std::nullopt);
    terminal::mainwindow::setProcessEndForTest({});
}

TEST_F(SstvOperatorTest, AFailedModeChangeSaysSoAndTheSstvWindowStays) {
    SSTVForm& f = shown();
    eng().hooks().failNextStop = true;
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.PSKMODE[0]));
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_EQ(ui::script::asked().last().prompt, QStringLiteral("Mode Change Error!"));
    EXPECT_EQ(core::g.OpMode, int(core::ModeSstv));
    ASSERT_TRUE(forms::isLoaded<SSTVForm>());
    EXPECT_TRUE(forms::SSTVForm().isVisible());
    EXPECT_TRUE(eng().isRunning());
    EXPECT_TRUE(receive(sstveng::Scottie1)) << "the window shown again receives";
}

TEST_F(SstvOperatorTest, StoredPlacesComeOntoTheScreenAndStoredFontsReadOneWay) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Near the bottom right corner, on the screen by the rule of every window.
    const QString corner = QStringLiteral("TopPos=%1\nLeftPos=%2\n")
                               .arg(twips::fromPx(screen.height() - 20))
                               .arg(twips::fromPx(screen.width() - 20));
    writeIni(QStringLiteral("[Picture_BigViewer_POS]\nTopPos=0\nLeftPos=0\nWidthPos=999999\n"
                            "[MojiInput_POS]\nTopPos=14000\nLeftPos=20000\n"
                            "[CFGPOS]\nPMPOSTop=14000\nPMPOSLeft=0\n"
                            "[FontCFG]\nFntBOLD=true\nFntSIZE=abc\n[BackColor]\nMBCcode=255\nMBCmode=1\n") +
             QStringLiteral("[SSTVMARO_POS]\n") + corner);
    SSTVForm& f = shown();
    // Stored near the bottom: the window comes up as far as it has to be whole (or top first).
    EXPECT_EQ(f.y(), std::max(screen.top(), screen.bottom() + 1 - f.frameGeometry().height()));
    ASSERT_TRUE(zvtest::chooseInMenuBar(f.menuBar, f.bigview));
    Bigviewer& viewer = forms::Bigviewer();
    EXPECT_LE(viewer.width(), screen.width());
    EXPECT_LE(viewer.height(), screen.height());

    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(140, 140));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    mojiinput& editor = forms::mojiinput();
    ASSERT_TRUE(zvtest::waitExposed(&editor));
    EXPECT_TRUE(screen.contains(editor.geometry()));
    QTest::mouseClick(editor.Command3, Qt::RightButton);
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    const auto whole = [&screen](const QWidget& w) { return screen.contains(QRect(w.pos(), w.size())); };
    EXPECT_TRUE(whole(forms::SSTVMACRO())) << "moved in from the corner";

    // The library moved partly off the screen, closed and opened again comes back whole.
    ASSERT_TRUE(zvtest::chooseMenuItem(f.PicLibShow));
    forms::PiclibForm().move(screen.right() - 40, screen.bottom() - 30);
    ASSERT_TRUE(zvtest::chooseInMenuBar(forms::PiclibForm().menuBar, forms::PiclibForm().PCLS));
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<PiclibForm>(); }));
    EXPECT_EQ(core::IniWhole(QStringLiteral("Picture_Viewer_POS"), QStringLiteral("LeftPos")),
              twips::fromPx(screen.right() - 40));
    ASSERT_TRUE(zvtest::chooseMenuItem(f.PicLibShow));
    EXPECT_TRUE(whole(forms::PiclibForm()));

    QLabel* line = f.Label1.back();
    EXPECT_FALSE(line->font().bold());
    EXPECT_FALSE(editor.Check1->isChecked()) << "the box and the line read \"true\" alike";
    EXPECT_EQ(line->font().pointSizeF(), 12);
    EXPECT_EQ(sstv::titles.SstvTitleOutline.back(), 13) << "the stored red outline";
}

TEST_F(SstvOperatorTest, TheFontDialogTakesHalfPoints) {
    SSTVForm& f = shown();
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(140, 140));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    mojiinput& editor = forms::mojiinput();
    ASSERT_TRUE(zvtest::waitExposed(&editor));
    ui::script::end(); // Qt's own dialog, answered as the operator does
    bool answered = false;
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) return;
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                if (!qobject_cast<const QDoubleValidator*>(edit->validator())) continue;
                edit->selectAll();
                QTest::keyClicks(edit, QStringLiteral("10.5"));
                answered = edit->text() == QStringLiteral("10.5");
            }
            QTest::keyClick(dialog, Qt::Key_Return);
        },
        Qt::QueuedConnection);
    QTest::mouseClick(editor.Command1, Qt::LeftButton);
    EXPECT_TRUE(answered);
    EXPECT_EQ(core::IniStored(QStringLiteral("FontCFG"), QStringLiteral("FntSIZE")), QStringLiteral("10.5"));
}

} // namespace
