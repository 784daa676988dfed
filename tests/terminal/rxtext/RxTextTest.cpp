// The received-text viewer and the main window's items for received text and
// the memo pad, on Shift-JIS files in a temporary program folder, driven by
// the menus the operator uses.
#include "terminal/transmit/TxFixture.h"

#include "core/ini/IniValues.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShownLines.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/receive/RxPicking.h"
#include "terminal/rxtext/RCVDAT.h"
#include "terminal/rxtext/RxTextFormat.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {

using terminal::rxtext::g;

class RxText : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        g = {};
        terminal::receive::g = {};
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        TxTest::TearDown();
    }
    QString sub(const QString& name) const {
        QDir(folder()).mkpath(name);
        return path(name);
    }
    static QString ini(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key))
            .value_or(QStringLiteral("-"));
    }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    RCVDAT& viewer() {
        RCVDAT& v = forms::RCVDAT();
        v.show();
        EXPECT_TRUE(zvtest::waitExposed(&v));
        return v;
    }
    static bool closeBox(QWidget& window) {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject&>(window).event(&e);
        return e.isAccepted();
    }
    static QPoint placeOf(RichTextPane* pane, int pos) {
        QTextCursor c(pane->document());
        c.setPosition(pos);
        return pane->cursorRect(c).center();
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(RxText, TheViewerOpensAtItsStoredPlaceOrTheTopLeftCorner) {
    struct Case {
        const char* name;
        const char* keys;
        QPoint at;
        int width;
    } cases[] = {
        {"nothing stored", "", {0, 0}, 728},
        {"a stored place", "RCVPOSTop=1500\nRCVPOSLeft=3000\nRCVPOSWidth=9000\n", {200, 100}, 600},
        {"a place that is no number", "RCVPOSTop=1500\nRCVPOSLeft=abc\nRCVPOSWidth=9000\n", {0, 0}, 728},
        {"the top alone", "RCVPOSTop=1500\n", {0, 0}, 728},
        {"a place off the screen", "RCVPOSTop=99999\nRCVPOSLeft=-300\nRCVPOSWidth=9000\n", {0, 0}, 600},
        {"wider than the screen", "RCVPOSTop=1500\nRCVPOSLeft=3000\nRCVPOSWidth=99999999\n", {0, 0}, 728},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(QStringLiteral("[CFGPOS]\n") + QString::fromLatin1(c.keys));
        RCVDAT& v = forms::RCVDAT();
        EXPECT_EQ(v.pos(), c.at);
        // The stored width is the outer one, frame included.
        EXPECT_EQ(v.width() + winframe::framePx(&v).width(), c.width);
        EXPECT_EQ(v.windowTitle(), QStringLiteral("受信ﾃﾞｰﾀ表示"));
        EXPECT_EQ(g.RcvViewerOpen, 1);
        forms::unload<RCVDAT>();
        EXPECT_EQ(g.RcvViewerOpen, 0);
    }
}

TEST_F(RxText, TheViewerKeepsItsNormalPlaceAndItsBoxFillsIt) {
    RCVDAT& v = viewer();
    v.move(30, 45);
    const int frame = winframe::framePx(&v).width();
    v.resize(600 - frame, 300);
    ASSERT_TRUE(zvtest::waitUntil([&] { return v.Text1->width() == 600 - frame - 9; }));
    EXPECT_EQ(v.Text1->height(), v.centralWidget()->height() - 2);
    forms::unload<RCVDAT>();
    EXPECT_EQ(ini("CFGPOS", "RCVPOSTop"), QStringLiteral("675"));
    EXPECT_EQ(ini("CFGPOS", "RCVPOSLeft"), QStringLiteral("450"));
    EXPECT_EQ(ini("CFGPOS", "RCVPOSWidth"), QStringLiteral("9000"));

    RCVDAT& again = viewer();
    EXPECT_EQ(again.pos(), QPoint(30, 45));
    again.showMaximized();
    forms::unload<RCVDAT>();
    EXPECT_EQ(ini("CFGPOS", "RCVPOSTop"), QStringLiteral("675")) << "a maximised viewer stores nothing";
}

TEST_F(RxText, DeletingTheViewedFileAsksFirst) {
    const QString file = path(QStringLiteral("0612.TXT"));
    write(file, "old QSO\r\n");
    g.ViewedFilePath = file;
    RCVDAT& v = viewer();
    v.Text1->setPlainText(QStringLiteral("old QSO\n"));

    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.DELRCVDAT));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt,
              file + QStringLiteral("\r\nこのデータを本当に消去（削除）しても宜しいですね？！"));
    EXPECT_EQ(ui::script::asked().front().style, ui::YesNo | ui::Exclamation);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(v.Text1->toPlainText(), QStringLiteral("old QSO\n"));

    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.DELRCVDAT));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(v.Text1->toPlainText().isEmpty());

    // A file that is gone already still empties the box.
    v.Text1->setPlainText(QStringLiteral("again"));
    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.DELRCVDAT));
    EXPECT_TRUE(v.Text1->toPlainText().isEmpty());
}

TEST_F(RxText, ClosingTheViewerKeepsItsTextAsTheMemoOfTheReceivedDataFolder) {
    const QString rcv = sub(QStringLiteral("rcv"));
    writeIni(QStringLiteral("[PSKCFG]\nRCVDFOL=") + rcv + QStringLiteral("\n"));
    for (bool byCloseBox : {false, true}) {
        SCOPED_TRACE(byCloseBox);
        RCVDAT& v = viewer();
        v.Text1->setPlainText(QStringLiteral("移動運用 QQ1XYZ/P\n山の上から"));
        if (byCloseBox)
            EXPECT_TRUE(closeBox(v));
        else
            ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.RDEND));
        EXPECT_FALSE(forms::isLoaded<RCVDAT>());
        EXPECT_EQ(g.RcvViewerOpen, 0);
        EXPECT_EQ(read(paths::join(rcv, QStringLiteral("PSKMEMO.DAT"))),
                  cp932::encode(QStringLiteral("移動運用 QQ1XYZ/P\r\n山の上から\r\n")));
        EXPECT_EQ(read(path(QStringLiteral("PSKMEMO.DAT"))), QByteArray("<none>"));
        QFile::remove(paths::join(rcv, QStringLiteral("PSKMEMO.DAT")));
    }
    // A text the memo pad would give back as other characters keeps the viewer
    // open on it, the characters said; the wave dash goes as the file holds it.
    const QString memo = paths::join(rcv, QStringLiteral("PSKMEMO.DAT"));
    RCVDAT& v = viewer();
    // A no-break space is checked as typed, before the plain text makes it a blank.
    v.Text1->setPlainText(QStringLiteral("MEMO € ¥ José\u00A0〜"));
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.RDEND));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt,
              QStringLiteral("「受信ﾃﾞｰﾀ表示」の「€¥é[U+00A0]」はPSKMEMO.DAT に保存できない文字です。\n"
                             "別の文字に直して下さい。"));
    EXPECT_EQ(v.Text1->toPlainText(), QStringLiteral("MEMO € ¥ José 〜"));
    EXPECT_EQ(read(memo), QByteArray("<none>"));
    v.Text1->setPlainText(QStringLiteral("MEMO 〜"));
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.RDEND));
    EXPECT_EQ(read(memo), cp932::encode(QStringLiteral("MEMO ～\r\n")));
    QFile::remove(memo);
    // Unloaded by the program, it writes nothing.
    viewer().Text1->setPlainText(QStringLiteral("kept nowhere"));
    forms::unload<RCVDAT>();
    EXPECT_FALSE(QFile::exists(paths::join(rcv, QStringLiteral("PSKMEMO.DAT"))));
}

// Bytes another program wrote that stand for no character in Shift-JIS: the
// memo closed unchanged keeps them; changed, they are named and asked about.
TEST_F(RxText, AMemoWithBytesTheProgramDidNotWriteClosesUnchangedAndAsksWhenChanged) {
    const QByteArray foreign("QQ1 \xFD 73\r\n");
    writeFile(QStringLiteral("PSKMEMO.DAT"), foreign);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    EXPECT_TRUE(closeBox(forms::RCVDAT()));
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(readFile(QStringLiteral("PSKMEMO.DAT")), foreign);

    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    RCVDAT& v = forms::RCVDAT();
    QTest::keyClick(v.Text1, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(v.Text1, QStringLiteral("X"));
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.RDEND));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>()) << "No keeps the viewer and its text";
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked()[0].prompt.contains(QStringLiteral("\r\nFD\r\n")))
        << ui::script::asked()[0].prompt.toStdString();
    EXPECT_EQ(readFile(QStringLiteral("PSKMEMO.DAT")), foreign);
    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.RDEND));
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());
    EXPECT_TRUE(readFile(QStringLiteral("PSKMEMO.DAT")).startsWith("XQQ1 ? 73\r\n"));

    // Saved as received data, the bytes are said as at the close, never taken
    // for a character typed.
    writeFile(QStringLiteral("PSKMEMO.DAT"), foreign);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    RCVDAT& again = forms::RCVDAT();
    ui::script::clearAsked();
    ui::script::push(ui::Yes);
    ui::script::push(path(QStringLiteral("copy.TXT")));
    ASSERT_TRUE(zvtest::chooseInMenuBar(again.menuBar(), again.RCVMEMO));
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_TRUE(ui::script::asked()[0].prompt.endsWith(QStringLiteral("\r\nFD\r\nこのまま保存しますか？")))
        << ui::script::asked()[0].prompt.toStdString();
    EXPECT_EQ(readFile(QStringLiteral("copy.TXT")), QByteArray("QQ1 ? 73\r\n\r\n"));

    // A memo line added after the operator's edit leaves the text changed.
    QTest::keyClick(again.Text1, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(again.Text1, QStringLiteral("Y"));
    core::g.DataCaptureOn = 0;
    w->RichTextBox1->setText(QStringLiteral("de QQ9AAA k"));
    w->RichTextBox1->setSelStart(3);
    w->RichTextBox1->setSelLength(6);
    ASSERT_TRUE(zvtest::chooseByClick(w->RichTextBox1->viewport(), w->MEMOW));
    ui::script::clearAsked();
    ui::script::push(ui::No);
    EXPECT_FALSE(closeBox(again));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>()) << "the edit is asked about, not dropped";
    EXPECT_EQ(ui::script::asked().size(), 1);
}

TEST_F(RxText, AMemoThatCannotBeWrittenKeepsTheViewerOpen) {
    // A folder where the memo file should be: not even root can write it.
    QDir(folder()).mkpath(QStringLiteral("PSKMEMO.DAT"));
    RCVDAT& v = viewer();
    v.Text1->setPlainText(QStringLiteral("not lost"));
    EXPECT_FALSE(closeBox(v));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt,
              QStringLiteral("メモ帳を保存できませんでした。\r\n") + path(QStringLiteral("PSKMEMO.DAT")));
    EXPECT_EQ(v.Text1->toPlainText(), QStringLiteral("not lost"));
    EXPECT_EQ(g.RcvViewerOpen, 1);
}

TEST_F(RxText, MemoItemsAppendTheTrimmedTextToTheMemoPadAndTheOpenViewer) {
    RCVDAT& v = viewer();
    v.Text1->setPlainText(QStringLiteral("earlier\n"));
    // The selection "  QQ9AAA  " through the selection pop-up.
    core::g.DataCaptureOn = 0;
    w->RichTextBox1->setText(QStringLiteral("de  QQ9AAA  k"));
    w->RichTextBox1->setSelStart(2);
    w->RichTextBox1->setSelLength(10);
    ASSERT_TRUE(zvtest::chooseByClick(w->RichTextBox1->viewport(), w->MEMOW));
    EXPECT_EQ(readFile(QStringLiteral("PSKMEMO.DAT")), QByteArray("QQ9AAA\r\n"));
    EXPECT_EQ(v.Text1->toPlainText(), QStringLiteral("earlier\nQQ9AAA\n"));
    EXPECT_TRUE(clipboard().isEmpty());
    EXPECT_EQ(w->RichTextBox1->selStart(), w->RichTextBox1->length());
    EXPECT_EQ(w->focusWidget(), w->Text1);

    // A picked word through the word pop-up.
    core::g.DataCaptureOn = 1;
    w->RichTextBox1->setText(QStringLiteral("名前は 太郎 です"));
    QMenu* words =
        zvtest::popupByClick(w->RichTextBox1->viewport(), Qt::LeftButton, placeOf(w->RichTextBox1, 5));
    ASSERT_EQ(words, w->GETDATOTHER);
    ASSERT_TRUE(zvtest::chooseInPopup(words, w->PSTMEMO));
    EXPECT_EQ(readFile(QStringLiteral("PSKMEMO.DAT")), cp932::encode(QStringLiteral("QQ9AAA\r\n太郎\r\n")));
    EXPECT_EQ(v.Text1->toPlainText(), QStringLiteral("earlier\nQQ9AAA\n太郎\n"));
    EXPECT_TRUE(clipboard().isEmpty());

    // With the viewer closed only the file changes; an empty clipboard writes an empty line.
    forms::unload<RCVDAT>();
    QGuiApplication::clipboard()->clear();
    core::g.DataCaptureOn = 0;
    w->RichTextBox1->setText(QStringLiteral("x y"));
    w->RichTextBox1->setSelStart(1);
    w->RichTextBox1->setSelLength(1);
    ASSERT_TRUE(zvtest::chooseByClick(w->RichTextBox1->viewport(), w->MEMOW));
    EXPECT_TRUE(
        readFile(QStringLiteral("PSKMEMO.DAT")).endsWith(cp932::encode(QStringLiteral("太郎\r\n\r\n"))));
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());
}

TEST_F(RxText, TheReceivePaneIsSavedWhereTheOperatorChooses) {
    sysclock::setUtcForTest(QDateTime(QDate(2026, 12, 5), QTime(5, 5), Qt::UTC));
    const QString rcv = sub(QStringLiteral("rcv"));
    w->RichTextBox1->setText(QStringLiteral("CQ de QQ9ABC\nこんにちは"));

    ui::script::push(QVariant()); // cancelled
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RSAVE));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().front().prompt, path(QStringLiteral("ZORVAT_2612051405")));
    EXPECT_EQ(ui::script::asked().front().title, QStringLiteral("受信ﾃﾞｰﾀ保存"));
    EXPECT_EQ(ini("PSKCFG", "RCVDFOL"), QStringLiteral("-"));
    EXPECT_EQ(QDir(folder()).entryList({QStringLiteral("*.TXT")}, QDir::Files).size(), 0);

    ui::script::push(paths::join(rcv, QStringLiteral("evening")));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RSAVE));
    const QString saved = paths::join(rcv, QStringLiteral("evening.TXT"));
    EXPECT_EQ(read(saved), cp932::encode(QStringLiteral("CQ de QQ9ABC\r\nこんにちは\r\n")));
    EXPECT_EQ(ini("PSKCFG", "RCVDFOL"), rcv);
    EXPECT_EQ(g.ViewedFilePath, saved);

    // The next dialog starts in that folder; a place that cannot be written says so.
    ui::script::clearAsked();
    const QString nowhere = path(QStringLiteral("gone/x.TXT"));
    ui::script::push(nowhere);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RSAVE));
    ASSERT_EQ(ui::script::asked().size(), 2);
    EXPECT_EQ(ui::script::asked()[0].prompt, paths::join(rcv, QStringLiteral("ZORVAT_2612051405")));
    EXPECT_EQ(ui::script::asked()[1].prompt,
              QStringLiteral("受信データを保存できませんでした。\r\n") + nowhere);
    EXPECT_EQ(ini("PSKCFG", "RCVDFOL"), rcv);

    // A folder the settings cannot name: the file is saved all the same and
    // the folder is not remembered, which is said once.
    const QString euro = sub(QStringLiteral("€"));
    for (int time = 0; time < 2; ++time) {
        ui::script::clearAsked();
        ui::script::push(paths::join(euro, QStringLiteral("night")));
        ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RSAVE));
        EXPECT_EQ(read(paths::join(euro, QStringLiteral("night.TXT"))),
                  cp932::encode(QStringLiteral("CQ de QQ9ABC\r\nこんにちは\r\n")));
        ASSERT_EQ(ui::script::asked().size(), time == 0 ? 2 : 1);
    }
    EXPECT_EQ(ini("PSKCFG", "RCVDFOL"), rcv);

    // A line received without a break, shown in parts, is saved whole.
    w->RichTextBox1->setText(QString(2500, QLatin1Char('A')));
    ui::script::push(paths::join(rcv, QStringLiteral("long")));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RSAVE));
    EXPECT_EQ(read(paths::join(rcv, QStringLiteral("long.TXT"))), QByteArray(2500, 'A') + "\r\n");
}

TEST_F(RxText, AReceivedDataFileOpensIntoTheViewerAfterItsText) {
    const QString logs = sub(QStringLiteral("logs"));
    const QString file = paths::join(logs, QStringLiteral("old.log"));
    write(file, cp932::encode(QStringLiteral("QQ5DEF de QQ7GHI\nNAME IS TOM\n移動中")) + "\xff\r\n");
    forms::RCVDAT().Text1->setPlainText(QStringLiteral("earlier\n"));
    ui::script::push(file);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RDRCVDAT));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>());
    EXPECT_TRUE(forms::RCVDAT().isVisible());
    EXPECT_EQ(forms::RCVDAT().Text1->toPlainText(),
              QStringLiteral("earlier\nQQ5DEF de QQ7GHI\nNAME IS TOM\n移動中\ufffd\n"));
    EXPECT_EQ(g.ViewedFilePath, file);
    EXPECT_EQ(ini("PSKCFG", "RCVDFOL"), logs);
    EXPECT_EQ(ui::script::asked().front().prompt, folder()) << "the dialog starts in the program folder";

    // A file that is not there says so and leaves the viewer as it is.
    forms::unload<RCVDAT>();
    ui::script::clearAsked();
    ui::script::push(paths::join(logs, QStringLiteral("missing.TXT")));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RDRCVDAT));
    EXPECT_EQ(ui::script::asked().front().prompt, logs);
    EXPECT_EQ(ui::script::asked().back().prompt, QStringLiteral("受信データを読み込めませんでした。\r\n") +
                                                     paths::join(logs, QStringLiteral("missing.TXT")));
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());

    // Nor does a file of another kind go into the viewer as noise; the message says why.
    const QString sound = paths::join(logs, QStringLiteral("REC.TXT"));
    write(sound, QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0", 24));
    ui::script::clearAsked();
    ui::script::push(sound);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RDRCVDAT));
    EXPECT_EQ(ui::script::asked().back().prompt,
              QStringLiteral("受信データを読み込めませんでした（テキストファイルではありません）。\r\n") +
                  sound);
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());

    // A file saved as UTF-8 with its mark reads as what it says.
    const QString utf8 = paths::join(logs, QStringLiteral("utf8.TXT"));
    write(utf8, "\xEF\xBB\xBF" + QStringLiteral("こんにちは QQ1XYZ\r\n").toUtf8());
    ui::script::push(utf8);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RDRCVDAT));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>());
    EXPECT_EQ(forms::RCVDAT().Text1->toPlainText(), QStringLiteral("こんにちは QQ1XYZ\n"));
}

TEST_F(RxText, TheMemoPadOpensOrIsMadeOnRequest) {
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    EXPECT_EQ(ui::script::asked().front().prompt,
              QStringLiteral("メモ帳がOPEN出来ませんでした。新しく作成しますか？"));
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("PSKMEMO.DAT"))));

    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("PSKMEMO.DAT"))));
    ASSERT_TRUE(forms::isLoaded<RCVDAT>());
    EXPECT_TRUE(forms::RCVDAT().isVisible());
    EXPECT_TRUE(forms::RCVDAT().Text1->toPlainText().isEmpty());
    forms::unload<RCVDAT>();

    writeFile(QStringLiteral("PSKMEMO.DAT"), cp932::encode(QStringLiteral("QQ9AAA\r\n太郎\r\n")));
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(forms::RCVDAT().Text1->toPlainText(), QStringLiteral("QQ9AAA\n太郎\n"));

    // Too many lines to show at once: said, and not offered to be made anew.
    forms::unload<RCVDAT>();
    writeFile(QStringLiteral("PSKMEMO.DAT"), QByteArray("\r\n").repeated(50001));
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->MEMOR));
    EXPECT_EQ(ui::script::asked().value(0).prompt,
              QStringLiteral("メモ帳を読み込めませんでした（ファイルが大きすぎます）。\r\n") +
                  path(QStringLiteral("PSKMEMO.DAT")));
    EXPECT_FALSE(forms::isLoaded<RCVDAT>());
}

// A line of any length opens at once: it is shown in paragraphs of a bounded
// length, and the memo written back holds the line as it was, with only what
// the operator did: a character and a line break typed, a shown break deleted,
// a long line pasted.
TEST_F(RxText, ALongLineIsShownInPartsAndWrittenBackWhole) {
    QString line = QStringLiteral("CQ DE QQ9ABC 移動 ").repeated(120) + QString(3000, QChar(0x30A2));
    const QString pasted(2500, QLatin1Char('B'));
    const QByteArray bytes =
        cp932::encode(QStringLiteral("QQ9AAA\r\n") + line + QStringLiteral("\r\nEND\r\n"));
    for (QAction* item : {w->MEMOR, w->RDRCVDAT}) {
        SCOPED_TRACE(item->text().toStdString());
        writeFile(QStringLiteral("PSKMEMO.DAT"), bytes);
        write(path(QStringLiteral("night.TXT")), bytes);
        ui::script::push(path(QStringLiteral("night.TXT")));
        ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), item));
        RCVDAT& v = forms::RCVDAT();
        QTextDocument& d = *v.Text1->document();
        for (QTextBlock b = d.firstBlock(); b.isValid(); b = b.next())
            ASSERT_LE(b.length(), ui::kShownLineChars + 1) << b.blockNumber();
        const int x = d.findBlockByNumber(1).length() - 1;
        const int enter = x + d.findBlockByNumber(2).length() - 1;
        auto keyAt = [&](int block, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            if (block >= 0) v.Text1->setTextCursor(QTextCursor(d.findBlockByNumber(block)));
            QTest::keyClick(v.Text1, key, modifiers);
        };
        keyAt(5, Qt::Key_Backspace);
        keyAt(-1, Qt::Key_Z, Qt::ControlModifier); // no undo: it would bring the break back as a real one
        keyAt(3, Qt::Key_Return);
        keyAt(2, Qt::Key_X);
        QGuiApplication::clipboard()->setText(pasted);
        keyAt(d.blockCount() - 1, Qt::Key_V, Qt::ControlModifier);
        EXPECT_LE(d.lastBlock().length(), ui::kShownLineChars + 1);
        ASSERT_TRUE(zvtest::chooseInMenuBar(v.menuBar(), v.RDEND));
        line.insert(enter, QStringLiteral("\r\n")).insert(x, QLatin1Char('x'));
        EXPECT_EQ(read(path(QStringLiteral("PSKMEMO.DAT"))),
                  cp932::encode(QStringLiteral("QQ9AAA\r\n%1\r\nEND\r\n%2\r\n").arg(line, pasted)));
        line.remove(x, 1).remove(enter, 2);
    }
}

TEST_F(RxText, AltRKeepsThePaneInTheProgramFolderWhenTheReceivedDataFolderIsGone) {
    writeIni(QStringLiteral("[PSKCFG]\nRCVDFOL=") + path(QStringLiteral("gone")) + QStringLiteral("\n"));
    w->RichTextBox1->setText(QStringLiteral("QQ9ABC de QQ1XYZ"));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RXBC));
    EXPECT_EQ(readFile(QStringLiteral("NENNOTAMELOG_B4clr.TXT")), QByteArray("QQ9ABC de QQ1XYZ\r\n"));
    EXPECT_TRUE(w->RichTextBox1->text().isEmpty());
    w->RichTextBox1->setText(QString(2500, QLatin1Char('A')));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->RXBC));
    EXPECT_EQ(readFile(QStringLiteral("NENNOTAMELOG_B4clr.TXT")), QByteArray(2500, 'A') + "\r\n");
}

} // namespace
