#pragma once
// The SSTV clock-copy window: the sound-card clock figures the SSTV engine has
// measured, in hertz and ppm, and the button that copies them into the PSK
// library's clock corrections (taken at the PSK engine's next start). The SSTV
// window's "clk補正更新" button opens it.
#include "platform/forms/windows/Forms.h"
#include "settings/dialogs/ClockValues.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QWidget>

class SoundClkADJ : public QWidget {
    Q_OBJECT
  public:
    SoundClkADJ();
    void Form_Load();

    QLabel* Label1; // "基本サンプリング周波数"
    QLabel* Label2;
    QLabel* Label3; // "受信サンプリング周波数"
    QLabel* Label4;
    QLabel* Label5; // "送信時の周波数補正量"
    QLabel* Label6;
    QLabel* Label9;
    QLabel* Label7; // "受信時の周波数補正量"
    QLabel* Label8;
    QLabel* Label10;
    QPushButton* Command1; // "PSKCore へ反映させる"
    QMenuBar* menus;
    QAction* tojiru; // "閉じる"

    void Command1_Click();

  protected:
    void closeEvent(class QCloseEvent* e) override;

  private:
    settings::SstvClockReadings readings_;
};

namespace forms {
inline ::SoundClkADJ& SoundClkADJ() {
    return get<::SoundClkADJ>();
}
} // namespace forms
