#include "terminal/engines/MmttyLayout.h"

#include "core/Globals.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/macros/RepeatTx.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

namespace terminal::engines {
namespace {

constexpr int kImePanel = 3;
constexpr int kImeMayBeOn = 2;
constexpr int kImeDisabled = 3;
// The XY scope's scale while receiving, and the PSK phase scope's.
constexpr double kRttyScopeScale = 51000;
constexpr double kPskScopeScale = 1275;
constexpr int kRttyLevelMax = 500;
constexpr int kPskLevelMax = 100;

// The spectrum's width in hertz: the RTTY program's markers are placed in hertz.
double spanHz() {
    return std::nearbyint((core::g.FftLastBin - core::g.FftFirstBin) * pskcore::HzPerBin);
}

// The controls that only the PSK library's tuning uses.
QList<QWidget*> pskTuning(PSK31MAIN& w) {
    return {w.VScroll1, w.VScroll2, w.Text4,   w.Text8,   w.Command7, w.Command9,
            w.Label8,   w.Label10,  w.Label11, w.Label16, w.Label19,  w.Picture5};
}

void setIme(PSK31MAIN& w, int state) {
    w.Text1->setAttribute(Qt::WA_InputMethodEnabled, state == kImeMayBeOn);
    w.StatusBar1->setText(kImePanel,
                          state == kImeMayBeOn ? QStringLiteral("IME有効") : QStringLiteral("IME無効"));
}

} // namespace

void ApplyRttyLayout(PSK31MAIN& w) {
    const double span = spanHz();
    w.Picture3->setScale(span, 100);
    w.Picture9->setScale(span, 100);
    w.Picture7->setScale(span, 10);
    w.Picture2->setScale(kRttyScopeScale, kRttyScopeScale);
    w.ProgressBar1->setMaximum(kRttyLevelMax);
    w.SATMOD->setEnabled(false);
    w.MLTRCV->setEnabled(false);
    for (QWidget* c : pskTuning(w))
        c->hide();
    for (LineShape* l : {w.Line13, w.Line14})
        l->setVisible(false);
    w.Label43->hide();
    w.Label44->hide();
    w.Frame4->show();
    w.Command11->setEnabled(false);
    w.Label14->setText(QStringLiteral("Baud"));
    w.Label15->clear();
    w.Picture4->clear();
    core::g.ChannelDisplay = 1;
    // ImeState keeps the box's own mode for the way back.
    setIme(w, kImeDisabled);
}

void ApplyPskLayout(PSK31MAIN& w, PskLayoutAfter after) {
    const double span = core::g.FftLastBin - core::g.FftFirstBin;
    w.Picture3->setScale(span, 100);
    w.Picture9->setScale(span, 100);
    w.Picture2->setScale(kPskScopeScale, kPskScopeScale);
    w.ProgressBar1->setMaximum(kPskLevelMax);
    w.SATMOD->setEnabled(true);
    w.MLTRCV->setEnabled(true);
    for (QWidget* c : pskTuning(w))
        c->show();
    w.Line11->setVisible(false);
    w.Frame4->hide();
    w.Label14->setText(QStringLiteral("IMD"));
    const double x = core::g.RxFreqBin - core::g.FftFirstBin;
    w.Line5->setPoints(x, 0, x, 100);
    w.Line5->setVisible(true);
    w.Line16->setVisible(false);
    w.Line17->setVisible(false);
    if (after == PskLayoutAfter::Stop) {
        w.Command11->setEnabled(true);
        w.Text3->setText(macros::kRepeatNotice);
    } else {
        w.Label43->hide();
        w.Label44->hide();
        w.Command3->setEnabled(true);
    }
}

void RestoreImeState(PSK31MAIN& w) {
    if (core::g.ImeState == kImeMayBeOn || core::g.ImeState == kImeDisabled) setIme(w, core::g.ImeState);
}

} // namespace terminal::engines
