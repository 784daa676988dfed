// The contest save as the operator uses it: one menu click stores the QSO with
// the time of the click and the serial number, and readies the next station.
#include "log/ContestSave.h"
#include "core/ini/IniValues.h"
#include "logwindows/LogFixture.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "settings/dialogs/CFG_Contest.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/QsoBoxSetUp.h"

#include <QScrollBar>

namespace {

class ContestSave : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        fillLog(3);
        core::g.LogTimeMacroUsed = 0;
        logbook::g.QslPrintProgKind = 1;
        // The number the last contest stopped at.
        core::PutIniText(QStringLiteral("PSKCFG"), "ContestNo", QStringLiteral("007"));
    }
    void TearDown() override {
        sysclock::resetForTest();
        LogTest::TearDown();
    }
    static void contestSave(TEMP_LOG& w) {
        ui::script::clearAsked();
        EXPECT_TRUE(zvtest::chooseMenuItem(w.Contest));
    }
};

TEST_F(ContestSave, StoresWithTheSerialAndReadiesTheNextStation) {
    startContest(true, true);
    setJst(QStringLiteral("2024-05-03 21:05"));
    // A report typed over the fixed one goes with this QSO only.
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ1CON"), QStringLiteral("太郎"), QStringLiteral("579"));
    EXPECT_TRUE(w.Contest->isVisible());
    EXPECT_FALSE(w.LSave->isVisible());
    w.Text6->setText(QStringLiteral("579"));
    w.Text14->setText(QStringLiteral("TNX"));
    w.Text13->setText(QStringLiteral("東京都"));
    w.Text4->setText(QStringLiteral("00:00J"));
    contestSave(w);
    EXPECT_TRUE(askedPrompts().isEmpty());
    ASSERT_EQ(logCount(), 4);
    const hamlog::QsoRecord r = stored(4);
    EXPECT_EQ(r.CALL.trimmed(), QStringLiteral("QQ1CON"));
    EXPECT_EQ(r.REM1.trimmed(), QStringLiteral("007(SendNo) TNX"));
    EXPECT_EQ(r.DATE, QStringLiteral("24-05-03"));
    EXPECT_EQ(r.TIME, QStringLiteral("21:05J"));
    EXPECT_EQ(r.NAME.trimmed(), QStringLiteral("太郎"));

    PSK31MAIN& m = forms::PSK31MAIN();
    EXPECT_EQ(m.Text11->text(), QStringLiteral("008"));
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")), QStringLiteral("008"));
    EXPECT_TRUE(forms::isLoaded<TEMP_LOG>());
    EXPECT_EQ(w.LSave->text(), QStringLiteral("保存完了"));
    EXPECT_FALSE(w.LSave->isEnabled());
    EXPECT_TRUE(w.HLQ->isEnabled()) << "the stored QSO can be printed";
    EXPECT_EQ(w.StatusBar1->text(1), QStringLiteral("Record No=5"));
    for (QLineEdit* b : {w.Text1, w.Text2, w.Text9, w.Text10, w.Text12, w.Text13, w.Text14, w.Text15})
        EXPECT_TRUE(b->text().isEmpty()) << b->text().toStdString();
    EXPECT_TRUE(m.Text5->text().isEmpty());
    EXPECT_TRUE(m.Text6->text().isEmpty());
    EXPECT_EQ(m.Text7->text(), QStringLiteral("599"));
    EXPECT_EQ(w.Text5->text(), QStringLiteral("599"));
    EXPECT_EQ(w.Text6->text(), QStringLiteral("599"));
    EXPECT_FALSE(w.LT->isVisible());
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_EQ(logbook::g.LoggedRecNo, 4);

    // The next station, Rem1 empty: the serial and one blank.
    zvtest::setBoxText(m.Text5, QStringLiteral("QQ2CON"));
    contestSave(w);
    ASSERT_EQ(logCount(), 5);
    EXPECT_EQ(stored(5).CALL.trimmed(), QStringLiteral("QQ2CON"));
    EXPECT_EQ(stored(5).REM1, QStringLiteral("008(SendNo) ").leftJustified(254));
    EXPECT_EQ(m.Text11->text(), QStringLiteral("009"));
}

TEST_F(ContestSave, TheTimeOfTheClickInTheEntrysZone) {
    startContest(true, true);
    const struct {
        const char* jst;
        const char* timeBox;
        const char* date;
        const char* time;
    } cases[] = {
        {"2024-05-03 08:30", "12:00U", "24-05-02", "23:30U"},
        {"2024-05-03 09:00", "12:00U", "24-05-03", "00:00U"},
        {"2024-05-03 21:05", "12:00J", "24-05-03", "21:05J"},
        {"2025-01-01 08:59", "12:00U", "24-12-31", "23:59U"},
    };
    int n = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jst);
        setJst(QString::fromLatin1(c.jst));
        TEMP_LOG& w = openFromMain(QStringLiteral("QQ3CON"));
        w.Text4->setText(QString::fromLatin1(c.timeBox));
        contestSave(w);
        ASSERT_EQ(logCount(), ++n);
        EXPECT_EQ(stored(n).DATE, QString::fromLatin1(c.date));
        EXPECT_EQ(stored(n).TIME, QString::fromLatin1(c.time));
    }
    // A macro wrote the time: the boxes are stored as shown, and the flag is spent.
    setJst(QStringLiteral("2024-05-03 21:05"));
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ4CON"));
    w.Text3->setText(QStringLiteral("2024-05-01"));
    w.Text4->setText(QStringLiteral("10:10J"));
    core::g.LogTimeMacroUsed = 1;
    contestSave(w);
    EXPECT_EQ(stored(n + 1).DATE, QStringLiteral("24-05-01"));
    EXPECT_EQ(stored(n + 1).TIME, QStringLiteral("10:10J"));
    EXPECT_EQ(core::g.LogTimeMacroUsed, 0);
}

TEST_F(ContestSave, WithoutSerialOrFixedReportTheBoxesStayAsTyped) {
    const QString serial = startContest(false, false).Text11->text();
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ5CON"), {}, QStringLiteral("579"));
    w.Text6->setText(QStringLiteral("569"));
    w.Text14->setText(QStringLiteral("TNX"));
    const int spin = forms::PSK31MAIN().VScroll4->value();
    contestSave(w);
    ASSERT_EQ(logCount(), 4);
    EXPECT_EQ(stored(4).REM1.trimmed(), QStringLiteral("TNX"));
    EXPECT_EQ(forms::PSK31MAIN().VScroll4->value(), spin);
    EXPECT_EQ(forms::PSK31MAIN().Text11->text(), serial);
    EXPECT_EQ(w.Text6->text(), QStringLiteral("569"));
}

TEST_F(ContestSave, AnEditedRecordIsOnlyRewritten) {
    startContest(true, true);
    TEMP_LOG& w = openFromMain(QString());
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    ASSERT_EQ(w.Text1->text(), QStringLiteral("QQ1AA3"));
    w.Text12->setText(QStringLiteral("花子"));
    contestSave(w);
    EXPECT_EQ(logCount(), 3);
    EXPECT_EQ(stored(3).NAME.trimmed(), QStringLiteral("花子"));
    EXPECT_EQ(stored(3).REM1.trimmed(), QString());
    EXPECT_EQ(forms::PSK31MAIN().Text11->text(), QStringLiteral("007"));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ1AA3")) << "the record is shown again, not cleared";
    EXPECT_EQ(logbook::g.LogEditMode, 1);
}

// A contest begun with the entry on a stored record starts a new page: the
// first station takes none of that record's fields.
TEST_F(ContestSave, TheFirstStationTakesNothingOfTheRecordOnShow) {
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ6SSL"), QStringLiteral("Shin"));
    w.Text13->setText(QStringLiteral("Sapporo"));
    pressF1();
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    // A correction typed into the record on show goes only with the operator's word.
    w.Text12->setFocus();
    QTest::keyClicks(w.Text12, QStringLiteral("ji"));
    CFG_Contest* d = zvtest::openContestDialog();
    ASSERT_TRUE(d);
    zvtest::tick(d->Check3);
    ui::script::clearAsked();
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseMenuItem(d->CON_STRART));
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか")});
    EXPECT_EQ(core::g.ContestMode, 0);
    EXPECT_EQ(w.Text12->text(), QStringLiteral("Shinji"));
    ui::script::push(ui::Yes);
    ASSERT_TRUE(zvtest::joinContest(*d));
    PSK31MAIN& m = forms::PSK31MAIN();
    zvtest::clearBox(m.Text6);
    zvtest::setBoxText(m.Text5, QStringLiteral("QQ1CL1"));
    contestSave(forms::TEMP_LOG());
    ASSERT_EQ(logCount(), 5);
    const hamlog::QsoRecord r = stored(5);
    EXPECT_EQ(QStringList({r.CALL.trimmed(), r.NAME.trimmed(), r.QTH.trimmed()}),
              QStringList({QStringLiteral("QQ1CL1"), QString(), QString()}));
    EXPECT_EQ(stored(4).NAME.trimmed(), QStringLiteral("Shin"));
}

TEST_F(ContestSave, AFailedOrDeclinedWriteKeepsEverything) {
    startContest(true, true);
    const struct {
        const char* name;
        bool removeLog;
        QString message;
    } cases[] = {
        {"no log", true, QStringLiteral("書き込みに失敗しました")},
        {"declined", false, QStringLiteral("このQSOをログに登録しますか？")},
        {"no call", false, QStringLiteral("CALL DATA がありません")},
        {"not Shift-JIS", false, QStringLiteral("「Rem2」の「é」はLOG に保存できない文字です。")},
        {"no band", false, QStringLiteral("Band DATA がありません")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logbook::g.HamlogConfirmText = QStringLiteral("NO");
        TEMP_LOG& w = openFromMain(QStringLiteral("QQ6CON"), QStringLiteral("三郎"));
        w.Text14->setText(QStringLiteral("TNX"));
        if (QLatin1String(c.name) == QLatin1String("no call")) w.Text1->clear();
        if (QLatin1String(c.name) == QLatin1String("no band")) w.Combo1->setEditText(QString());
        if (QLatin1String(c.name) == QLatin1String("not Shift-JIS"))
            w.Text15->setText(QStringLiteral("José"));
        if (c.removeLog) logbook::g.HamlogDataPath = path(QStringLiteral("GONE"));
        if (QLatin1String(c.name) == QLatin1String("declined")) {
            logbook::g.HamlogConfirmText = QStringLiteral("YES");
            ui::script::push(ui::No);
        }
        contestSave(w);
        ASSERT_FALSE(askedPrompts().isEmpty());
        EXPECT_TRUE(askedPrompts().first().startsWith(c.message)) << askedPrompts().first().toStdString();
        logbook::g.HamlogDataPath = dataPath();
        EXPECT_EQ(logCount(), 3);
        EXPECT_TRUE(forms::isLoaded<TEMP_LOG>());
        EXPECT_EQ(w.Text14->text(), QStringLiteral("TNX"));
        EXPECT_EQ(w.Text12->text(), QStringLiteral("三郎"));
        EXPECT_NE(w.LSave->text(), QStringLiteral("保存完了"));
        EXPECT_EQ(forms::PSK31MAIN().Text11->text(), QStringLiteral("007"));
        EXPECT_EQ(forms::PSK31MAIN().Text6->text(), QStringLiteral("三郎"));
    }
}

TEST_F(ContestSave, AMistypedSerialIsRefusedUntilTheOperatorMendsIt) {
    startContest(true, true);
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ8CON"), QStringLiteral("四郎"));
    w.Text14->setText(QStringLiteral("TNX"));
    PSK31MAIN& m = forms::PSK31MAIN();
    m.Text11->setFocus();
    m.Text11->selectAll();
    QTest::keyClicks(m.Text11, QStringLiteral("12x"));
    ASSERT_EQ(m.Text11->text(), QStringLiteral("012x"));
    contestSave(w);
    ASSERT_FALSE(askedPrompts().isEmpty());
    EXPECT_EQ(askedPrompts().first(), QStringLiteral("Contest ナンバーが正しくありません"));
    EXPECT_EQ(logCount(), 3);
    EXPECT_EQ(w.Text14->text(), QStringLiteral("TNX"));
    EXPECT_EQ(w.Text12->text(), QStringLiteral("四郎"));

    QTest::keyClick(m.Text11, Qt::Key_Backspace);
    contestSave(w);
    ASSERT_EQ(logCount(), 4);
    EXPECT_EQ(stored(4).REM1.trimmed(), QStringLiteral("012(SendNo) TNX"));
    EXPECT_EQ(m.Text11->text(), QStringLiteral("013"));
}

TEST_F(ContestSave, TheViewerKeptInUseShowsTheStoredQso) {
    startContest(true, true);
    logbook::g.HamlogViewerOn = QStringLiteral("YES");
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ7CON"));
    contestSave(w);
    ASSERT_TRUE(forms::isLoaded<LOGDATAVIEW>());
    EXPECT_EQ(forms::LOGDATAVIEW().MSFlexGrid1->text(4, 1), QStringLiteral("QQ7CON"));
    EXPECT_TRUE(forms::isLoaded<TEMP_LOG>());
}

TEST(ContestSaveValues, SerialTexts) {
    EXPECT_EQ(logbook::remarksWithSerial(QStringLiteral("007"), QStringLiteral("TNX")),
              QStringLiteral("007(SendNo) TNX"));
    EXPECT_EQ(logbook::remarksWithSerial(QStringLiteral("007"), QString()), QStringLiteral("007(SendNo) "));
    EXPECT_EQ(logbook::nextSerialText(QStringLiteral("007")), QStringLiteral("008"));
    EXPECT_EQ(logbook::nextSerialText(QStringLiteral("999")), QStringLiteral("1000"));
    EXPECT_EQ(logbook::nextSerialText(QStringLiteral("x")), QStringLiteral("001"));
}

} // namespace
