// The RX and TX frequency boxes (Text4, Text8): digits only, Enter tunes within
// 200..3000 Hz. A click into the RX box suspends AFC and typing into the TX box
// suspends NET until the next completed Enter there.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

int searchRange() {
    return core::WholeNumber(core::g.RxSearchRange).value_or(10);
}

bool digitOrBackspace(int key) {
    return key == kBackspace || (key >= '0' && key <= '9');
}

// The box's number on Enter, held to the boxes' bounds and shown as held;
// nothing for an empty box.
std::optional<int> boundedBoxValue(QLineEdit* box) {
    const std::optional<int> typed = core::WholeNumber(box->text());
    if (!typed) return std::nullopt;
    const int hz = terminal::displays::boxHz(*typed);
    if (hz != *typed) box->setText(QString::number(hz));
    return hz;
}

// The box's key press as the handlers take it: the character's code, 13 for
// Enter; 0 for keys that type no character (arrows, Delete, shortcuts such as
// paste), which go to the box unseen.
int keyAscii(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return kEnter;
    if (e->key() == Qt::Key_Backspace) return kBackspace;
    const QString t = e->text();
    if (t.size() != 1 || t[0].unicode() < 32 || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return 0;
    return t[0].unicode();
}

class BoxKeys : public forms::WindowFilter {
  public:
    explicit BoxKeys(PSK31MAIN& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject* o, QEvent* e) override {
        if (o == w_.Text4 && e->type() == QEvent::MouseButtonPress) w_.Text4_Click();
        if (e->type() != QEvent::KeyPress) return false;
        int key = keyAscii(static_cast<QKeyEvent*>(e));
        if (key == 0) return false;
        if (o == w_.Text4) w_.Text4_KeyPress(key);
        if (o == w_.Text8) w_.Text8_KeyPress(key);
        return key == 0;
    }

  private:
    PSK31MAIN& w_;
};

} // namespace

void PSK31MAIN::Text4_Click() {
    if (core::g.AfcOn != 1) return;
    AfcWasOn = 1;
    core::g.AfcOn = 0;
}

void PSK31MAIN::Text4_KeyPress(int& KeyAscii) {
    core::Globals& g = core::g;
    if (digitOrBackspace(KeyAscii)) return;
    if (KeyAscii != kEnter) {
        KeyAscii = 0;
        Text4->setText(QString::number(g.RxFreqHz));
        return;
    }
    KeyAscii = 0;
    const std::optional<int> hz = boundedBoxValue(Text4);
    if (!hz) return;
    VScroll1->setValue(*hz);
    g.RxFreqHz = VScroll1->value();
    g.RxFreqBin = terminal::displays::hzToBin(g.RxFreqHz);
    if (g.NetOn == 1) {
        VScroll2->setValue(VScroll1->value());
        g.TxFreqHz = g.RxFreqHz;
        pskcore::lib().fnSetTXFrequency(g.RxFreqHz);
        Text8->setText(Text4->text());
    }
    pskcore::lib().fnSetRXFrequency(g.RxFreqHz, searchRange(), 0);
    if (AfcWasOn == 1) {
        g.AfcOn = 1;
        AfcWasOn = 0;
    }
    RichTextBox1->setFocus();
}

void PSK31MAIN::Text8_KeyPress(int& KeyAscii) {
    core::Globals& g = core::g;
    if (g.NetOn == 1) {
        NetWasOn = 1;
        g.NetOn = 0;
    }
    if (digitOrBackspace(KeyAscii)) return;
    if (KeyAscii != kEnter) {
        KeyAscii = 0;
        Text8->setText(QString::number(g.TxFreqHz));
        return;
    }
    KeyAscii = 0;
    const std::optional<int> hz = boundedBoxValue(Text8);
    if (!hz) return;
    VScroll2->setValue(*hz);
    g.TxFreqHz = VScroll2->value();
    pskcore::lib().fnSetTXFrequency(g.TxFreqHz);
    if (NetWasOn == 1) {
        g.RxFreqHz = g.TxFreqHz;
        g.RxFreqBin = terminal::displays::hzToBin(g.RxFreqHz);
        Text4->setText(Text8->text());
        VScroll1->setValue(VScroll2->value());
        pskcore::lib().fnSetRXFrequency(g.RxFreqHz, searchRange(), 0);
        NetWasOn = 0;
        g.NetOn = 1;
    }
    g.AudioCenterFreq = g.TxFreqHz;
    g.TxFreqBin = terminal::displays::hzToBin(g.TxFreqHz);
    g.SpectrumZoom = VScroll3->value();
    terminal::engines::SetSpectrumRange(g.AudioCenterFreq);
    RichTextBox1->setFocus();
}

void PSK31MAIN::connectTuningBoxes() {
    auto* keys = new BoxKeys(*this);
    for (QLineEdit* box : {Text4, Text8}) {
        keys->watch(box);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setToolTip(QStringLiteral("数値入力後Enterで書き変わります"));
    }
}
