#pragma once
// The SSTV window, shown instead of the main window in SSTV mode. Its mode
// menus change the mode through the mode change; while it is loaded it holds
// the rig port.
#include "platform/Forms.h"
#include "platform/PictureBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <array>

class QAction;
class QMenuBar;

class SSTVForm : public QWidget {
    Q_OBJECT
  public:
    SSTVForm();
    void Form_Load();
    void Form_Unload();

    QLineEdit* Text3;  // message line, hidden when idle
    QLineEdit* Text16; // own call sign
    QLabel* Label40;   // rig frequency
    PictureBox* Picture3;
    PictureBox* Picture8;

    QMenuBar* menuBar = nullptr;
    std::array<QAction*, 6> PSKMODE{};  // 0 BPSK .. 5 SSTV; 4 (CW) hidden
    std::array<QAction*, 19> mmvMODE{}; // 10..18, the multi-mode sub-modes

    void PSKMODE_Click(int Index);
    void mmvMODE_Click(int Index);

  private:
    void buildMenus();
};

namespace forms {
inline ::SSTVForm& SSTVForm() {
    return get<::SSTVForm>();
}
} // namespace forms
