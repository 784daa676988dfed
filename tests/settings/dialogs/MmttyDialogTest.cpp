// The RTTY settings dialog against the RTTY program running as a process of
// its own: opened from the main window's RTTY panel, its choices reach the
// program as view words, delay, profile and set-up commands and are kept in
// [Mmtty]; Ctrl+Alt+Z ends everything.
#include "settings/dialogs/CFG_MMTTY.h"

#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmtty/MmttyLink.h"
#include "settings/dialogs/CFG_Contest.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QListWidget>

namespace {

using core::mm;
using mmtty::Pair;

class MmttyDialog : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        mm = {};
    }
    void TearDown() override {
        terminal::mainwindow::setProcessEndForTest({});
        ProgramFolderTest::TearDown();
    }
    static mmtty::MmttyLink& link() { return core::MmttyProgram(); }

    // The main window in RTTY, its load starting the program, which reports its words.
    PSK31MAIN& loadRtty(const QString& mmttyKeys = {}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nLastMode=RTTY\nCOMCONT=1\n") + mmttyKeys);
        EXPECT_FALSE(mmtty::provideProgram(folder()).isEmpty());
        writeFile("Mmtty.INI", "[Mmtty]\r\n");
        core::g.MmttyExePath = path("MMTTY.EXE");
        core::g.LastModeText = QStringLiteral("RTTY");
        core::g.OpMode = core::ModeRtty;
        PSK31MAIN& w = forms::PSK31MAIN();
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        EXPECT_TRUE(zvtest::waitUntil([] { return mm.MmttyStatusBits.size() == 14; }));
        return w;
    }
    CFG_MMTTY* open(PSK31MAIN& w) {
        QTest::mouseClick(w.Command24, Qt::LeftButton);
        return forms::isLoaded<CFG_MMTTY>() && forms::CFG_MMTTY().isVisible() ? &forms::CFG_MMTTY() : nullptr;
    }
    // The program's view set to all zeros, as it reports it back.
    static bool zeroView() {
        return link().postCommand(mmtty::CmdSetView, 0) &&
               zvtest::waitUntil([] { return mm.MmttyStatusBits == QString(14, QLatin1Char('0')); });
    }
    static void choose(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    static QString key(const char* name) {
        return core::IniStored(QStringLiteral("Mmtty"), QString::fromLatin1(name))
            .value_or(QStringLiteral("-"));
    }
    static Pair lastPosted() { return link().posted().isEmpty() ? Pair{} : link().posted().last(); }
};

TEST_F(MmttyDialog, OpeningPresetsTheControlsBesideTheMainWindowAndSendsNothing) {
    PSK31MAIN& w = loadRtty(QStringLiteral("[Mmtty]\nXY_Scope=2\nFFTGain=3\nFFTResp=0\nTXDelay=150\n"));
    w.move(20, 30);
    const qsizetype before = link().posted().size();
    CFG_MMTTY* d = open(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("RTTY 動作設定"));
    EXPECT_EQ(d->pos(), QPoint(20 + 340, 30 + 43));
    EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(d->Option8[2]->isChecked());
    EXPECT_EQ(d->List2->currentRow(), 3);
    EXPECT_EQ(d->List3->currentRow(), 0);
    EXPECT_EQ(d->Text2->text(), QStringLiteral("150"));
    // Every choice of both lists can be clicked anywhere on it: nothing lies over it.
    ASSERT_TRUE(zvtest::waitExposed(d));
    EXPECT_TRUE(zvtest::waitUntil([d] {
        return d->List2->geometry().bottom() < d->Label42->geometry().top();
    })) << "the lists are laid out above the scope's label";
    for (QListWidget* list : {d->List2, d->List3})
        for (int row = 0; row < list->count(); ++row) {
            const QRect item = list->visualItemRect(list->item(row));
            EXPECT_TRUE(list->viewport()->rect().contains(item)) << row;
            const QPoint low = list->viewport()->mapTo(d, QPoint(item.center().x(), item.bottom() - 1));
            EXPECT_EQ(d->childAt(low), list->viewport()) << row;
        }
    EXPECT_EQ(mm.MmttyCfgFlag, 1);
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(link().posted().size(), before);
    ASSERT_TRUE(zvtest::chooseMenuItem(d->CLOSE_CFG));
    EXPECT_FALSE(forms::isLoaded<CFG_MMTTY>());
}

TEST_F(MmttyDialog, ChoicesChangeTheProgramsViewAndAreKept) {
    PSK31MAIN& w = loadRtty();
    CFG_MMTTY* d = open(w);
    ASSERT_NE(d, nullptr);
    struct Case {
        const char* name;
        std::function<void()> act;
        std::int32_t view;
        const char* key;
        const char* stored;
    } cases[] = {
        {"Highest", [&] { choose(d->List2, 3); }, 48, "FFTGain", "3"},
        {"Slow", [&] { choose(d->List3, 0); }, 128, "FFTResp", "0"},
        {"Lower(512)", [&] { QTest::mouseClick(d->Option8[0], Qt::LeftButton, {}, QPoint(6, 6)); }, 4096,
         "XY_Scope", "0"},
        {"Highest(4096)", [&] { QTest::mouseClick(d->Option8[3], Qt::LeftButton, {}, QPoint(6, 6)); }, 7168,
         "XY_Scope", "3"},
        {"None", [&] { QTest::mouseClick(d->Option8[4], Qt::LeftButton, {}, QPoint(6, 6)); }, 0, "XY_Scope",
         "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(zeroView());
        c.act();
        EXPECT_EQ(lastPosted(), (Pair{mmtty::CmdSetView, c.view}));
        // The program took it: it reports the view word it now shows.
        EXPECT_TRUE(zvtest::waitUntil([&] { return core::BitWord(mm.MmttyStatusBits) == c.view; }));
        EXPECT_EQ(key(c.key), QString::fromLatin1(c.stored));
    }
    EXPECT_EQ(mm.MmttyFftGain, 3);
    EXPECT_EQ(mm.MmttyFftResp, 0);
    EXPECT_EQ(mm.MmttyXyScope, QStringLiteral("4"));
    EXPECT_EQ(mm.XyScopeQuality, 4);
    EXPECT_EQ(mm.XyScopeMask, 0x1FF);

    // Another field keeps what the program reported.
    ASSERT_TRUE(zeroView());
    choose(d->List2, 1);
    ASSERT_TRUE(zvtest::waitUntil([] { return core::BitWord(mm.MmttyStatusBits) == 16; }));
    choose(d->List3, 1);
    EXPECT_EQ(lastPosted(), (Pair{mmtty::CmdSetView, 16 + 64}));
}

TEST_F(MmttyDialog, DelayProfilesAndSetupScreen) {
    PSK31MAIN& w = loadRtty();
    CFG_MMTTY* d = open(w);
    ASSERT_NE(d, nullptr);
    struct Case {
        QPushButton* button;
        Pair posted;
    } cases[] = {{d->Command19, {mmtty::CmdProfile, 196608}},
                 {d->Command20, {mmtty::CmdProfile, 262144}},
                 {d->Command23, {mmtty::CmdShowSetup, 0}}};
    for (const Case& c : cases) {
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_EQ(lastPosted(), c.posted) << c.button->text().toStdString();
    }

    d->Text2->clear();
    QTest::keyClicks(d->Text2, "250");
    QTest::mouseClick(d->Command25, Qt::LeftButton);
    EXPECT_EQ(lastPosted(), (Pair{mmtty::CmdSetTxDelay, 250}));
    EXPECT_EQ(key("TXDelay"), QStringLiteral("250"));
    EXPECT_EQ(mm.MmttyTxDelay, 250);

    // A delay that is no whole number is refused with a word, neither sent nor kept.
    for (const char* typed : {"1.5", "", "abc"}) {
        SCOPED_TRACE(typed);
        d->Text2->clear();
        QTest::keyClicks(d->Text2, typed);
        const qsizetype before = link().posted().size();
        ui::script::clearAsked();
        QTest::mouseClick(d->Command25, Qt::LeftButton);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_EQ(link().posted().size(), before);
        ASSERT_EQ(ui::script::asked().size(), 1);
        EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("Tx Delay は 0 以上の整数で入力して下さい"));
        EXPECT_EQ(key("TXDelay"), QStringLiteral("250"));
    }
}

TEST_F(MmttyDialog, AfterAContestEndTheChoicesSendNothingUntilOpenedAgain) {
    PSK31MAIN& w = loadRtty();
    CFG_MMTTY* d = open(w);
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(zvtest::chooseMenuItem(w.CONON));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFG_Contest().CON_STRART));
    ASSERT_TRUE(zvtest::chooseMenuItem(w.CONON));
    EXPECT_EQ(mm.MmttyCfgFlag, 0);
    const qsizetype before = link().posted().size();
    choose(d->List2, 0);
    QTest::mouseClick(d->Command25, Qt::LeftButton);
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(link().posted().size(), before);
    EXPECT_EQ(key("FFTGain"), QStringLiteral("-"));
    // The profile button posts whatever the flag says.
    QTest::mouseClick(d->Command19, Qt::LeftButton);
    EXPECT_EQ(lastPosted(), (Pair{mmtty::CmdProfile, 196608}));
}

TEST_F(MmttyDialog, CtrlAltZClosesTheProgramAndEndsAtOnce) {
    PSK31MAIN& w = loadRtty();
    CFG_MMTTY* d = open(w);
    ASSERT_NE(d, nullptr);
    bool ended = false;
    terminal::mainwindow::setProcessEndForTest([&] { ended = true; });
    QTest::keyClick(d->List2, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(ended);
    EXPECT_EQ(lastPosted(), (Pair{mmtty::CmdClose, 0}));
    EXPECT_TRUE(link().waitForExit(zvtest::kSafetyNetMsecs));
    EXPECT_EQ(key("FFTGain"), QStringLiteral("-"));
}

} // namespace
