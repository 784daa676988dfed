// The zoom label (Label39, "x1".."x5"): each click magnifies the waterfall and
// the spectrum around the transmit frequency one step more, back to x1 after x5.
#include "core/Globals.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/windows/WindowFilter.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

struct ZoomStep {
    int next;
    int drawStep;
};

constexpr ZoomStep kSteps[] = {{0, 0}, {2, 2}, {3, 1}, {4, 1}, {5, 1}, {1, 4}};

class ZoomMouse : public forms::WindowFilter {
  public:
    explicit ZoomMouse(PSK31MAIN& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) w_.Label39_Click();
        return false;
    }

  private:
    PSK31MAIN& w_;
};

} // namespace

void PSK31MAIN::Label39_Click() {
    core::Globals& g = core::g;
    if (g.OpMode == core::ModeRtty || g.OpMode == core::ModeCw) return;
    if (g.WfMagnify >= 1 && g.WfMagnify <= 5) {
        const ZoomStep& s = kSteps[g.WfMagnify];
        g.WfMagnify = s.next;
        g.DrawBinStep1 = g.DrawBinStep2 = s.drawStep;
        Label39->setText(QStringLiteral("x%1").arg(g.WfMagnify));
    }
    const terminal::displays::BinSpan span = terminal::displays::zoomBins(g.TxFreqHz, g.WfMagnify);
    g.FftFirstBin = span.first;
    g.FftLastBin = span.last;
    for (PictureBox* p : {Picture3, Picture9, Picture5, Picture7})
        p->setScale(g.FftLastBin - g.FftFirstBin, p->scaleHeight());
    SetRxFreqFromScroll();
    SetTxFreqFromScroll();
    if (g.ChannelDisplay == 3) {
        forms::multi_ch().SetCh2FreqFromScroll();
        forms::multi_ch().SetCh3FreqFromScroll();
    }
}

void PSK31MAIN::connectZoom() {
    (new ZoomMouse(*this))->watch(Label39);
}
