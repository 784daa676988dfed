#include "RigLinkFixture.h"

#include "core/Globals.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "spots/SpotGlobals.h"
#include "sstv/window/SstvGlobals.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLabel>

namespace zvtest {

void RigLinkTest::SetUp() {
    ProgramFolderTest::SetUp();
    // The main window's load sets the station's shared values; the tests set theirs after it.
    forms::PSK31MAIN();
    zvtest::freshRigGlobals();
    sstv::g = {};
    spots::g = {};
    core::g.RxFreqHz = 1500;
    core::g.TxFreqHz = 1500;
    core::g.PttPortControl = QStringLiteral("0");
}

void RigLinkTest::TearDown() {
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    sim.reset();
    ProgramFolderTest::TearDown();
}

RigSimulator& RigLinkTest::rigOf(const QString& family) {
    sim = std::make_unique<RigSimulator>(family, 0x58);
    EXPECT_TRUE(sim->isOpen());
    zvtest::pointRigLinkAt(*sim);
    return *sim;
}

RigSimulator& RigLinkTest::openRig(const QString& family, int pollMode) {
    RigSimulator& s = rigOf(family);
    rig::g.RigPollMode = pollMode;
    rig::RigOpenPort();
    EXPECT_EQ(rig::g.RigPortOpen, 1) << core::g.StatusMessage.toStdString();
    return s;
}

QString RigLinkTest::frequencyLabel() const {
    return forms::PSK31MAIN().Label40->text();
}

QString RigLinkTest::modeLabel() const {
    return forms::PSK31MAIN().Label23->text();
}

} // namespace zvtest
