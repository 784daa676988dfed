// The dialogs that the SSTV window opens: the clock-copy window with the SSTV
// engine's own clock figures, and the contest dialog on the SSTV side.
#include "settings/dialogs/CFG_Contest.h"
#include "settings/dialogs/SoundClkADJ.h"
#include "settings/sheet/CFGSHEET.h"
#include "sstv/SstvFixture.h"

#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "rig/RigGlobals.h"
#include "rig/RigSettings.h"
#include "support/Popups.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QTabBar>

namespace {

class SstvDialogs : public zvtest::SstvWindowTest {
  protected:
    static QString key(const char* name) {
        return core::IniStored(QStringLiteral("PSKCFG"), QString::fromLatin1(name))
            .value_or(QStringLiteral("-"));
    }
    SoundClkADJ* openClock() {
        SSTVForm& f = window();
        QTest::mouseClick(f.Command22, Qt::LeftButton);
        return forms::isLoaded<SoundClkADJ>() && forms::SoundClkADJ().isVisible() ? &forms::SoundClkADJ()
                                                                                  : nullptr;
    }
};

TEST_F(SstvDialogs, ClockCopyShowsTheEnginesFiguresAndWritesThePskKeysAtThePsksRate) {
    struct Case {
        std::int32_t base, rx, tx;
        const char *l2, *l4, *l6, *l8, *l9, *l10;
        bool apply;
        const char *keyRx, *keyTx;
    } cases[] = {
        {800000, 800020, -10, "8000.00Hz", "8000.20Hz", "-0.10Hz", "0.20Hz", "-12ppm", "25ppm", true, "25",
         "12"},
        {1102500, 1102520, -10, "11025.00Hz", "11025.20Hz", "-0.10Hz", "0.20Hz", "-9ppm", "18ppm", false, "-",
         "-"},
        {960000, 960020, 0, "9600.00Hz", "9600.20Hz", "0.00Hz", "0.20Hz", "", "", false, "-", "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        writeIni(QString());
        eng().hooks().baseRate = c.base;
        eng().hooks().txOffset = c.tx;
        eng().mmsSetSampleFreq(0, c.rx);
        eng().clearCalls();
        window().move(30, 50);
        SoundClkADJ* d = openClock();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("SoundClkADJ"));
        EXPECT_EQ(d->pos(), QPoint(30 + 340, 50 + 43));
        EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(eng().callTexts().filter(QStringLiteral("mmsGetSampleFreq")),
                  (QStringList{"mmsGetSampleFreq(3)", "mmsGetSampleFreq(2)", "mmsGetSampleFreq(1)"}));
        EXPECT_EQ(d->Label2->text(), QString::fromLatin1(c.l2));
        EXPECT_EQ(d->Label4->text(), QString::fromLatin1(c.l4));
        EXPECT_EQ(d->Label6->text(), QString::fromLatin1(c.l6));
        EXPECT_EQ(d->Label8->text(), QString::fromLatin1(c.l8));
        EXPECT_EQ(d->Label9->text(), QString::fromLatin1(c.l9));
        EXPECT_EQ(d->Label10->text(), QString::fromLatin1(c.l10));
        EXPECT_EQ(d->Command1->isEnabled(), c.apply);
        // The figures were taken at loading: a new measurement changes nothing.
        eng().mmsSetSampleFreq(0, c.rx + 1000);
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        EXPECT_EQ(key("SC_CLKADJRX"), QString::fromLatin1(c.keyRx));
        EXPECT_EQ(key("SC_CLKADJTX"), QString::fromLatin1(c.keyTx));
        EXPECT_TRUE(d->isVisible());
        ASSERT_TRUE(zvtest::chooseMenuItem(d->tojiru));
        EXPECT_FALSE(forms::isLoaded<SoundClkADJ>());
    }
}

TEST_F(SstvDialogs, ContestOnTheSstvWindowFixes595AndEndsThroughItsOwnRoutine) {
    core::g.HisRstPresetOn = QStringLiteral("1");
    core::g.ContestMode = 0;
    logbook::g.HamlogLink = 0;
    writeIni(QStringLiteral("[PSKCFG]\nContestNo=007\n"));
    SSTVForm& f = window();
    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON));
    ASSERT_TRUE(forms::isLoaded<CFG_Contest>());
    CFG_Contest& d = forms::CFG_Contest();
    EXPECT_EQ(d.Check4->text(), QStringLiteral("送信RSVを　５９５　に固定"));
    QTest::mouseClick(d.Check4, Qt::LeftButton, {}, QPoint(6, d.Check4->height() / 2));
    EXPECT_EQ(f.Text5->text(), QStringLiteral("595"));
    QTest::mouseClick(d.Check3, Qt::LeftButton, {}, QPoint(6, d.Check3->height() / 2));
    EXPECT_EQ(f.Text11->text(), QStringLiteral("007"));
    EXPECT_EQ(f.VScroll4->value(), 7);
    EXPECT_TRUE(f.VScroll4->isVisible());
    ASSERT_TRUE(zvtest::chooseMenuItem(d.CON_STRART));
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<CFG_Contest>(); }));
    EXPECT_EQ(core::g.ContestMode, 1);
    EXPECT_TRUE(f.CONON->isChecked());
    EXPECT_TRUE(f.Text11->isVisible());

    // The item ends it; opened again, "離脱" runs the SSTV window's contest end.
    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON));
    EXPECT_EQ(core::g.ContestMode, 0);
    ASSERT_TRUE(zvtest::chooseMenuItem(f.CONON));
    ASSERT_TRUE(forms::isLoaded<CFG_Contest>());
    f.Text11->setText(QStringLiteral("012"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFG_Contest().CLOSE_CFG));
    EXPECT_FALSE(forms::isLoaded<CFG_Contest>());
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("ContestNo")), QStringLiteral("012"));
    EXPECT_EQ(f.Text5->text(), QStringLiteral("595"));
    EXPECT_FALSE(f.Text11->isVisible());
}

// In SSTV mode the sheet's internet and transverter switches reach the SSTV
// window's own items, as they reach the main window's in the other modes.
TEST_F(SstvDialogs, TheSheetsSwitchesReachTheSstvWindowsItems) {
    writeIni(QStringLiteral("[RIG_CON_CFG]\nINETCHECK=NO\nUSE_TRV=YES\nTRVon=1\n"));
    rig::ReadRigSettings();
    SSTVForm& f = window();
    ASSERT_FALSE(f.dxinfo->isEnabled());
    ASSERT_TRUE(f.TRVon->isVisible());
    ASSERT_TRUE(zvtest::chooseMenuItem(f.PSKCFG));
    ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
    CFGSHEET& s = forms::CFGSHEET();
    QTabBar* bar = s.SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
    QTest::mouseClick(s.Check13, Qt::LeftButton, {}, QPoint(8, s.Check13->height() / 2));
    EXPECT_TRUE(f.dxinfo->isEnabled());
    QTest::mouseClick(s.Check15, Qt::LeftButton, {}, QPoint(8, s.Check15->height() / 2));
    EXPECT_FALSE(f.TRVon->isVisible());
    EXPECT_FALSE(f.TRVon->isChecked());
    EXPECT_EQ(rig::g.TransverterOn, QStringLiteral("0"));
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_TRUE(f.dxinfo->isEnabled());
    EXPECT_FALSE(f.TRVon->isVisible());
    EXPECT_EQ(core::IniStored(QStringLiteral("RIG_CON_CFG"), QStringLiteral("INETCHECK")),
              QStringLiteral("YES"));
}

} // namespace
