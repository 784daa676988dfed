#pragma once
// The RTTY settings dialog: the RTTY program's spectrum sensitivity and
// response, its X-Y scope size, the transmit delay, its profiles and its own
// set-up screen. Each change goes to the running program at once and into
// [Mmtty], from which the program's next start takes it. The main window's
// RTTY "CFG" button opens it (OpenMmttyDialog).
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

class CFG_MMTTY : public QWidget {
    Q_OBJECT
  public:
    CFG_MMTTY();
    void Form_Load();
    void Form_Unload();

    QLabel* Label37;                      // "ＦＦＴ感度"
    QListWidget* List2;                   // sensitivity
    QLabel* Label38;                      // "ＦＦＴ応答速度"
    QListWidget* List3;                   // response
    QLabel* Label42;                      // "X-Y Scope"
    std::array<QRadioButton*, 5> Option8; // scope size
    QLabel* Label41;                      // "Tx Delay"
    QLineEdit* Text2;
    QPushButton* Command25; // "Set"
    QPushButton* Command19; // "ProFile Load"
    QPushButton* Command20; // "ProFile Save"
    QPushButton* Command23; // "MMTTY設定画面"
    QLabel* Label40;
    QMenuBar* menus;
    QAction* CLOSE_CFG; // "閉じる"

    void List2_Click();
    void List3_Click();
    void Option8_Click(int Index);
    void Command25_Click();
    void Command19_Click();
    void Command20_Click();
    void Command23_Click();
    // Unloads the dialog and gives the main window's transmit box the focus.
    void CloseMmttyDialog();

  protected:
    void closeEvent(class QCloseEvent* e) override;

  private:
    bool closing_ = false;
};

namespace forms {
inline ::CFG_MMTTY& CFG_MMTTY() {
    return get<::CFG_MMTTY>();
}
} // namespace forms

namespace settings {
// The main window's opener: presets the controls from the kept settings while
// they may not send, then lets them send and shows the dialog.
void OpenMmttyDialog();
} // namespace settings
