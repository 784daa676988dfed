// The call-sign check against the logging library on a temporary log with the
// demo master data: earlier QSOs, the award record, the prefix look-up and
// what the operator sees of them.
#include "core/ini/IniValues.h"
#include "logwindows/LogFixture.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "platform/os/Cp932.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/window/SSTVForm.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"

#include <QCheckBox>
#include <QDir>
#include <QScrollBar>
#include <QTableView>

namespace {

using logwindows::CheckCallSign;

class CallCheck : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        ASSERT_TRUE(hamlog::demo::writeMasterData(dataPath()));
        logwindows::callCheck = {};
        setJst(QStringLiteral("2024-06-01 10:30"));
        ui::script::clearAsked();
    }
    void TearDown() override {
        sysclock::resetForTest();
        LogTest::TearDown();
    }

    void addQsos(const std::vector<std::array<const char*, 4>>& qsos) {
        std::vector<hamlog::QsoRecord> records;
        for (const auto& [call, name, code, qth] : qsos) {
            hamlog::QsoRecord r;
            r.CALL = QString::fromLatin1(call);
            r.DATE = QStringLiteral("24-01-15");
            r.TIME = QStringLiteral("12:00J");
            r.NAME = QString::fromUtf8(name);
            r.CODE = QString::fromLatin1(code);
            r.GL = QStringLiteral("PM95");
            r.QTH = QString::fromUtf8(qth);
            r.QSL = QStringLiteral("J*");
            records.push_back(r);
        }
        ASSERT_TRUE(hamlog::appendRecords(dataPath(), records));
    }

    static QStringList column(logwindows::FlexGrid& grid, int col) {
        QStringList cells;
        for (int r = 1; r < grid.rows(); ++r)
            cells << grid.text(r, col);
        return cells;
    }
    static QString status() { return forms::PSK31MAIN().StatusBar1->text(1); }
};

TEST_F(CallCheck, EarlierQsosAreListedAndTheLastPrefillsTheEntry) {
    addQsos({{"QQ1ABC", "一郎", "1002", "八王子市"},
             {"QQ1ABCD", "別局", "9999", "別"},
             {"QQ1ABC", "一郎", "1003", "立川市"},
             {"QQ1ABC/P", " 次郎 ", "1101", "横浜市"}});
    PSK31MAIN& main = forms::PSK31MAIN();
    zvtest::clearBox(main.Text6);
    TEMP_LOG& log = forms::TEMP_LOG();
    log.Text14->setText(QStringLiteral("old remark"));

    EXPECT_TRUE(CheckCallSign(QStringLiteral(" QQ1ABC ")));

    ASSERT_TRUE(forms::isLoaded<QSODATA>());
    QSODATA& list = forms::QSODATA();
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), QStringLiteral("QQ1ABC局とのＱＳＯデータ"));
    logwindows::FlexGrid& grid = *list.MSFlexGrid1;
    EXPECT_EQ(column(grid, 0), (QStringList{" 01", " 02", " 03"}));
    EXPECT_EQ(column(grid, 1), (QStringList{"QQ1ABC", "QQ1ABC", "QQ1ABC/P"})) << "never the longer call";
    EXPECT_EQ(column(grid, 18), (QStringList{"1", "3", "4"}));
    EXPECT_EQ(grid.text(3, 3), QStringLiteral("2024-01-15"));
    EXPECT_EQ(grid.text(3, 13) + grid.text(3, 14) + grid.text(3, 15), QStringLiteral("J* "));
    EXPECT_EQ(logbook::g.QsoListRows, 3);
    EXPECT_EQ(logbook::g.QsoListFilled, 1);
    EXPECT_EQ(log.Text12->text(), QStringLiteral("次郎"));
    EXPECT_EQ(log.Text9->text(), QStringLiteral("1101"));
    EXPECT_EQ(log.Text13->text(), QStringLiteral("横浜市"));
    EXPECT_EQ(log.Text10->text(), QStringLiteral("PM95"));
    EXPECT_TRUE(log.Text14->text().isEmpty()) << "remarks 1 is emptied for the new station";
    EXPECT_EQ(main.Text6->text(), QStringLiteral("次郎"));
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("QQ1ABC"));
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>()) << "the home country shows no list";
    EXPECT_EQ(core::g.LogTimeUtc, 0);

    // A name box that holds a name keeps it; a second check starts a fresh list.
    zvtest::setBoxText(main.Text6, QStringLiteral("Taro"));
    EXPECT_TRUE(CheckCallSign(QStringLiteral("QQ1ABCD")));
    EXPECT_EQ(column(*forms::QSODATA().MSFlexGrid1, 1), QStringList{"QQ1ABCD"});
    EXPECT_EQ(main.Text6->text(), QStringLiteral("Taro"));
    EXPECT_EQ(log.Text12->text(), QStringLiteral("別局"));
    EXPECT_EQ(status(), QStringLiteral("別   別局"));

    // What the look-up filled is the checked station's: a call typed over it
    // takes it away (the entry's code, QTH and locator with it), and the next
    // station's check fills the name box anew.
    zvtest::clearBox(main.Text6);
    zvtest::setBoxText(main.Text5, QStringLiteral("QQ1ABC"));
    QTest::keyClick(main.Text5, Qt::Key_Down);
    ASSERT_EQ(main.Text6->text(), QStringLiteral("次郎"));
    main.Text5->selectAll();
    QTest::keyClicks(main.Text5, QStringLiteral("QQ1ABCD"));
    for (const QLineEdit* box :
         std::initializer_list<const QLineEdit*>{main.Text6, log.Text12, log.Text9, log.Text13, log.Text10})
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    EXPECT_TRUE(status().isEmpty());
    QTest::keyClick(main.Text5, Qt::Key_Return);
    zvtest::setBoxText(main.Text6, QStringLiteral("次郎"));
    QTest::keyClick(main.Text5, Qt::Key_Down);
    EXPECT_EQ(main.Text6->text(), QStringLiteral("次郎")) << "typed by the operator, kept";
    zvtest::clearBox(main.Text6);
    zvtest::setBoxText(main.Text5, QStringLiteral("QQ1ABC"));
    QTest::keyClick(main.Text5, Qt::Key_Down);
    zvtest::setBoxText(main.Text5, QStringLiteral("QQ1ABCD"));
    QTest::keyClick(main.Text5, Qt::Key_Return); // typed, then the name for it
    zvtest::setBoxText(main.Text6, QStringLiteral("次郎"));
    EXPECT_EQ(log.Text12->text(), QStringLiteral("次郎"));
    QTest::keyClick(main.Text5, Qt::Key_Down);
    EXPECT_EQ(main.Text6->text(), QStringLiteral("次郎"));
}

TEST_F(CallCheck, ANewStationIsAFirstQsoAndTheJcaStateIsAdded) {
    addQsos({{"QQ1OLD", "", "", ""}});
    logbook::g.HamlogJcaPath =
        path(QStringLiteral("jca/HLJCA.EXE")).replace(QLatin1Char('/'), QLatin1Char('\\'));
    logbook::g.HamlogJcaOn = 1;
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("jca")));
    writeFile(QStringLiteral("jca/実績.txt"),
              cp932::encode(QStringLiteral("\"NEW\",\"\",\"\",\"\"\r\n"
                                           "\"OLD\",\"2023/1/1\",\"\",\"未\"\r\n"
                                           "\"CFM\",\"2023/1/1\",\"\",\"済\"\r\n")));
    const struct {
        const char* call;
        const char* message; // UTF-8
    } cases[] = {
        {"QQ2NEW", "１ｓｔ　ＱＳＯ　です。１ｓｔ　ＪＣＡです。"},
        {"QQ1OLD", "ＪＣＡ=Wkdなるも未Cfmです。"},
        {"QQ3CFM", "１ｓｔ　ＱＳＯ　です。ＪＣＡとしては Cfm です。"},
        {"QQ3XYZ", "１ｓｔ　ＱＳＯ　です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::g.StatusMessage.clear();
        EXPECT_TRUE(CheckCallSign(QString::fromLatin1(c.call)));
        EXPECT_EQ(core::g.StatusMessage, QString::fromUtf8(c.message));
        EXPECT_EQ(forms::TEMP_LOG().windowTitle(), QString::fromUtf8(c.message));
        EXPECT_EQ(logbook::g.FirstQsoFlag, 0) << "the flags are cleared after each check";
        EXPECT_EQ(logbook::g.JcaState, 0);
    }

    // A call ending in a digit has no suffix: no first-QSO text either.
    CheckCallSign(QStringLiteral("QQ29"));
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("CallSign 不正(JCA)"));

    // Without the file the check says so and goes on.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("jca/実績.txt"))));
    CheckCallSign(QStringLiteral("QQ2NEW"));
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("１ｓｔ　ＱＳＯ　です。"));
    EXPECT_EQ(logbook::g.JcaChecked, 1);
}

TEST_F(CallCheck, AStoredRecordOnShowAndASearchLeaveTheEntryAlone) {
    addQsos({{"QQ1ABC", "一郎", "1002", "八王子市"}});
    TEMP_LOG& log = forms::TEMP_LOG();
    PSK31MAIN& main = forms::PSK31MAIN();
    const auto fillEntry = [&log] {
        for (QLineEdit* box : {log.Text9, log.Text10, log.Text12, log.Text13, log.Text14})
            box->setText(QStringLiteral("kept"));
    };
    const auto entryKept = [&log] {
        QStringList texts;
        for (QLineEdit* box : {log.Text9, log.Text10, log.Text12, log.Text13, log.Text14})
            texts << box->text();
        return texts.join(QLatin1Char(',')).toStdString();
    };
    for (const char* call : {"QQ1ABC", "DL1ABC"}) {
        SCOPED_TRACE(call);
        fillEntry();
        main.Check2->setChecked(false);
        core::g.LogTimeUtc = 0;
        logbook::g.LogEditMode = 1;
        CheckCallSign(QString::fromLatin1(call));
        EXPECT_EQ(entryKept(), "kept,kept,kept,kept,kept");
        EXPECT_FALSE(main.Check2->isChecked());
        EXPECT_EQ(core::g.LogTimeUtc, 0);
        logbook::g.LogEditMode = 0;

        logwindows::callCheck.CallSearchOnly = 1;
        CheckCallSign(QString::fromLatin1(call));
        EXPECT_EQ(entryKept(), "kept,kept,kept,kept,kept");
        EXPECT_EQ(core::g.LogTimeUtc, 0);
        EXPECT_EQ(logwindows::callCheck.CallSearchOnly, 0) << "cleared, listed or not";
    }
    // The search still lists and shows QTH and name.
    logwindows::callCheck.CallSearchOnly = 1;
    zvtest::clearBox(main.Text6);
    CheckCallSign(QStringLiteral("QQ1ABC"));
    EXPECT_TRUE(forms::QSODATA().isVisible());
    EXPECT_EQ(status(), QStringLiteral("八王子市   一郎"));
    EXPECT_TRUE(main.Text6->text().isEmpty());
}

TEST_F(CallCheck, ADxPrefixSwitchesToUtcAndGivesTheLocalTime) {
    PSK31MAIN& main = forms::PSK31MAIN();
    TEMP_LOG& log = forms::TEMP_LOG();
    EXPECT_TRUE(CheckCallSign(QStringLiteral("DL1ABC")));
    EXPECT_TRUE(main.Check2->isChecked());
    EXPECT_EQ(core::g.LogTimeUtc, 1);
    ASSERT_TRUE(forms::isLoaded<CODE_LIST>());
    logwindows::FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.text(1, 1).trimmed(), QStringLiteral("230"));
    EXPECT_EQ(grid.text(1, 2).trimmed(), QStringLiteral("ドイツ"));
    EXPECT_EQ(log.Text9->text().trimmed(), QStringLiteral("230"));
    EXPECT_EQ(log.Text13->text().trimmed(), QStringLiteral("ドイツ"));
    // PC 10:30 JST is 01:30 UTC; 10 degrees east adds no whole hour.
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("01:30"));
    EXPECT_EQ(logbook::g.GreetingText, QStringLiteral("Good Morning"));
    EXPECT_EQ(log.LT->text(), QStringLiteral("Local Time(Abt)=> 01:30"));
    EXPECT_TRUE(status().endsWith(QStringLiteral("  Local Time=> 01:30")));
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("１ｓｔ　ＱＳＯ　です。"));
    // Worked on 7 and 14 MHz, confirmed on 14 MHz: "W" wins where both are set.
    EXPECT_EQ(grid.text(1, 7), QStringLiteral("W"));
    EXPECT_EQ(grid.text(1, 9), QStringLiteral("W"));
    EXPECT_TRUE(grid.text(1, 5).isEmpty());
    EXPECT_TRUE(grid.text(1, 11).isEmpty());

    // Back home: JST, longitude 135 east, no list.
    EXPECT_TRUE(CheckCallSign(QStringLiteral("QQ1XYZ")));
    EXPECT_FALSE(main.Check2->isChecked());
    EXPECT_EQ(core::g.LogTimeUtc, 0);
    EXPECT_EQ(logbook::g.Longitude, 135);
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>());
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("10:30"));
}

TEST_F(CallCheck, TheAreaCodeListFollowsTheStationChecked) {
    addQsos({{"K6XYZ", "Bob", "999", "Los Angeles"}});
    TEMP_LOG& log = forms::TEMP_LOG();
    log.show();

    // The code box's keys mark the list as a search result; the check does not.
    log.Text9->setFocus();
    QTest::keyClick(log.Text9, Qt::Key_End);
    ASSERT_EQ(logbook::g.CodeListExtended, 1);
    EXPECT_TRUE(CheckCallSign(QStringLiteral("K6XYZ")));
    EXPECT_EQ(logbook::g.CodeListExtended, 0);
    ASSERT_TRUE(forms::isLoaded<CODE_LIST>());
    CODE_LIST& list = forms::CODE_LIST();
    ASSERT_EQ(list.MSFlexGrid1->rows(), 3) << "K and KH";
    EXPECT_EQ(list.MSFlexGrid1->text(0, 3), QStringLiteral("Prfx"));
    EXPECT_EQ(log.Text9->text(), QStringLiteral("999"));
    EXPECT_EQ(log.Text13->text(), QStringLiteral("Los Angeles"));

    // The list getting the focus shows a local time and keeps the logged QTH.
    list.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&list));
    ASSERT_TRUE(zvtest::waitUntil([&] { return list.MSFlexGrid1->hasFocus(); }));
    EXPECT_EQ(log.Text9->text(), QStringLiteral("999"));
    EXPECT_EQ(log.Text13->text(), QStringLiteral("Los Angeles"));
    EXPECT_EQ(list.RowPicked, 0);

    // The band columns scroll sideways under the code and QTH, which stay in view.
    list.resize(320, list.height());
    QScrollBar* across = list.MSFlexGrid1->horizontalScrollBar();
    ASSERT_TRUE(zvtest::waitUntil([across] { return across->maximum() > 0; }));
    const QPoint rightArrow(across->width() - 4, across->height() / 2);
    for (int i = 0; i < 40 && across->value() < across->maximum(); ++i)
        QTest::mouseClick(across, Qt::LeftButton, {}, rightArrow);
    EXPECT_GT(across->value(), 0);
    QTableView* fixed = list.MSFlexGrid1->fixedPart();
    ASSERT_NE(fixed, nullptr);
    EXPECT_TRUE(fixed->isVisible());
    EXPECT_TRUE(fixed->isColumnHidden(5)) << "the band columns are not fixed";
    const QRect codeCell = fixed->visualRect(fixed->model()->index(1, 1));
    EXPECT_TRUE(fixed->viewport()->rect().contains(codeCell.center()));

    // A click on a row there picks it, with its local time: Hawaii, 157 west.
    const QRect qthCell = fixed->visualRect(fixed->model()->index(1, 2));
    QTest::mouseClick(fixed->viewport(), Qt::LeftButton, {}, qthCell.center());
    EXPECT_EQ(log.Text13->text().trimmed(), QStringLiteral("ハワイ"));
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("15:30"));
    EXPECT_TRUE(status().endsWith(QStringLiteral("Local Time=> 15:30")));
}

TEST_F(CallCheck, TheGreetingBelongsToTheStationOfAListWithoutAPick) {
    setJst(QStringLiteral("2024-06-01 20:58")); // 11:58 UTC
    PSK31MAIN& main = forms::PSK31MAIN();
    EXPECT_TRUE(CheckCallSign(QStringLiteral("QQ1AAA")));
    EXPECT_EQ(logbook::g.LongitudeSide, QStringLiteral("東経"));
    EXPECT_TRUE(CheckCallSign(QStringLiteral("K6ABC")));
    ASSERT_EQ(forms::CODE_LIST().MSFlexGrid1->rows(), 3);
    // Taken when the list is filled, not only when a window manager activates it.
    EXPECT_EQ(logbook::g.LongitudeSide, QStringLiteral("西経"));

    main.show();
    ASSERT_TRUE(zvtest::waitExposed(&main));
    main.Text1->clear();
    ASSERT_TRUE(zvtest::chooseByClick(main.Text1->viewport(), main.INSAISATU));
    // The 6 district lies at 120 west: 03:58 there.
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("03:58"));
    EXPECT_EQ(forms::TEMP_LOG().LT->text(), QStringLiteral("Local Time(Abt)=> 03:58"));
    EXPECT_TRUE(main.Text1->text().contains(QStringLiteral("Good Morning")))
        << main.Text1->text().toStdString();

    // "Time = UTC", ticked by the check, is kept for the next start.
    EXPECT_TRUE(main.Check2->isChecked());
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("TIME_STAMP")),
              std::optional(QStringLiteral("1")));
    EXPECT_TRUE(CheckCallSign(QStringLiteral("QQ1AAA")));
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("TIME_STAMP")),
              std::optional(QStringLiteral("0")));
}

TEST_F(CallCheck, TheGreetingMacroPutsTheCheckedStationsGreetingOnAir) {
    setJst(QStringLiteral("2024-06-01 20:58")); // 11:58 UTC
    PSK31MAIN& main = forms::PSK31MAIN();
    main.Timer2->stop();
    main.Timer2_Timer(); // the start-up tick starts the engine
    ASSERT_TRUE(pskcore::lib().isRunning());
    pskcore::lib().hooks().charIntervalMs = 2;
    main.show();
    ASSERT_TRUE(zvtest::waitExposed(&main));

    // Typed into the call box and looked up with the down key, as the operator does.
    for (const char* call : {"QQ1AAA", "K6ABC"}) {
        zvtest::clearBox(main.Text5);
        QTest::keyClicks(main.Text5, QString::fromLatin1(call));
        QTest::keyClick(main.Text5, Qt::Key_Down);
        EXPECT_EQ(logbook::g.WkdCall, QString::fromLatin1(call));
    }
    ASSERT_EQ(forms::CODE_LIST().MSFlexGrid1->rows(), 3) << "two rows and no pick";

    terminal::macros::putInStore(
        forms::MACRO_FORM(), 0,
        {QStringLiteral("GM"), 0xC0FFC0, QStringLiteral("'TXON''GREET' from zv'TXOFF'")});
    QTest::mousePress(main.Command8[0], Qt::LeftButton);

    RichTextPane* pane = main.RichTextBox1;
    ASSERT_TRUE(zvtest::waitUntil([&] { return pane->text().contains(QStringLiteral(" from zv")); }))
        << pane->text().toStdString();
    EXPECT_TRUE(pane->text().contains(QStringLiteral("Good Morning from zv"))) << pane->text().toStdString();
    EXPECT_FALSE(pane->text().contains(QStringLiteral("Evening")));
    bool sent = false;
    for (const QString& c : pskcore::lib().callTexts())
        sent |= c.startsWith(QLatin1String("fnSendTXString")) && c.contains(QLatin1String("Good Morning"));
    EXPECT_TRUE(sent);
    EXPECT_EQ(logbook::g.LocalTimeText, QStringLiteral("03:58"));
}

TEST_F(CallCheck, PrefixRulesOfTheMasterData) {
    const struct {
        const char* call;
        const char* code; // of row 1; empty: the prefix is unknown
        int rows;         // data rows listed
        const char* local;
    } cases[] = {
        {"JD1ABC", "733A", 2, ""},      // the area digit picks the entity; the other JD1 entry is listed too
        {"JD0ABC", "732A", 1, "11:30"}, // 154 east: 10 hours
        {"JD7ABC", "", 0, ""},          // no entity for this digit
        {"JD2ABC", "", 0, ""},
        {"AH6XX", "140A", 1, "15:30"}, // the stand-in entry leads to Hawaii, 157 west: -10 h
        {"5H1XX", "025", 1, "03:30"},  // the retired entity is passed over
        {"W6ABC", "758", 1, "17:30"},  // the district of the 6: 120 west
        {"ZZ1ABC", "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        ui::script::clearAsked();
        logbook::g.LocalTimeText.clear();
        CheckCallSign(QString::fromLatin1(c.call));
        const bool unknown = QString::fromLatin1(c.code).isEmpty();
        EXPECT_EQ(askedPrompts().contains(QStringLiteral("このﾌﾟﾘﾌｨｯｸｽはﾏｽﾀﾃﾞｰﾀに存在しません")), unknown);
        if (unknown) continue;
        ASSERT_TRUE(forms::isLoaded<CODE_LIST>());
        logwindows::FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
        EXPECT_EQ(grid.text(1, 1).trimmed(), QString::fromLatin1(c.code));
        EXPECT_EQ(grid.rows() - 1, c.rows);
        EXPECT_EQ(logbook::g.LocalTimeText, QString::fromLatin1(c.local));
    }
}

TEST_F(CallCheck, DownInTheEntrysCallBoxLooksTheCallUp) {
    TEMP_LOG& log = forms::TEMP_LOG();
    log.show();
    log.Text1->setText(QStringLiteral("DL1ABC"));
    QTest::keyClick(log.Text1, Qt::Key_Down);
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("DL1ABC"));
    EXPECT_EQ(log.Text9->text().trimmed(), QStringLiteral("230"));
    EXPECT_EQ(core::g.StatusMessage, QStringLiteral("１ｓｔ　ＱＳＯ　です。"));
    EXPECT_EQ(log.focusWidget(), log.Text4);
    ASSERT_TRUE(forms::isLoaded<CODE_LIST>());
    EXPECT_EQ(forms::CODE_LIST().MSFlexGrid1->rows(), 2) << "the second look-up lists the entry once";

    // An unknown prefix is said once, not by each look-up.
    log.Text1->setText(QStringLiteral("ZZ1ABC"));
    ui::script::clearAsked();
    QTest::keyClick(log.Text1, Qt::Key_Down);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("このﾌﾟﾘﾌｨｯｸｽはﾏｽﾀﾃﾞｰﾀに存在しません")});

    // A stored record on show is not looked up again.
    logbook::g.LogEditMode = 1;
    core::g.StatusMessage.clear();
    log.Text1->setText(QStringLiteral("QQ2NEW"));
    QTest::keyClick(log.Text1, Qt::Key_Down);
    EXPECT_TRUE(core::g.StatusMessage.isEmpty());
    EXPECT_EQ(log.focusWidget(), log.Text4);
}

TEST_F(CallCheck, OtherLinksDoNoLookUp) {
    logbook::g.HamlogLink = 0;
    EXPECT_TRUE(CheckCallSign(QStringLiteral("QQ1ABC")));
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
    EXPECT_FALSE(forms::isLoaded<QSODATA>());

    // The window link only hands the QSO to the logging program, here not running.
    logbook::g.HamlogLink = 2;
    logbook::g.FirstQsoFlag = 1;
    EXPECT_TRUE(CheckCallSign(QStringLiteral("QQ1ABC")));
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("Turbo HAMLOG/Winが起動していません。")});
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
    EXPECT_FALSE(forms::isLoaded<QSODATA>());
    EXPECT_FALSE(forms::isLoaded<CODE_LIST>());
    EXPECT_EQ(logbook::g.FirstQsoFlag, 0);
}

TEST_F(CallCheck, JunkInTheCallBoxFindsNothingAndNeverBreaks) {
    addQsos({{"QQ1ABC", "", "", ""}, {"QQ%", "", "", ""}});
    const QString cases[] = {
        QStringLiteral("   "),  QStringLiteral("/"),
        QStringLiteral("//"),   QStringLiteral("A/"),
        QStringLiteral("/P"),   QStringLiteral("ＱＱ１ＡＢＣ"),
        QStringLiteral("山田"), QString(200, QLatin1Char('Q')),
        QStringLiteral("%"),    QStringLiteral("QQ1AB_"),
        QStringLiteral("QQ1'"), QStringLiteral("QQ1ABC%"),
    };
    for (const QString& call : cases) {
        SCOPED_TRACE(call.left(20).toStdString());
        ui::script::clearAsked();
        const bool served = CheckCallSign(call);
        EXPECT_FALSE(forms::isLoaded<QSODATA>()) << "nothing worked before";
        const bool empty = call.trimmed().isEmpty() || call == QLatin1String("/");
        EXPECT_EQ(served, !empty);
        if (empty) {
            EXPECT_EQ(askedPrompts().value(0), QStringLiteral("CallSign を記入してください"));
        }
    }
}

TEST_F(CallCheck, InSstvModeTheResultsGoToTheSstvWindow) {
    addQsos({{"QQ1ABC", "一郎", "1002", "八王子市"}});
    PSK31MAIN& main = forms::PSK31MAIN();
    zvtest::setBoxText(main.Text6, QStringLiteral("main name"));
    main.StatusBar1->setText(1, QStringLiteral("main status"));
    main.Check2->setChecked(false);
    // The SSTV window's engine is paced so that no picture comes in meanwhile.
    sstveng::lib().hooks().pictureIntervalMs = 100'000'000;
    core::g.OpMode = core::ModeSstv;
    SSTVForm& sstv = forms::SSTVForm();
    sstv.show();
    zvtest::clearBox(sstv.Text7);
    const auto enterCall = [&sstv](const QString& call) {
        zvtest::clearBox(sstv.Text1);
        QTest::keyClicks(sstv.Text1, call);
    };

    // Typed in lower case, Down in the call box looks the call up.
    enterCall(QStringLiteral("qq1abc"));
    QTest::keyClick(sstv.Text1, Qt::Key_Down);
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("QQ1ABC"));
    EXPECT_EQ(sstv.Text7->text(), QStringLiteral("一郎"));
    EXPECT_EQ(sstv.StatusBar1->text(1), QStringLiteral("八王子市   一郎"));
    EXPECT_EQ(forms::TEMP_LOG().Text13->text(), QStringLiteral("八王子市"));
    EXPECT_EQ(sstv.focusWidget(), sstv.Text1);

    // A row picked in the list fills the SSTV window's name box and status bar.
    zvtest::setBoxText(sstv.Text7, QStringLiteral("typed"));
    sstv.StatusBar1->setText(1, {});
    ASSERT_TRUE(forms::isLoaded<QSODATA>());
    logwindows::FlexGrid& grid = *forms::QSODATA().MSFlexGrid1;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(0, 1)).center());
    EXPECT_EQ(sstv.Text7->text(), QStringLiteral("一郎"));
    EXPECT_EQ(sstv.StatusBar1->text(1), QStringLiteral("八王子市   一郎"));

    // A DX station by a double click: the SSTV window's UTC box, status bar and message line.
    enterCall(QStringLiteral("DL1ABC"));
    QTest::mouseDClick(sstv.Text1, Qt::LeftButton);
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("DL1ABC"));
    EXPECT_TRUE(sstv.Check1->isChecked());
    EXPECT_FALSE(main.Check2->isChecked());
    EXPECT_EQ(core::g.LogTimeUtc, 1);
    EXPECT_TRUE(sstv.StatusBar1->text(1).endsWith(QStringLiteral("  Local Time=> 01:30")));
    EXPECT_EQ(sstv.Text3->text(), QStringLiteral("１ｓｔ　ＱＳＯ　です。"));
    EXPECT_TRUE(sstv.Text3->isVisible());
    EXPECT_EQ(forms::TEMP_LOG().windowTitle(), QStringLiteral("１ｓｔ　ＱＳＯ　です。"));

    // Home again by a click on "Call Sign": the UTC box is cleared.
    enterCall(QStringLiteral("QQ2XYZ"));
    QTest::mouseClick(sstv.Label2, Qt::LeftButton);
    EXPECT_EQ(logbook::g.WkdCall, QStringLiteral("QQ2XYZ"));
    EXPECT_FALSE(sstv.Check1->isChecked());
    EXPECT_EQ(core::g.LogTimeUtc, 0);

    // An empty call asks for one and sends the operator back to the call box.
    enterCall(QStringLiteral(" "));
    ui::script::clearAsked();
    QTest::keyClick(sstv.Text1, Qt::Key_Down);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("CallSign を記入してください")});
    EXPECT_EQ(sstv.focusWidget(), sstv.Text1);

    // The main window's boxes were never touched.
    EXPECT_EQ(main.Text6->text(), QStringLiteral("main name"));
    EXPECT_EQ(main.StatusBar1->text(1), QStringLiteral("main status"));
}

} // namespace
