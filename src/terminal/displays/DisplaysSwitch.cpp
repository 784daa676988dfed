// The waterfall/spectrum switch (Command10, Ctrl+W) and the rewind of the
// play-back by its right button.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

constexpr int kMmvariRewind = 60;
constexpr int kDefaultComeback = 50;
constexpr double kThresholdLineWidth = 768;

class SwitchMouse : public forms::WindowFilter {
  public:
    explicit SwitchMouse(PSK31MAIN& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonPress) return false;
        const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
        w_.Command10_MouseDown(b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : 0);
        return false;
    }

  private:
    PSK31MAIN& w_;
};

} // namespace

void PSK31MAIN::SwitchWaterfallSpectrum() {
    core::Globals& g = core::g;
    const int mode = g.SpectrumDisplayMode == 0 ? 1 : 0;
    if (g.MmvariActive == 1) {
        XMMVView1->set(mmvari::ViewType, mode == 0 ? 1 : 0);
        g.SpectrumDisplayMode = mode;
    } else {
        // The display tick must not draw into the picture while it is cleared;
        // a hold set by someone else stays.
        const int held = g.EngineMsgHold;
        g.EngineMsgHold = 1;
        Picture3->clear();
        g.SpectrumDisplayMode = mode;
        if (mode == 0) Line15->setVisible(false);
        g.EngineMsgHold = held;
    }
    core::PutIniNumber(QStringLiteral("PSKCFG"), "SPCDSP", mode);
    Text5->setFocus();
}

void PSK31MAIN::Command10_MouseDown(int Button) {
    core::Globals& g = core::g;
    if (Button == 1) SwitchWaterfallSpectrum();
    if (Button == 2) {
        if (g.MmvariActive == 1)
            MMVARI->invoke(mmvari::MethodRewind, {kMmvariRewind});
        else
            pskcore::lib().fnRewindInput(core::WholeNumber(g.FftComeback).value_or(kDefaultComeback));
    }
    if (g.MmvariActive != 1 && g.WfDrawState == 1) {
        const double y = 96 - ScanThreshold;
        Line15->setPoints(0, y, kThresholdLineWidth, y);
        Line15->setVisible(true);
    }
}

void PSK31MAIN::connectDisplaySwitch() {
    (new SwitchMouse(*this))->watch(Command10);
}
