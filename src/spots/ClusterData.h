#pragma once
// The DX-spot window; the main window's spot item shows it modeless.
#include "platform/Forms.h"

#include <QTableWidget>
#include <QWidget>

class ClusterData : public QWidget {
    Q_OBJECT
  public:
    ClusterData();

    QTableWidget* grid; // the spots read from the page
};

namespace forms {
inline ::ClusterData& ClusterData() {
    return get<::ClusterData>();
}
} // namespace forms
