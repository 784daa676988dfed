#pragma once
// The SSTV window, shown instead of the main window in SSTV mode.
#include "platform/Forms.h"
#include "platform/PictureBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

class SSTVForm : public QWidget {
    Q_OBJECT
  public:
    SSTVForm();

    QLineEdit* Text3;  // message line, hidden when idle
    QLineEdit* Text16; // own call sign
    QLabel* Label40;   // rig frequency
    PictureBox* Picture3;
    PictureBox* Picture8;
};

namespace forms {
inline ::SSTVForm& SSTVForm() {
    return get<::SSTVForm>();
}
} // namespace forms
