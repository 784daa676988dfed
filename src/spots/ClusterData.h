#pragma once
// The DX-spot window; the main window's spot item shows it modeless.
#include "platform/Forms.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QWidget>

class ClusterData : public QWidget {
    Q_OBJECT
  public:
    ClusterData();

    QTableWidget* grid; // the spots read from the page
    // Spot submission: call sign, frequency in kHz, remarks.
    QLineEdit* Text5;
    QLineEdit* Text6;
    QLineEdit* Text7;
};

namespace forms {
inline ::ClusterData& ClusterData() {
    return get<::ClusterData>();
}
} // namespace forms
