#include "terminal/macros/RepeatMain.h"

#include "core/Globals.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxDispatch.h"

#include <QProgressBar>

namespace terminal::macros {
namespace {

class MainEngine final : public Engine {
  public:
    void setSquelch(bool normalResponse) override {
        const int level = core::g.SquelchLevel.trimmed().toInt();
        const int response = normalResponse ? core::g.SquelchSpeed.trimmed().toInt() : 0;
        for (int channel = 0; channel < 3; ++channel)
            pskcore::lib().fnSetSquelchThreshold(level, response, channel);
    }
    void clearTxBuffer() override { pskcore::lib().fnClearTXBuffer(); }
    void txSend() override { transmit::TxSend(); }
    double signalLevel() override {
        PSK31MAIN& w = forms::PSK31MAIN();
        return core::g.OpMode == core::ModeMmvari ? w.MMVARI->meterLevel() : w.ProgressBar1->value();
    }
    void mmvariReceiveWhenEmpty() override { forms::PSK31MAIN().MMVARI->set(mmvari::IdReqRx, true); }
    bool transmitting() override { return core::g.Transmitting == 1; }
};

MainEngine& engine() {
    static MainEngine e;
    return e;
}

} // namespace

Cycle mainCycle() {
    PSK31MAIN& w = forms::PSK31MAIN();
    return Cycle({w.Timer1, w.Timer4, w.Command1, w.Command3, w.Text3, w.Check3}, engine());
}

void repeatOnTxStart(TxEngine e) {
    mainCycle().onTxStart(e);
}

void repeatOnTxEnd(TxEngine e) {
    mainCycle().onTxEnd(e);
}

void connectRepeat(PSK31MAIN& w) {
    QObject::connect(w.Timer1, &QTimer::timeout, &w, [] { mainCycle().Timer1_Timer(); });
    QObject::connect(w.Timer4, &QTimer::timeout, &w, [] { mainCycle().Timer4_Timer(); });
    QObject::connect(w.Check3, &QCheckBox::clicked, &w, [] { mainCycle().Check3_Click(); });
}

} // namespace terminal::macros
