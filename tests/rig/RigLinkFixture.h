#pragma once
// A program folder with a simulated rig on a pseudo-terminal and the rig link
// pointed at it, as the settings would point it at a real port.
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"

#include <memory>

namespace zvtest {

class RigLinkTest : public ProgramFolderTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the simulator and sets the rig settings for it; does not open the port.
    RigSimulator& rigOf(const QString& family);
    // The rig settings for the family, then the port opened with the given poll mode.
    RigSimulator& openRig(const QString& family, int pollMode = 0);
    QString frequencyLabel() const;
    QString modeLabel() const;

    std::unique_ptr<RigSimulator> sim;
};

} // namespace zvtest
