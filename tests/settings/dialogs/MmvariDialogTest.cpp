// The MMVARI settings dialog over the main window's multi-mode control: its
// load from [MMVCFG] (good and bad keys), the live effect of each control, the
// offsets and their step, the transmit-offset measurement against the
// control's simulated station, the close question and the keys at unload.
#include "settings/dialogs/CFG_MMVARI.h"
#include "terminal/panels/MmvariFixture.h"

#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/Shutdown.h"

namespace {

using namespace mmvari;

class MmvariDialog : public mmvtest::MmvariWindowTest {
  protected:
    void TearDown() override {
        terminal::mainwindow::setProcessEndForTest({});
        MmvariWindowTest::TearDown();
    }
    CFG_MMVARI* open(const QString& mmvcfg = {}) {
        PSK31MAIN& w = load({}, mmvcfg);
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        w.move(10, 20);
        QTest::mouseClick(w.Command19[7], Qt::LeftButton);
        return forms::isLoaded<CFG_MMVARI>() && forms::CFG_MMVARI().isVisible() ? &forms::CFG_MMVARI()
                                                                                : nullptr;
    }
    static QString key(const char* name) {
        return core::IniStored(QStringLiteral("MMVCFG"), QString::fromLatin1(name))
            .value_or(QStringLiteral("-"));
    }
    static void tick(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    static bool closeWith(CFG_MMVARI* d, ui::MsgResult answer) {
        ui::script::push(answer);
        d->close();
        return zvtest::waitForPostedEvents();
    }
};

TEST_F(MmvariDialog, LoadAppliesTheStoredOptionsAndUnloadKeepsThem) {
    CFG_MMVARI* d =
        open(QStringLiteral("[MMVCFG]\nHPF_SW=1\nSqMFSK_SW=yes\nTcMFSK_SW=1\nUOS_SW=1\nDidl_SW=1\n"
                            "AFC_W=80\nCWIDsp=25\nTXoffset=120\nRXoffset=0\nextLoop=True\n"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("MMVARI 動作設定"));
    EXPECT_EQ(d->pos(), QPoint(10 + 340, 20 + 43));
    EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(d->Check1->isChecked());
    EXPECT_FALSE(d->Check2->isChecked());
    EXPECT_TRUE(d->Check3->isChecked());
    EXPECT_TRUE(d->Check4->isChecked());
    EXPECT_EQ(d->Check5->text(), QStringLiteral("RTTY-Diddle = BRK"));
    EXPECT_TRUE(d->Check6->isChecked());
    EXPECT_EQ(read(IdHpf), true);
    EXPECT_EQ(read(IdTcMfsk), true);
    EXPECT_EQ(read(PUos, 0), true);
    EXPECT_EQ(read(IdDiddle), 1);
    EXPECT_EQ(read(IdExtLoop), true);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("AFC 80Hz"));
    EXPECT_EQ(read(IdAfcWidth), 80);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("CWIDspeed= 25"));
    EXPECT_EQ(read(IdCwIdSpeed), 25);
    // TXoffset 120 lies beyond the range: 0.
    EXPECT_EQ(d->VScroll3->value(), 0);
    EXPECT_EQ(d->Label7->text(), QStringLiteral("0.00"));
    EXPECT_EQ(d->Label3->text(), QStringLiteral("0ppm"));
    EXPECT_EQ(d->Label5->text(), QStringLiteral("11025.00Hz"));

    tick(d->Check5);
    EXPECT_EQ(d->Check5->text(), QStringLiteral("RTTY-Diddle = LTR"));
    EXPECT_EQ(read(IdDiddle), 0);
    EXPECT_EQ(key("Didl_SW"), QStringLiteral("0"));
    tick(d->Check6);
    EXPECT_EQ(read(IdExtLoop), false);
    EXPECT_EQ(key("extLoop"), QStringLiteral("True")) << "kept at unload";

    ASSERT_TRUE(zvtest::chooseMenuItem(d->CLOSE_CFG));
    EXPECT_FALSE(forms::isLoaded<CFG_MMVARI>());
    EXPECT_EQ(key("TXoffset"), QStringLiteral("0.00"));
    EXPECT_EQ(key("RXoffset"), QStringLiteral("0.00"));
    EXPECT_EQ(key("AFC_W"), QStringLiteral("80"));
    EXPECT_EQ(key("CWIDsp"), QStringLiteral("25"));
    EXPECT_EQ(key("extLoop"), QStringLiteral("False"));
}

TEST_F(MmvariDialog, BadKeysLoadTheirDefaults) {
    CFG_MMVARI* d = open(QStringLiteral("[MMVCFG]\nAFC_W=abc\nCWIDsp=\nTXoffset=x1\nRXoffset=150\n"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->VScroll1->value(), 50);
    EXPECT_EQ(d->VScroll2->value(), 20);
    EXPECT_EQ(d->VScroll3->value(), 0);
    EXPECT_EQ(d->VScroll4->value(), 0);
    EXPECT_EQ(mmvstate::g.MmvariRxOffset, 0.0);
    EXPECT_EQ(d->Label5->text(), QStringLiteral("11025.00Hz"));
}

// A stored value that the bar already holds (its minimum) still shows.
TEST_F(MmvariDialog, BarsAtTheirLowestStillShowTheirValues) {
    CFG_MMVARI* d = open(QStringLiteral("[MMVCFG]\nAFC_W=10\nCWIDsp=10\n"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("AFC 10Hz"));
    EXPECT_EQ(d->Label2->text(), QStringLiteral("CWIDspeed= 10"));
    EXPECT_EQ(read(IdAfcWidth), 10);
    EXPECT_EQ(read(IdCwIdSpeed), 10);
}

TEST_F(MmvariDialog, OffsetsMoveByTheChosenStepAndReachTheControl) {
    CFG_MMVARI* d = open(QStringLiteral("[MMVCFG]\nTXoffset=0.50\nRXoffset=-1.25\n"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Label7->text(), QStringLiteral("0.50"));
    EXPECT_EQ(d->Label3->text(), QStringLiteral("45ppm"));
    EXPECT_DOUBLE_EQ(read(IdTxOffset).toDouble(), 0.5);
    EXPECT_EQ(d->Label5->text(), QStringLiteral("11023.75Hz"));
    EXPECT_TRUE(d->Option1[0]->isChecked());
    struct Case {
        int option;
        QScrollBar* bar;
        Qt::Key key;
        const char* tx;
        const char* rx;
    } cases[] = {
        {2, d->VScroll3, Qt::Key_Down, "1.50", "11023.75Hz"},
        {0, d->VScroll3, Qt::Key_Down, "1.51", "11023.75Hz"},
        {1, d->VScroll4, Qt::Key_Up, "1.51", "11023.65Hz"},
        {2, d->VScroll4, Qt::Key_Down, "1.51", "11024.65Hz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tx);
        tick(d->Option1[std::size_t(c.option)]);
        c.bar->setFocus();
        QTest::keyClick(c.bar, c.key);
        EXPECT_EQ(d->Label7->text(), QString::fromLatin1(c.tx));
        EXPECT_EQ(d->Label5->text(), QString::fromLatin1(c.rx));
    }
    EXPECT_DOUBLE_EQ(read(IdTxOffset).toDouble(), 1.51);
    EXPECT_DOUBLE_EQ(read(IdRxSampleFreq).toDouble(), 11025.0 - 0.35);
    ASSERT_TRUE(zvtest::chooseMenuItem(d->CLOSE_CFG));
    EXPECT_EQ(key("TXoffset"), QStringLiteral("1.51"));
    EXPECT_EQ(key("RXoffset"), QStringLiteral("-0.35"));
}

TEST_F(MmvariDialog, TransmitOffsetMeasurementFindsTheStationsOffset) {
    CFG_MMVARI* d = open();
    ASSERT_NE(d, nullptr);
    PSK31MAIN& w = forms::PSK31MAIN();
    ASSERT_TRUE(control->set(IdNet, true));
    QTest::mouseClick(d->Command2, Qt::LeftButton);
    EXPECT_EQ(mmvstate::g.MmvariTxOffsetMeasuring, 1);
    EXPECT_EQ(read(IdNet), false);
    EXPECT_EQ(read(PAfc, 0), true);
    EXPECT_EQ(read(IdAtc), true);
    EXPECT_EQ(colour::backColor(w.Command23), colour::kButtonFace);
    EXPECT_EQ(colour::backColor(w.Command22), 0x80FF80u);
    EXPECT_EQ(colour::backColor(w.Command19[2]), 0xC0FFC0u);
    EXPECT_EQ(d->Command2->text(), QStringLiteral("TXoffset計測中"));
    EXPECT_EQ(colour::backColor(d->Command2), 0x80C0FFu);

    step(50);
    EXPECT_EQ(d->Label8->text(), QStringLiteral("900"));
    EXPECT_FALSE(d->Label9->isVisible());
    step(1);
    EXPECT_TRUE(d->Label9->isVisible());
    EXPECT_EQ(d->Label9->text(), QStringLiteral("そろそろ確定どきかも"));
    EXPECT_EQ(d->Command2->text(), QStringLiteral("TXoffset計測確定"));
    EXPECT_EQ(colour::backColor(d->Command2), 0xC0FFC0u);

    QTest::mouseClick(d->Command2, Qt::LeftButton);
    EXPECT_EQ(mmvstate::g.MmvariTxOffsetMeasuring, 0);
    EXPECT_EQ(d->Label7->text(), QStringLiteral("-10.00"));
    EXPECT_EQ(d->Command2->text(), QStringLiteral("TXoffset計測"));
    EXPECT_DOUBLE_EQ(read(IdTxOffset).toDouble(), -10.0);
    EXPECT_EQ(read(IdTxOffsetMeasure), 0) << "the offset now matches the station's";
    EXPECT_EQ(read(IdAtc), true) << "the switches stay as the start set them";
    step(1);
    EXPECT_FALSE(d->Label9->isVisible());
}

TEST_F(MmvariDialog, ClosingDuringAMeasurementAsksFirst) {
    CFG_MMVARI* d = open();
    ASSERT_NE(d, nullptr);
    ui::script::begin();
    QTest::mouseClick(d->Command2, Qt::LeftButton);
    ASSERT_TRUE(closeWith(d, ui::No));
    ASSERT_TRUE(forms::isLoaded<CFG_MMVARI>());
    EXPECT_EQ(mmvstate::g.MmvariTxOffsetMeasuring, 1);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt,
              QStringLiteral("まだTXoffset計測が終了していませんが閉じますか？"));
    ui::script::push(ui::No);
    ASSERT_TRUE(zvtest::chooseMenuItem(d->CLOSE_CFG));
    ASSERT_TRUE(forms::isLoaded<CFG_MMVARI>());
    ASSERT_TRUE(closeWith(d, ui::Yes));
    EXPECT_FALSE(forms::isLoaded<CFG_MMVARI>());
    EXPECT_EQ(mmvstate::g.MmvariTxOffsetMeasuring, 0);
    ui::script::end();

    // The end of the run does not wait on the question.
    d = &forms::CFG_MMVARI();
    QTest::mouseClick(d->Command2, Qt::LeftButton);
    ui::script::clearAsked();
    forms::unloadAllExcept();
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(mmvstate::g.MmvariTxOffsetMeasuring, 0);
}

TEST_F(MmvariDialog, CtrlAltZEndsAtOnceWithoutStoring) {
    CFG_MMVARI* d = open();
    ASSERT_NE(d, nullptr);
    bool ended = false;
    terminal::mainwindow::setProcessEndForTest([&] { ended = true; });
    QTest::keyClick(d->VScroll1, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(ended);
    EXPECT_EQ(read(IdRun), false);
    EXPECT_EQ(key("AFC_W"), QStringLiteral("-"));
}

} // namespace
