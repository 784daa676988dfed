#pragma once
// The QSO boxes of the operating window: the main window's, or the SSTV
// window's in SSTV mode. A box the window does not carry, or of a window that
// is not loaded, is null.
#include <QString>

class QLineEdit;
class StatusPanels;

namespace logwindows {

struct QsoBoxes {
    QLineEdit* call = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* rst = nullptr;
    QLineEdit* qth = nullptr;
    QLineEdit* contestNo = nullptr;
    StatusPanels* status = nullptr;
};

QsoBoxes operatingBoxes();
// The text of a box that may be missing.
QString textOf(const QLineEdit* box);

} // namespace logwindows
