#pragma once
// The version window. Shown, it lists the versions of the system and of the
// outside libraries; hidden, it stays loaded for the whole run and carries the
// message timer of the message line and the one-shot timer that hands the PTT
// port to the PSK core library after start-up.
// Closing it only hides it, so these live on.
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/windows/Forms.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class AboutZORVATEK : public QDialog {
    Q_OBJECT
  public:
    AboutZORVATEK();
    void Form_Load();

    QTimer* Timer3; // message timer, idle until armed
    QTimer* Timer6; // PTT-port timer: once, 300 ms after the load
    QPushButton* Command1;
    PictureBox* Picture1;
    QLabel* Label2;  // PSK core library version
    QLabel* Label6;  // the system's version
    QLabel* Label10; // logging library version
    QLabel* Label15; // SSTV engine version
    QLabel* Label12; // scope library version
    QLabel* Label18; // multi-mode control version

    void Timer3_Timer();
    void Timer6_Timer();
    void Command1_Click();
    void Form_Activate();

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    static QString mmvariVersion();
};

namespace forms {
inline ::AboutZORVATEK& AboutZORVATEK() {
    return get<::AboutZORVATEK>();
}
} // namespace forms
