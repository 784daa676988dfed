// The title lines and the text editor driven as the operator drives them: a
// line placed on the canvas, typed, dragged, removed and opened again; the
// title bar edited; fonts, colours, favourites, outlines and the gradient
// chosen; the stock texts edited in the macro list.
#include "app/ProgramRun.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/text/ShownLines.h"
#include "platform/os/Cp932.h"
#include "platform/os/EndSignals.h"
#include "sstv/SstvWorkshopFixture.h"
#include "sstv/overlay/SSTVMACRO.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/workshop/SstvTitles.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

using zvtest::SstvWorkshopTest;

QString stored(const char* section, const char* key) {
    return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key))
        .value_or(QStringLiteral("-"));
}

void chooseFromMenuBar(QMenuBar* bar, QAction* item) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item).center());
}

class SstvTitleEditorTest : public SstvWorkshopTest {
  protected:
    // A canvas click arms the placing, the next places a line there.
    QLabel* placeTitle(QPoint at) {
        SSTVForm& f = shown();
        zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(at) + QPointF(40, 40));
        zvtest::moveMouseTo(f.Picture8, at);
        zvtest::clickAt(f.Picture8, Qt::LeftButton, at);
        return f.Label1.size() > 1 ? f.Label1.back() : nullptr;
    }
    mojiinput& editor() { return forms::mojiinput(); }
    // The title bar switched on from the canvas's menu.
    void titleBarOn() {
        QMenu* menu = zvtest::popupByClick(window().Picture8, Qt::RightButton, QPoint(300, 200));
        ASSERT_TRUE(menu);
        ASSERT_TRUE(zvtest::chooseInPopup(menu, window().TB_ON));
    }
    void closeEditor() { chooseFromMenuBar(editor().menuBar, editor().mojicls); }
};

TEST_F(SstvTitleEditorTest, APlacedLineTakesTypedTextAndFollowsTheCallBox) {
    SSTVForm& f = shown();
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(200, 200));
    EXPECT_EQ(sstv::g.TitlePlaceArmed, 1);
    EXPECT_FALSE(f.Image1->isVisible());
    zvtest::moveMouseTo(f.Picture8, QPointF(100, 60));
    EXPECT_EQ(f.Image1->pos(), QPoint(84, 44)) << "the hidden marker follows the pointer";
    zvtest::moveMouseTo(f.Picture8, QPointF(3, 60));
    EXPECT_EQ(f.Image1->pos(), QPoint(84, 44)) << "not within the margin";

    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 60));
    ASSERT_EQ(f.Label1.size(), 2u);
    QLabel* line = f.Label1[1];
    EXPECT_EQ(line->pos(), QPoint(84, 44));
    EXPECT_TRUE(f.Image1->isVisible());
    EXPECT_EQ(sstv::g.TitlePlaceArmed, 0);
    EXPECT_EQ(sstv::g.TitleEditOpen, 1);
    mojiinput& ed = editor();
    ASSERT_TRUE(zvtest::waitExposed(&ed));
    EXPECT_TRUE(ed.windowFlags() & Qt::WindowStaysOnTopHint);
    // The editor takes the keys: the first ones typed are not lost.
    ASSERT_TRUE(zvtest::waitActive(&ed));
    EXPECT_EQ(QApplication::focusWidget(), ed.Text1);

    // Further clicks move the new line until text is typed for it.
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(60, 100));
    EXPECT_EQ(line->pos(), QPoint(44, 84));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("%c de %m"));
    EXPECT_EQ(line->text(), QStringLiteral(" de QQ1TST"));
    EXPECT_EQ(sstv::g.TitleEditOpen, 0);
    QTest::keyClicks(f.Text1, QStringLiteral("JA1XYZ"));
    EXPECT_EQ(line->text(), QStringLiteral("JA1XYZ de QQ1TST"));
    EXPECT_EQ(sstv::titles.SstvTitleLines[1], QStringLiteral("%c de %m"));

    // Emptying the box keeps the last text and stops the following.
    ed.Text1->selectAll();
    QTest::keyClick(ed.Text1, Qt::Key_Backspace);
    EXPECT_EQ(sstv::titles.SstvTitleRefreshOn, 0);
    EXPECT_EQ(sstv::titles.SstvTitleLines[1], QStringLiteral("%c de %m"));
    EXPECT_EQ(line->text(), QStringLiteral("JA1XYZ de QQ1TST"));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(150, 150));
    EXPECT_EQ(line->pos(), QPoint(44, 84)) << "a click after typing arms again";
    EXPECT_EQ(sstv::g.TitlePlaceArmed, 1);

    // Back in the SSTV window, the next line placed hands the keys to the editor again.
    f.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&f));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(150, 150));
    ASSERT_EQ(f.Label1.size(), 3u);
    ASSERT_TRUE(zvtest::waitActive(&ed));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("73"));
    EXPECT_EQ(f.Label1[2]->text(), QStringLiteral("73"));
}

TEST_F(SstvTitleEditorTest, LinesAreDraggedRemovedAndOpenedAgain) {
    SSTVForm& f = shown();
    QLabel* line = placeTitle(QPoint(100, 100));
    ASSERT_TRUE(line);
    QTest::keyClicks(editor().Text1, QStringLiteral("CQ %m"));
    closeEditor();
    ASSERT_FALSE(forms::isLoaded<mojiinput>());
    EXPECT_FALSE(f.Image1->isVisible());
    const QPoint start = line->pos();
    drag(line, QPointF(5, 5), QPointF(25, 15));
    EXPECT_EQ(line->pos(), start + QPoint(20, 10));
    EXPECT_EQ(sstv::g.SelectedTitle, 1);
    EXPECT_EQ(forms::mojiinput().Text1->text(), QStringLiteral("CQ %m")) << "the press loads the line";
    EXPECT_FALSE(editor().isVisible());

    QTest::mouseDClick(line, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(editor().Text1->text(), QStringLiteral("CQ %m"));

    zvtest::clickAt(line, Qt::RightButton, QPointF(5, 5));
    EXPECT_EQ(line->text(), QString());
    EXPECT_EQ(line->pos(), QPoint(-500, -500));
    EXPECT_EQ(sstv::titles.SstvTitleLines[1], QStringLiteral("CQ %m")) << "the raw text stays";
    EXPECT_EQ(editor().Text1->text(), QString());
}

TEST_F(SstvTitleEditorTest, TheMarkerDragsTheSelectedLine) {
    SSTVForm& f = shown();
    QLabel* line = placeTitle(QPoint(100, 100));
    ASSERT_TRUE(line);
    drag(f.Image1, QPointF(16, 16), QPointF(36, 6));
    EXPECT_EQ(f.Image1->pos(), QPoint(104, 74));
    EXPECT_EQ(line->pos(), QPoint(104, 74));
}

TEST_F(SstvTitleEditorTest, TheTitleBarIsEditedWhileTheCanvasRests) {
    SSTVForm& f = shown();
    titleBarOn();
    ASSERT_TRUE(f.Picture14->isVisible());
    QTest::mouseClick(f.Picture14, Qt::LeftButton, {}, QPoint(200, 10));
    mojiinput& ed = editor();
    EXPECT_EQ(sstv::g.TitleBarEditing, 1);
    EXPECT_TRUE(ed.isVisible());
    EXPECT_EQ(ed.windowTitle(), QStringLiteral("文字加工　タイトル文字編集中  完了後はこれを閉じてください"));
    EXPECT_EQ(ed.Text1->text(), QStringLiteral("QQ1TST"));
    EXPECT_TRUE(ed.Frame3->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(ed.Frame2), static_cast<QWidget*>(ed.Command1),
                       static_cast<QWidget*>(ed.Command10), static_cast<QWidget*>(ed.VScroll1)})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_FALSE(ed.Check1->isVisible());
    EXPECT_FALSE(ed.Check2->isVisible());
    ed.Text1->clear();
    QTest::keyClicks(ed.Text1, QStringLiteral("de %m"));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("de QQ1TST"));
    EXPECT_EQ(sstv::g.SstvTitleBarText, QStringLiteral("de %m"));

    // The canvas ignores the mouse meanwhile.
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    zvtest::clickAt(f.Picture8, Qt::LeftButton, QPointF(100, 100));
    EXPECT_EQ(sstv::g.TitlePlaceArmed, 0);
    EXPECT_EQ(f.Label1.size(), 1u);

    // A text the settings cannot hold keeps the editor open on its box.
    QTest::sendKeyEvent(QTest::Click, ed.Text1, Qt::Key_unknown, QStringLiteral(" €é"), {});
    ui::script::clearAsked();
    closeEditor();
    ASSERT_TRUE(forms::isLoaded<mojiinput>());
    EXPECT_EQ(ui::script::asked().value(0).prompt,
              QStringLiteral(
                  "「文字入力」の「€é」は設定ファイルに保存できない文字です。\n別の文字に直して下さい。"));
    EXPECT_EQ(ed.Text1->text(), QStringLiteral("de %m €é"));
    EXPECT_EQ(stored("SSTV_Gen", "TitleStr"), QStringLiteral("-"));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(ed.Text1, Qt::Key_Backspace);
    closeEditor();
    EXPECT_EQ(stored("SSTV_Gen", "TitleStr"), QStringLiteral("de %m"));
    EXPECT_EQ(sstv::g.TitleBarEditing, 0);
    // The next loading starts from the designer's layout; a line-mode close
    // leaves the stored title alone.
    EXPECT_TRUE(forms::mojiinput().Frame2->isEnabled());
    EXPECT_FALSE(forms::mojiinput().Frame3->isEnabled());
    forms::mojiinput().Text1->setText(QStringLiteral("other"));
    closeEditor();
    EXPECT_EQ(stored("SSTV_Gen", "TitleStr"), QStringLiteral("de %m"));
}

TEST_F(SstvTitleEditorTest, FontDialogCancelAppliesThePresetAndAFractionalSizeIsStored) {
    QLabel* line = placeTitle(QPoint(60, 60));
    ASSERT_TRUE(line);
    mojiinput& ed = editor();
    QTest::mouseClick(ed.Command1, Qt::LeftButton); // cancelled
    EXPECT_EQ(stored("FontCFG", "FntFRCLR"), QStringLiteral("16777215"));
    EXPECT_EQ(stored("FontCFG", "FntSIZE"), QStringLiteral("12"));
    EXPECT_EQ(stored("FontCFG", "FntNAME"), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(stored("FontCFG", "FntBOLD"), QStringLiteral("False"));
    EXPECT_EQ(stored("FontCFG", "FntITAL"), QStringLiteral("False"));

    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPointSizeF(10.5);
    chosen.setBold(true);
    ui::script::push(chosen);
    QTest::mouseClick(ed.Command1, Qt::LeftButton);
    EXPECT_EQ(stored("FontCFG", "FntSIZE"), QStringLiteral("10.5"));
    EXPECT_EQ(stored("FontCFG", "FntBOLD"), QStringLiteral("True"));
    EXPECT_EQ(stored("FontCFG", "FntNAME"), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(ed.VScroll1->value(), 10);
    EXPECT_EQ(sstv::titles.font.size, QStringLiteral("10")) << "the bar's change makes it whole";
    EXPECT_TRUE(ed.Check1->isChecked());
    EXPECT_TRUE(line->font().bold());
    EXPECT_EQ(line->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(ed.Label3->text(), QStringLiteral("10"));

    // A font whose name the settings cannot hold is refused at its chooser, whole.
    ui::script::clearAsked();
    ui::script::push(QFont(QStringLiteral("Z〜é€Mono")));
    QTest::mouseClick(ed.Command1, Qt::LeftButton);
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_EQ(
        ui::script::asked().back().prompt,
        QStringLiteral(
            "「フォント 種」の「〜é€」は設定ファイルに保存できない文字です。\n別の文字に直して下さい。"));
    EXPECT_EQ(line->font().family(), QStringLiteral("DejaVu Sans"));

    // The colour dialog's cancel gives back the colour the font dialog was preset with.
    QTest::mouseClick(ed.Command2, Qt::LeftButton);
    EXPECT_EQ(stored("FontCFG", "FntFRCLR"), QStringLiteral("16777215"));
    ui::script::push(QColor(255, 0, 0));
    QTest::mouseClick(ed.Command2, Qt::LeftButton);
    EXPECT_EQ(stored("FontCFG", "FntFRCLR"), QStringLiteral("255"));
    EXPECT_EQ(colour::foreColor(line), 255u);
}

TEST_F(SstvTitleEditorTest, ColourCancelWithoutADialogUsedGivesBlackAndTheBarColoursOnlyItsLabel) {
    SSTVForm& f = shown();
    titleBarOn();
    QTest::mouseClick(f.Picture14, Qt::LeftButton, {}, QPoint(200, 10));
    ui::script::push(QColor(0, 0, 255));
    QTest::mouseClick(editor().Command2, Qt::LeftButton);
    EXPECT_EQ(colour::foreColor(f.Label4), 0xFF0000u);
    EXPECT_EQ(stored("FontCFG", "FntFRCLR"), QStringLiteral("-")) << "nothing is stored in title-bar mode";
    closeEditor();

    QLabel* line = placeTitle(QPoint(60, 60));
    ASSERT_TRUE(line);
    QTest::mouseClick(editor().Command2, Qt::LeftButton);
    EXPECT_EQ(stored("FontCFG", "FntFRCLR"), QStringLiteral("0"));
}

TEST_F(SstvTitleEditorTest, FavouritesAreRegisteredOnceAndChosenFromTheList) {
    placeTitle(QPoint(60, 60));
    mojiinput& ed = editor();
    QTest::mouseClick(ed.Command10, Qt::RightButton);
    QTest::mouseClick(ed.Command10, Qt::RightButton);
    EXPECT_EQ(readFile(QStringLiteral("Font.DAT")),
              cp932::encode(QStringLiteral("ＭＳ Ｐゴシック  12  16777215  False  False\r\n")));
    // A name the favourites file cannot hold (one a UTF-8 settings file kept)
    // is refused at the button; the file stays.
    const QByteArray favourites = readFile(QStringLiteral("Font.DAT"));
    const QString kept = sstv::titles.font.name;
    sstv::titles.font.name = QStringLiteral("Z〜é€Mono");
    ui::script::clearAsked();
    QTest::mouseClick(ed.Command10, Qt::RightButton);
    EXPECT_TRUE(ui::script::asked().value(0).prompt.contains(
        QStringLiteral("「〜é€」はFont.DAT に保存できない文字です")));
    EXPECT_EQ(readFile(QStringLiteral("Font.DAT")), favourites);
    sstv::titles.font.name = kept;
    ed.List1->addItem(QStringLiteral("Short  9"));
    ed.List1->addItem(QStringLiteral("DejaVu Serif  20  65280  True  True"));
    QTest::mouseClick(ed.Command10, Qt::LeftButton);
    ASSERT_TRUE(ed.List1->isVisible());
    QTest::mouseClick(ed.List1->viewport(), Qt::LeftButton, {},
                      ed.List1->visualItemRect(ed.List1->item(1)).center());
    EXPECT_EQ(sstv::titles.font.name, QStringLiteral("ＭＳ Ｐゴシック")) << "a short entry is ignored";
    QTest::mouseClick(ed.Command10, Qt::LeftButton);
    QTest::mouseClick(ed.List1->viewport(), Qt::LeftButton, {},
                      ed.List1->visualItemRect(ed.List1->item(2)).center());
    EXPECT_EQ(sstv::titles.font.name, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(sstv::titles.font.color, QStringLiteral("65280"));
    EXPECT_TRUE(ed.Check1->isChecked());
    EXPECT_EQ(stored("FontCFG", "FntITAL"), QStringLiteral("True"));
    EXPECT_EQ(stored("FontCFG", "FntNAME"), QStringLiteral("-")) << "the name is not stored";
    EXPECT_EQ(ed.List1->toolTip(), QStringLiteral("Font=DejaVu Serif/Size=20"));
    EXPECT_FALSE(ed.List1->isVisible());
}

TEST_F(SstvTitleEditorTest, OutlinesAndGradientAreChosenAndKept) {
    QLabel* line = placeTitle(QPoint(60, 60));
    ASSERT_TRUE(line);
    mojiinput& ed = editor();
    QTest::mouseClick(ed.Option1[13], Qt::LeftButton);
    EXPECT_EQ(sstv::titles.SstvTitleOutline[1], 13);
    EXPECT_EQ(stored("BackColor", "MBCcode"), QStringLiteral("255"));
    EXPECT_EQ(stored("BackColor", "MBCmode"), QStringLiteral("1"));
    closeEditor();
    // Loading the editor again shows "無" but changes no line's outline.
    EXPECT_TRUE(forms::mojiinput().Option1[0]->isChecked());
    EXPECT_EQ(sstv::titles.SstvTitleOutline[1], 13);
    closeEditor();

    // Gradient: red becomes the running colour, green is moved, blue runs again.
    SSTVForm& f = shown();
    titleBarOn();
    QTest::mouseClick(f.Picture14, Qt::LeftButton, {}, QPoint(200, 10));
    mojiinput& bar = editor();
    QTest::mouseClick(bar.Option2[0], Qt::LeftButton);
    EXPECT_EQ(sstv::g.GradRed, 255);
    EXPECT_EQ(sstv::g.GradChannel, 0);
    EXPECT_FALSE(bar.GradBar[0]->isEnabled());
    EXPECT_EQ(bar.GradLabel[0]->text(), QStringLiteral("変"));
    bar.GradBar[1]->setValue(100);
    EXPECT_EQ(bar.GradLabel[1]->text(), QStringLiteral("100"));
    EXPECT_EQ(QColor(f.Picture14->canvas().pixel(0, 5)), QColor(255, 100, 255));
    QTest::mouseClick(bar.Option2[2], Qt::LeftButton);
    EXPECT_EQ(bar.GradBar[0]->value(), 155) << "red gets back its kept value";
    EXPECT_EQ(bar.GradBar[1]->value(), 100);
    closeEditor();
    EXPECT_EQ(stored("GradColor", "Grad_R"), QStringLiteral("155"));
    EXPECT_EQ(stored("GradColor", "Grad_G"), QStringLiteral("100"));
    EXPECT_EQ(stored("GradColor", "Grad_B"), QStringLiteral("255"));
    EXPECT_EQ(stored("GradColor", "FixPos"), QStringLiteral("2"));
}

TEST_F(SstvTitleEditorTest, StockTextsReplaceTheTextAndAreEditedInTheMacroList) {
    writeFile(QStringLiteral("MACmenu.DAT"), QByteArray());
    placeTitle(QPoint(60, 60));
    mojiinput& ed = editor();
    EXPECT_EQ(ed.List2->count(), 0) << "an empty file empties the list";
    closeEditor();
    EXPECT_EQ(readFile(QStringLiteral("MACmenu.DAT")), QByteArray());

    writeFile(QStringLiteral("MACmenu.DAT"), cp932::encode(QStringLiteral("  CQ %m  \r\n\r\nUR %r\r\n")));
    // The line placed but never typed lets the canvas place another.
    ASSERT_TRUE(placeTitle(QPoint(80, 80)));
    EXPECT_EQ(window().Label1.size(), 3u);
    forms::mojiinput().Text1->setText(QStringLiteral("old text"));
    QTest::mouseClick(forms::mojiinput().Command3, Qt::LeftButton);
    QListWidget* list = forms::mojiinput().List2;
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(forms::mojiinput().Text1->text(), QStringLiteral("UR %r"));
    EXPECT_FALSE(list->isVisible());

    QTest::mouseClick(forms::mojiinput().Command3, Qt::RightButton);
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    SSTVMACRO& macros = forms::SSTVMACRO();
    EXPECT_TRUE(macros.isVisible());
    EXPECT_TRUE(macros.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(macros.Text1->toPlainText(), QStringLiteral("CQ %m\nUR %r\n"));
    macros.Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(macros.Text1, QStringLiteral(" 73 %c"));
    chooseFromMenuBar(macros.menuBar, macros.MACcls);
    EXPECT_FALSE(forms::isLoaded<SSTVMACRO>());
    EXPECT_EQ(readFile(QStringLiteral("MACmenu.DAT")), QByteArray("  CQ %m  \r\n\r\nUR %r\r\n 73 %c\r\n"))
        << "the lines shown trimmed keep their blanks in the file";
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral(" 73 %c")) << "the editor's list takes it as it stands";
    EXPECT_NE(stored("SSTVMARO_POS", "TopPos"), QStringLiteral("-"));

    // A list that cannot be stored keeps the window and its text until it can.
    QTest::mouseClick(forms::mojiinput().Command3, Qt::RightButton);
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("MACmenu.DAT"))));
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("MACmenu.DAT"))));
    QTest::keyClicks(forms::SSTVMACRO().Text1, QStringLiteral("QRZ?"));
    ui::script::clearAsked();
    forms::SSTVMACRO().close();
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.startsWith(QStringLiteral("定型文を保存できませんでした")));
    EXPECT_TRUE(forms::SSTVMACRO().Text1->toPlainText().endsWith(QStringLiteral("QRZ?")));
    ASSERT_TRUE(QDir().rmdir(path(QStringLiteral("MACmenu.DAT"))));
    chooseFromMenuBar(forms::SSTVMACRO().menuBar, forms::SSTVMACRO().MACcls);
    EXPECT_FALSE(forms::isLoaded<SSTVMACRO>());
    EXPECT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(readFile(QStringLiteral("MACmenu.DAT")).endsWith("QRZ?\r\n"));

    // A text the file would give back as other characters keeps the window
    // open on it, the characters said; the wave dash goes as the file holds it.
    QTest::mouseClick(forms::mojiinput().Command3, Qt::RightButton);
    const QByteArray before = readFile(QStringLiteral("MACmenu.DAT"));
    forms::SSTVMACRO().Text1->moveCursor(QTextCursor::End);
    // A no-break space and a line separator are checked as typed, before the
    // plain text makes them a blank and a line break. The box has the keys again.
    QTest::sendKeyEvent(QTest::Click, forms::SSTVMACRO().Text1, Qt::Key_unknown,
                        QStringLiteral("TNX € QSO ¥ José\u00A0\u2028 〜"), {});
    // The message's closing hands the keys to the SSTV window, as the window
    // manager does.
    ui::script::whenAsked([](const ui::Asked&) {
        forms::SSTVForm().activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() == &forms::SSTVForm(); }));
    });
    ui::script::clearAsked();
    chooseFromMenuBar(forms::SSTVMACRO().menuBar, forms::SSTVMACRO().MACcls);
    ui::script::whenAsked({});
    ASSERT_TRUE(forms::isLoaded<SSTVMACRO>());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(
        ui::script::asked()[0].prompt,
        QStringLiteral("「マクロ文作成」の「€¥é[U+00A0][U+2028]」はMACmenu.DAT に保存できない文字です。\n"
                       "別の文字に直して下さい。"));
    EXPECT_EQ(readFile(QStringLiteral("MACmenu.DAT")), before);
    EXPECT_TRUE(forms::SSTVMACRO().Text1->toPlainText().endsWith(QStringLiteral("TNX € QSO ¥ José \n 〜")));
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() == &forms::SSTVMACRO(); }));
    EXPECT_EQ(QApplication::focusWidget(), forms::SSTVMACRO().Text1);
    for (int i = 0; i < 16; ++i)
        QTest::keyClick(forms::SSTVMACRO().Text1, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, forms::SSTVMACRO().Text1, Qt::Key_unknown, QStringLiteral("〜"), {});
    chooseFromMenuBar(forms::SSTVMACRO().menuBar, forms::SSTVMACRO().MACcls);
    EXPECT_FALSE(forms::isLoaded<SSTVMACRO>());
    EXPECT_TRUE(
        readFile(QStringLiteral("MACmenu.DAT")).endsWith(cp932::encode(QStringLiteral("TNX ～\r\n"))));
}

// Every list file of the SSTV window's editors, opened and closed with nothing
// changed, keeps every byte (read-only, it is not even tried); changed, every
// line the operator did not change keeps its bytes and its line end.
TEST_F(SstvTitleEditorTest, ListFilesKeepWhatTheOperatorDidNotChange) {
    const QByteArray nec("\x87\x90", 2); // ≒ of the NEC row: 81 E0 in the standard one
    const QByteArray ibm("\xED\x40", 2); // an IBM extension: FA 5C in the standard row
    const QByteArray bad("\x81\xFF", 2); // a byte pair no character stands for
    SSTVForm& f = shown();
    const QByteArray stock = "CQ " + nec + "\r\n\r\nde %m " + ibm + "\n" + bad + "\r\n";
    auto stockTextsEditor = [&] {
        placeTitle(QPoint(60, 60));
        QTest::mouseClick(editor().Command3, Qt::RightButton);
    };
    auto stockTextsClosed = [&] {
        chooseFromMenuBar(forms::SSTVMACRO().menuBar, forms::SSTVMACRO().MACcls);
        closeEditor();
    };
    QByteArray favourite;
    const struct {
        const char* what;
        QString file;
        QByteArray bytes;
        std::function<void()> open;
        std::function<void()> change;
        std::function<void()> close;
        std::function<QByteArray()> changed;
    } rows[] = {
        {"RSV list", QStringLiteral("RSVmenu.DAT"), "595\n579 FB " + nec + "\n\n" + ibm + "5\r\n",
         [&] { QTest::mouseClick(f.Command3, Qt::LeftButton); },
         [&] {
             QTest::keyClick(f.Text10, Qt::Key_End, Qt::ControlModifier);
             QTest::keyClicks(f.Text10, QStringLiteral("57"));
         },
         [&] { QTest::mouseClick(f.Command3, Qt::LeftButton); },
         [&] { return "595\n579 FB " + nec + "\n\n" + ibm + "5\r\n57\n"; }},
        {"stock texts in the text editor",
         QStringLiteral("MACmenu.DAT"),
         stock,
         [&] { placeTitle(QPoint(60, 60)); },
         {},
         [&] { closeEditor(); },
         {}},
        {"stock texts as one text", QStringLiteral("MACmenu.DAT"), stock, stockTextsEditor,
         [&] {
             forms::SSTVMACRO().Text1->moveCursor(QTextCursor::End);
             QTest::keyClicks(forms::SSTVMACRO().Text1, QStringLiteral(" 73 %c"));
         },
         stockTextsClosed, [&] { return stock + " 73 %c\r\n"; }},
        {"favourite fonts", QStringLiteral("Font.DAT"),
         cp932::encode(QStringLiteral("ＭＳ Ｐゴシック  12  16777215  False  False\r\n   \r\n")) + "Sym" +
             nec + "  10  0  True  False\n",
         [&] { placeTitle(QPoint(60, 60)); },
         [&] {
             QTest::mouseClick(editor().Check1, Qt::LeftButton);
             favourite = cp932::encode(sstv::FavouriteEntry(sstv::titles.font));
             QTest::mouseClick(editor().Command10, Qt::RightButton);
         },
         [&] { closeEditor(); },
         [&] {
             return cp932::encode(QStringLiteral("ＭＳ Ｐゴシック  12  16777215  False  False\r\n   \r\n")) +
                    "Sym" + nec + "  10  0  True  False\n" + favourite + "\r\n";
         }},
        {"RSV list of a long line", QStringLiteral("RSVmenu.DAT"), "595\r\n" + QByteArray(3000, 'A') + "\r\n",
         [&] { QTest::mouseClick(f.Command3, Qt::LeftButton); },
         [&] {
             EXPECT_LE(f.Text10->document()->findBlockByNumber(1).length(), ui::kShownLineChars + 1);
             QTest::keyClick(f.Text10, Qt::Key_End, Qt::ControlModifier);
             QTest::keyClicks(f.Text10, QStringLiteral("57"));
         },
         [&] { QTest::mouseClick(f.Command3, Qt::LeftButton); },
         [&] { return "595\r\n" + QByteArray(3000, 'A') + "\r\n57\r\n"; }},
        {"stock text of a long line", QStringLiteral("MACmenu.DAT"),
         "CQ\r\n" + QByteArray(3000, 'A') + "\r\n", [&] { placeTitle(QPoint(60, 60)); },
         [&] {
             QListWidget& list = *editor().List2;
             EXPECT_LT(list.sizeHintForColumn(0), list.fontMetrics().horizontalAdvance(QString(2000, 'A')));
         },
         [&] { closeEditor(); }, [&] { return "CQ\r\n" + QByteArray(3000, 'A') + "\r\n"; }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        writeFile(r.file, r.bytes);
        ASSERT_TRUE(QFile::setPermissions(path(r.file), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        ui::script::clearAsked();
        r.open();
        r.close();
        EXPECT_EQ(readFile(r.file).toHex(' '), r.bytes.toHex(' ')) << "closed unchanged";
        EXPECT_TRUE(ui::script::asked().isEmpty()) << ui::script::asked().value(0).prompt.toStdString();
        ASSERT_TRUE(QFile::setPermissions(path(r.file), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        if (!r.change) continue;
        r.open();
        r.change();
        r.close();
        EXPECT_EQ(readFile(r.file).toHex(' '), r.changed().toHex(' ')) << "changed";
    }
}

TEST_F(SstvTitleEditorTest, TheEditorOpensAtItsStoredPlace) {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    core::PutIniNumber(QStringLiteral("MojiInput_POS"), "TopPos", screen.height() * 15);
    core::PutIniNumber(QStringLiteral("MojiInput_POS"), "LeftPos", 1500);
    mojiinput& ed = editor();
    EXPECT_EQ(ed.pos(), QPoint(100, 0));
    ed.move(30, 45);
    closeEditor();
    EXPECT_EQ(stored("MojiInput_POS", "TopPos"), QStringLiteral("675"));
    EXPECT_EQ(stored("MojiInput_POS", "LeftPos"), QStringLiteral("450"));
}

TEST_F(SstvTitleEditorTest, TheLineIsPrintedOnTheSentPicture) {
    SSTVForm& f = shown();
    loadBackground(pictureFile(QStringLiteral("bg.bmp"), QSize(320, 256), QColor(0, 0, 0)));
    QLabel* line = placeTitle(QPoint(40, 100));
    ASSERT_TRUE(line);
    QTest::keyClicks(editor().Text1, QStringLiteral("WWWWWW"));
    clickTab(0);
    const QRect r = line->geometry();
    int lit = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QColor(f.Picture3->canvas().pixel(x, y)).lightness() > 200) ++lit;
    EXPECT_GT(lit, 10);
}

} // namespace

namespace {

// A title line covered by a picture box element drawn over it with the rubber
// band stays covered in the transmit picture, as on the canvas.
TEST_F(SstvTitleEditorTest, ATitleUnderAnElementStaysUnderItInTheSentPicture) {
    SSTVForm& f = shown();
    QLabel* line = placeTitle(QPoint(60, 60));
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(editor().Text1, QStringLiteral("TITLE UNDER"));
    closeEditor();
    ASSERT_EQ(line->text(), QStringLiteral("TITLE UNDER"));
    QTest::mouseClick(f.Command8, Qt::LeftButton);
    drag(f.Picture8, QPointF(20, 20), QPointF(250, 120));
    QTest::mouseClick(f.Command8, Qt::LeftButton);
    ASSERT_EQ(f.Picture13.size(), 1);
    PictureBox* element = f.Picture13.first();
    ASSERT_TRUE(element->geometry().contains(line->geometry()));

    clickTab(0);
    const QRect cover = element->geometry();
    int differing = 0;
    for (int y = cover.top(); y <= cover.bottom(); ++y)
        for (int x = cover.left(); x <= cover.right(); ++x)
            differing += f.Picture3->canvas().pixel(x, y) !=
                         element->canvas().pixel(x - cover.left(), y - cover.top());
    EXPECT_EQ(differing, 0) << "the element covers the title in the transmit picture";
}

// An end by a signal while the editor holds typed text and its list file
// cannot be written: the box that the unload raises is shown to nobody, its
// text goes to the standard error and the run ends.
TEST_F(SstvTitleEditorTest, ASignalEndsPastTheBoxTheUnloadRaises) {
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("MACmenu.DAT"))));
    placeTitle(QPoint(60, 60));
    QTest::keyClicks(editor().Text1, QStringLiteral("CQ de QQ1TST"));
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&] { ++ends; });
    const endsignals::Watch watch;
    QObject::connect(&watch, &endsignals::Watch::ended, [] { app::endBySignal(); });
    ui::script::end(); // the boxes as the operator gets them
    bool boxShown = false;
    QTimer lateBox;
    lateBox.setSingleShot(true);
    QObject::connect(&lateBox, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) boxShown = box->close();
    });
    lateBox.start(2000);
    QTemporaryFile said;
    ASSERT_TRUE(said.open());
    std::fflush(stderr);
    const int standardError = ::dup(2);
    ::dup2(said.handle(), 2);
    ::raise(SIGTERM);
    const bool ended = zvtest::waitUntil([&] { return ends == 1; });
    std::fflush(stderr);
    ::dup2(standardError, 2);
    ::close(standardError);
    terminal::mainwindow::setProcessEndForTest({});
    EXPECT_TRUE(ended);
    EXPECT_FALSE(boxShown);
    EXPECT_FALSE(forms::isLoaded<mojiinput>());
    EXPECT_FALSE(forms::isLoaded<SSTVForm>());
    QFile written(said.fileName());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(written.readAll()).contains(QStringLiteral("定型文を保存できませんでした")));
}

} // namespace
