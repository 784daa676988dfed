// Stepping through the log and marking the export range.
#include "logwindows/LogFixture.h"

#include "core/ini/IniNames.h"
#include "core/ini/IniValues.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "settings/sheet/CFGSHEET.h"
#include "support/Popups.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"

namespace {

using zvtest::LogTest;

class LogBrowse : public LogTest {
  protected:
    QPushButton* button(const char* caption) {
        TEMP_LOG& w = forms::TEMP_LOG();
        const QString c = QString::fromLatin1(caption);
        for (QPushButton* b : {w.Command5, w.Command2, w.Command3, w.Command6, w.Command8, w.Command9})
            if (b->text() == c) return b;
        return nullptr;
    }
    void click(const char* caption) {
        QPushButton* b = button(caption);
        ASSERT_NE(b, nullptr) << caption;
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

TEST_F(LogBrowse, StepsByOneAndByAHundredWithinTheLog) {
    fillLog(160);
    TEMP_LOG& w = openFromMain(QString());
    struct Step {
        const char* button;
        int recNo;
    } steps[] = {
        {">", 160}, {">>", 160}, {"<<", 60},  {"<", 59},   {"<<", 1},  {"<", 1},
        {"<<", 1},  {">", 2},    {">>", 102}, {">>", 160}, {"<", 159},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        click(s.button);
        EXPECT_EQ(logbook::g.HamlogRecNo, s.recNo);
        EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ1AA%1").arg(s.recNo));
        EXPECT_EQ(w.Text12->text(), QStringLiteral("NAME%1").arg(s.recNo));
        EXPECT_EQ(w.StatusBar1->text(1), QStringLiteral("Record No=%1").arg(s.recNo));
        EXPECT_EQ(logbook::g.LoggedRecNo, s.recNo);
        EXPECT_EQ(logbook::g.LogEditMode, 1);
    }
    EXPECT_EQ(w.Text3->text(), QStringLiteral("2024-01-15"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("12:00J"));
    EXPECT_EQ(w.Text11->text(), QStringLiteral("J"));
    EXPECT_EQ(w.Text16->text(), QStringLiteral(" "));
    EXPECT_EQ(w.Text17->text(), QStringLiteral("*"));
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("7"));
    EXPECT_FALSE(w.QSOEND->isEnabled());
    EXPECT_TRUE(w.Command8->isEnabled());
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

// The rig polled by its timer keeps moving while the operator goes back to
// stored QSOs: only a new QSO takes its dial.
TEST_F(LogBrowse, AStoredQsoKeepsItsBandWhileTheRigMoves) {
    zvtest::RigSimulator sim(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(sim.isOpen());
    zvtest::pointRigLinkAt(sim);
    rig::g.RigPollMode = 2;
    rig::g.RigPollInterval = 600;
    sim.dialHz = 7040000;
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    const auto rigAnswersTwice = [&] {
        const int before = sim.readingsAnswered;
        return zvtest::waitUntil([&] { return sim.readingsAnswered >= before + 2; });
    };
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ1ABC"));
    ASSERT_TRUE(zvtest::waitUntil([&] { return w.Combo1->currentText() == QLatin1String("7.040"); }));
    ASSERT_TRUE(zvtest::waitForPostedEvents()) << "the window's layout settles first";
    const QSize opened = w.size();
    pressF1();
    ASSERT_EQ(logCount(), 1);
    ASSERT_TRUE(w.Command4->isVisible());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(w.size(), opened) << "the new-entry button appears without growing the window";

    sim.dialHz = 14025000;
    ASSERT_TRUE(rigAnswersTwice());
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("7.040")) << "the QSO just stored, shown again";
    QTest::mouseClick(w.Command4, Qt::LeftButton);
    EXPECT_TRUE(zvtest::waitUntil([&] { return w.Combo1->currentText() == QLatin1String("14.025"); }))
        << "a new QSO follows the dial";

    w.Text1->setText(QString());
    click("<");
    ASSERT_TRUE(rigAnswersTwice());
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("7.040"));
    QTest::keyClicks(w.Text14, QStringLiteral("TNX"));
    pressF1();
    ASSERT_TRUE(rigAnswersTwice());
    EXPECT_EQ(stored(1).FREQ.trimmed(), QStringLiteral("7.040"));
    EXPECT_EQ(stored(1).REM1.trimmed(), QStringLiteral("TNX"));
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("7.040"));
    rig::RigClosePort();
}

TEST_F(LogBrowse, NothingToShowKeepsTheNewEntry) {
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ8PQR"), QStringLiteral("四郎"));
    for (const char* b : {">", ">>", "<<", "<"}) {
        SCOPED_TRACE(b);
        ui::script::push(ui::Yes);
        click(b);
        EXPECT_EQ(logbook::g.LogEditMode, 0);
        EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ8PQR"));
        EXPECT_EQ(w.Text12->text(), QStringLiteral("四郎"));
        EXPECT_EQ(logbook::g.HamlogRecNo, 1);
    }
    pressF1();
    EXPECT_EQ(logCount(), 1);
    EXPECT_EQ(stored(1).CALL.trimmed(), QStringLiteral("QQ8PQR"));
}

TEST_F(LogBrowse, AnUnsavedEntryIsOnlyLeftWhenTheOperatorAgrees) {
    fillLog(3);
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ8PQR"));
    ui::script::push(ui::No);
    click("<");
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral(
                                  "現在のLOGﾃﾞｰﾀが未保存です\r\nスクロールすると消えますが宜しいですか")});
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ8PQR"));
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    ui::script::push(ui::Yes);
    click("<");
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ1AA3"));
    ui::script::clearAsked();
    click("<");
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ1AA2"));
}

TEST_F(LogBrowse, StartAndEndMarkTheExportRange) {
    fillLog(60);
    TEMP_LOG& w = openFromMain(QString());
    click("<");
    for (int i = 0; i < 20; ++i)
        click("<");
    ASSERT_EQ(logbook::g.HamlogRecNo, 40);
    click("Strt");
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("e-QSL No=40 to 40"));
    for (int i = 0; i < 15; ++i)
        click("<");
    click("End");
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("e-QSL No=25 to 40"));
    EXPECT_EQ(logbook::g.ExportFromRecNo, 25);
    EXPECT_EQ(logbook::g.ExportToRecNo, 40);
    logbook::g.ExportFromRecNo = 0;
    click("End");
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("e-QSL No=25 to 25"));
}

// A stored RTTY record browsed to, then a new QSO opened from the main
// window: the new record takes the mode on the air and the QSL mark, not the
// record's, and the record stays as it was. A mark changed on the settings
// sheet is the preset of new records: a record on show that was stored with
// the mark before keeps it, and so does a mark the operator typed.
TEST_F(LogBrowse, ANewRecordAfterBrowsingTakesTheModeOnTheAirAndTheQslMark) {
    enum Way { LogButton, CtrlL, EscThenLogButton, SheetMarkThenLogButton };
    const struct {
        const char* name;
        QString call; // in the main window's call box before the browse
        Way way;
        QString mark = QStringLiteral("J");   // the new record's QSL mark
        QString stored = QStringLiteral("J"); // and what is stored with it
    } rows[] = {
        {"a new call, the log button", QStringLiteral("QQ5NEW"), LogButton},
        {"a new call, Ctrl+L", QStringLiteral("QQ6NEW"), CtrlL},
        {"the record's own call, the log button", QStringLiteral("QQ4RTY"), LogButton},
        {"closed with Esc, the log button", QStringLiteral("QQ7NEW"), EscThenLogButton},
        {"the sheet's QSL mark changed, the log button", QStringLiteral("QQ8NEW"), SheetMarkThenLogButton,
         QStringLiteral("W"), QStringLiteral("N")},
    };
    hamlog::QsoRecord rtty;
    rtty.CALL = QStringLiteral("QQ4RTY");
    rtty.DATE = QStringLiteral("24-01-14");
    rtty.TIME = QStringLiteral("11:00J");
    rtty.FREQ = QStringLiteral("14");
    rtty.MODE = QStringLiteral("RTTY");
    rtty.QSL = QStringLiteral("N*#");
    ASSERT_TRUE(hamlog::appendRecords(dataPath(), {rtty}));
    // The sheet finds the library link the fixture set.
    core::PutIniText(QStringLiteral("HamLog"), "HAMLOGtype", QStringLiteral("1"));
    core::PutIniName(QStringLiteral("HamLog"), QStringLiteral("HAMLOGPOS"), logbook::g.HamlogPath);
    PSK31MAIN& m = forms::PSK31MAIN();
    // The operator types the mark into the sheet's QSL box.
    const auto sheetMark = [&m](const QString& mark) {
        ASSERT_TRUE(zvtest::chooseMenuItem(m.PSKCFG));
        CFGSHEET& sheet = forms::CFGSHEET();
        sheet.Text4->setFocus();
        sheet.Text4->selectAll();
        QTest::keyClicks(sheet.Text4, mark);
        EXPECT_EQ(sheet.Text4->text(), mark);
        forms::unload<CFGSHEET>();
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const int records = logCount();
        openFromMain(r.call, {}, QStringLiteral("579"));
        ui::script::push(ui::Yes); // the call typed is left for the browse
        click("<<");
        TEMP_LOG* w = &forms::TEMP_LOG();
        ASSERT_EQ(w->Text1->text(), QStringLiteral("QQ4RTY"));
        ASSERT_EQ(w->Text8->text(), QStringLiteral("RTTY"));
        ASSERT_EQ(m.Text5->text(), r.call);
        if (r.way == EscThenLogButton) {
            QTest::keyClick(w->Text14, Qt::Key_Escape);
            ASSERT_FALSE(forms::isLoaded<TEMP_LOG>());
        }
        if (r.way == SheetMarkThenLogButton) {
            // The first new record, stored by the first row with the mark then preset.
            click(">");
            ASSERT_EQ(w->Text1->text(), rows[0].call);
            sheetMark(r.mark);
            EXPECT_EQ(w->Text11->text(), QStringLiteral("J")) << "the record on show keeps its mark";
        }
        if (r.way == CtrlL)
            QTest::keyClick(m.Text5, Qt::Key_L, Qt::ControlModifier);
        else
            QTest::mouseClick(m.Command5, Qt::LeftButton);
        w = &forms::TEMP_LOG();
        EXPECT_EQ(logbook::g.LogEditMode, 0);
        EXPECT_EQ(w->Text1->text(), r.call);
        EXPECT_EQ(w->Text8->text(), QStringLiteral("BPSK"));
        EXPECT_EQ(QStringList({w->Text11->text(), w->Text16->text(), w->Text17->text()}),
                  QStringList({r.mark, QString(), QString()}));
        if (r.stored != r.mark) {
            w->Text11->setFocus();
            w->Text11->selectAll();
            QTest::keyClicks(w->Text11, r.stored);
            sheetMark(QStringLiteral("Q"));
            EXPECT_EQ(w->Text11->text(), r.stored) << "the mark the operator typed stays";
        }
        pressF1();
        ASSERT_EQ(logCount(), records + 1);
        const hamlog::QsoRecord added = stored(records + 1);
        EXPECT_EQ(added.CALL.trimmed(), r.call);
        EXPECT_EQ(added.MODE.trimmed(), QStringLiteral("BPSK"));
        EXPECT_EQ(added.HIS.trimmed(), QStringLiteral("579")) << "the report typed, not the preset";
        EXPECT_EQ(m.Text7->text(), QStringLiteral("579"));
        EXPECT_EQ(added.QSL, r.stored + QStringLiteral("  "));
        EXPECT_EQ(stored(1).MODE.trimmed(), QStringLiteral("RTTY")) << "the record browsed to is kept";
        EXPECT_EQ(stored(1).QSL, QStringLiteral("N*#"));
        forms::unload<TEMP_LOG>();
        zvtest::clearBox(m.Text5);
    }
}

TEST_F(LogBrowse, NewButtonStartsAFreshEntryForTheCurrentCall) {
    fillLog(2);
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ9STU"));
    pressF1();
    ASSERT_TRUE(w.Command4->isVisibleTo(&w));
    QTest::mouseClick(w.Command4, Qt::LeftButton);
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_EQ(logbook::g.HamlogRecNo, 4);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ9STU"));
    EXPECT_FALSE(w.Command4->isVisibleTo(&w));
    EXPECT_EQ(w.LSave->text(), QStringLiteral("LOG保存(F1)"));
}

} // namespace
