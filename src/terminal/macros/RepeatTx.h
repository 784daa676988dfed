#pragma once
// Repeat transmission: a macro holding 'RPT nn' is sent again nn seconds after
// each of its transmissions ends, until the operator stops it, another macro is
// sent, or the busy-channel watch finds the channel in use three times.
// The pause timer is the main window's Timer1, the watch its Timer4 (1000 ms);
// the engines' transmit start and end notices drive the cycle.
#include "terminal/macros/MacroExpand.h"
#include "terminal/macros/MacroState.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTimer>

namespace terminal::macros {

constexpr std::uint32_t kPauseColour = 0x80C0FF;
constexpr std::uint32_t kTransmitColour = 0x0000FF;
inline const QString kRepeatNotice = QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。");

// The main window's controls the repeat drives.
struct Controls {
    QTimer* Timer1;        // pause
    QTimer* Timer4;        // busy-channel watch
    QPushButton* Command1; // transmit
    QPushButton* Command3; // CW ID send
    QLineEdit* Text3;      // message line
    QCheckBox* Check3;     // "Timer送信無効"
};

// What the repeat asks of the modem engine in use.
class Engine {
  public:
    virtual ~Engine() = default;
    // Squelch of the PSK receive channels 0 to 2: the configured response, or
    // none for the whole repeat so that the watch sees every signal.
    virtual void setSquelch(bool normalResponse) = 0;
    virtual void clearTxBuffer() = 0;
    // Sends the pending transmission (the first expansion of the macro) again.
    virtual void txSend() = 0;
    // The signal level the watch reads: the level bar, or the multi-mode modem's level.
    virtual double signalLevel() = 0;
    // The multi-mode modem returns to receive once its buffer is empty.
    virtual void mmvariReceiveWhenEmpty() = 0;
    virtual bool transmitting() = 0;
};

enum class TxEngine { PskCore, Mmtty, Mmvari };

class Cycle {
  public:
    Cycle(const Controls& c, Engine& e) : c_(c), e_(e) {}

    // A new macro cancels a running repeat (the caller empties the transmit box's selection).
    void cancelForNewMacro();
    // Every macro: arms the repeat for a valid 'RPT, or sets the buttons for a plain send.
    void setUp(const RepeatRequest& r);
    void onTxStart(TxEngine engine);
    void onTxEnd(TxEngine engine);
    void Timer1_Timer();
    void Timer4_Timer();
    void Check3_Click();
    // Esc or the abort item: no further transmission. stopPause also stops Timer1
    // at once; otherwise its next tick ends the repeat.
    void stopByOperator(bool stopPause);
    // Esc in the main window: the repeat stops and the buttons and the message
    // line return to normal; in RTTY and CW the next Timer1 tick ends the cycle.
    void escape();

  private:
    void setPlainButtons(bool touchSquelch);
    void cancelOnBusyChannel();
    void clearMmvariTxOff();
    bool pskMode() const;
    bool rttyOrCw() const;

    Controls c_;
    Engine& e_;
};

} // namespace terminal::macros
