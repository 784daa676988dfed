#pragma once
// The splash window, shown while the system starts (startup::StartUp). It lists
// the versions of the outside libraries and lives only through start-up.
#include "platform/forms/windows/Forms.h"

#include <QLabel>
#include <QWidget>

class STUPZORVATEK : public QWidget {
    Q_OBJECT
  public:
    STUPZORVATEK();

    QLabel* Label2;  // PSK core library version
    QLabel* Label6;  // the system's version
    QLabel* Label9;  // logging library version
    QLabel* Label16; // SSTV engine version
    QLabel* Label11; // scope library version

  protected:
    // Closed by the operator: every other window goes first, then the splash.
    void closeEvent(class QCloseEvent* e) override;
};

namespace forms {
inline ::STUPZORVATEK& STUPZORVATEK() {
    return get<::STUPZORVATEK>();
}
} // namespace forms
