// The controls that shape the displays and the squelch: the narrow spectrum's
// span (VScroll3), the trace scale (VScroll5), the display tabs (SSTab1), the
// squelch slider and a click on the level bar, and the satellite mode.
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

namespace {

constexpr int kMmvariSquelchPerLevel = 20;
constexpr int kSatelliteAfcLimit = 3000;
const QString kCfg = QStringLiteral("PSKCFG");

// Holds the PSK notices while a display setting changes, then gives back the
// hold it found, so that a hold of the load or of a channel change stays.
class HoldNotices {
  public:
    HoldNotices() : was_(core::g.EngineMsgHold) { core::g.EngineMsgHold = 1; }
    ~HoldNotices() { core::g.EngineMsgHold = was_; }
    HoldNotices(const HoldNotices&) = delete;
    HoldNotices& operator=(const HoldNotices&) = delete;

  private:
    int was_;
};

bool rttyOrCw() {
    return core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw;
}

// Mouse-up on the slider, a press on the level bar.
class SquelchMouse : public forms::WindowFilter {
  public:
    explicit SquelchMouse(PSK31MAIN& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject* o, QEvent* e) override {
        if (o == w_.Slider1 && e->type() == QEvent::MouseButtonRelease) w_.Slider1_MouseUp();
        if (o == w_.ProgressBar1 && e->type() == QEvent::MouseButtonPress)
            w_.ProgressBar1_MouseDown(static_cast<QMouseEvent*>(e)->position().x());
        return false;
    }

  private:
    PSK31MAIN& w_;
};

} // namespace

void PSK31MAIN::VScroll3_Change() {
    core::Globals& g = core::g;
    // The load sets the bar to the stored span: nothing to apply or store.
    if (VScroll3->value() == g.SpectrumZoom) return;
    {
        HoldNotices hold;
        g.SpectrumZoom = VScroll3->value();
        g.RewindStep = terminal::displays::drawStep(g.SpectrumZoom);
        core::PutIniNumber(kCfg, "F_Range", g.SpectrumZoom);
    }
    terminal::engines::SetSpectrumRange(g.RxFreqHz);
}

void PSK31MAIN::VScroll5_Change() {
    core::g.SpectrumScaleDiv1 = VScroll5->value();
    core::g.SpectrumScaleDiv2 = 2 * VScroll5->value();
}

void PSK31MAIN::SSTab1_Click() {
    if (core::g.OpMode == core::ModeMmvari || rttyOrCw()) {
        SSTab1->setCurrentIndex(0);
        return;
    }
    HoldNotices hold;
    core::g.ScanLevelText = SSTab1->tabText(SSTab1->currentIndex());
}

void PSK31MAIN::Slider1_MouseUp() {
    core::Globals& g = core::g;
    const int level = 10 * Slider1->value();
    g.SquelchLevel = core::NumberText(level);
    if (g.OpMode == core::ModeMmvari) {
        MMVARI->set(mmvari::PSquelch, 0, kMmvariSquelchPerLevel * level);
    } else if (rttyOrCw()) {
        core::PostMmttyCommand(mmtty::CmdSetSquelch, terminal::displays::rttySquelch(level));
    } else {
        const int speed = core::WholeNumber(g.SquelchSpeed).value_or(0);
        for (int ch = 0; ch < 3; ++ch)
            pskcore::lib().fnSetSquelchThreshold(level, speed, ch);
    }
    core::PutIniText(kCfg, "SQ_LEVEL", g.SquelchLevel);
}

void PSK31MAIN::ProgressBar1_MouseDown(double x) {
    Slider1->setValue(terminal::displays::squelchPosition(x, ProgressBar1->width(), Slider1->maximum()));
    Slider1_MouseUp();
}

void PSK31MAIN::SATMOD_Click() {
    core::Globals& g = core::g;
    if (g.RecPlayState == 1) {
        ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
        SATMOD->setChecked(g.SatelliteMode == 1);
        return;
    }
    if (g.Transmitting == 1) {
        SATMOD->setChecked(g.SatelliteMode == 1);
        return;
    }
    g.SatelliteMode = g.SatelliteMode == 1 ? 0 : 1;
    SATMOD->setChecked(g.SatelliteMode == 1);
    Label30->setVisible(g.SatelliteMode == 1);
    const int limit = g.SatelliteMode == 1 ? kSatelliteAfcLimit : core::WholeNumber(g.AfcLimit).value_or(0);
    for (int ch = 0; ch < 3; ++ch)
        pskcore::lib().fnSetAFCLimit(limit, ch);
    g.SatelliteModeText = g.SatelliteMode == 1 ? QStringLiteral("True") : QStringLiteral("False");
    core::PutIniText(kCfg, "SateliteMode", g.SatelliteModeText);
}

void PSK31MAIN::connectDisplays() {
    connect(VScroll3, &QScrollBar::valueChanged, this, &PSK31MAIN::VScroll3_Change);
    connect(VScroll5, &QScrollBar::valueChanged, this, &PSK31MAIN::VScroll5_Change);
    connect(SATMOD, &QAction::triggered, this, &PSK31MAIN::SATMOD_Click);
    connect(WFCOLOR, &QAction::triggered, Frame7, &QWidget::show);
    connect(Command26, &QPushButton::clicked, Frame7, &QWidget::hide);
    auto* mouse = new SquelchMouse(*this);
    mouse->watch(Slider1);
    mouse->watch(ProgressBar1);
    // The keys and the wheel move the knob too: applied once the slider has
    // taken the new value. A drag or a click is applied at the mouse-up.
    connect(Slider1, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || QGuiApplication::mouseButtons() != Qt::NoButton) return;
        QMetaObject::invokeMethod(this, &PSK31MAIN::Slider1_MouseUp, Qt::QueuedConnection);
    });
}
