#pragma once
// The program as the operator starts it: a program folder with settings, a
// transceiver on a pseudo-terminal that is keyed by CAT, the start-up
// sequence, the main window on the screen, the Internet at hand. Beside it, every window of the
// program and the boxes in them the operator can type into.
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "support/WalkHands.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace apptest {

// The station as the settings name it at the start. The rig's device is a
// name in the program folder leading to the simulator's pseudo-terminal, as a
// USB adapter's name stays when it is plugged in again. With the log, the
// library link or the logging program's window (HAMLOGW.EXE) keeps the demo
// log HAMLOG.HDB in the program folder.
enum class LogLink { None, Library, Window };
struct AtStart {
    QString family = QStringLiteral("KENWOOD");
    QString vfoCheck = QStringLiteral("YesP");
    QString baud = QStringLiteral("4800");
    LogLink log = LogLink::None;
};

class RunningProgram : public zvtest::ProgramFolderTest, public zvtest::RigPlug {
  protected:
    void SetUp() override;
    void TearDown() override;

    zvtest::RigSimulator& rig() { return *rig_; }

  public:
    zvtest::RigSimulator* plugged() override { return rig_.get(); }
    void unplug() override;
    bool plugBack(bool keyed = false) override;

  protected:
    // Set before SetUp to start with another rig.
    AtStart atStart;

  private:
    QString rigName() const;

    std::unique_ptr<zvtest::RigSimulator> rig_;
};

// A window of the program and how it comes on the screen; the SSTV windows
// live beside the SSTV window, the others beside the main window.
struct ProgramWindow {
    const char* name;
    bool sstv;
    std::function<QWidget&()> open;
};
const std::vector<ProgramWindow>& everyWindow();

// From the main window to the SSTV window, by its mode menu.
bool toSstv();

// The boxes and panes of the window that take typed text or a paste.
QList<QWidget*> editableBoxes(QWidget* window);

} // namespace apptest
