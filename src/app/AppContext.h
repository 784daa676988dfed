#pragma once
// The application context: made in main() after the QApplication, it owns the
// engine stand-ins and the rig link for the run and installs what the layers
// below the windows need of them. A test makes its own, so every test starts
// with engines, links and window interfaces in their first state.
#include "app/WindowInterfaces.h"
#include "platform/engines/Engines.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/text/OneLine.h"
#include "platform/os/AlertSound.h"
#include "platform/os/Installed.h"
#include "rig/RigLink.h"

namespace app {

class AppContext {
  public:
    AppContext() = default;
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    engines::Engines& engines() { return engines_; }
    rig::RigLink& rigLink() { return rigLink_; }

  private:
    // Declared in the order they are needed: what is installed first goes last.
    RigWindows rigWindows_;
    MessageLineWindows messageLine_;
    installed::Guard<rig::Neighbours> rigWindowsInstalled_{rigWindows_};
    installed::Guard<core::MessageLineView> messageLineInstalled_{messageLine_};
    engines::Engines engines_;
    installed::Guard<engines::Engines> enginesInstalled_{engines_};
    rig::RigLink rigLink_;
    installed::Guard<rig::RigLink> rigLinkInstalled_{rigLink_};
    alertsound::SoundEffectPlayer alertPlayer_;
    installed::Guard<alertsound::Player> alertPlayerInstalled_{alertPlayer_};
    clipboard::PasteGuard pasteGuard_;
    ui::OneLineBoxes oneLineBoxes_;
};

} // namespace app
