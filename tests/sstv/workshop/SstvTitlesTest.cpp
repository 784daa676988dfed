// The title texts: the %-variables as a table over fixed inputs and clock,
// and the title store on the SSTV window (font, labels, refresh, contest end).
#include "sstv/workshop/SstvTitles.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/os/Clock.h"
#include "rig/RigGlobals.h"
#include "sstv/SstvFixture.h"
#include "support/Contest.h"
#include "support/Popups.h"
#include "support/QsoBoxSetUp.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTimeZone>

namespace {

using zvtest::SstvWindowTest;

QDateTime localAt(const char* when) {
    return QDateTime::fromString(QString::fromLatin1(when), QStringLiteral("yyyy-MM-dd HH:mm"));
}

sstv::TitleInputs inputs() {
    sstv::TitleInputs in;
    in.ownCall = QStringLiteral("QX2DEF");
    in.call = QStringLiteral("QX1ABC");
    in.rst = QStringLiteral("595");
    in.name = QStringLiteral("Taro");
    in.qth = QStringLiteral("Tokyo");
    in.contestNo = QStringLiteral("007");
    in.greeting = QStringLiteral("Good Day");
    in.rigFreq = QStringLiteral("14.230");
    in.versionMajor = 4;
    in.versionMinor = 5;
    in.versionRevision = 10;
    in.local = localAt("2026-03-10 14:05");
    return in;
}

TEST(SstvExpandMacros, EachVariableOverFixedInputs) {
    struct Case {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"%c de %m %r", "QX1ABC de QX2DEF 595"},
        {"%n %J %q #%N", "Taro Taroさん Tokyo #007"},
        {"[%R%M%b%o]", "[]"},
        {"%B MHz", "14.230 MHz"},
        {"%g %f", "Good Day GD"},
        {"%D %T %t", "2026-03-10 05:05U 0505"},
        {"%L %U %u", "2026-03-10 14:05J 1405"},
        {"%v", "ZORVATEK Ver4.05A"},
        // Letters outside the table stay, and so does a lone percent sign.
        {"%l %d %x 100%", "%l %d %x 100%"},
        {"%%m", "%QX2DEF"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sstv::SstvExpandMacros(QString::fromUtf8(c.text), inputs()).text,
                  QString::fromUtf8(c.expanded))
            << c.text;
}

TEST(SstvExpandMacros, UtcBeforeNineLocalIsYesterday) {
    struct Case {
        const char* local;
        bool utcSwitch;
        const char* expanded;
    } cases[] = {
        {"2026-03-10 08:30", false, "2026-03-09 23:30U 2330 | 2026-03-10 08:30J 0830"},
        {"2026-03-10 09:00", false, "2026-03-10 00:00U 0000 | 2026-03-10 09:00J 0900"},
        {"2026-03-01 00:10", false, "2026-02-28 15:10U 1510 | 2026-03-01 00:10J 0010"},
        // The UTC switch turns the local variables into the UTC ones.
        {"2026-03-10 08:30", true, "2026-03-09 23:30U 2330 | 2026-03-09 23:30U 2330"},
    };
    for (const Case& c : cases) {
        sstv::TitleInputs in = inputs();
        in.local = localAt(c.local);
        in.logTimeUtc = c.utcSwitch;
        EXPECT_EQ(sstv::SstvExpandMacros(QStringLiteral("%D %T %t | %L %U %u"), in).text,
                  QString::fromLatin1(c.expanded))
            << c.local << c.utcSwitch;
    }
}

TEST(SstvExpandMacros, RunningResultAndGreeting) {
    sstv::TitleInputs in = inputs();
    // A box's text is expanded further by the variables that come after it.
    in.call = QStringLiteral("%n");
    in.name = QStringLiteral("%c");
    EXPECT_EQ(sstv::SstvExpandMacros(QStringLiteral("%c/%n"), in).text, QStringLiteral("%c/%c"));
    in = inputs();
    in.call = QStringLiteral("%n");
    EXPECT_EQ(sstv::SstvExpandMacros(QStringLiteral("%c"), in).text, QStringLiteral("Taro"));

    in = inputs();
    in.name.clear();
    EXPECT_EQ(sstv::SstvExpandMacros(QStringLiteral("%J"), in).text, QStringLiteral("さん"));

    // The first expansion of a run: "%g" still empty, "%f" already from the hour.
    struct Case {
        const char* local;
        const char* expanded;
        const char* greeting;
    } cases[] = {
        {"2026-03-10 08:30", "[] GM", "Good Morning"},
        {"2026-03-10 12:00", "[] GD", "Good Day"},
        {"2026-03-10 16:00", "[] GA", "Good Afternoon"},
        {"2026-03-10 21:00", "[] GE", "Good Evening"},
    };
    for (const Case& c : cases) {
        in = inputs();
        in.greeting.clear();
        in.local = localAt(c.local);
        const sstv::TitleExpansion e = sstv::SstvExpandMacros(QStringLiteral("[%g] %f"), in);
        EXPECT_EQ(e.text, QString::fromLatin1(c.expanded)) << c.local;
        EXPECT_EQ(e.greeting, QString::fromLatin1(c.greeting)) << c.local;
    }
    in = inputs();
    in.greeting = QStringLiteral("Hello");
    EXPECT_EQ(sstv::SstvExpandMacros(QStringLiteral("%g/%f"), in).text, QStringLiteral("Hello/"));
}

class SstvTitleStoreTest : public SstvWindowTest {
  protected:
    void SetUp() override {
        SstvWindowTest::SetUp();
        // 2026-03-10 08:30 on the PC clock.
        sysclock::setUtcForTest(QDateTime(QDate(2026, 3, 9), QTime(23, 30), Qt::UTC));
    }
    void TearDown() override {
        sysclock::resetForTest();
        SstvWindowTest::TearDown();
    }
};

TEST_F(SstvTitleStoreTest, FontDefaultsReachTheCurrentLabel) {
    SSTVForm& f = window();
    ASSERT_FALSE(f.Label1.empty());
    QLabel* first = f.Label1.front();
    EXPECT_EQ(colour::foreColor(first), 0xFFFFFFu);
    EXPECT_EQ(first->font().pointSizeF(), 12.0);
    EXPECT_FALSE(first->font().bold());
    EXPECT_FALSE(first->font().italic());
    EXPECT_EQ(sstv::titles.font.name, QStringLiteral("ＭＳ Ｐゴシック"));

    // Stored values are kept for labels added later; the current one stays.
    writeIni(QStringLiteral("[FontCFG]\r\nFntFRCLR=255\r\nFntSIZE=20\r\nFntNAME=Sans\r\nFntBOLD=True\r\n"
                            "FntITAL=True\r\n"));
    sstv::LoadTitleFont();
    EXPECT_EQ(colour::foreColor(first), 0xFFFFFFu);
    EXPECT_EQ(first->font().pointSizeF(), 12.0);
    const int n = sstv::AddTitleLabel();
    ASSERT_EQ(n, 1);
    QLabel* added = f.Label1[1];
    EXPECT_EQ(colour::foreColor(added), 0x0000FFu);
    EXPECT_EQ(added->font().pointSizeF(), 20.0);
    EXPECT_EQ(added->font().family(), QStringLiteral("Sans"));
    EXPECT_TRUE(added->font().bold());
    EXPECT_TRUE(added->font().italic());
    EXPECT_EQ(sstv::g.SelectedTitle, 1);
    EXPECT_EQ(sstv::g.SstvTitleCount, 1);
}

TEST_F(SstvTitleStoreTest, LinesAreAddedRefreshedAndCleared) {
    SSTVForm& f = window();
    EXPECT_EQ(sstv::AddTitleLabel(), 1);
    EXPECT_EQ(sstv::AddTitleLabel(), 2);
    EXPECT_EQ(sstv::AddTitleLabel(), 3);
    ASSERT_EQ(sstv::titles.SstvTitleLines.size(), 4);
    ASSERT_EQ(sstv::titles.SstvTitleOutline.size(), 4u);
    sstv::titles.SstvTitleLines[1] = QStringLiteral("%c de %m");
    sstv::titles.SstvTitleLines[2] = QStringLiteral("%T");
    f.Label1[3]->setText(QStringLiteral("kept"));
    zvtest::setBoxText(f.Text1, QStringLiteral("QX1ABC"));
    sstv::SstvRefreshTitles();
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("QX1ABC de QQ1TST"));
    EXPECT_EQ(f.Label1[2]->text(), QStringLiteral("23:30U"));
    EXPECT_EQ(f.Label1[3]->text(), QStringLiteral("kept")) << "an empty line is left alone";
    // A line moved off the picture gets its text back where it lies.
    f.Label1[1]->setText(QString());
    f.Label1[1]->move(-500, -500);
    sstv::SstvRefreshTitles();
    EXPECT_EQ(f.Label1[1]->text(), QStringLiteral("QX1ABC de QQ1TST"));
    EXPECT_EQ(f.Label1[1]->pos(), QPoint(-500, -500));
    // Indexes past the store are skipped without harm.
    sstv::SstvRefreshTitle(9);
    sstv::SstvRefreshTitle(-1);

    sstv::ClearTitleLabels();
    EXPECT_EQ(f.Label1.size(), 1u);
    EXPECT_EQ(sstv::g.SstvTitleCount, 0);
    EXPECT_EQ(sstv::g.SelectedTitle, 0);
    EXPECT_EQ(sstv::titles.SstvTitleLines, QStringList{QString()});
    EXPECT_EQ(sstv::titles.SstvTitleOutline, std::vector<int>{0});
    EXPECT_EQ(sstv::AddTitleLabel(), 1) << "the first free index again";

    // The window's unload leaves no title behind for the next load.
    sstv::titles.SstvTitleLines[1] = QStringLiteral("kept?");
    forms::unload<SSTVForm>();
    EXPECT_EQ(sstv::g.SstvTitleCount, 0);
    EXPECT_EQ(sstv::titles.SstvTitleLines, QStringList{QString()});
    EXPECT_EQ(window().Label1.size(), 1u);
}

TEST_F(SstvTitleStoreTest, TitleBarTextFromTheSettings) {
    writeIni(QStringLiteral("[SSTV_Gen]\r\nTitleStr=%m %D\r\n"));
    SSTVForm& f = window();
    EXPECT_EQ(sstv::g.SstvTitleBarText, QStringLiteral("%m %D"));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("QQ1TST 2026-03-09"));
    EXPECT_EQ(sstv::TitleBarShown(QStringLiteral("100 percent")), QStringLiteral("100 percent"));
}

TEST_F(SstvTitleStoreTest, ContestEndStoresTheNumberAndResetsTheBoxes) {
    core::g.HisRstPresetOn = QStringLiteral("1");
    logbook::g.HamlogLink = 1;
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::beginContest(f.CONON, true));
    EXPECT_TRUE(f.CONON->isChecked());
    EXPECT_FALSE(f.Text11->isHidden());
    EXPECT_FALSE(f.VScroll4->isHidden());
    f.Text11->setText(QStringLiteral("042"));
    zvtest::setBoxText(f.Text5, QStringLiteral("57"));
    ::TEMP_LOG& log = forms::TEMP_LOG();
    log.Text6->setText(QStringLiteral("599"));
    log.LSave->setVisible(false);
    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON)); // the contest ends
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")), QStringLiteral("042"));
    EXPECT_FALSE(f.CONON->isChecked());
    EXPECT_TRUE(f.Text11->isHidden());
    EXPECT_TRUE(f.VScroll4->isHidden());
    EXPECT_EQ(f.Text5->text(), QStringLiteral("595"));
    EXPECT_EQ(core::g.ContestMode, 0);
    EXPECT_FALSE(forms::isLoaded<::TEMP_LOG>()) << "the log entry is put away";
}

} // namespace
