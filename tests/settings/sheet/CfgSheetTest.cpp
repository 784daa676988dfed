// The settings sheet as a whole: opened from the main window's menu, its load
// over stored settings (good, missing and nonsense), its closing and the
// first-run hand-over to the main window.
#include "settings/sheet/CFGSHEET.h"
#include "settings/SheetFixture.h"
#include "startup/StartupSettings.h"

#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "rig/RigGlobals.h"
#include "support/OpenedUrls.h"
#include "support/Popups.h"
#include "support/Unprivileged.h"
#include "terminal/engines/PskFixture.h"

#include "rig/RigSettings.h"

#include <QFile>
#include <QTabBar>
#include <QTest>

namespace {

class CfgSheet : public psktest::PskWindowTest {
  protected:
    // The main window loaded, the sheet opened from its settings menu.
    CFGSHEET& open(const QString& extra = {}, const QString& sections = {}) {
        writeIni(sections + QStringLiteral("[PSKCFG]\n") + extra + psktest::kFixtureKeys);
        main = &forms::PSK31MAIN();
        main->Timer2->stop();
        pskcore::lib().clearCalls();
        EXPECT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
        EXPECT_TRUE(forms::isLoaded<CFGSHEET>());
        return forms::CFGSHEET();
    }
    static QString ini(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key))
            .value_or(QStringLiteral("-"));
    }
    bool asked(const QString& prompt) const {
        for (const ui::Asked& a : ui::script::asked())
            if (a.prompt == prompt) return true;
        return false;
    }
    PSK31MAIN* main = nullptr;
};

TEST_F(CfgSheet, MenuOpensTheSheetFilledFromTheSettings) {
    CFGSHEET& s = open(QStringLiteral("USERCALL=QQ2XYZ\nCWID_SPEED=3\n"),
                       QStringLiteral("[RIG_CON_CFG]\nRIG_TYPE=ICOM\nICOM_RIGadrs=9A7\nPoll_Time=1400\n"
                                      "BAUD_RATE=9600\nSTOP_BIT=2\nVFOCHECK=YesP\n"));
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(core::g.CfgSheetLoading, 0);
    EXPECT_EQ(s.Text1->text(), QStringLiteral("QQ2XYZ"));
    EXPECT_TRUE(s.Option3[1]->isChecked()) << "card 0 is the primary card";
    EXPECT_TRUE(s.Option1[2]->isChecked());
    EXPECT_FALSE(s.Option2[2]->isEnabled()) << "the PTT port cannot be the rig port";
    EXPECT_TRUE(s.Option6[2]->isChecked());
    EXPECT_EQ(s.Label8->text(), QStringLiteral("2/10"));
    EXPECT_EQ(s.Label10->text(), QStringLiteral("40%"));
    EXPECT_EQ(s.VScroll5->value(), 40);
    EXPECT_EQ(s.Label11->text(), QStringLiteral("50"));
    EXPECT_EQ(s.Slider1->value(), 20);
    EXPECT_EQ(s.Label1->text(), QStringLiteral("20"));
    EXPECT_EQ(s.Text13->text(), QStringLiteral("5"));
    EXPECT_EQ(s.Text14->text(), QStringLiteral("-3"));
    EXPECT_EQ(s.Slider4->value(), core::g.AudioCenterFreq) << "the centre the main window tunes";
    EXPECT_EQ(s.Label2->text(), QString::number(core::g.AudioCenterFreq));
    EXPECT_EQ(s.Label5->text(), QStringLiteral("100"));
    EXPECT_EQ(s.Label27->text(), QStringLiteral("12.7"));
    EXPECT_FALSE(calls().contains(QStringLiteral("fnStopSoundCard()")))
        << "the load's choice of the stored card restarts nothing";

    EXPECT_EQ(s.Combo1->currentText(), QStringLiteral("ICOM"));
    EXPECT_TRUE(s.Text11->isEnabled());
    EXPECT_EQ(s.Text11->text(), QStringLiteral("9A"));
    EXPECT_TRUE(s.Option2[0]->isChecked()) << "no stored port is no port";
    EXPECT_TRUE(s.Option9[2]->isChecked()) << "no port reads nothing";
    EXPECT_FALSE(s.Frame20->isEnabled());
    EXPECT_TRUE(s.Option4[1]->isChecked());
    EXPECT_TRUE(s.Option5[1]->isChecked());
    EXPECT_EQ(s.Text5->text(), QStringLiteral("300"));
    EXPECT_EQ(s.HScroll3->value(), 1400);
    EXPECT_EQ(s.Label41->text(), QStringLiteral("1400"));
}

TEST_F(CfgSheet, NonsenseInTheSettingsShowsTheDefaults) {
    CFGSHEET& s = open(QStringLiteral("SQ_SPEED=abc\nSC_CLKADJRX=99999\nFFT_SMOOTHING=\nFFT_Mode=xyz\n"
                                      "AFC_LIMIT=-5\nCWID_SPEED=9\nFFT_COMEBACK=1e9\nSateliteMode=yes\n"),
                       QStringLiteral("[RIG_CON_CFG]\nPoll_Time=1\nBAUD_RATE=2400\nInterval=abc\n"
                                      "RIG_TYPE=FT99\nRIGCOMCONT=/dev/ttyUSB7\n"));
    EXPECT_EQ(core::g.CfgSheetLoading, 0);
    // The first of two equal keys counts: these come before the fixture's.
    EXPECT_EQ(s.Slider1->value(), 10);
    EXPECT_EQ(s.Text13->text(), QStringLiteral("0"));
    EXPECT_EQ(s.Label8->text(), QStringLiteral("2/10"));
    EXPECT_EQ(s.Label10->text(), QStringLiteral("40%"));
    EXPECT_EQ(s.Slider2->value(), 100);
    EXPECT_FALSE(s.Slider2->isEnabled()) << "anything but \"False\" is the satellite mode";
    EXPECT_EQ(s.Label5->text(), QStringLiteral("3000"));
    EXPECT_TRUE(s.Option6[1]->isChecked());
    EXPECT_EQ(s.VScroll1->value(), 50);
    EXPECT_EQ(s.HScroll3->value(), 600) << "a poll time asked faster than offered is the fastest";
    EXPECT_EQ(s.Label41->text(), QStringLiteral("600"));
    EXPECT_TRUE(s.Option4[0]->isChecked());
    EXPECT_EQ(s.Text5->text(), QStringLiteral("300"));
    EXPECT_EQ(rig::g.RigInterval, QStringLiteral("300"));
    EXPECT_EQ(s.Combo1->currentIndex(), -1) << "an unknown family selects no entry";
    EXPECT_EQ(rig::g.RigPortName, QStringLiteral("/dev/ttyUSB7")) << "a device path is kept";
    for (QRadioButton* b : s.Option2)
        EXPECT_FALSE(b->isChecked());
}

// The README's own settings, written by hand: a call without the PTT keys,
// damaged rig values and a log choice of none.
TEST_F(CfgSheet, StoredValuesAreShownAsTheyAreUsedAndAStoredCallIsKept) {
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1000\nUSERCALL=JA1ZVK\nSateliteMode=true\n"
                            "[RIG_CON_CFG]\nInterval=-5\nTRVIFfreq=abc\nPoll_Time=300\n"
                            "[HamLog]\nHAMLOGtype=0\n"));
    main = &forms::PSK31MAIN();
    main->Timer2->stop();
    EXPECT_EQ(main->Label30->isVisible(), main->isVisible()) << "the main window shows \"Satelite\"";
    EXPECT_EQ(core::g.SatelliteMode, 1);
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    CFGSHEET& s = forms::CFGSHEET();
    EXPECT_EQ(s.Text1->text(), QStringLiteral("JA1ZVK"));
    EXPECT_NE(main->Label7->text(), QStringLiteral("NO CALL")) << "the stored call stays";
    EXPECT_FALSE(s.Slider2->isEnabled()) << "one satellite rule for the main window and the sheet";
    EXPECT_EQ(s.Label5->text(), QStringLiteral("3000"));
    EXPECT_EQ(s.Text5->text(), QStringLiteral("300"));
    EXPECT_EQ(s.Text16->text(), QStringLiteral("22"));
    EXPECT_EQ(rig::g.TransverterIfHz, 22'000'000);
    EXPECT_EQ(s.HScroll3->value(), 600);
    EXPECT_EQ(s.Label41->text(), QStringLiteral("600"));
    EXPECT_FALSE(s.Command6->isEnabled()) << "no log: the log's place cannot be chosen";
    EXPECT_EQ(s.Command6->toolTip(), QStringLiteral("Log-DataBaseは現在設定されていません。"));

    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_EQ(main->Label7->text(), QStringLiteral("JA1ZVK"));
    EXPECT_EQ(ini("PSKCFG", "USERCALL"), QStringLiteral("JA1ZVK"));
    EXPECT_EQ(ini("RIG_CON_CFG", "Interval"), QStringLiteral("300"));
    EXPECT_EQ(ini("RIG_CON_CFG", "TRVIFfreq"), QStringLiteral("22"));
    EXPECT_EQ(rig::g.RigPollInterval, 600);
}

// The sheet's Help opens the page at the section of the tab that is shown.
TEST_F(CfgSheet, HelpOpensThePageAtTheShownTabsSection) {
    CFGSHEET& s = open();
    ASSERT_TRUE(s.CFGHLP->isEnabled());
    const char* const sections[] = {"settings-display", "settings-sound", "settings-log", "settings-rig"};
    for (int tab : {3, 0, 2, 1}) {
        SCOPED_TRACE(tab);
        QTabBar* bar = s.SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        zvtest::OpenedUrls urls;
        ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGHLP));
        ASSERT_EQ(urls.opened.size(), 1);
        EXPECT_EQ(urls.opened.front().fragment(), QString::fromLatin1(sections[tab]));
        QFile page(urls.opened.front().toLocalFile());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        EXPECT_TRUE(page.readAll().contains(QByteArray("id=\"") + sections[tab] + '"'));
    }
}

TEST_F(CfgSheet, RefusedWhileRecordingOrPlayingBack) {
    writeIni(QStringLiteral("[PSKCFG]\n") + psktest::kFixtureKeys);
    main = &forms::PSK31MAIN();
    main->Timer2->stop();
    core::g.RecPlayState = 1;
    EXPECT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    EXPECT_TRUE(asked(QStringLiteral("録音再生モード中は変更できません")));
    EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
    EXPECT_EQ(core::g.CfgSheetLoading, 0);
}

TEST_F(CfgSheet, FinishingWritesTheClosingKeys) {
    CFGSHEET& s = open(QStringLiteral("USERCALL=QQ2XYZ\n"));
    s.Text1->clear();
    QTest::keyClicks(s.Text1, QStringLiteral("qq3abcdefghijk"));
    EXPECT_EQ(s.Text1->text(), QStringLiteral("QQ3ABCDEFG")) << "capitals, ten at most";
    s.SSTab1->setCurrentIndex(3);
    s.Text5->clear();
    QTest::keyClicks(s.Text5, QStringLiteral("-5x"));
    EXPECT_EQ(s.Text5->text(), QStringLiteral("5")) << "only digits go in";
    s.Text5->clear();
    EXPECT_EQ(rig::g.RigInterval, QStringLiteral("300"));
    QTest::keyClicks(s.Text5, QStringLiteral("3001500"));
    EXPECT_EQ(rig::g.RigInterval, QStringLiteral("1000")) << "no pause of minutes between rig commands";
    s.Text5->clear();
    QTest::keyClicks(s.Text5, QStringLiteral("120"));

    const QString exclusion = s.Text9->text();
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
    EXPECT_EQ(ini("PSKCFG", "USERCALL"), QStringLiteral("QQ3ABCDEFG"));
    EXPECT_EQ(core::g.UserCall, QStringLiteral("QQ3ABCDEFG"));
    EXPECT_EQ(main->Label7->text(), QStringLiteral("QQ3ABCDEFG"));
    EXPECT_EQ(main->Command3->toolTip(), QStringLiteral("DE QQ3ABCDEFG"));
    EXPECT_EQ(ini("RIG_CON_CFG", "Interval"), QStringLiteral("120"));
    EXPECT_EQ(ini("RIG_CON_CFG", "ICOM_RIGadrs"), QStringLiteral("00"));
    EXPECT_EQ(ini("RIG_CON_CFG", "VFOCHECK"), QStringLiteral("NO"));
    EXPECT_EQ(ini("PSKCFG", "SC_CLKADJRX"), QStringLiteral("5"));
    EXPECT_EQ(ini("PSKCFG", "SQ_SPEED"), QStringLiteral("20"));
    EXPECT_EQ(ini("PSKCFG", "RST599"), QStringLiteral("0"));
    EXPECT_EQ(ini("E-QSL", "eQSL_Mark"), exclusion);
    EXPECT_NE(ini("CFGPOS", "CFGPOSTop"), QStringLiteral("-"));
    EXPECT_EQ(core::g.LastCfgTab, 3);

    // Opened again, the sheet shows what is stored and the tab last used.
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    EXPECT_EQ(forms::CFGSHEET().Text1->text(), QStringLiteral("QQ3ABCDEFG"));
    EXPECT_EQ(forms::CFGSHEET().Text5->text(), QStringLiteral("120"));
    EXPECT_EQ(forms::CFGSHEET().SSTab1->currentIndex(), 3);
}

TEST_F(CfgSheet, CloseBoxFinishesWithoutTheExclusionMark) {
    CFGSHEET& s = open();
    EXPECT_TRUE(s.close());
    EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
    EXPECT_NE(ini("PSKCFG", "USERCALL"), QStringLiteral("-"));
    EXPECT_EQ(ini("E-QSL", "eQSL_Mark"), QStringLiteral("-"));
}

TEST_F(CfgSheet, FirstRunGreetsAndHandsOverToTheMainWindow) {
    writeIni(QString());
    PSK31MAIN& w = forms::PSK31MAIN();
    EXPECT_TRUE(asked(QStringLiteral("ようこそ、ZORVATEK へ、環境の設定をお願いします")));
    ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
    CFGSHEET& s = forms::CFGSHEET();
    EXPECT_TRUE(s.isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(s.Text1->text(), QStringLiteral("NO CALL"));
    EXPECT_EQ(w.Label7->text(), QStringLiteral("NO CALL"));
    EXPECT_TRUE(s.Option1[0]->isChecked());
    EXPECT_EQ(s.Text4->text(), QStringLiteral("J"));
    EXPECT_EQ(s.Text6->text(), QStringLiteral("RTTY"));
    EXPECT_FALSE(calls().contains(QStringLiteral("fnStartSoundCard(65552, -1, 3)")));
    s.Text1->clear();
    QTest::keyClicks(s.Text1, QStringLiteral("qq1abc"));

    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(core::g.FirstRunSetup, 0);
    EXPECT_TRUE(zvtest::waitUntil([&] { return pskcore::lib().isRunning(); }))
        << "the engine starts one tick after the closing";
    EXPECT_EQ(ini("PSKCFG", "USERCALL"), QStringLiteral("QQ1ABC"));
    // The call names the station in the CW ID list, now and at the next start.
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("DE QQ1ABC"));
    EXPECT_EQ(w.Combo1->itemText(0), QStringLiteral("DE QQ1ABC"));
    EXPECT_EQ(ini("PSKCFG", "CWIDSTR"), QStringLiteral("DE QQ1ABC"));
    EXPECT_EQ(ini("PSKCFG", "COMCONT"), QStringLiteral("0"));
    EXPECT_EQ(ini("PSKCFG", "Audio_Center_Freq"), QStringLiteral("1500"));
}

// A settings file that cannot be written: the closing says so once and hands
// over to the main window all the same.
TEST_F(CfgSheet, FirstStartWithAnUnwritableFileStillReachesTheMainWindow) {
    writeIni(QStringLiteral("[PSKCFG]\nUSERCALL=JA1AAA\n"));
    ASSERT_TRUE(QFile::setPermissions(path("ZORVATEK.INI"), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                                QFileDevice::ReadOther));
    zvtest::asUnprivilegedUser(folder(), [this] {
        PSK31MAIN& w = forms::PSK31MAIN();
        ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
        CFGSHEET& s = forms::CFGSHEET();
        EXPECT_EQ(s.Text1->text(), QStringLiteral("JA1AAA"));
        ui::script::clearAsked();
        ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
        int told = 0;
        for (const ui::Asked& a : ui::script::asked())
            if (a.prompt.startsWith(QStringLiteral("設定を保存できません"))) ++told;
        EXPECT_EQ(told, 1);
        EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Label7->text(), QStringLiteral("JA1AAA"));
        EXPECT_EQ(core::g.FirstRunSetup, 0);
    });
}

} // namespace

namespace {

class CfgSheetRoundTrip : public sheettest::SheetTest {};

// A configured system opened and finished without a change keeps every key
// as it was stored: the load's handlers write back what they read.
TEST_F(CfgSheetRoundTrip, LoadThenFinishKeepsTheStoredSettings) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } keys[] = {
        {"PSKCFG", "USERCALL", "QQ2ABC"},
        {"PSKCFG", "CWID_SPEED", "3"},
        {"PSKCFG", "FFT_COMEBACK", "30"},
        {"PSKCFG", "NENNOTAME", "1"},
        {"PSKCFG", "RST599", "1"},
        {"PSKCFG", "ZENHAN_CONV", "YES"},
        {"PSKCFG", "UseQuot_Mark", "YES"},
        {"PSKCFG", "Quot_Mark", "#"},
        {"HamLog", "HLYN", "YES"},
        {"HamLog", "HLViewer", "YES"},
        {"HamLog", "QSL_Mark", "K"},
        {"HamLog", "MODE_Disp", "BPSK31"},
        {"Other_App", "MODE_Disp1", "FSK"},
        {"Other_App", "MODE_Disp4", "SSTV2"},
        {"MultiDSP", "HORZ", "YES"},
        {"MultiDSP", "TOPV", "NO"},
        {"E-QSL", "eQSL_type", "1"},
        {"E-QSL", "eQSL_Mark", "X"},
        {"RIG_CON_CFG", "RIG_TYPE", "FT817"},
        {"RIG_CON_CFG", "BAUD_RATE", "9600"},
        {"RIG_CON_CFG", "STOP_BIT", "2"},
        {"RIG_CON_CFG", "Interval", "40"},
        {"RIG_CON_CFG", "VFOCHECK", "YesP"},
        {"RIG_CON_CFG", "MODECHECK", "YES"},
        {"RIG_CON_CFG", "INETCHECK", "YES"},
        {"RIG_CON_CFG", "USE_TRV", "YES"},
        {"RIG_CON_CFG", "TRVIFfreq", "28"},
        {"RIG_CON_CFG", "Poll_Time", "1600"},
        {"RIG_CON_CFG", "ICOM_RIGadrs", "00"},
        {"RIG_CON_CFG", "RIGCOMCONT", "COM3"},
    };
    QString pskcfg;
    QString others;
    QString section;
    for (const auto& k : keys) {
        const QString line =
            QString::fromLatin1(k.key) + QLatin1Char('=') + QString::fromLatin1(k.value) + QLatin1Char('\n');
        if (QLatin1String(k.section) == QLatin1String("PSKCFG")) {
            pskcfg += line;
            continue;
        }
        if (section != QLatin1String(k.section)) {
            section = QString::fromLatin1(k.section);
            others += QLatin1Char('[') + section + QStringLiteral("]\n");
        }
        others += line;
    }
    writeIni(others + QStringLiteral("[PSKCFG]\n") + pskcfg + psktest::kFixtureKeys);
    // What start-up reads for the run, then the main window and its menu.
    startup::ReadLoggingLink();
    startup::LoadGeneralSettings();
    main = &forms::PSK31MAIN();
    main->Timer2->stop();
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    CFGSHEET& s = forms::CFGSHEET();
    EXPECT_EQ(s.Text1->text(), QStringLiteral("QQ2ABC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(ini(k.section, k.key), QString::fromLatin1(k.value));
    }
    // The fixture's numbers come back as stored as well.
    const QStringList fixture = psktest::kFixtureKeys.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const char* key : {"SQ_SPEED", "AFC_LIMIT", "SC_CLKADJRX", "SC_CLKADJTX", "FFT_Mode", "FFTRoot",
                            "FFT_SMOOTHING", "RX_SearchRange", "COMPORT", "COMCONT", "SOUNDCARDnum"}) {
        SCOPED_TRACE(key);
        const QString prefix = QString::fromLatin1(key) + QLatin1Char('=');
        QString value = QStringLiteral("missing");
        for (const QString& line : fixture)
            if (line.startsWith(prefix)) value = line.mid(prefix.size());
        EXPECT_EQ(ini("PSKCFG", key), value);
    }
}

class CfgSheetByHand : public sheettest::SheetTest {};

// Settings written by hand without the PTT port keys: the sheet opened from
// the menu takes the operator's choices at once, keeps the marks and the call
// already stored (a call ends at a NUL), and "設定完了" ends the first run.
TEST_F(CfgSheetByHand, HandWrittenSettingsWithoutThePttPortTakeTheOperatorsChoices) {
    static const char kFile[] = "[PSKCFG]\r\nAudio_Center_Freq=1000\r\nUSERCALL=JA1ZVK\0NUL\r\n"
                                "[HamLog]\r\nQSL_Mark=N\r\n[Other_App]\r\nMODE_Disp1=RTTY45\r\n";
    writeFile(QStringLiteral("ZORVATEK.INI"), QByteArray(kFile, sizeof kFile - 1));
    startup::LoadGeneralSettings();
    main = &forms::PSK31MAIN();
    main->Timer2->stop();
    main->Timer2_Timer();
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    CFGSHEET& s = forms::CFGSHEET();
    EXPECT_EQ(s.Text1->text(), QStringLiteral("JA1ZVK"));
    EXPECT_EQ(s.Text4->text(), QStringLiteral("N"));
    EXPECT_EQ(s.Text6->text(), QStringLiteral("RTTY45"));
    EXPECT_TRUE(s.Option1[0]->isChecked());

    showTab(s, 1);
    tick(s.Option1[3]);
    EXPECT_EQ(ini("PSKCFG", "COMPORT"), QStringLiteral("3"));
    EXPECT_EQ(ini("PSKCFG", "COMCONT"), QStringLiteral("3"));
    EXPECT_FALSE(s.Option2[3]->isEnabled()) << "one port cannot be both";
    pskcore::lib().clearCalls();
    dragHandle(s.Slider4, 60);
    const int centre = s.Slider4->value();
    EXPECT_GT(centre, 1000);
    EXPECT_EQ(s.Label2->text(), QString::number(centre));
    EXPECT_EQ(core::g.AudioCenterFreq, centre);
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXFrequency(%1, 10, 0)").arg(centre)));

    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_EQ(ini("HamLog", "QSL_Mark"), QStringLiteral("N"));
    EXPECT_EQ(ini("Other_App", "MODE_Disp1"), QStringLiteral("RTTY45"));
    EXPECT_EQ(ini("PSKCFG", "USERCALL"), QStringLiteral("JA1ZVK"));
    EXPECT_EQ(core::WholeNumber(ini("PSKCFG", "Audio_Center_Freq")), centre);

    // Once more without the keys, finished without a change: the PTT port
    // "なし" is stored, and the next opening is no first run.
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1000\n[HamLog]\nQSL_Mark=N\n"));
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFGSHEET().CFGEND));
    EXPECT_EQ(ini("PSKCFG", "COMPORT"), QStringLiteral("0"));
    EXPECT_EQ(ini("PSKCFG", "COMCONT"), QStringLiteral("0"));
    EXPECT_EQ(ini("HamLog", "QSL_Mark"), QStringLiteral("N"));
}

// A transverter IF that is no whole number is refused when the box is left;
// the box goes back to the offset in use, which this run and the next both use.
TEST_F(CfgSheetByHand, ATransverterIfThatIsNoWholeNumberIsRefusedWhenTheBoxIsLeft) {
    CFGSHEET& s = open({}, QStringLiteral("[RIG_CON_CFG]\nTRVIFfreq=28\n"));
    showTab(s, 3);
    s.Text16->setFocus();
    s.Text16->selectAll();
    ui::script::clearAsked();
    QTest::keyClicks(s.Text16, QStringLiteral("a"));
    EXPECT_TRUE(ui::script::asked().isEmpty()) << "nothing is said while typing";
    s.Text5->setFocus();
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_TRUE(ui::script::asked().front().prompt.startsWith(
        QStringLiteral("Transverter の IF freq は整数 (MHz) で入力して下さい。")));
    EXPECT_EQ(s.Text16->text(), QStringLiteral("28"));
    EXPECT_EQ(rig::g.TransverterIfHz, 28'000'000);

    s.Text16->setFocus();
    s.Text16->selectAll();
    QTest::keyClick(s.Text16, Qt::Key_Delete);
    QTest::keyClicks(s.Text16, QStringLiteral("50"));
    EXPECT_EQ(rig::g.TransverterIfHz, 28'000'000) << "in use once the operator is done";
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ini("RIG_CON_CFG", "TRVIFfreq"), QStringLiteral("50"));
    rig::ReadRigSettings();
    EXPECT_EQ(rig::g.TransverterIfHz, 50'000'000);
}

} // namespace
