// The settings sheet's multi-channel switches: stored at once, HORZ arranging
// the multi-channel window anew (or when it opens).
#include "settings/sheet/CFGSHEET.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskFixture.h"

#include "core/ini/IniValues.h"
#include "support/ProgramFolder.h"

namespace {

class CfgSheetMulti : public psktest::PskWindowTest {
  protected:
    // On the box itself: the switch's row runs wider than its box and caption.
    static void tick(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
};

TEST_F(CfgSheetMulti, HorzArrangesTheWindowAndTopvIsKept) {
    writeIni(QStringLiteral("[MultiDSP]\nTOPV=YES\n[CFGPOS]\nMDPOSTop=0\nMDPOSLeft=0\nMDPOSWidth=6690\n"
                            "MDPOSHeight=3930\n[PSKCFG]\n") +
             psktest::kFixtureKeys);
    forms::PSK31MAIN().Timer2->stop();
    CFGSHEET& sheet = forms::CFGSHEET();
    sheet.show();
    ASSERT_TRUE(zvtest::waitExposed(&sheet));
    EXPECT_FALSE(sheet.Check5->isChecked());
    EXPECT_TRUE(sheet.Check6->isChecked());
    EXPECT_FALSE(forms::isLoaded<multi_ch>()) << "the sheet's load arranges nothing";
    sheet.SSTab1->setCurrentIndex(0);

    tick(sheet.Check5);
    EXPECT_EQ(core::IniStored(QStringLiteral("MultiDSP"), QStringLiteral("HORZ")), QStringLiteral("YES"));
    EXPECT_FALSE(forms::isLoaded<multi_ch>()) << "a window not open is arranged when it opens";
    EXPECT_EQ(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("RX2Freq")), QStringLiteral("1400"));
    EXPECT_FALSE(core::IniStored(QStringLiteral("multi_pos"), QStringLiteral("R1H")));
    multi_ch& m = forms::multi_ch();
    EXPECT_EQ(m.MultiHorizontal, 1);
    EXPECT_EQ(m.widthTw(), 9165);
    EXPECT_EQ(m.tw.rect(m.RichTextBox2).top, 480);
    EXPECT_EQ(m.tw.rect(m.Label2).left, 4750);

    tick(sheet.Check5);
    EXPECT_EQ(core::IniStored(QStringLiteral("MultiDSP"), QStringLiteral("HORZ")), QStringLiteral("NO"));
    EXPECT_EQ(m.MultiHorizontal, 0);
    EXPECT_EQ(m.heightTw(), 3930);
    EXPECT_EQ(m.tw.rect(m.RichTextBox2).top, 2040);
    EXPECT_EQ(m.tw.rect(m.Label2).left, 120);

    tick(sheet.Check6);
    EXPECT_EQ(core::IniStored(QStringLiteral("MultiDSP"), QStringLiteral("TOPV")), QStringLiteral("NO"));
    EXPECT_EQ(m.MultiOnTop, QStringLiteral("NO"));
}

} // namespace
