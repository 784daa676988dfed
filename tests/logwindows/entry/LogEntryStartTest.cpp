// Opening and starting a log entry: time stamps, presets, record number, rig reading.
#include "logwindows/LogFixture.h"

#include "rig/RigPort.h"
#include "terminal/mainwindow/HelpPage.h"

#include "support/Popups.h"
#include "support/RigSimulator.h"
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

namespace {

using zvtest::LogTest;

TEST_F(LogTest, LogButtonStampsTheEntryInTheChosenZone) {
    struct Case {
        const char* jst;
        int utc;
        const char* date;
        const char* time;
        const char* label;
    } cases[] = {
        {"2024-03-02 08:59", 1, "2024-03-01", "23:59U", "Time(UTC)"},
        {"2024-03-02 09:00", 1, "2024-03-02", "00:00U", "Time(UTC)"},
        {"2024-03-02 08:59", 0, "2024-03-02", "08:59J", "Time(JST)"},
        {"2024-03-02 09:00", 0, "2024-03-02", "09:00J", "Time(JST)"},
    };
    fillLog(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jst);
        forms::unload<TEMP_LOG>();
        setJst(QString::fromLatin1(c.jst));
        core::g.LogTimeUtc = c.utc;
        TEMP_LOG& w = openFromMain(QStringLiteral("QQ2XYZ"), QStringLiteral("花子"), QStringLiteral("579"));
        EXPECT_EQ(w.Text3->text(), QString::fromLatin1(c.date));
        EXPECT_EQ(w.Text4->text(), QString::fromLatin1(c.time));
        EXPECT_EQ(w.Label4->text(), QString::fromLatin1(c.label));
        EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ2XYZ"));
        EXPECT_EQ(w.Text12->text(), QStringLiteral("花子"));
        EXPECT_EQ(w.Text5->text(), QStringLiteral("579"));
        EXPECT_EQ(w.Text8->text(), QStringLiteral("BPSK"));
        EXPECT_EQ(w.Text11->text(), QStringLiteral("J"));
        EXPECT_EQ(w.StatusBar1->text(1), QStringLiteral("Record No=4"));
        EXPECT_EQ(logbook::g.HamlogRecNo, 4);
        EXPECT_EQ(logbook::g.LogEditMode, 0);
        EXPECT_TRUE(w.isVisible());
    }
}

TEST_F(LogTest, AMissingLogIsReportedAndTheEntryStillOpens) {
    fillLog(2);
    logbook::g.HamlogRecNo = 7;
    logbook::g.HamlogDataPath = path(QStringLiteral("NOLOG"));
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ2XYZ"));
    ASSERT_EQ(ui::script::asked().size(), 1);
    const QString prompt = ui::script::asked()[0].prompt;
    EXPECT_TRUE(
        prompt.startsWith(QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\nHAMLOG50.DLL=5.03\r\n")))
        << prompt.toStdString();
    EXPECT_TRUE(prompt.endsWith(QStringLiteral("PSKCore.DLL=1.16")));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(logbook::g.HamlogRecNo, 7);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ2XYZ"));
}

TEST_F(LogTest, StartLogEntryPresetsANewRecord) {
    struct Case {
        const char* preset;
        int contestRst;
        int opMode;
        const char* his;
        const char* my;
    } cases[] = {
        {"1", 0, core::ModeBpsk, "599", ""},    {"0", 0, core::ModeBpsk, "", ""},
        {"0", 1, core::ModeBpsk, "599", "599"}, {"1", 0, core::ModeSstv, "595", ""},
        {"0", 1, core::ModeSstv, "595", "595"},
    };
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n[Hamlog]\nLastBand=4\n"));
    zvtest::setBoxText(forms::PSK31MAIN().Text6, QStringLiteral("太郎"));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.preset << c.contestRst << c.opMode);
        forms::unload<TEMP_LOG>();
        core::g.HisRstPresetOn = QString::fromLatin1(c.preset);
        core::g.ContestRst599 = c.contestRst;
        core::g.OpMode = c.opMode;
        TEMP_LOG& w = forms::TEMP_LOG();
        w.Text13->setText(QStringLiteral("old QTH"));
        logwindows::StartLogEntry();
        EXPECT_EQ(w.Text5->text(), QString::fromLatin1(c.his));
        EXPECT_EQ(w.Text6->text(), QString::fromLatin1(c.my));
        EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("14"));
        EXPECT_EQ(w.Label17->text(), QStringLiteral("14"));
        EXPECT_EQ(w.Text13->text(), QString());
        EXPECT_EQ(w.Text12->text(), c.opMode == core::ModeSstv ? QString() : QStringLiteral("太郎"));
        EXPECT_EQ(w.StatusBar1->text(1), QStringLiteral("Record No=1"));
        EXPECT_TRUE(w.Text4->text().endsWith(QLatin1Char('J')));
        EXPECT_FALSE(w.isVisible());
    }
}

TEST_F(LogTest, TheRigIsReadOnceWhenItIsThereAndNotPolled) {
    struct Case {
        int pollMode;
        int opMode;
        bool reads;
    } cases[] = {
        {1, core::ModeBpsk, true},
        {0, core::ModeBpsk, true},
        {2, core::ModeBpsk, false},
        {1, core::ModeSstv, false},
    };
    zvtest::RigSimulator sim(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(sim.isOpen());
    zvtest::pointRigLinkAt(sim);
    sim.dialHz = 21080000;
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pollMode << " " << c.opMode);
        rig::g.RigPollMode = c.pollMode;
        core::g.OpMode = c.opMode;
        sim.commands.clear();
        logwindows::StartLogEntry();
        TEMP_LOG& w = forms::TEMP_LOG();
        if (c.reads) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return w.Label17->text() == QLatin1String("21.080"); }))
                << w.Label17->text().toStdString();
            EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("21.080"));
        } else {
            ASSERT_TRUE(zvtest::waitForRigToCatchUp(sim));
            EXPECT_TRUE(sim.commands.isEmpty());
            EXPECT_EQ(w.Label17->text(), QStringLiteral("1.9"));
        }
    }
    rig::RigClosePort();
}

TEST_F(LogTest, TheWindowComesBackWhereItWasLeft) {
    struct Case {
        const char* ini;
        QPoint place;
    } cases[] = {
        {"", {0, 0}},
        {"LOGPOSTop=1500\nLOGPOSLeft=3000\n", {200, 100}},
        {"LOGPOSTop=-1500\nLOGPOSLeft=3000\n", {200, 0}},
        {"LOGPOSTop=-1500\nLOGPOSLeft=-30\n", {0, 0}},
        {"LOGPOSTop=1500\n", {0, 100}},
        // Beyond the screen, or stored on a larger one: the axis off it starts at 0.
        {"LOGPOSTop=99999\nLOGPOSLeft=99999\n", {0, 0}},
        {"LOGPOSTop=7500\nLOGPOSLeft=18000\n", {0, 500}},
    };
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        forms::unload<TEMP_LOG>();
        writeIni(QStringLiteral("[CFGPOS]\n") + QString::fromLatin1(c.ini));
        TEMP_LOG& w = forms::TEMP_LOG();
        w.show();
        // Then moved in as far as it must to be whole on the screen.
        const QSize room = area.size() - w.frameGeometry().size();
        EXPECT_EQ(w.pos(), QPoint(std::min(c.place.x(), room.width()), std::min(c.place.y(), room.height())));
        EXPECT_TRUE(area.contains(w.frameGeometry()));
    }
}

TEST_F(LogTest, OtherModesComeFromTheirFileWithoutBlankLines) {
    writeFile(QStringLiteral("otherMODE.DAT"), "  Hell \r\n\r\n   \r\nFT8\r\nOlivia");
    TEMP_LOG& w = forms::TEMP_LOG();
    ASSERT_EQ(w.List1->count(), 3);
    EXPECT_EQ(w.List1->item(0)->text(), QStringLiteral("Hell"));
    EXPECT_EQ(w.List1->item(2)->text(), QStringLiteral("Olivia"));
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {},
                      w.List1->visualItemRect(w.List1->item(1)).center());
    EXPECT_EQ(w.Text8->text(), QStringLiteral("FT8"));
}

TEST_F(LogTest, EndOfQsoMarkStandsOnceInRemarks2) {
    setJst(QStringLiteral("2024-03-02 14:10"));
    TEMP_LOG& w = forms::TEMP_LOG();
    logwindows::StartLogEntry();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    w.Text15->setText(QStringLiteral("ABC END of QSO=14:00J"));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menus, w.QSOEND));
    EXPECT_EQ(w.Text15->text(), QStringLiteral("ABC END of QSO=14:10J"));
    w.Text15->clear();
    core::g.LogTimeUtc = 1;
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menus, w.QSOEND));
    EXPECT_EQ(w.Text15->text(), QStringLiteral(" END of QSO=05:10U"));
    logbook::g.LogEditMode = 1;
    w.Text15->setText(QStringLiteral("kept"));
    ASSERT_TRUE(zvtest::chooseInMenuBar(w.menus, w.QSOEND));
    EXPECT_EQ(w.Text15->text(), QStringLiteral("kept"));
}

} // namespace

namespace {

using zvtest::LogTest;

TEST_F(LogTest, MainBoxesKeepTheEntryInStep) {
    fillLog(4);
    setJst(QStringLiteral("2024-03-02 10:15"));
    PSK31MAIN& m = forms::PSK31MAIN();
    QTest::keyClicks(m.Text5, QStringLiteral("QQ1ZZZ"));
    zvtest::setBoxText(m.Text6, QStringLiteral("五郎"));
    zvtest::setBoxText(m.Text7, QStringLiteral("589"));
    TEMP_LOG& w = forms::TEMP_LOG();
    EXPECT_EQ(core::g.HisCall, QStringLiteral("QQ1ZZZ"));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ1ZZZ"));
    EXPECT_EQ(w.Text12->text(), QStringLiteral("五郎"));
    EXPECT_EQ(w.Text5->text(), QStringLiteral("589"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("10:15J"));

    // While a stored record is on show, a new call starts a fresh entry.
    QTest::mouseClick(m.Command5, Qt::LeftButton);
    ui::script::push(ui::Yes);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(logbook::g.LogEditMode, 1);
    ui::script::clearAsked();
    zvtest::setBoxText(m.Text5, QStringLiteral("QQ2YYY"));
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("LOG帳がスクロール中です\r\n新しいページにします")});
    EXPECT_EQ(logbook::g.LogEditMode, 0);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("QQ2YYY"));
    EXPECT_EQ(logbook::g.HamlogRecNo, 5);
}

TEST_F(LogTest, TheWindowLinkLeavesTheEntryWindowAlone) {
    logbook::g.HamlogLink = 2;
    zvtest::setBoxText(forms::PSK31MAIN().Text5, QStringLiteral("QQ3XXX"));
    EXPECT_EQ(core::g.HisCall, QStringLiteral("QQ3XXX"));
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
}

// Catches what the help item hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(LogTest, HelpOpensThePageAtTheLogEntrysSection) {
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ2XYZ"), QString(), QStringLiteral("599"));
    ASSERT_TRUE(zvtest::waitExposed(&w));
    ASSERT_EQ(w.LOGHLP->text(), QStringLiteral("Help"));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    const bool chosen = zvtest::chooseInMenuBar(w.menus, w.LOGHLP);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_TRUE(chosen);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front().toLocalFile(), terminal::mainwindow::pagePath());
    EXPECT_EQ(catcher.opened.front().fragment(), QStringLiteral("logentry"));
    QFile page(terminal::mainwindow::pagePath());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("id=\"logentry\""));
}

} // namespace

#include "LogEntryStartTest.moc"
#include "support/ProgramFolder.h"
