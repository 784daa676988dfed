#pragma once
// Ctrl+Alt+Z in a settings dialog: the emergency stop. The dialog sees the key
// before its controls; the running engine is released (the rig unkeyed first),
// the rig port closed and the program ended at once, nothing stored.
#include "platform/forms/windows/WindowFilter.h"

namespace settings {

class EmergencyKey : public forms::WindowFilter {
  public:
    // Watches the dialog and every control it holds at the time of the call.
    explicit EmergencyKey(QWidget* dialog);

  protected:
    bool filter(QObject* watched, QEvent* e) override;
};

} // namespace settings
