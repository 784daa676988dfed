#pragma once
// The log entry window.
#include "platform/Forms.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QWidget>

class TEMP_LOG : public QWidget {
    Q_OBJECT
  public:
    TEMP_LOG();

    QLineEdit* Text1;      // call sign
    QLineEdit* Text8;      // mode
    QComboBox* Combo1;     // frequency
    QLabel* Label17;       // frequency as the rig reads it
    QLineEdit* Text11;     // QSL mark
    QPushButton* Command7; // electronic-QSL button
    QMenuBar* menus;
    QAction* HLQ; // starts the QSL printing program
};

namespace forms {
inline ::TEMP_LOG& TEMP_LOG() {
    return get<::TEMP_LOG>();
}
} // namespace forms
