// The contest dialog on a real log of the logging library: opened and ended
// from the main window's contest item, its flags across openings, the fixed
// report by link, the serial number, and the contest start that counts the log
// and prefills the log entry window.
#include "settings/dialogs/CFG_Contest.h"

#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "logwindows/LogFixture.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigPort.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/RigSimulator.h"
#include "terminal/receive/RxPicking.h"

#include <QCheckBox>
#include <QFile>
#include <QScrollBar>

namespace {

using terminal::receive::g;

class ContestDialog : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        g = {};
        core::g.ContestMode = 0;
        core::g.ContestRst599 = 0;
        core::g.ContestSerialNo = 0;
        core::g.HisRstPresetOn = QStringLiteral("1");
        m = &forms::PSK31MAIN();
        m->show();
        ASSERT_TRUE(zvtest::waitExposed(m));
    }
    static CFG_Contest* open() { return zvtest::openContestDialog(); }
    static void tick(QCheckBox* box) { zvtest::tick(box); }
    static bool start(CFG_Contest* d) { return zvtest::joinContest(*d); }
    PSK31MAIN* m = nullptr;
};

TEST_F(ContestDialog, TheContestItemOpensItBesideTheMainWindowAndEndsARunningContest) {
    m->move(40, 60);
    CFG_Contest* d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Contest 形式設定"));
    EXPECT_EQ(d->pos(), QPoint(40 + 340, 60 + 43));
    EXPECT_EQ(d->Check4->text(), QStringLiteral("送信RSTを　５９９　に固定"));
    EXPECT_TRUE(d->Text1->toPlainText().startsWith(QStringLiteral("想定している受信ナンバー\n")));
    EXPECT_FALSE(m->CONON->isChecked());
    EXPECT_EQ(core::g.ContestMode, 0);

    core::mm.MmttyCfgFlag = 1;
    ASSERT_TRUE(start(d));
    EXPECT_EQ(core::g.ContestMode, 1);
    EXPECT_TRUE(m->CONON->isChecked());
    for (QAction* item : {m->INSAISATU, m->GetContestNo, m->PSTCON_NO})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
    EXPECT_TRUE(m->Check5->isChecked());
    EXPECT_EQ(core::g.DataCaptureOn, 1) << "the word pick is in use as the box shows";
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("Data_Get")), QStringLiteral("1"));
    ASSERT_TRUE(forms::TEMP_LOG().isVisible());

    // While the contest runs the item ends it.
    ASSERT_TRUE(zvtest::chooseMenuItem(m->CONON));
    EXPECT_EQ(core::g.ContestMode, 0);
    EXPECT_FALSE(m->CONON->isChecked());
    EXPECT_FALSE(forms::isLoaded<CFG_Contest>());
    EXPECT_EQ(core::mm.MmttyCfgFlag, 0);
    EXPECT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<TEMP_LOG>(); }));
}

TEST_F(ContestDialog, FlagsLastTheRunWhileTheBoxesOpenUnticked) {
    CFG_Contest* d = open();
    ASSERT_NE(d, nullptr);
    for (QCheckBox* box : {d->Check1, d->Check2, d->Check5})
        tick(box);
    EXPECT_EQ(g.ContestNoToCode, 1);
    EXPECT_EQ(g.ContestNoToRem1, 1);
    EXPECT_EQ(g.ContestNoToRem2, 1);
    // Leaving through its close box ends contest logging and unloads it.
    d->close();
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<CFG_Contest>(); }));

    d = open();
    ASSERT_NE(d, nullptr);
    for (QCheckBox* box : {d->Check1, d->Check2, d->Check3, d->Check4, d->Check5})
        EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(g.ContestNoToCode, 1);
    tick(d->Check1);
    EXPECT_EQ(g.ContestNoToCode, 1);
    tick(d->Check1);
    EXPECT_EQ(g.ContestNoToCode, 0);
    EXPECT_EQ(g.ContestNoToRem1, 1);
}

TEST_F(ContestDialog, FixedReportGoesToTheWindowAndWithTheLibraryLinkToTheLogEntry) {
    struct Case {
        int link;
        bool tick;
        const char* rst;
        bool logEntry;
    } cases[] = {
        {1, true, "599", true}, {1, false, "", true}, {0, true, "599", false}, {2, true, "599", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        logbook::g.HamlogLink = c.link;
        forms::unload<TEMP_LOG>();
        CFG_Contest* d = open();
        ASSERT_NE(d, nullptr);
        zvtest::setBoxText(m->Text7, QStringLiteral("579"));
        tick(d->Check4);
        if (!c.tick) tick(d->Check4);
        EXPECT_EQ(m->Text7->text(), QString::fromLatin1(c.rst));
        EXPECT_EQ(core::g.ContestRst599, c.tick ? 1 : 0);
        EXPECT_EQ(forms::isLoaded<TEMP_LOG>(), c.logEntry);
        if (c.logEntry) {
            EXPECT_EQ(forms::TEMP_LOG().Text5->text(), QString::fromLatin1(c.rst));
            EXPECT_EQ(forms::TEMP_LOG().Text6->text(), QString::fromLatin1(c.rst));
        }
        forms::unload<CFG_Contest>();
    }
}

TEST_F(ContestDialog, SerialNumberModeShowsTheStoredNumberAndLeavingStoresIt) {
    struct Case {
        const char* stored; // nullptr: no key
        const char* shown;
        int value;
    } cases[] = {// The first contest of a fresh window: the spin control already stands at 1.
                 {nullptr, "001", 1}, {"012", "012", 12}, {nullptr, "001", 1}, {"abc", "001", 1},
                 {"", "001", 1},      {"7", "007", 7},    {"140", "140", 140}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        writeIni(
            QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n") +
            (c.stored ? QStringLiteral("ContestNo=%1\n").arg(QString::fromLatin1(c.stored)) : QString()));
        CFG_Contest* d = open();
        ASSERT_NE(d, nullptr);
        tick(d->Check3);
        EXPECT_EQ(core::g.ContestSerialNo, 1);
        EXPECT_EQ(m->Text11->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(m->VScroll4->value(), c.value);
        EXPECT_TRUE(m->Text11->isVisible());
        EXPECT_TRUE(m->VScroll4->isVisible());
        QTest::keyClick(m->VScroll4, Qt::Key_Down);
        const QString next = m->Text11->text();
        EXPECT_NE(next, QString::fromLatin1(c.shown));
        // "離脱" keeps the number for the next contest.
        ASSERT_TRUE(zvtest::chooseMenuItem(d->CLOSE_CFG));
        EXPECT_FALSE(forms::isLoaded<CFG_Contest>());
        EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")), next);
        EXPECT_FALSE(m->Text11->isVisible());
        EXPECT_EQ(m->Text7->text(), QStringLiteral("599"));
    }
    CFG_Contest* d = open();
    ASSERT_NE(d, nullptr);
    tick(d->Check3);
    tick(d->Check3);
    EXPECT_EQ(core::g.ContestSerialNo, 0);
    EXPECT_FALSE(m->Text11->isVisible());
}

TEST_F(ContestDialog, StartCountsTheLogAndPrefillsTheEntryWithTheCallSplit) {
    fillLog(3);
    setJst(QStringLiteral("2026-12-07 18:05"));
    logbook::g.LocalTimeText.clear();
    logbook::g.EqslEnabled = 0;
    logbook::g.EqslType = QStringLiteral("7");
    struct Case {
        const char* call;
        bool prefixOrder;
        int utc;
        const char *text1, *text2, *rem2, *date, *time;
    } cases[] = {
        {"JA1ZVK/3", false, 0, "JA1ZVK", "3", "", "2026-12-07", "18:05J"},
        {"KH0/JA1ZVK", true, 0, "JA1ZVK", "KH0", "$DX", "2026-12-07", "18:05J"},
        {"JA1ZVK", true, 1, "JA1ZVK", "", "", "2026-12-07", "09:05U"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        core::g.HisCall = QString::fromLatin1(c.call);
        core::g.LogTimeUtc = c.utc;
        if (m->Check4->isChecked() != c.prefixOrder)
            QTest::mouseClick(m->Check4, Qt::LeftButton, {}, QPoint(6, 6));
        CFG_Contest* d = open();
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(start(d));
        TEMP_LOG& log = forms::TEMP_LOG();
        ASSERT_TRUE(log.isVisible());
        EXPECT_EQ(log.Text1->text(), QString::fromLatin1(c.text1));
        EXPECT_EQ(log.Text2->text(), QString::fromLatin1(c.text2));
        EXPECT_EQ(log.Text15->text(), QString::fromLatin1(c.rem2));
        EXPECT_EQ(log.Text3->text(), QString::fromLatin1(c.date));
        EXPECT_EQ(log.Text4->text(), QString::fromLatin1(c.time));
        EXPECT_EQ(log.StatusBar1->text(1), QStringLiteral("Record No=4"));
        EXPECT_EQ(logbook::g.HamlogRecCount, 3);
        EXPECT_EQ(log.windowTitle(), QStringLiteral("PSKログ LogData=>") + logbook::g.HamlogPath);
        EXPECT_EQ(colour::foreColor(log.Label9), 0xFF00FFu);
        EXPECT_FALSE(log.LSave->isVisible());
        EXPECT_FALSE(log.LSave->isEnabled());
        EXPECT_TRUE(log.Contest->isVisible());
        EXPECT_TRUE(zvtest::enabledOnceBuilt(log.Contest));
        EXPECT_FALSE(log.LT->isVisible());
        EXPECT_FALSE(log.Command7->isEnabled());
        EXPECT_EQ(log.Command7->text(), QStringLiteral("eQSL"));
        EXPECT_EQ(logbook::g.EqslType, QStringLiteral("0"));
        // The contest item ends it; the entry gets its save item back.
        ASSERT_TRUE(zvtest::chooseMenuItem(m->CONON));
        EXPECT_EQ(core::g.ContestMode, 0);
        ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<TEMP_LOG>(); }));
    }
}

TEST_F(ContestDialog, ALogThatDoesNotOpenIsReportedWithBothVersionsAndTheStartGoesOn) {
    fillLog(2);
    CFG_Contest* d = open();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(start(d));
    EXPECT_EQ(logbook::g.HamlogRecNo, 3);
    ASSERT_TRUE(zvtest::chooseMenuItem(m->CONON));
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<TEMP_LOG>(); }));

    ASSERT_TRUE(QFile::remove(logbook::g.HamlogPath));
    pskcore::lib().hooks().version = 114;
    ui::script::clearAsked();
    d = open();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(start(d));
    const QStringList prompts = askedPrompts();
    ASSERT_EQ(prompts.size(), 1);
    EXPECT_TRUE(
        prompts[0].startsWith(QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\nHAMLOG50.DLL=")));
    EXPECT_TRUE(prompts[0].endsWith(QStringLiteral("\r\nPSKCore.DLL=1.14"))) << prompts[0].toStdString();
    TEMP_LOG& log = forms::TEMP_LOG();
    EXPECT_TRUE(log.isVisible());
    EXPECT_EQ(log.StatusBar1->text(1), QStringLiteral("Record No=3"));
    EXPECT_EQ(core::g.ContestMode, 1);
}

TEST_F(ContestDialog, WithoutPollingTheStartReadsTheRigOnceIntoTheLog) {
    zvtest::RigSimulator sim(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(sim.isOpen());
    zvtest::pointRigLinkAt(sim);
    sim.dialHz = 21080000;
    struct Case {
        int pollMode;
        bool open;
        bool reads;
    } cases[] = {{1, true, true}, {0, true, true}, {2, true, false}, {1, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pollMode << " " << c.open);
        if (c.open && rig::g.RigPortOpen == 0) rig::RigOpenPort();
        if (!c.open && rig::g.RigPortOpen == 1) rig::RigClosePort();
        ASSERT_EQ(rig::g.RigPortOpen, c.open ? 1 : 0);
        rig::g.RigPollMode = c.pollMode;
        ASSERT_TRUE(!c.open || zvtest::waitForRigToCatchUp(sim));
        sim.commands.clear();
        CFG_Contest* d = open();
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(start(d));
        TEMP_LOG& log = forms::TEMP_LOG();
        if (c.reads) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return log.Label17->text() == QLatin1String("21.080"); }))
                << log.Label17->text().toStdString();
            ASSERT_TRUE(zvtest::waitForRigToCatchUp(sim));
            EXPECT_FALSE(sim.commands.isEmpty());
        } else {
            ASSERT_TRUE(c.open ? zvtest::waitForRigToCatchUp(sim) : zvtest::waitForPostedEvents());
            EXPECT_TRUE(sim.commands.isEmpty());
        }
        ASSERT_TRUE(zvtest::chooseMenuItem(m->CONON));
        ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<TEMP_LOG>(); }));
    }
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
}

TEST_F(ContestDialog, WithoutTheLibraryLinkTheStartOnlySetsTheMenus) {
    logbook::g.HamlogLink = 2;
    logbook::g.HamlogViewerOn = QStringLiteral("YES");
    forms::unload<TEMP_LOG>();
    CFG_Contest* d = open();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(start(d));
    EXPECT_EQ(core::g.ContestMode, 1);
    EXPECT_TRUE(m->CONON->isChecked());
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());

    // The end shows no viewer, and no word of a log it could not open.
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseMenuItem(m->CONON));
    EXPECT_EQ(core::g.ContestMode, 0);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_FALSE(forms::isLoaded<LOGDATAVIEW>());
}

} // namespace
