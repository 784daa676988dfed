// The sound-card clock calibration window with its own multi-mode control
// listening to a sound card that runs +50 ppm fast: opened from the settings
// sheet in a PSK mode and from the MMVARI dialog, the learning and the
// automatic line, following the slanted trace with the keys and the mouse,
// the correction that makes the next trace vertical, and the sound card given
// back at the close.
#include "settings/dialogs/CLKadj.h"
#include "terminal/panels/MmvariFixture.h"

#include "core/ini/IniValues.h"
#include "platform/engines/Engines.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/pskcore/PskCore.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "settings/sheet/CFGSHEET.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/engines/PskFixture.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>

namespace {

using namespace mmvari;

// The leftmost point of the plot's row drawn as the carrier, -1 when none.
int carrierAt(CLKadj& d, int row) {
    const QImage& canvas = d.Picture1->canvas();
    const QColor blue = colour::fromRef(0xFF0000);
    for (int x = 0; x < canvas.width(); ++x)
        if (canvas.pixelColor(x, row) == blue) return x;
    return -1;
}

void press(CLKadj& d, Qt::Key key, int times, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    for (int i = 0; i < times; ++i)
        QTest::keyClick(d.Picture1, key, mods);
}

// The pointer moved over the picture with no button held (QTest moves the
// pointer without a move event then).
void hover(CLKadj& d, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, d.Picture1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(d.Picture1, &move);
}

// Lines of the plot, as the window's own control sends them.
void lines(CLKadj& d, int n) {
    for (int i = 0; i < n; ++i)
        d.MMVARI2->stepForTest();
}

class ClkAdjPsk : public psktest::PskWindowTest {
  protected:
    void SetUp() override {
        PskWindowTest::SetUp();
        engines::current().soundCardPpm = 50;
    }
    // The sheet opened from the main window's menu, its sound tab chosen, the
    // clock button clicked.
    CLKadj* open(const QString& ppm = QStringLiteral("0")) {
        writeIni(QStringLiteral("[PSKCFG]\nSC_CLKADJRX=") + ppm + QStringLiteral("\nSOUNDCARDnum=0\n") +
                 psktest::kFixtureKeys.section(QStringLiteral("SC_CLKADJRX=5\n"), 0, 0) +
                 psktest::kFixtureKeys.section(QStringLiteral("SC_CLKADJRX=5\n"), 1));
        main = &forms::PSK31MAIN();
        main->Timer2_Timer();
        main->show();
        EXPECT_TRUE(zvtest::waitExposed(main));
        if (!zvtest::chooseMenuItem(main->PSKCFG)) return nullptr;
        sheet = &forms::CFGSHEET();
        QTabBar* tabs = sheet->SSTab1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        pskcore::lib().clearCalls();
        QTest::mouseClick(sheet->Command20, Qt::LeftButton);
        return forms::isLoaded<CLKadj>() && forms::CLKadj().isVisible() ? &forms::CLKadj() : nullptr;
    }
    static QString key() {
        return core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("SC_CLKADJRX")).value_or("-");
    }
    PSK31MAIN* main = nullptr;
    CFGSHEET* sheet = nullptr;
};

TEST_F(ClkAdjPsk, TheSheetsButtonStopsThePskCardAndOpensTheCalibration) {
    CLKadj* d = open(QStringLiteral("250"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(calls().first(), QStringLiteral("fnStopSoundCard()"));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("SoundClock Adjust"));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int roomLeft = area.right() + 1 - d->frameGeometry().width();
    EXPECT_EQ(d->pos(),
              QPoint(std::clamp(main->x() + 5100 / 15, area.left(), std::max(area.left(), roomLeft)),
                     main->y() + 650 / 15))
        << "beside its owner, as the other dialogs, as far as the screen lets it be whole";
    EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(d->ClkPskMode, 1);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("8002.00Hz"));
    EXPECT_EQ(d->Label4->text(), QStringLiteral("0ppm"));
    EXPECT_EQ(d->Label5->text(), QStringLiteral("Sens x0.6"));
    EXPECT_TRUE(d->Label6->text().startsWith(QStringLiteral("←　→ で計測線平行移動")));
    EXPECT_TRUE(d->XMMVView3->isVisible());
    QStringList sets;
    for (const dispatch::Call& c : d->MMVARI2->calls())
        sets << QString::number(c.id) + (c.index ? QStringLiteral("(%1)").arg(*c.index) : QString()) +
                    QLatin1Char('=') + (c.args.isEmpty() ? QString() : c.args.value(0).toString());
    EXPECT_EQ(sets, (QStringList{"24=", "5=true", "86(0)=false", "19=0", "33=NONE", "4=true", "80(0)=1000",
                                 "12=8002", "63=1000", "62=800"}));
    // A sensitivity step shows in its label.
    d->VScroll1->setFocus();
    QTest::keyClick(d->VScroll1, Qt::Key_Down);
    EXPECT_EQ(d->Label5->text(), QStringLiteral("Sens x0.5"));
}

TEST_F(ClkAdjPsk, TheSlantedTraceIsFollowedAndTheCorrectionMakesTheNextOneVertical) {
    CLKadj* d = open();
    ASSERT_NE(d, nullptr);
    lines(*d, 5);
    EXPECT_TRUE(d->Label3->isVisible()) << "learning the level span";
    EXPECT_EQ(d->Line1->x1(), 400.0);
    lines(*d, 2);
    EXPECT_FALSE(d->Label3->isVisible());
    EXPECT_EQ(d->ClkMeasureStartX, 399) << "the line sits on the carrier";
    EXPECT_EQ(d->ClkMeasureEndX, 399);
    lines(*d, 393);
    const int top = carrierAt(*d, 10);
    const int bottom = carrierAt(*d, 399);
    EXPECT_EQ(bottom - top, 16) << "+50 ppm at 8000 Hz: 16 units over 400 lines";
    EXPECT_FALSE(d->Label6->isVisible());

    // Shift+arrows tilt the line; the arrows alone move it sideways.
    press(*d, Qt::Key_Right, 8, Qt::ShiftModifier);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.20Hz"));
    EXPECT_EQ(d->Label4->text(), QStringLiteral("25ppm"));
    press(*d, Qt::Key_Right, 8, Qt::ShiftModifier);
    press(*d, Qt::Key_Left, 3);
    EXPECT_EQ(d->ClkMeasureStartX, 396);
    EXPECT_EQ(d->ClkMeasureEndX, 412);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.40Hz"));
    EXPECT_EQ(d->Label4->text(), QStringLiteral("50ppm"));
    press(*d, Qt::Key_Right, 1, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(d->ClkMeasureEndX, 412) << "other shift combinations do nothing";

    // The sheet is closed before the correction: the window stores it itself.
    sheet->close();
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<CFGSHEET>(); }));
    pskcore::lib().clearCalls();
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    EXPECT_EQ(core::g.ClockAdjRxPpm, QStringLiteral("50"));
    EXPECT_EQ(key(), QStringLiteral("50"));
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetClockErrorAdjustment(50)")));
    EXPECT_EQ(d->Label1->text(), QStringLiteral("8000.40Hz"));
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.00Hz"));
    EXPECT_EQ(core::IniStored(QStringLiteral("MMVCFG"), QStringLiteral("RXoffset")), std::nullopt)
        << "an 8000 Hz measurement is not MMVARI's";
    EXPECT_TRUE(d->Label3->isVisible());
    lines(*d, 400);
    EXPECT_LE(std::abs(carrierAt(*d, 399) - carrierAt(*d, 10)), 1) << "the trace goes straight down";
    EXPECT_FALSE(forms::isLoaded<CFGSHEET>()) << "no hidden sheet";
}

TEST_F(ClkAdjPsk, TheMouseLaysAndTiltsTheLine) {
    CLKadj* d = open();
    ASSERT_NE(d, nullptr);
    lines(*d, 10);
    ASSERT_EQ(d->ClkMeasureStartX, 399);
    // The right button puts the line upright at the pointer.
    QTest::mouseClick(d->Picture1, Qt::RightButton, {}, QPoint(420, 200));
    EXPECT_EQ(d->ClkMeasureStartX, 420);
    EXPECT_EQ(d->ClkMeasureEndX, 420);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.00Hz"));
    // Near the line the left button pivots it about its top through the pointer.
    hover(*d, QPoint(425, 200));
    EXPECT_EQ(d->Picture1->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(d->Picture1, Qt::LeftButton, {}, QPoint(425, 200));
    QTest::mouseMove(d->Picture1, QPoint(424, 200));
    QTest::mouseRelease(d->Picture1, Qt::LeftButton, {}, QPoint(424, 200));
    EXPECT_EQ(d->ClkMeasureStartX, 420);
    EXPECT_EQ(d->ClkMeasureEndX, 428);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.20Hz"));
    // Far from it the pointer is the ordinary one; at the top edge nothing happens.
    hover(*d, QPoint(600, 200));
    EXPECT_EQ(d->Picture1->cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(d->Picture1, Qt::LeftButton, {}, QPoint(420, 0));
    QTest::mouseMove(d->Picture1, QPoint(421, 0));
    QTest::mouseRelease(d->Picture1, Qt::LeftButton, {}, QPoint(421, 0));
    EXPECT_EQ(d->ClkMeasureEndX, 428);
}

TEST_F(ClkAdjPsk, ClosingRestartsThePskCardAndReportsAFailure) {
    CLKadj* d = open();
    ASSERT_NE(d, nullptr);
    ui::script::clearAsked();
    pskcore::lib().hooks().startResult = pskcore::BadDeviceId;
    pskcore::lib().clearCalls();
    ASSERT_TRUE(zvtest::chooseMenuItem(d->pEnd));
    EXPECT_FALSE(forms::isLoaded<CLKadj>());
    EXPECT_TRUE(calls().contains(QStringLiteral("fnStartSoundCard(%1, 0, 3)").arg(core::g.MainHwnd)));
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("Bad Device ID,SoundCard Not Present"));
}

TEST_F(ClkAdjPsk, OutsideThePskModesAndMmvariNothingOpens) {
    writeIni(QStringLiteral("[PSKCFG]\n") + psktest::kFixtureKeys);
    core::g.OpMode = core::ModeCw;
    ui::script::clearAsked();
    settings::OpenClockAdjust();
    EXPECT_FALSE(forms::isLoaded<CLKadj>());
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("Mode が PSKCore/MMVari でありません。"));
}

class ClkAdjMmvari : public mmvtest::MmvariWindowTest {
  protected:
    void SetUp() override {
        MmvariWindowTest::SetUp();
        engines::current().soundCardPpm = 50;
    }
    CLKadj* open(const QString& mmvcfg = {}) {
        PSK31MAIN& w = load({}, mmvcfg);
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        QTest::mouseClick(w.Command19[7], Qt::LeftButton);
        dialog = &forms::CFG_MMVARI();
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        return forms::isLoaded<CLKadj>() && forms::CLKadj().isVisible() ? &forms::CLKadj() : nullptr;
    }
    static QString key() {
        return core::IniStored(QStringLiteral("MMVCFG"), QStringLiteral("RXoffset")).value_or("-");
    }
    CFG_MMVARI* dialog = nullptr;
};

TEST_F(ClkAdjMmvari, TheCorrectionGoesToTheReceiveOffsetAndTheDialog) {
    CLKadj* d = open();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ClkPskMode, 0);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("11025.00Hz"));
    lines(*d, 400);
    EXPECT_EQ(carrierAt(*d, 399) - carrierAt(*d, 10), 16) << "+50 ppm at 11025 Hz: 16 units over 400 lines";
    press(*d, Qt::Key_Right, 8, Qt::ShiftModifier);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.28Hz"));
    EXPECT_EQ(d->Label4->text(), QStringLiteral("25ppm"));
    press(*d, Qt::Key_Right, 8, Qt::ShiftModifier);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("0.55Hz"));
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(mmvstate::g.MmvariRxOffset, 0.55);
    EXPECT_EQ(key(), QStringLiteral("0.55"));
    EXPECT_EQ(dialog->VScroll4->value(), 55);
    EXPECT_EQ(dialog->Label5->text(), QStringLiteral("11025.55Hz"));
    EXPECT_DOUBLE_EQ(read(IdRxSampleFreq).toDouble(), 11025.55);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("11025.55Hz"));
    lines(*d, 400);
    EXPECT_LE(std::abs(carrierAt(*d, 399) - carrierAt(*d, 10)), 1);
}

TEST_F(ClkAdjMmvari, AnOffsetBeyondTheRangeStopsAt9999) {
    CLKadj* d = open(QStringLiteral("[MMVCFG]\nRXoffset=99.00\n"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Label1->text(), QStringLiteral("11124.00Hz"));
    lines(*d, 10);
    press(*d, Qt::Key_Right, 72, Qt::ShiftModifier);
    EXPECT_EQ(d->Label2->text(), QStringLiteral("2.50Hz"));
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(mmvstate::g.MmvariRxOffset, 99.99);
    EXPECT_EQ(key(), QStringLiteral("99.99"));
}

TEST_F(ClkAdjMmvari, TheMainControlLeavesTheCardOnRequestAndTakesItBackAtTheClose) {
    CLKadj* d = open();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(zvtest::chooseMenuItem(d->stopSound1));
    EXPECT_TRUE(d->stopSound1->isChecked());
    EXPECT_EQ(read(IdRun), false);
    ASSERT_TRUE(zvtest::chooseMenuItem(d->stopSound1));
    EXPECT_FALSE(d->stopSound1->isChecked());
    EXPECT_EQ(read(IdRun), true);
    QVariant run;
    ASSERT_TRUE(d->MMVARI2->get(IdRun, run));
    EXPECT_FALSE(run.toBool()) << "the window's own control let the card go";

    ASSERT_TRUE(zvtest::chooseMenuItem(d->stopSound1));
    d->close();
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<CLKadj>(); }));
    EXPECT_EQ(read(IdRun), true);
}

} // namespace
