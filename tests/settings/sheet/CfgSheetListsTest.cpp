// The log tab's list editors: the RST list beside the main window's RST box
// and the extra modes of the log entry window, edited in the sheet and
// written whole to their files.
#include "settings/SheetFixture.h"

#include "core/lists/ListFiles.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/os/Cp932.h"

#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QListWidget>

namespace {

class CfgSheetLists : public sheettest::SheetTest {
  protected:
    CFGSHEET& openLogTab() {
        CFGSHEET& s = open();
        showTab(s, 2);
        return s;
    }
    // Empties the box and types the lines into it, as the operator does.
    static void typeLines(QPlainTextEdit* box, const QStringList& lines) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, lines[i]);
        }
    }
    static QStringList items(QListWidget* list) {
        QStringList all;
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    }
};

TEST_F(CfgSheetLists, RstListIsEditedAndFillsTheMainWindowsList) {
    CFGSHEET& s = openLogTab();
    writeFile(QStringLiteral("RSTmenu.DAT"), "599\r\n 579\r\n\r\n");
    ASSERT_FALSE(s.Text10->isVisible());
    press(s.Command15);
    EXPECT_TRUE(s.Text10->isVisible());
    EXPECT_EQ(s.Command15->text(), QStringLiteral("RST set完了"));
    EXPECT_EQ(s.Text10->toPlainText(), QStringLiteral("599\n 579\n")) << "each line whole, as stored";

    typeLines(s.Text10, {QStringLiteral("599"), QStringLiteral("579"), QString(), QStringLiteral("5995"),
                         QStringLiteral(" 559")});
    // Lines longer than the list takes are said first; No goes back to the box.
    ui::script::push(ui::No);
    press(s.Command15);
    EXPECT_EQ(lastAsked().prompt, QStringLiteral("RSTの一覧には各行の先頭3文字だけが使われます:\r\n"
                                                 "5995 → 599\r\n 559 → 55\r\n"
                                                 "行はこのまま保存します。よろしいですか？"));
    EXPECT_TRUE(s.Text10->isVisible());
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), QByteArray("599\r\n 579\r\n\r\n"));
    ui::script::push(ui::Yes);
    press(s.Command15);
    EXPECT_FALSE(s.Text10->isVisible());
    EXPECT_EQ(s.Command15->text(), QStringLiteral("RST menuset"));
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), QByteArray("599\r\n579\r\n\r\n5995\r\n 559\r\n"));
    EXPECT_EQ(items(main->List4), (QStringList{"599", "579", "599", "55"}));

    // An empty list writes one empty line and empties the pick list.
    press(s.Command15);
    typeLines(s.Text10, {});
    press(s.Command15);
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), QByteArray("\r\n"));
    EXPECT_EQ(main->List4->count(), 0);

    // A fourth character stored is kept: shown, left alone and stored as it was.
    const QByteArray stored = cp932::encode(QStringLiteral("5NN〜\r\n599"));
    writeFile(QStringLiteral("RSTmenu.DAT"), stored);
    press(s.Command15);
    EXPECT_EQ(s.Text10->toPlainText(), QStringLiteral("5NN～\n599\n"));
    press(s.Command15);
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), stored) << "left unchanged, the file keeps its bytes";
    EXPECT_EQ(items(main->List4), (QStringList{"5NN", "599"}));
    press(s.Command15);
    QTest::keyClick(s.Text10, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(s.Text10, QStringLiteral("579"));
    press(s.Command15);
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")),
              cp932::encode(QStringLiteral("5NN～\r\n599\r\n579\r\n")));

    // The sheet's close box with the editor open keeps what was typed, as 設定完了 does.
    press(s.Command15);
    QTest::keyClick(s.Text10, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(s.Text10, QStringLiteral("559"));
    EXPECT_TRUE(s.close());
    EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
    EXPECT_TRUE(readFile(QStringLiteral("RSTmenu.DAT")).endsWith("579\r\n559\r\n"));
}

TEST_F(CfgSheetLists, ModeListStartsEmptyWithoutItsFileAndTakesCapitals) {
    CFGSHEET& s = openLogTab();
    ASSERT_FALSE(QFile::exists(path(QStringLiteral("otherMODE.DAT"))));
    press(s.Command16);
    EXPECT_TRUE(s.Text12->isVisible());
    EXPECT_EQ(s.Command16->text(), QStringLiteral("MODEset完了"));
    EXPECT_TRUE(s.Text12->toPlainText().isEmpty());
    EXPECT_TRUE(ui::script::asked().isEmpty()) << "a missing file is no error";

    typeLines(s.Text12,
              {QStringLiteral("psk63"), QStringLiteral("  mfsk16"), QStringLiteral("olivia-8-500")});
    press(s.Command16);
    EXPECT_EQ(s.Command16->text(), QStringLiteral("other MODE"));
    EXPECT_EQ(readFile(QStringLiteral("otherMODE.DAT")), QByteArray("PSK63\r\n  MFSK16\r\nOLIVIA-8-500\r\n"));
    ASSERT_TRUE(forms::isLoaded<TEMP_LOG>()) << "the log entry window is loaded to take the list";
    EXPECT_EQ(items(forms::TEMP_LOG().List1), (QStringList{"PSK63", "MFSK16", "OLIVIA-8-500"}));

    // Opened again, the editor shows the file as the list reads it.
    press(s.Command16);
    EXPECT_EQ(s.Text12->toPlainText(), QStringLiteral("PSK63\nMFSK16\nOLIVIA-8-500\n"));
}

TEST_F(CfgSheetLists, ShiftJisTextSurvivesTheEditor) {
    CFGSHEET& s = openLogTab();
    writeFile(QStringLiteral("otherMODE.DAT"), cp932::encode(QStringLiteral("ＲＴＴＹ\r\n")));
    press(s.Command16);
    EXPECT_EQ(s.Text12->toPlainText(), QStringLiteral("ＲＴＴＹ\n"));
    // Full-width text comes from the input method.
    QTest::keyClick(s.Text12, Qt::Key_End, Qt::ControlModifier);
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("ＦＳＫ"));
    QCoreApplication::sendEvent(s.Text12, &typed);
    press(s.Command16);
    EXPECT_EQ(readFile(QStringLiteral("otherMODE.DAT")),
              cp932::encode(QStringLiteral("ＲＴＴＹ\r\nＦＳＫ\r\n")));

    // A character Shift-JIS lacks, or would give back as another, keeps the
    // editor open on it; nothing is written. The wave dash goes as the file
    // holds it.
    const QByteArray saved = cp932::encode(QStringLiteral("ＲＴＴＹ\r\nＦＳＫ\r\n"));
    press(s.Command16);
    QTest::keyClick(s.Text12, Qt::Key_Home, Qt::ControlModifier);
    // A no-break space and a line separator are checked as typed, before the
    // plain text makes them a blank and a line break (an entry of its own).
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("€"), QStringLiteral("€")},
        {QStringLiteral("¥"), QStringLiteral("¥")},
        {QString(QChar(0x00A0)), QStringLiteral("[U+00A0]")},
        {QString(QChar::LineSeparator), QStringLiteral("[U+2028]")}};
    for (const auto& [c, shown] : refused) {
        QTest::sendKeyEvent(QTest::Click, s.Text12, Qt::Key_unknown, c, {});
        press(s.Command16);
        EXPECT_EQ(lastAsked().prompt, QStringLiteral("「other MODE」の「") + shown +
                                          QStringLiteral("」はotherMODE.DAT に保存できない文字です。\n"
                                                         "別の文字に直して下さい。"));
        EXPECT_TRUE(s.Text12->isVisible());
        EXPECT_EQ(s.focusWidget(), s.Text12);
        EXPECT_EQ(readFile(QStringLiteral("otherMODE.DAT")), saved);
        QTest::keyClick(s.Text12, Qt::Key_Backspace);
    }
    QTest::sendKeyEvent(QTest::Click, s.Text12, Qt::Key_unknown, QStringLiteral("〜"), {});
    press(s.Command16);
    EXPECT_FALSE(s.Text12->isVisible());
    EXPECT_EQ(readFile(QStringLiteral("otherMODE.DAT")),
              cp932::encode(QStringLiteral("～ＲＴＴＹ\r\nＦＳＫ\r\n")))
        << "the line typed into, and the line left as it was";

    // The sheet's closing with the editor open: refused as its button refuses,
    // the sheet stays on the box; mended, the closing stores what was typed.
    const QByteArray held = readFile(QStringLiteral("otherMODE.DAT"));
    press(s.Command16);
    showTab(s, 0);
    QTest::keyClick(s.Text12, Qt::Key_End, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Click, s.Text12, Qt::Key_unknown, QStringLiteral("5NN€"), {});
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
    EXPECT_EQ(lastAsked().prompt,
              QStringLiteral("「other MODE」の「€」はotherMODE.DAT に保存できない文字です。\n"
                             "別の文字に直して下さい。"));
    EXPECT_EQ(s.focusWidget(), s.Text12);
    EXPECT_EQ(readFile(QStringLiteral("otherMODE.DAT")), held);
    QTest::keyClick(s.Text12, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, s.Text12, Qt::Key_unknown, QStringLiteral("〜"), {});
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
    EXPECT_TRUE(
        readFile(QStringLiteral("otherMODE.DAT")).endsWith(cp932::encode(QStringLiteral("\n5NN～\r\n"))));
}

TEST_F(CfgSheetLists, UnwritableFileKeepsTheEditorOpenWithWhatWasTyped) {
    CFGSHEET& s = openLogTab();
    writeFile(QStringLiteral("RSTmenu.DAT"), "599\r\n");
    ASSERT_TRUE(
        QFile::setPermissions(path(QStringLiteral("RSTmenu.DAT")), QFile::ReadOwner | QFile::ReadGroup));
    press(s.Command15);
    typeLines(s.Text10, {QStringLiteral("579")});
    main->List4->clear();
    main->List4->addItem(QStringLiteral("599"));
    press(s.Command15);
    EXPECT_TRUE(ui::script::asked().size() == 1 &&
                lastAsked().prompt.startsWith(QStringLiteral("RSTmenu.DAT")))
        << "the message names the file";
    EXPECT_TRUE(s.Text10->isVisible());
    EXPECT_EQ(s.Text10->toPlainText(), QStringLiteral("579"));
    EXPECT_EQ(s.Command15->text(), QStringLiteral("RST set完了"));
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), QByteArray("599\r\n"));
    EXPECT_EQ(items(main->List4), QStringList{"599"});

    // Writable again, the next press writes what is in the box.
    ASSERT_TRUE(
        QFile::setPermissions(path(QStringLiteral("RSTmenu.DAT")), QFile::ReadOwner | QFile::WriteOwner));
    press(s.Command15);
    EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), QByteArray("579\r\n"));
    EXPECT_EQ(items(main->List4), QStringList{"579"});
}

// A list file too large to show within a moment is refused whole, at the
// editor and at the main window's list: said, shown empty, never written over
// with what the operator typed, which stays in the box.
TEST_F(CfgSheetLists, AListFileTooLargeIsRefusedAndKeptWhole) {
    const struct {
        const char* file;
        QByteArray bytes;
    } rows[] = {
        {"a million lines", QByteArray("5\n").repeated(1'000'000)},
        {"a line of 5 MB", QByteArray(5 * 1024 * 1024, '9')},
        {"one line too many", QByteArray("599\r\n").repeated(core::kMostListLines + 1)},
    };
    // The main window's list, filled at its load.
    writeFile(QStringLiteral("RSTmenu.DAT"), rows[0].bytes);
    CFGSHEET& s = openLogTab();
    const QString refused =
        QStringLiteral("RSTmenu.DAT を読み込めませんでした（ファイルが大きすぎます）。\r\n") +
        QDir::toNativeSeparators(path(QStringLiteral("RSTmenu.DAT")));
    EXPECT_TRUE(asked(refused));
    EXPECT_EQ(main->List4->count(), 0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        writeFile(QStringLiteral("RSTmenu.DAT"), row.bytes);
        ui::script::clearAsked();
        press(s.Command15);
        EXPECT_EQ(lastAsked().prompt, refused);
        EXPECT_TRUE(s.Text10->isVisible());
        EXPECT_TRUE(s.Text10->toPlainText().isEmpty());
        typeLines(s.Text10, {QStringLiteral("579")});
        ui::script::clearAsked();
        press(s.Command15);
        EXPECT_TRUE(asked(refused));
        EXPECT_TRUE(s.Text10->isVisible()) << "the editor stays open";
        EXPECT_EQ(s.Text10->toPlainText(), QStringLiteral("579"));
        EXPECT_EQ(readFile(QStringLiteral("RSTmenu.DAT")), row.bytes);
        // Away from the editor, leaving the file as it was.
        writeFile(QStringLiteral("RSTmenu.DAT"), "599\r\n");
        press(s.Command15);
        ASSERT_FALSE(s.Text10->isVisible());
    }
}

} // namespace
