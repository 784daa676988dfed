// Logging across a mode change that swaps the operating window and across the
// program's end: a QSO handed to the logging program is not dropped unasked,
// and a running contest shows its serial box and fixed report in the window
// now in use.
#include "core/ini/IniValues.h"
#include "logwindows/QsoWindowFixture.h"
#include "logwindows/entry/QsoBoxes.h"
#include "platform/forms/colour/ControlColour.h"
#include "settings/dialogs/CFG_Contest.h"
#include "sstv/window/SSTVForm.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QtTest/qtestspontaneevent.h>

namespace {

class ModeChangeLog : public zvtest::QsoWindowTest {
  protected:
    void SetUp() override {
        QsoWindowTest::SetUp();
        core::g.LogModeTextPsk = QStringLiteral("PSK31");
        core::g.LogModeTextSstv = QStringLiteral("SSTV");
    }
    void toSstv() { ASSERT_TRUE(zvtest::chooseInMenuBar(main->menuBar(), main->PSKMODE[core::ModeSstv])); }
    static void tick(QCheckBox* box) { zvtest::tick(box); }
};

TEST_F(ModeChangeLog, AHandedOverQsoIsDroppedOnlyWhenTheOperatorSaysSo) {
    windowLink();
    zvtest::setBoxText(main->Text5, QStringLiteral("QQ1AAA"));
    zvtest::setBoxText(main->Text6, QStringLiteral("太郎"));
    QTest::mouseClick(main->Command5, Qt::LeftButton);
    ASSERT_EQ(core::g.HamlogEntrySent, 1);

    // No: the change does not happen and the QSO stays pending.
    ui::script::clearAsked();
    ui::script::push(ui::No);
    toSstv();
    ASSERT_EQ(askedPrompts().size(), 1);
    EXPECT_TRUE(askedPrompts()[0].contains(QStringLiteral("まだ保存されていません")));
    EXPECT_EQ(core::g.OpMode, core::ModeBpsk);
    EXPECT_TRUE(main->PSKMODE[core::ModeBpsk]->isChecked());
    EXPECT_FALSE(main->PSKMODE[core::ModeSstv]->isChecked());
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(main->Command5->text(), QStringLiteral("LOG保存"));
    EXPECT_EQ(main->Text5->text(), QStringLiteral("QQ1AAA"));

    // The second press still stores it.
    QTest::mouseClick(main->Command5, Qt::LeftButton);
    EXPECT_EQ(logCount(), 1);

    // Another QSO handed over, then dropped with a yes: nothing is stored.
    zvtest::setBoxText(main->Text5, QStringLiteral("QQ2BBB"));
    QTest::mouseClick(main->Command5, Qt::LeftButton);
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    ui::script::push(ui::Yes);
    toSstv();
    EXPECT_EQ(core::g.OpMode, core::ModeSstv);
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(logCount(), 1);
}

TEST_F(ModeChangeLog, TheProgramsEndAsksBeforeAHandedOverQsoGoes) {
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    windowLink();
    zvtest::setBoxText(main->Text5, QStringLiteral("QQ3OSA"));
    QTest::mouseClick(main->Command5, Qt::LeftButton);
    ASSERT_EQ(core::g.HamlogEntrySent, 1);
    const auto closeBox = [this] {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject*>(main)->event(&e);
        return e.isAccepted();
    };

    ui::script::clearAsked();
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseMenuItem(main->pEnd));
    ui::script::push(ui::No);
    EXPECT_FALSE(closeBox());
    ASSERT_EQ(askedPrompts().size(), 2);
    EXPECT_TRUE(askedPrompts()[1].contains(QStringLiteral("終了するとこのQSOは破棄されます")));
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(forms::isLoaded<PSK31MAIN>());
    EXPECT_EQ(core::g.HamlogEntrySent, 1);
    EXPECT_EQ(main->Command5->text(), QStringLiteral("LOG保存"));

    ui::script::push(ui::Yes);
    EXPECT_TRUE(closeBox());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(core::g.HamlogEntrySent, 0);
    EXPECT_EQ(logCount(), 0);
    terminal::mainwindow::setProcessEndForTest({});
}

// With the library link the operator's end asks about an unsaved entry as the
// entry's own cancel does.
TEST_F(ModeChangeLog, TheOperatorsEndAsksAboutAnUnsavedLogEntry) {
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ7END"), QStringLiteral("Taro"), QStringLiteral("579"));
    w.activateWindow();
    ASSERT_TRUE(zvtest::waitActive(&w));
    for (ui::MsgResult answer : {ui::No, ui::Yes}) {
        ui::script::clearAsked();
        ui::script::push(answer);
        ASSERT_TRUE(zvtest::chooseMenuItem(main->pEnd));
        EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか")});
        EXPECT_EQ(ends, answer == ui::Yes ? 1 : 0);
    }
    terminal::mainwindow::setProcessEndForTest({});
}

// A QSO typed into the boxes and not stored (nor handed over) is asked about
// before a mode change swaps the window or the program ends, as a pick asks:
// a No keeps it in the window in use, a Yes lets it go.
TEST_F(ModeChangeLog, ATypedQsoIsAskedAboutBeforeTheWindowSwapsOrTheProgramEnds) {
    enum Way { ToSstv, FromSstv, EndItem, CloseBox };
    const std::tuple<int, Way, QString> rows[] = {{1, ToSstv, QStringLiteral("モードを変更すると")},
                                                  {2, ToSstv, QStringLiteral("モードを変更すると")},
                                                  {1, FromSstv, QStringLiteral("モードを変更すると")},
                                                  {2, FromSstv, QStringLiteral("モードを変更すると")},
                                                  {1, EndItem, QStringLiteral("終了すると")},
                                                  {1, CloseBox, QStringLiteral("終了すると")}};
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    for (const auto& [link, way, question] : rows) {
        SCOPED_TRACE(link * 10 + way);
        logbook::g.HamlogLink = link;
        if (way == FromSstv && core::g.OpMode != core::ModeSstv) toSstv();
        if (way != FromSstv && core::g.OpMode == core::ModeSstv) {
            ASSERT_TRUE(zvtest::chooseMenuItem(forms::SSTVForm().PSKMODE[core::ModeBpsk]));
            main = &forms::PSK31MAIN();
        }
        const bool sstv = way == FromSstv;
        QLineEdit* call = sstv ? forms::SSTVForm().Text1 : main->Text5;
        QLineEdit* name = sstv ? forms::SSTVForm().Text7 : main->Text6;
        for (auto [box, text] :
             {std::pair{call, QStringLiteral("QQ7TYP")}, std::pair{name, QStringLiteral("Taro")}}) {
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, text);
        }
        const int mode = core::g.OpMode;
        const auto act = [&, way = way] {
            if (way == ToSstv) toSstv();
            if (way == FromSstv) {
                ASSERT_TRUE(zvtest::chooseMenuItem(forms::SSTVForm().PSKMODE[core::ModeBpsk]));
            }
            if (way == EndItem) {
                ASSERT_TRUE(zvtest::chooseMenuItem(main->pEnd));
            }
            if (way == CloseBox) {
                QCloseEvent e;
                QSpontaneKeyEvent::setSpontaneous(&e);
                static_cast<QObject*>(main)->event(&e);
            }
        };
        ui::script::clearAsked();
        ui::script::push(ui::No);
        act();
        ASSERT_EQ(askedPrompts().size(), 1);
        EXPECT_TRUE(askedPrompts()[0].startsWith(QStringLiteral("入力中のQSOがまだ保存されていません")));
        EXPECT_TRUE(askedPrompts()[0].contains(question));
        EXPECT_EQ(core::g.OpMode, mode);
        EXPECT_EQ(ends, 0);
        EXPECT_EQ(call->text() + name->text(), QStringLiteral("QQ7TYPTaro"));
        if (way >= EndItem) continue;
        ui::script::push(ui::Yes);
        act();
        EXPECT_NE(core::g.OpMode, mode);
        if (way == FromSstv) main = &forms::PSK31MAIN();
        const logwindows::QsoBoxes now = logwindows::operatingBoxes();
        EXPECT_EQ(now.call->text() + now.name->text(), QString()) << "nothing of the QSO let go";
    }
    terminal::mainwindow::setProcessEndForTest({});
}

// With the library link a mode change asks about an entry not stored and lets
// it go whole; the log button takes every field from the window in use.
TEST_F(ModeChangeLog, TheLogEntryTakesTheQsoWholeFromTheWindowInUse) {
    toSstv();
    SSTVForm& sstv = forms::SSTVForm();
    zvtest::setBoxText(sstv.Text1, QStringLiteral("ja6abc"));
    zvtest::setBoxText(sstv.Text7, QStringLiteral("Saburo"));
    QTest::mouseClick(sstv.Command1, Qt::LeftButton);
    logbook::g.LogWindowOpen = 1;
    for (ui::MsgResult answer : {ui::No, ui::Yes}) {
        ui::script::clearAsked();
        ui::script::push(answer);
        ASSERT_TRUE(zvtest::chooseMenuItem(sstv.PSKMODE[core::ModeBpsk]));
        EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか")});
        if (answer == ui::No) {
            EXPECT_EQ(forms::TEMP_LOG().Text12->text(), QStringLiteral("Saburo"));
        }
    }
    main = &forms::PSK31MAIN();
    zvtest::clearBox(main->Text6);
    QTest::mouseClick(main->Command5, Qt::LeftButton);
    const TEMP_LOG& w = forms::TEMP_LOG();
    EXPECT_EQ(QStringList({w.Text1->text(), w.Text5->text(), w.Text12->text()}),
              QStringList({main->Text5->text().trimmed(), main->Text7->text(), QString()}));
}

TEST_F(ModeChangeLog, AContestRunningInSstvGoesOnInTheMainWindow) {
    core::PutIniText(QStringLiteral("PSKCFG"), "ContestNo", QStringLiteral("012"));
    toSstv();
    ASSERT_EQ(core::g.OpMode, core::ModeSstv);
    SSTVForm& sstv = forms::SSTVForm();
    // Its settings items come on once its start-up has run.
    ASSERT_TRUE(zvtest::waitUntil([&sstv] { return sstv.CONON->isEnabled(); }));
    ASSERT_TRUE(zvtest::chooseMenuItem(sstv.CONON));
    ASSERT_TRUE(forms::isLoaded<CFG_Contest>());
    CFG_Contest& d = forms::CFG_Contest();
    tick(d.Check3);
    tick(d.Check4);
    ASSERT_TRUE(zvtest::chooseMenuItem(d.CON_STRART));
    ASSERT_EQ(core::g.ContestMode, 1);
    EXPECT_EQ(sstv.Text5->text(), QStringLiteral("595"));
    EXPECT_EQ(sstv.Text11->text(), QStringLiteral("012"));
    TEMP_LOG& log = forms::TEMP_LOG();
    EXPECT_EQ(log.Text5->text(), QStringLiteral("595"));

    ASSERT_TRUE(zvtest::chooseMenuItem(sstv.PSKMODE[core::ModeBpsk]));
    ASSERT_EQ(core::g.OpMode, core::ModeBpsk);
    PSK31MAIN& m = forms::PSK31MAIN();
    EXPECT_TRUE(m.Text11->isVisible());
    EXPECT_TRUE(m.VScroll4->isVisible());
    EXPECT_EQ(m.Text11->text(), QStringLiteral("012"));
    EXPECT_EQ(m.VScroll4->value(), 12);
    EXPECT_EQ(m.Text7->text(), QStringLiteral("599"));
    EXPECT_TRUE(m.CONON->isChecked());
    EXPECT_EQ(forms::TEMP_LOG().Text5->text(), QStringLiteral("599"));
    EXPECT_EQ(forms::TEMP_LOG().Text6->text(), QStringLiteral("599"));

    // The main window's contest item ends it, as it would a contest begun there.
    ASSERT_TRUE(zvtest::chooseMenuItem(m.CONON));
    EXPECT_EQ(core::g.ContestMode, 0);
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")), QStringLiteral("012"));
    EXPECT_FALSE(m.Text11->isVisible());
    EXPECT_EQ(m.Text7->text(), QStringLiteral("599")) << "the report preset";
}

// A contest ended from the SSTV window ends for the log entry too, and no
// serial box that fell behind takes the stored number back.
TEST_F(ModeChangeLog, AContestEndedInSstvEndsEverywhereAndItsSerialOnlyMovesOn) {
    int ends = 0;
    terminal::mainwindow::setProcessEndForTest([&ends] { ++ends; });
    const auto storedNo = [] {
        return core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo"));
    };
    core::PutIniText(QStringLiteral("PSKCFG"), "ContestNo", QStringLiteral("002"));
    toSstv();
    ASSERT_EQ(core::g.OpMode, core::ModeSstv);
    SSTVForm& sstv = forms::SSTVForm();
    ASSERT_TRUE(zvtest::waitUntil([&sstv] { return sstv.CONON->isEnabled(); }));
    ASSERT_TRUE(zvtest::chooseMenuItem(sstv.CONON));
    CFG_Contest& d = forms::CFG_Contest();
    tick(d.Check3);
    tick(d.Check4);
    ASSERT_TRUE(zvtest::chooseMenuItem(d.CON_STRART));
    TEMP_LOG& log = forms::TEMP_LOG();
    QTest::keyClicks(log.Text1, QStringLiteral("QQ1AAA"));
    ASSERT_TRUE(zvtest::chooseMenuItem(log.Contest));
    ASSERT_EQ(logCount(), 1);
    EXPECT_EQ(stored(1).REM1.trimmed(), QStringLiteral("002(SendNo)"));
    EXPECT_EQ(storedNo(), QStringLiteral("003"));

    ASSERT_TRUE(zvtest::chooseMenuItem(sstv.CONON));
    EXPECT_EQ(core::g.ContestMode, 0);
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>()) << "the entry goes with the contest";
    ASSERT_TRUE(zvtest::chooseMenuItem(sstv.PSKMODE[core::ModeBpsk]));
    ASSERT_EQ(core::g.OpMode, core::ModeBpsk);
    TEMP_LOG& next = openFromMain(QStringLiteral("QQ2BBB"));
    EXPECT_TRUE(next.LSave->isVisible());
    EXPECT_EQ(next.LSave->text(), QStringLiteral("LOG保存(F1)"));
    EXPECT_FALSE(next.Contest->isVisible());
    pressF1();
    EXPECT_EQ(stored(2).REM1.trimmed(), QString());
    EXPECT_EQ(storedNo(), QStringLiteral("003"));

    // The main window's serial box holds four digits whole.
    PSK31MAIN& m = forms::PSK31MAIN();
    const int frame = m.Text11->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m.Text11);
    EXPECT_LE(m.Text11->fontMetrics().horizontalAdvance(QStringLiteral("1000")) + 2 * frame + 4,
              m.Text11->width());
    // The end of the run without a contest leaves the number alone.
    ASSERT_TRUE(zvtest::chooseMenuItem(m.pEnd));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(storedNo(), QStringLiteral("003"));
    terminal::mainwindow::setProcessEndForTest({});
}

} // namespace
