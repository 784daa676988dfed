#pragma once
// The QSO boxes of the operating window: the main window's, or the SSTV
// window's in SSTV mode. A box the window does not carry, or of a window that
// is not loaded, is null.
#include "platform/forms/controls/QsoBox.h"

#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;
class StatusPanels;

namespace logwindows {

struct QsoBoxes {
    // The boxes the door writes; everyone else reads them.
    QsoBox* call = nullptr;
    QsoBox* name = nullptr;
    QsoBox* rst = nullptr;
    QsoBox* qth = nullptr;
    QLineEdit* contestNo = nullptr;
    StatusPanels* status = nullptr;
    // The "Time = UTC" box that the prefix look-up sets for the log times.
    QCheckBox* utc = nullptr;
    // Where the operator goes on after a call-sign check: the main window's
    // transmit box, the SSTV window's call box.
    QWidget* afterCheck = nullptr;
    // The log button: red while a QSO is handed to the logging program's window.
    QPushButton* logButton = nullptr;
};

QsoBoxes operatingBoxes();
// The text of a box that may be missing.
QString textOf(const QLineEdit* box);

} // namespace logwindows
