// The settings sheet's sound tab on the other engines: the RTTY program takes
// the PTT port through its scope library and the port-update code, the
// multi-mode control takes its sound card and PTT port by property.
#include "settings/SheetFixture.h"

#include "core/engines/MmttyCommand.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "startup/AboutZORVATEK.h"

namespace {

class CfgSheetEngines : public sheettest::SheetTest {
  protected:
    void TearDown() override {
        forms::unloadAllExcept();
        core::MmttyProgram().close(1000);
        SheetTest::TearDown();
    }
    CFGSHEET& openSoundTab() {
        EXPECT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
        CFGSHEET& s = forms::CFGSHEET();
        showTab(s, 1);
        return s;
    }
    // The values the multi-mode control was given for a property, in order.
    QStringList setsOf(int id) const {
        QStringList values;
        for (const dispatch::Call& c : main->MMVARI->callsOf(dispatch::Call::Set, id))
            values << c.args.value(0).toString();
        return values;
    }
};

TEST_F(CfgSheetEngines, RttyProgramTakesThePttPortAtOnce) {
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nLastMode=RTTY\nCOMPORT=0\nCOMCONT=1\n"
                            "SOUNDCARDnum=0\nTRX_TimeStmp=NO\n"));
    ASSERT_FALSE(mmtty::provideProgram(folder()).isEmpty());
    writeFile(QStringLiteral("Mmtty.INI"), "[Mmtty]\r\n");
    core::g.MmttyExePath = path(QStringLiteral("MMTTY.EXE"));
    core::g.LastModeText = QStringLiteral("RTTY");
    core::g.OpMode = core::ModeRtty;
    main = &forms::PSK31MAIN();
    ASSERT_TRUE(core::MmttyProgram().waitForWindow(zvtest::kSafetyNetMsecs));
    CFGSHEET& s = openSoundTab();
    EXPECT_FALSE(s.Frame4->isEnabled()) << "the RTTY program keeps its own sound card";
    EXPECT_FALSE(s.Frame13->isEnabled());
    EXPECT_TRUE(s.Frame1->isEnabled());

    const struct {
        int option;
        const char* init;
    } rows[] = {{3, "fnBOBMAKOInit(MMTTY/ZORVAT, COM3, NONE)"},
                {0, "fnBOBMAKOInit(MMTTY/ZORVAT, NONE, NONE)"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.init);
        core::MmttyProgram().clearPosted();
        pskcore::lib().clearCalls();
        tick(s.Option1[std::size_t(r.option)]);
        ASSERT_FALSE(bobmako::lib().calls().isEmpty());
        EXPECT_EQ(bobmako::lib().calls().back(), QString::fromLatin1(r.init));
        EXPECT_TRUE(core::MmttyProgram().posted().contains(mmtty::Pair{21, 0})) << "the port update";
        EXPECT_FALSE(calls().join(' ').contains(QStringLiteral("fnSetComPort")));
        EXPECT_EQ(ini("PSKCFG", "COMPORT"), QString::number(r.option));
    }
}

TEST_F(CfgSheetEngines, MultiModeControlTakesSoundCardAndPttPort) {
    writeIni(
        QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nRX1Freq=1000\nTX1Freq=1000\nCOMPORT=0\nCOMCONT=1\n"
                       "SOUNDCARDnum=0\nTRX_TimeStmp=NO\nLastMode=MMVARI\n"));
    core::g.OpMode = core::ModeMmvari;
    forms::AboutZORVATEK();
    main = &forms::PSK31MAIN();
    CFGSHEET& s = openSoundTab();
    EXPECT_TRUE(s.Frame4->isEnabled());
    EXPECT_FALSE(s.Frame13->isEnabled()) << "the PSK core library's settings";
    main->MMVARI->clearCalls();
    pskcore::lib().clearCalls();

    tick(s.Option3[2]);
    tick(s.Option1[5]);
    tick(s.Option1[0]);
    EXPECT_EQ(setsOf(mmvari::IdSoundCard), QStringList{QStringLiteral("1")});
    EXPECT_EQ(setsOf(mmvari::IdPttPort), (QStringList{QStringLiteral("COM5"), QStringLiteral("NONE")}));
    EXPECT_EQ(ini("PSKCFG", "SOUNDCARDnum"), QStringLiteral("1"));
    EXPECT_TRUE(calls().isEmpty()) << "the PSK core library is not running and is not touched";
}

} // namespace
