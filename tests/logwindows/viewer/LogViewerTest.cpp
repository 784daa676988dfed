// The log viewer as the operator uses it: opened from the main window, paged
// back and forth, jumped, closed with its layout kept, rows marked for the
// electronic QSL, and shown again after saves.
#include "core/ini/IniValues.h"
#include "logwindows/LogFixture.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "support/AdifReader.h"
#include "support/Mouse.h"
#include "support/Popups.h"

#include <QDir>
#include <QFile>

namespace {

using logwindows::FlexGrid;

class LogViewer : public zvtest::LogTest {
  protected:
    static LOGDATAVIEW& openFromMenu() {
        EXPECT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().HLDAT_VIEW));
        EXPECT_TRUE(forms::isLoaded<LOGDATAVIEW>());
        return forms::LOGDATAVIEW();
    }
    // The record numbers the page shows, from its first and last rows.
    static std::pair<int, int> shown(LOGDATAVIEW& v) {
        const FlexGrid& grid = *v.MSFlexGrid1;
        if (grid.rows() < 2) return {0, 0};
        return {grid.text(1, 18).trimmed().toInt(), grid.text(grid.rows() - 1, 18).trimmed().toInt()};
    }
    static int dataRows(LOGDATAVIEW& v) { return v.MSFlexGrid1->rows() - 1; }
    static void choose(LOGDATAVIEW& v, QAction* item) { EXPECT_TRUE(zvtest::chooseInMenuBar(v.menus, item)); }
    static void jump(LOGDATAVIEW& v, const QVariant& answer) {
        ui::script::push(answer);
        choose(v, v.LOG_JUMP);
    }
    static QString ini(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QString());
    }
    static QPoint rowPoint(FlexGrid& grid, int row) {
        grid.scrollTo(grid.model()->index(row - 1, 1));
        return grid.visualRect(grid.model()->index(row - 1, 1)).center();
    }
};

TEST_F(LogViewer, PagesOfAHundredOverALogOf250) {
    fillLog(250);
    logbook::g.HamlogViewerOn = QStringLiteral("NO");
    LOGDATAVIEW& v = openFromMenu();
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(logbook::g.HamlogViewerOn, QStringLiteral("YES"));
    EXPECT_EQ(v.windowTitle(), QStringLiteral("HAMLOG Data　Viewer"));
    EXPECT_EQ(shown(v), std::make_pair(151, 250));
    EXPECT_EQ(dataRows(v), 100);
    EXPECT_EQ(v.MSFlexGrid1->text(100, 1), QStringLiteral("QQ1AA250"));
    EXPECT_EQ(v.MSFlexGrid1->text(100, 3), QStringLiteral("2024-01-15"));
    EXPECT_EQ(v.MSFlexGrid1->text(100, 11), QStringLiteral("NAME250"));
    EXPECT_EQ(v.MSFlexGrid1->currentRow(), 99) << "the newest record is the current cell";

    choose(v, v.GOBACK);
    EXPECT_EQ(shown(v), std::make_pair(51, 150));
    choose(v, v.GOBACK);
    EXPECT_EQ(shown(v), std::make_pair(1, 100)) << "the end is raised to 100";
    EXPECT_EQ(v.MSFlexGrid1->text(7, 0), QStringLiteral(" 07"));
    choose(v, v.GOBACK);
    EXPECT_EQ(shown(v), std::make_pair(1, 100));
    choose(v, v.GOFOWARD);
    EXPECT_EQ(shown(v), std::make_pair(101, 200));
    choose(v, v.GOFOWARD);
    EXPECT_EQ(shown(v), std::make_pair(151, 250));
    choose(v, v.GOFOWARD);
    EXPECT_EQ(shown(v), std::make_pair(151, 250));
    EXPECT_EQ(dataRows(v), 100);

    // A record stored meanwhile shows on the next opening, not on a page step.
    hamlog::QsoRecord r;
    r.CALL = QStringLiteral("QQ9NEW");
    ASSERT_TRUE(hamlog::appendRecords(dataPath(), {r}));
    choose(v, v.GOFOWARD);
    EXPECT_EQ(shown(v), std::make_pair(151, 250));
    LOGDATAVIEW& fresh = openFromMenu();
    EXPECT_EQ(shown(fresh), std::make_pair(152, 251));
    EXPECT_EQ(fresh.MSFlexGrid1->text(100, 1), QStringLiteral("QQ9NEW"));
}

TEST_F(LogViewer, JumpAnswers) {
    fillLog(250);
    LOGDATAVIEW& v = openFromMenu();
    jump(v, QStringLiteral("180"));
    EXPECT_EQ(shown(v), std::make_pair(81, 180));
    jump(v, QStringLiteral("5"));
    EXPECT_EQ(shown(v), std::make_pair(1, 100));
    EXPECT_EQ(ui::script::asked().last().prompt, QStringLiteral("指定された交信番号に移動します"));
    EXPECT_EQ(ui::script::asked().last().title, QStringLiteral("Jump先の指定"));
    jump(v, QStringLiteral("99999999999"));
    EXPECT_EQ(shown(v), std::make_pair(151, 250));
    jump(v, QStringLiteral("-5"));
    EXPECT_EQ(shown(v), std::make_pair(1, 100));
    jump(v, QStringLiteral("120"));
    // No number, nothing, or Cancel: the page stays.
    for (const QVariant& answer : {QVariant(QStringLiteral("abc")), QVariant(QString()), QVariant()}) {
        jump(v, answer);
        EXPECT_EQ(shown(v), std::make_pair(21, 120)) << answer.toString().toStdString();
    }
    choose(v, v.GOFOWARD);
    EXPECT_EQ(shown(v), std::make_pair(121, 220)) << "the page end kept its place";
}

TEST_F(LogViewer, ALogOfFortyShowsItsFortyWhateverThePage) {
    fillLog(40);
    LOGDATAVIEW& v = openFromMenu();
    EXPECT_EQ(shown(v), std::make_pair(1, 40));
    EXPECT_EQ(dataRows(v), 40);
    for (const char* answer : {"7", "40", "1000", "-1"}) {
        jump(v, QString::fromLatin1(answer));
        EXPECT_EQ(shown(v), std::make_pair(1, 40)) << answer;
        EXPECT_EQ(dataRows(v), 40);
    }
    choose(v, v.GOBACK);
    EXPECT_EQ(shown(v), std::make_pair(1, 40));
    choose(v, v.GOFOWARD);
    EXPECT_EQ(shown(v), std::make_pair(1, 40));
}

TEST_F(LogViewer, AnEmptyLogShowsNoRowsAndStepsSafely) {
    LOGDATAVIEW& v = openFromMenu();
    EXPECT_EQ(dataRows(v), 0);
    choose(v, v.GOBACK);
    choose(v, v.GOFOWARD);
    jump(v, QStringLiteral("10"));
    EXPECT_EQ(dataRows(v), 0);
    EXPECT_TRUE(forms::isLoaded<LOGDATAVIEW>());
}

TEST_F(LogViewer, ALogThatDoesNotOpenIsReportedAndTheViewerCloses) {
    fillLog(3);
    logbook::g.HamlogDataPath = path(QStringLiteral("GONE"));
    ui::script::clearAsked();
    EXPECT_TRUE(zvtest::chooseMenuItem(forms::PSK31MAIN().HLDAT_VIEW));
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
    ASSERT_FALSE(askedPrompts().isEmpty());
    EXPECT_TRUE(askedPrompts().last().startsWith(
        QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\nHAMLOG50.DLL=")));
    EXPECT_TRUE(askedPrompts().last().contains(QStringLiteral("\r\nPSKCore.DLL=")));

    // The log goes away while the viewer is open: a page step reports it and closes.
    logbook::g.HamlogDataPath = dataPath();
    LOGDATAVIEW& v = openFromMenu();
    EXPECT_EQ(dataRows(v), 3);
    logbook::g.HamlogDataPath = path(QStringLiteral("GONE"));
    ui::script::clearAsked();
    choose(v, v.GOBACK);
    EXPECT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<LOGDATAVIEW>(); }));
    EXPECT_EQ(askedPrompts().size(), 1);
}

TEST_F(LogViewer, ClosingKeepsWidthsAndPlaceAnUnloadByAnotherWindowDoesNot) {
    fillLog(5);
    LOGDATAVIEW& v = openFromMenu();
    EXPECT_EQ(v.pos(), QPoint(0, 0));
    EXPECT_EQ(v.size(), QSize(9135 / 15, 3135 / 15));
    EXPECT_EQ(v.MSFlexGrid1->colWidth(0), 815);
    EXPECT_EQ(v.MSFlexGrid1->text(0, 0), QStringLiteral("Rec No"));
    EXPECT_EQ(v.MSFlexGrid1->text(0, 18), QStringLiteral("Rec No"));
    EXPECT_EQ(v.MSFlexGrid1->colWidth(18), 0) << "the record number is hidden without stored widths";
    EXPECT_EQ(v.MSFlexGrid1->colWidth(2), 0);

    // Another window's unload stores nothing.
    forms::unload<LOGDATAVIEW>();
    EXPECT_TRUE(ini("LogDisp", "COLWIDTH0").isEmpty());
    EXPECT_TRUE(ini("CFGPOS", "HLDVPOSTop").isEmpty());

    LOGDATAVIEW& w = openFromMenu();
    w.MSFlexGrid1->setColumnWidth(12, 100);
    const int dragged = w.MSFlexGrid1->colWidth(12);
    w.move(30, 45);
    w.resize(700, 300);
    choose(w, w.LOGCL);
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_EQ(ini("LogDisp", "COLWIDTH12"), QString::number(dragged));
    EXPECT_EQ(ini("LogDisp", "COLWIDTH17"), QStringLiteral("1920"));
    EXPECT_TRUE(ini("LogDisp", "COLWIDTH18").isEmpty()) << "18 widths are stored, not 19";
    EXPECT_EQ(ini("CFGPOS", "HLDVPOSTop"), QStringLiteral("675"));
    EXPECT_EQ(ini("CFGPOS", "HLDVPOSLeft"), QStringLiteral("450"));
    EXPECT_EQ(ini("CFGPOS", "HLDVPOSWidth"), QStringLiteral("10500"));
    EXPECT_EQ(ini("CFGPOS", "HLDVPOSHeight"), QStringLiteral("4500"));

    // The next opening takes them; the record number now shows at the grid's standard width.
    LOGDATAVIEW& again = openFromMenu();
    EXPECT_EQ(again.pos(), QPoint(30, 45));
    EXPECT_EQ(again.size(), QSize(700, 300));
    EXPECT_EQ(again.MSFlexGrid1->colWidth(12), dragged);
    EXPECT_NEAR(again.MSFlexGrid1->columnWidth(12), 100, 1);
    EXPECT_GT(again.MSFlexGrid1->colWidth(18), 0);
    EXPECT_EQ(again.MSFlexGrid1->colWidth(2), 0);

    // The title bar's close box keeps them as well; a place beyond the screen falls back to its edge.
    core::PutIniText(QStringLiteral("LogDisp"), "COLWIDTH1", QStringLiteral("2000"));
    again.close();
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_EQ(ini("LogDisp", "COLWIDTH1"), QStringLiteral("1290"));
    core::PutIniText(QStringLiteral("CFGPOS"), "HLDVPOSTop", QStringLiteral("99999999"));
    LOGDATAVIEW& beyond = openFromMenu();
    EXPECT_EQ(beyond.pos(), QPoint(30, 0));
    // So does a place before the screen's start, where the title bar could not be reached.
    beyond.close();
    core::PutIniText(QStringLiteral("CFGPOS"), "HLDVPOSTop", QStringLiteral("-300"));
    core::PutIniText(QStringLiteral("CFGPOS"), "HLDVPOSLeft", QStringLiteral("-3000"));
    EXPECT_EQ(openFromMenu().pos(), QPoint(0, 0));
}

TEST_F(LogViewer, RowsAreMarkedForTheElectronicQslInItsMode) {
    fillLog(30);
    logbook::g.EqslType = QStringLiteral("0");
    LOGDATAVIEW& v = openFromMenu();
    v.resize(900, 700);
    FlexGrid& grid = *v.MSFlexGrid1;
    EXPECT_FALSE(v.eQSLtype->isVisible());
    EXPECT_FALSE(v.eQSLsend->isEnabled());

    // Outside the mode a click marks nothing.
    zvtest::clickAt(grid.viewport(), Qt::LeftButton, rowPoint(grid, 3));
    EXPECT_EQ(grid.text(3, 0), QStringLiteral(" 03"));

    choose(v, v.eQSLmode);
    EXPECT_EQ(v.EqslMode, 1);
    EXPECT_EQ(v.eQSLmode->text(), QStringLiteral("電子QSLモード中"));
    EXPECT_TRUE(v.eQSLtype->isVisible());
    EXPECT_EQ(v.eQSLtype->text(), QStringLiteral("eQSL"));
    EXPECT_FALSE(zvtest::enabledOnceBuilt(v.LOGtoADIF));

    zvtest::clickAt(grid.viewport(), Qt::LeftButton, rowPoint(grid, 7));
    EXPECT_EQ(grid.text(7, 0), QStringLiteral("eQSL"));
    // A drag from row 10 up to row 5 toggles 5 to 10: row 7 goes back to its number.
    const QPoint from = rowPoint(grid, 10), to = rowPoint(grid, 5);
    zvtest::pressAt(grid.viewport(), Qt::LeftButton, from);
    zvtest::moveMouseTo(grid.viewport(), (from + to) / 2, Qt::LeftButton);
    zvtest::moveMouseTo(grid.viewport(), to, Qt::LeftButton);
    zvtest::releaseAt(grid.viewport(), Qt::LeftButton, to);
    for (int r = 5; r <= 10; ++r)
        EXPECT_EQ(grid.text(r, 0), r == 7 ? QStringLiteral(" 07") : QStringLiteral("eQSL")) << r;
    EXPECT_EQ(grid.text(4, 0), QStringLiteral(" 04"));
    EXPECT_EQ(grid.text(11, 0), QStringLiteral(" 11"));

    // A shift-click extends from the row last clicked; a plain click after it
    // toggles that row alone, not the old range again.
    choose(v, v.eQSLmode);
    choose(v, v.eQSLmode);
    zvtest::clickAt(grid.viewport(), Qt::LeftButton, rowPoint(grid, 8));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, rowPoint(grid, 10));
    for (int r = 7; r <= 11; ++r)
        EXPECT_EQ(grid.text(r, 0) == QStringLiteral("eQSL"), r == 9 || r == 10) << "8 to 10 toggled: " << r;
    zvtest::clickAt(grid.viewport(), Qt::LeftButton, rowPoint(grid, 9));
    for (int r = 7; r <= 11; ++r)
        EXPECT_EQ(grid.text(r, 0) == QStringLiteral("eQSL"), r == 10) << "only 9 toggled: " << r;

    // The service choice is the run's, shared with the other windows.
    choose(v, v.eQSLtype);
    EXPECT_EQ(logbook::g.EqslType, QStringLiteral("1"));
    EXPECT_EQ(v.eQSLtype->text(), QStringLiteral("QSOBank"));

    // Leaving the mode takes every mark away.
    choose(v, v.eQSLmode);
    EXPECT_EQ(v.EqslMode, 0);
    EXPECT_EQ(v.eQSLmode->text(), QStringLiteral("電子QSLモードへ"));
    EXPECT_FALSE(v.eQSLtype->isVisible());
    EXPECT_TRUE(zvtest::enabledOnceBuilt(v.LOGtoADIF));
    for (int r = 1; r <= 30; ++r)
        EXPECT_NE(grid.text(r, 0), QStringLiteral("eQSL")) << r;
    EXPECT_EQ(grid.text(5, 0), QStringLiteral(" 05"));

    // Another page replaces the marks; the mode stays.
    choose(v, v.eQSLmode);
    EXPECT_EQ(v.eQSLtype->text(), QStringLiteral("QSOBank"));
    zvtest::clickAt(grid.viewport(), Qt::LeftButton, rowPoint(grid, 2));
    EXPECT_EQ(grid.text(2, 0), QStringLiteral("eQSL"));
    choose(v, v.GOBACK);
    EXPECT_EQ(grid.text(2, 0), QStringLiteral(" 02"));
    EXPECT_EQ(v.EqslMode, 1);
}

TEST_F(LogViewer, MarkedRowsAreSentAndThePageIsWrittenAsAnAdifLog) {
    fillLog(250);
    logbook::Globals& g = logbook::g;
    g.EqslType = QStringLiteral("0");
    g.EqslMark = QStringLiteral("N");
    g.ComQsoBankPath = QStringLiteral(ZV_PROGRAM_DIR "/ComQSOBank.exe");
    const QString out = path(QStringLiteral("送信 先"));
    ASSERT_TRUE(QDir().mkpath(out));
    LOGDATAVIEW& v = openFromMenu();
    v.resize(900, 700);
    FlexGrid& grid = *v.MSFlexGrid1;

    // "ADIF化" writes the page in the log layout, named after the records shown.
    ui::script::clearAsked();
    ui::script::push(out + QStringLiteral("/page"));
    choose(v, v.LOGtoADIF);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].title, QStringLiteral("電子LOGﾃﾞｰﾀ保存(ADIF形式)"));
    EXPECT_TRUE(ui::script::asked()[0].prompt.endsWith(QStringLiteral("/ELOG_151to250")));
    QFile page(out + QStringLiteral("/page.ADI"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const std::optional<zvtest::AdifFile> log = zvtest::readAdif(page.readAll());
    ASSERT_TRUE(log);
    ASSERT_EQ(log->records.size(), 100u);
    EXPECT_EQ(log->records.front().value(QStringLiteral("CALL")), QStringLiteral("QQ1AA151"));
    EXPECT_EQ(log->records.back().value(QStringLiteral("NAME")), QStringLiteral("NAME250"));
    // Cancelled: nothing more is asked or written.
    ui::script::clearAsked();
    ui::script::push(QVariant());
    choose(v, v.LOGtoADIF);
    EXPECT_EQ(ui::script::asked().size(), 1);

    choose(v, v.eQSLmode);
    EXPECT_FALSE(v.LOGtoADIF->isEnabled());
    ui::script::clearAsked();
    choose(v, v.eQSLsend);
    EXPECT_EQ(askedPrompts(),
              QStringList{QStringLiteral("送信するデータがありません、送信するデータを選択して下さい。")});

    // Rows 3 and 4 as an eQSL file.
    for (int row : {3, 4})
        zvtest::clickAt(grid.viewport(), Qt::LeftButton, rowPoint(grid, row));
    ui::script::clearAsked();
    ui::script::push(out + QStringLiteral("/eqsl"));
    ui::script::push(ui::No);
    choose(v, v.eQSLsend);
    QFile eqsl(out + QStringLiteral("/eqsl.ADI"));
    ASSERT_TRUE(eqsl.open(QIODevice::ReadOnly));
    const std::optional<zvtest::AdifFile> sent = zvtest::readAdif(eqsl.readAll());
    ASSERT_TRUE(sent);
    ASSERT_EQ(sent->records.size(), 2u);
    EXPECT_EQ(sent->records[0].value(QStringLiteral("CALL")), QStringLiteral("QQ1AA153"));
    EXPECT_EQ(sent->records[1].value(QStringLiteral("CALL")), QStringLiteral("QQ1AA154"));
    EXPECT_EQ(askedPrompts().last(), eqsl.fileName() + QStringLiteral("のファイルを作成保存しました"));

    // The same rows to QSOBank: the sender gets the file.
    choose(v, v.eQSLtype);
    ui::script::push(out + QStringLiteral("/bank"));
    choose(v, v.eQSLsend);
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/bank.xml")));
    ASSERT_TRUE(zvtest::waitUntil([&] { return QFile::exists(out + QStringLiteral("/ComQSOBank.log")); }));
    EXPECT_EQ(grid.text(3, 0), QStringLiteral("eQSL")) << "the marks stay after sending";
}

TEST_F(LogViewer, ShownAgainAfterASaveAndAtTheMainWindowsLoadWhenKeptInUse) {
    fillLog(3);
    logbook::g.HamlogViewerOn = QStringLiteral("YES");
    TEMP_LOG& log = openFromMain(QStringLiteral("QQ2XYZ"));
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
    pressF1();
    ASSERT_EQ(logCount(), 4);
    ASSERT_TRUE(forms::isLoaded<LOGDATAVIEW>());
    LOGDATAVIEW& v = forms::LOGDATAVIEW();
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(v.MSFlexGrid1->text(4, 1), QStringLiteral("QQ2XYZ"));
    EXPECT_EQ(log.LSave->text(), QStringLiteral("保存完了"))
        << "the saved record is shown again, the item telling it is stored";

    // The end of contest mode shows it again.
    PSK31MAIN& m = startContest(false, false);
    forms::unload<LOGDATAVIEW>();
    ASSERT_TRUE(zvtest::chooseMenuItem(m.CONON));
    EXPECT_TRUE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_EQ(core::g.ContestMode, 0);

    // Kept in use, it opens with the main window.
    forms::unload<LOGDATAVIEW>();
    forms::unload<PSK31MAIN>();
    QApplication::processEvents();
    forms::PSK31MAIN();
    EXPECT_TRUE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_EQ(shown(forms::LOGDATAVIEW()), std::make_pair(1, 4));

    // Not in use: a save leaves it alone.
    forms::unload<LOGDATAVIEW>();
    logbook::g.HamlogViewerOn = QStringLiteral("NO");
    openFromMain(QStringLiteral("QQ3XYZ"));
    pressF1();
    EXPECT_EQ(logCount(), 5);
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
}

} // namespace
