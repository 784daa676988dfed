// The main window's load from a program folder's settings.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmtty/MmttyLink.h"
#include "settings/sheet/CFGSHEET.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QScrollBar>

namespace {

using core::g;

class MainWindowLoad : public zvtest::ProgramFolderTest {
  protected:
    PSK31MAIN& load(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n") + extra);
        return forms::PSK31MAIN();
    }
};

TEST_F(MainWindowLoad, EveryNamedControlIsThereWithItsCaption) {
    PSK31MAIN& w = load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)"));
    for (int i = 0; i < 36; ++i)
        ASSERT_NE(w.Command8[i], nullptr) << i;
    for (int k = 10; k <= 17; ++k)
        ASSERT_NE(w.Command13[k], nullptr) << k;
    EXPECT_EQ(w.Command1->text(), QStringLiteral("TX (F12)"));
    EXPECT_EQ(w.Command5->text(), QStringLiteral("LOG作成"));
    EXPECT_EQ(w.Check2->text(), QStringLiteral("Time = UTC"));
    EXPECT_EQ(w.Frame2->title(), QStringLiteral("CWID Set"));
    EXPECT_EQ(w.Frame4->title(), QStringLiteral("MMTTY Control"));
    EXPECT_EQ(w.Frame6->title(), QStringLiteral("MMVARI Control"));
    EXPECT_EQ(w.SSTab1->tabText(0), QStringLiteral("FFT"));
    EXPECT_EQ(w.SSTab1->tabText(1), QStringLiteral("Line"));
    EXPECT_EQ(w.PSKMODE[5]->text(), QStringLiteral("SSTV"));
    EXPECT_EQ(w.mvrMODEsel[14]->text(), QStringLiteral("bpsk(STD)"));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。"));
    EXPECT_TRUE(w.Text3->isHidden());
    EXPECT_FALSE(w.PMS->menuAction()->isVisible());
    EXPECT_FALSE(w.MLTSET->menuAction()->isVisible());
    EXPECT_EQ(w.Label8->text(), QStringLiteral(" Ch1"));
    EXPECT_EQ(colour::backColor(w.Command15), 187159u);
    EXPECT_EQ(colour::foreColor(w.Label40), 0xC0FFFFu);
    EXPECT_EQ(w.Label24->text(), QStringLiteral("12"));
    EXPECT_EQ(w.Label26->text(), QStringLiteral("80"));
    // Japanese input as the PSK layout shows it after a mode change.
    EXPECT_EQ(w.StatusBar1->text(3), QStringLiteral("IME有効"));
    EXPECT_TRUE(w.Text1->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(MainWindowLoad, FrequenciesOutsideTheBandFallBackToTheCentre) {
    struct Case {
        const char* stored;
        int expected;
    } cases[] = {{"199", 1200}, {"200", 200}, {"3000", 3000}, {"3001", 1200}, {"abc", 1200}, {nullptr, 1200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "missing");
        g = {};
        QString ini = QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1200\n");
        if (c.stored) ini += QStringLiteral("RX1Freq=%1\nTX1Freq=%1\n").arg(QString::fromLatin1(c.stored));
        writeIni(ini);
        PSK31MAIN& w = forms::PSK31MAIN();
        EXPECT_EQ(g.RxFreqHz, c.expected);
        EXPECT_EQ(g.TxFreqHz, c.expected);
        EXPECT_EQ(w.Text4->text(), QString::number(c.expected));
        EXPECT_EQ(w.VScroll2->value(), c.expected);
        // Setting the transmit bar runs its handler, which takes the bin from the bar.
        EXPECT_EQ(g.TxFreqBin, terminal::engines::NearestBin(c.expected));
        forms::unload<PSK31MAIN>();
    }
}

TEST_F(MainWindowLoad, SettingsTakeTheirDefaultsWhenMissing) {
    load();
    struct Case {
        const char* name;
        QString actual;
        QString expected;
    } cases[] = {
        {"SoundCardNumber", g.SoundCardNumber, "-1"},
        {"AfcLimit", g.AfcLimit, "100"},
        {"ClockAdjRxPpm", g.ClockAdjRxPpm, "0"},
        {"SquelchLevel", g.SquelchLevel, "0"},
        {"WfLevelPsk", g.WfLevelPsk, "90"},
        {"WfLevelRtty", g.WfLevelRtty, "90"},
        {"FftSmoothing", g.FftSmoothing, "2"},
        {"FftMode", g.FftMode, "40"},
        {"FftRoot", g.FftRoot, "0"},
        {"SatelliteModeText", g.SatelliteModeText, "False"},
        {"RxSearchRange", g.RxSearchRange, "10"},
        {"TrxTimeStampOn", g.TrxTimeStampOn, "NO"},
        {"QuoteMark", g.QuoteMark, ">"},
        {"FftComeback", g.FftComeback, "50"},
        {"RxBackColor", g.RxBackColor, "16711680"},
        {"PlaybackBackColor", g.PlaybackBackColor, "11518665"},
        {"RxForeColor", g.RxForeColor, "16777215"},
        {"TxAreaBackColor", g.TxAreaBackColor, "255"},
        {"RxFontName", g.RxFontName, "ＭＳ Ｐゴシック"},
        {"MultiForeColor", g.MultiForeColor, "0"},
        {"SquelchSpeed", g.SquelchSpeed, "PSKCFG"},
        {"QthOperation", g.QthOperation, "Free"},
        {"DefaultCwId", g.DefaultCwId, "Pse Your Call Setting!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.name;
    EXPECT_EQ(g.Ch2RxFreq, 1400);
    EXPECT_EQ(g.Ch3RxFreq, 1600);
    EXPECT_EQ(g.SpectrumZoom, 1);
    EXPECT_EQ(forms::PSK31MAIN().ScanThreshold, 15);
}

TEST_F(MainWindowLoad, StoredSettingsSetTheirControls) {
    g.UserCall = QStringLiteral("QQ9ZZ");
    PSK31MAIN& w = load("San=1\nTIME_STAMP=1\nData_Get=1\nAFC_SW= 1\nNET_SW=1\nSQ_LEVEL=40\n"
                        "WF_LEVEL=120\nSateliteMode=True\nTXinhibt=False\nCWIDSTR=DE QQ9ZZ\nMSG_CNT=2\n"
                        "MESG1=first\nMESG2=second\nF_Range=7\nScanLevel=33\n");
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_TRUE(w.Check2->isChecked());
    EXPECT_EQ(g.LogTimeUtc, 1);
    EXPECT_TRUE(w.Check5->isChecked());
    EXPECT_EQ(colour::backColor(w.Command7), 0x80FF80u);
    EXPECT_EQ(colour::backColor(w.Command9), 0x8080FFu);
    EXPECT_EQ(w.Slider1->value(), 4);
    EXPECT_EQ(w.Slider2->value(), 120);
    EXPECT_TRUE(w.SATMOD->isChecked());
    EXPECT_FALSE(w.Label30->isHidden());
    EXPECT_EQ(w.TxInhibited, 1);
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_EQ(w.StatusBar1->text(4), QStringLiteral("送信禁止"));
    ASSERT_EQ(w.Combo1->count(), 3);
    EXPECT_EQ(w.Combo1->itemText(0), QStringLiteral("DE ") + g.UserCall);
    EXPECT_EQ(w.Combo1->itemText(2), QStringLiteral("second"));
    EXPECT_EQ(g.RewindStep, 4);
    EXPECT_EQ(w.ScanThreshold, 33);
}

// The CW ID list names the station once an own call is stored, whether or
// not a CW ID was stored with it; without one it asks for the call.
TEST_F(MainWindowLoad, TheCwIdListNamesTheStationOrAsksForItsCall) {
    struct Case {
        const char* call;
        const char* ini;
        const char* shown;
        int entries;
    } cases[] = {
        {"QQ9ZZ", "CWIDSTR=DE QQ9ZZ\n", "DE QQ9ZZ", 1},
        {"QQ9ZZ", "", "DE QQ9ZZ", 1},
        {"No Call", "CWIDSTR=DE QQ9ZZ\n", "Pse Your Call Setting!", 0},
        {"", "", "Pse Your Call Setting!", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " / " + c.ini);
        g = {};
        g.UserCall = QString::fromLatin1(c.call);
        PSK31MAIN& w = load(QString::fromLatin1(c.ini));
        EXPECT_EQ(w.Combo1->currentText(), QString::fromLatin1(c.shown));
        EXPECT_EQ(w.Command3->toolTip(), QString::fromLatin1(c.shown));
        EXPECT_EQ(w.Combo1->count(), c.entries);
        forms::unload<PSK31MAIN>();
    }
}

TEST_F(MainWindowLoad, FftModeAndRewindStepRules) {
    struct Case {
        const char* ini;
        const char* mode;
        const char* root;
    } fft[] = {{"FFTRoot=1\nFFT_Mode=40\n", "0", "1"},
               {"FFTRoot=0\nFFT_Mode=5\n", "1", "0"},
               // Each key stands on its own: what the operator chose is used.
               {"FFTRoot=1\n", "0", "1"},
               {"FFT_Mode=30\n", "30", "0"},
               {"", "40", "0"}};
    for (const Case& c : fft) {
        SCOPED_TRACE(c.ini);
        g = {};
        load(QString::fromLatin1(c.ini));
        EXPECT_EQ(g.FftMode, QString::fromLatin1(c.mode));
        EXPECT_EQ(g.FftRoot, QString::fromLatin1(c.root));
        forms::unload<PSK31MAIN>();
    }
    const int zooms[][2] = {{3, 1}, {4, 2}, {6, 2}, {7, 4}, {9, 4}, {10, 6}};
    for (const auto& z : zooms) {
        g = {};
        load(QStringLiteral("F_Range=%1\n").arg(z[0]));
        EXPECT_EQ(g.RewindStep, z[1]) << z[0];
        forms::unload<PSK31MAIN>();
    }
}

TEST_F(MainWindowLoad, RstListIsReadOrCreated) {
    load();
    EXPECT_EQ(readFile("RSTmenu.DAT"), QByteArray("599\r\n"));
    ASSERT_EQ(forms::PSK31MAIN().List4->count(), 1);
    forms::unload<PSK31MAIN>();

    writeFile("RSTmenu.DAT", "599\r\n   \r\n5799\r\n 579\r\n\r\n339");
    PSK31MAIN& w = forms::PSK31MAIN();
    QStringList items;
    for (int i = 0; i < w.List4->count(); ++i)
        items << w.List4->item(i)->text();
    EXPECT_EQ(items, QStringList({"599", "579", "57", "339"}));
}

TEST_F(MainWindowLoad, PskModeArmsTheStartTickWhichClearsTheHold) {
    PSK31MAIN& w = load();
    EXPECT_TRUE(w.Timer2->isActive());
    EXPECT_EQ(w.Timer2->interval(), 10);
    EXPECT_EQ(g.EngineMsgHold, 1);
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("BPSK"));
    EXPECT_FALSE(zvtest::enabledOnceBuilt(w.PSKMODE[4]));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !w.Timer2->isActive(); }));
    EXPECT_EQ(g.EngineMsgHold, 0);
}

TEST_F(MainWindowLoad, RttyModeStartsNoTickAndEnablesCw) {
    g.OpMode = core::ModeRtty;
    ASSERT_FALSE(mmtty::provideProgram(folder()).isEmpty());
    g.MmttyExePath = path("MMTTY.EXE");
    PSK31MAIN& w = load();
    EXPECT_FALSE(w.Timer2->isActive());
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("RTTY"));
    EXPECT_TRUE(w.PSKMODE[3]->isChecked());
    EXPECT_TRUE(zvtest::enabledOnceBuilt(w.PSKMODE[4]));
    EXPECT_FALSE(w.Command3->isEnabled());
    // Empty until the program reports its baud rate.
    EXPECT_NE(w.Label15->text(), QStringLiteral("No Data"));
    EXPECT_TRUE(w.Line16->isVisible());
}

TEST_F(MainWindowLoad, FirstRunShowsTheWelcomeAndTheSettingsSheetOnly) {
    PSK31MAIN& w = forms::PSK31MAIN();
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              QStringLiteral("ようこそ、ZORVATEK へ、環境の設定をお願いします"));
    EXPECT_EQ(g.FirstRunSetup, 1);
    EXPECT_FALSE(w.Timer2->isActive());
    EXPECT_TRUE(w.isHidden());
    ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
    EXPECT_TRUE(forms::CFGSHEET().isVisible());

    forms::CFGSHEET().close();
    EXPECT_EQ(g.FirstRunSetup, 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Timer2->isActive());
    // The items of a normal start: CW only from RTTY, no log button without a log link.
    EXPECT_FALSE(w.PSKMODE[core::ModeCw]->isEnabled());
    EXPECT_TRUE(w.PSKMODE[core::ModeBpsk]->isChecked());
    EXPECT_FALSE(w.Command5->isEnabled());
    for (QAction* a : {w.CALLSR, w.PSTREM1, w.PSTREM2, w.PSTTOREM1, w.PSTTOREM2})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("BPSK"));
    EXPECT_FALSE(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("Audio_Center_Freq")) ==
                 std::nullopt);
}

} // namespace

namespace {

class MainWindowLinks : public zvtest::ProgramFolderTest {
  protected:
    PSK31MAIN& load() {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n"));
        return forms::PSK31MAIN();
    }
};

TEST_F(MainWindowLinks, LogLinkItems) {
    struct Case {
        int link;
        bool logButton;
        bool itemsEnabled;
        bool entryWindowLoaded;
        QString tip;
    } cases[] = {
        {0, false, false, true, {}},
        {1, true, true, true, {}},
        {2, true, false, false, QStringLiteral("ここをクリックするとHamlogからQTHデータを貰えます")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        core::g = {};
        logbook::g = {};
        logbook::g.HamlogLink = c.link;
        logbook::g.HamlogPath = QStringLiteral("C:\\HAMLOG\\HAMLOG.HDB");
        forms::TEMP_LOG();
        PSK31MAIN& w = load();
        EXPECT_EQ(w.Command5->isEnabled(), c.logButton);
        EXPECT_EQ(w.Label47->toolTip(), c.tip);
        EXPECT_EQ(forms::isLoaded<TEMP_LOG>(), c.entryWindowLoaded);
        for (QAction* a : {w.CALLSR, w.PSTREM1, w.PSTREM2, w.PSTTOREM1, w.PSTTOREM2})
            EXPECT_EQ(zvtest::enabledOnceBuilt(a), c.itemsEnabled) << a->text().toStdString();
        if (c.link == 1) {
            EXPECT_EQ(logbook::g.HamlogDataPath, QStringLiteral("C:\\HAMLOG\\HAMLOG"));
            EXPECT_EQ(forms::TEMP_LOG().Text8->text(), core::g.LogModeTextPsk);
            EXPECT_TRUE(forms::TEMP_LOG().windowTitle().endsWith(QLatin1String("\\PSK31_TMPLOG.TXT")));
        }
        forms::unloadAllExcept();
    }
}

TEST_F(MainWindowLinks, RttyIsOfferedOnlyWithTheRttyProgramBesideUs) {
    core::g.MmttyExePath = path("MMTTY.EXE");
    EXPECT_FALSE(zvtest::enabledOnceBuilt(load().PSKMODE[3]));
    forms::unload<PSK31MAIN>();
    writeFile("Mmtty.exe", "");
    EXPECT_TRUE(zvtest::enabledOnceBuilt(load().PSKMODE[3]));
}

TEST_F(MainWindowLinks, LegacyMacroNamesAndCwIdTexts) {
    writeFile("MACNAME0.DAT", "\"CQ,DX\",x\r\n");
    writeFile("MACNAME35.DAT", "QRZ\r\n");
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nMACRO=1\n[MACROCOLOR]\nBTN1=255\n"
                            "[MACRO_SCKEY]\nMACRO2=65\n[PG_CWID]\nCWID1=DE QQ9ZZZ\n"));
    PSK31MAIN& w = forms::PSK31MAIN();
    // A quoted name keeps its comma, on the button as in the macro store.
    EXPECT_EQ(w.Command8[0]->text(), QStringLiteral("CQ,DX"));
    EXPECT_EQ(forms::MACRO_FORM().Text2[0]->text(), QStringLiteral("CQ,DX"));
    EXPECT_EQ(w.Command8[35]->text(), QStringLiteral("QRZ"));
    EXPECT_EQ(colour::backColor(w.Command8[1]), 255u);
    EXPECT_EQ(colour::backColor(w.Command8[2]), colour::kButtonFace);
    EXPECT_EQ(core::g.MacroShortcutKeys[2], 65);
    EXPECT_EQ(core::g.CwIdList[1], QStringLiteral("DE QQ9ZZZ"));
    EXPECT_EQ(forms::MACRO_FORM().Text3[0]->text(), QStringLiteral("DE QQ9ZZZ"));
}

} // namespace
