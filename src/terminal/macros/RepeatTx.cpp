#include "terminal/macros/RepeatTx.h"

#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"

namespace terminal::macros {

namespace {
constexpr int kWatchMs = 1000;
constexpr int kBusyReadings = 3;
constexpr double kPskThreshold = 50;
constexpr double kRttyThreshold = 250;
} // namespace

bool Cycle::pskMode() const {
    return core::g.OpMode >= core::ModeBpsk && core::g.OpMode <= core::ModeQpskLsb;
}

bool Cycle::rttyOrCw() const {
    return core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw;
}

void Cycle::setPlainButtons(bool touchSquelch) {
    c_.Command1->setEnabled(true);
    c_.Command3->setEnabled(!rttyOrCw());
    if (touchSquelch && pskMode()) e_.setSquelch(true);
}

void Cycle::cancelForNewMacro() {
    if (core::g.RepeatTxOn != 1) return;
    core::g.RepeatTxOn = 0;
    c_.Timer1->stop();
    colour::setBackColor(c_.Command1, colour::kButtonFace);
    c_.Text3->hide();
    if (pskMode()) {
        e_.clearTxBuffer();
        e_.setSquelch(true);
    }
}

void Cycle::setUp(const RepeatRequest& r) {
    // A count that is missing, zero or not a number sends the macro once.
    if (!r.valid) {
        core::g.RepeatArmed = 0;
        setPlainButtons(true);
        return;
    }
    core::g.RepeatArmed = 1;
    g.RepeatCountText = r.countText;
    g.RepeatSeconds = QString::number(r.seconds);
    if (c_.Check3->isChecked()) {
        setPlainButtons(false);
        return;
    }
    core::g.RepeatTxOn = 1;
    c_.Command1->setEnabled(false);
    c_.Command3->setEnabled(false);
    if (pskMode()) e_.setSquelch(false);
}

void Cycle::onTxStart(TxEngine) {
    // Every engine stops the pause at its transmit start, so that a pause
    // shorter than the transmission never hands the text over twice.
    c_.Timer1->stop();
    colour::setBackColor(c_.Command1, kTransmitColour);
    if (core::g.RepeatTxOn == 1) {
        c_.Text3->setText(kRepeatNotice);
        c_.Text3->show();
    }
}

void Cycle::onTxEnd(TxEngine engine) {
    if (core::g.RepeatTxOn == 1) {
        core::g.BusyCount = 0;
        colour::setBackColor(c_.Command1, kPauseColour);
        c_.Timer1->start(g.RepeatSeconds.trimmed().toInt() * 1000);
        c_.Timer4->start(kWatchMs);
        return;
    }
    core::g.RepeatArmed = 0;
    colour::setBackColor(c_.Command1, colour::kButtonFace);
    colour::setBackColor(c_.Command3, colour::kButtonFace);
    c_.Timer1->stop();
    // The repeat's notice goes with the over; another message keeps its time.
    if (c_.Text3->text() == kRepeatNotice) c_.Text3->hide();
    if (engine == TxEngine::Mmvari) {
        core::g.MacroCwId = core::g.MacroTxOff = 0;
        c_.Command1->setEnabled(true);
        c_.Command3->setEnabled(true);
        return;
    }
    c_.Timer4->stop();
    if (engine == TxEngine::Mmtty) core::g.MacroTxOff = 0;
}

void Cycle::Timer1_Timer() {
    if (core::g.RepeatTxOn == 1) {
        if (pskMode()) core::g.OpMode = g.RepeatPskMode;
        e_.txSend();
        return;
    }
    c_.Timer4->stop();
    c_.Text3->hide();
    colour::setBackColor(c_.Command1, colour::kButtonFace);
    core::g.RepeatArmed = 0;
    core::g.BusyCount = 0;
    if (pskMode()) e_.setSquelch(true);
    c_.Timer1->stop();
}

void Cycle::Timer4_Timer() {
    const double threshold = rttyOrCw() ? kRttyThreshold : kPskThreshold;
    if (e_.signalLevel() <= threshold) return;
    if (++core::g.BusyCount >= kBusyReadings) cancelOnBusyChannel();
}

// The channel is in use: the repeat ends; a transmission on the air is not cut,
// and Timer1's next tick finds the repeat off.
void Cycle::cancelOnBusyChannel() {
    core::g.RepeatTxOn = 0;
    c_.Text3->hide();
    colour::setBackColor(c_.Command1, colour::kButtonFace);
    c_.Command1->setEnabled(true);
    core::g.RepeatArmed = 0;
    core::g.BusyCount = 0;
    c_.Timer4->stop();
    if (rttyOrCw()) {
        c_.Command3->setEnabled(false);
        core::g.MacroTxOff = 0;
        return;
    }
    c_.Command3->setEnabled(true);
    clearMmvariTxOff();
    if (pskMode()) e_.setSquelch(true);
}

// A repeat of the multi-mode control that ends in its pause leaves no
// 'TXOFF' behind: the operator's next transmission would end by itself.
void Cycle::clearMmvariTxOff() {
    if (core::g.OpMode == core::ModeMmvari) core::g.MacroTxOff = 0;
}

void Cycle::Check3_Click() {
    if (core::g.RepeatArmed != 1) {
        setPlainButtons(false);
        return;
    }
    if (c_.Check3->isChecked()) {
        if (core::g.OpMode == core::ModeMmvari) e_.mmvariReceiveWhenEmpty();
        core::g.RepeatTxOn = 0;
        core::g.MacroTxOff = 0;
        if (!e_.transmitting()) colour::setBackColor(c_.Command1, colour::kButtonFace);
        c_.Timer1->stop();
        c_.Text3->hide();
        core::g.RepeatArmed = 0;
        setPlainButtons(false);
        return;
    }
    if (e_.transmitting()) {
        core::g.RepeatTxOn = 1;
        c_.Text3->setText(kRepeatNotice);
        c_.Text3->show();
    }
    c_.Command1->setEnabled(false);
    c_.Command3->setEnabled(false);
}

void Cycle::stopByOperator(bool stopPause) {
    core::g.RepeatTxOn = 0;
    if (stopPause) c_.Timer1->stop();
}

void Cycle::escape() {
    const bool repeating = core::g.RepeatTxOn == 1 || core::g.RepeatArmed == 1;
    stopByOperator(!rttyOrCw());
    if (repeating) clearMmvariTxOff();
    colour::setBackColor(c_.Command1, colour::kButtonFace);
    c_.Text3->hide();
    c_.Command1->setEnabled(true);
    c_.Command3->setEnabled(!rttyOrCw());
    if (rttyOrCw()) core::g.MacroTxOff = 0;
    if (pskMode()) e_.setSquelch(true);
}

} // namespace terminal::macros
