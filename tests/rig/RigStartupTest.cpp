// The rig link as a new user meets it: settings pointing at a simulated rig,
// the program started, and the main window showing the rig's frequency and
// mode by the poll timer, following the dial when it turns.
#include "core/Globals.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "startup/Startup.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

class RigStartup : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        zvtest::freshRigGlobals();
    }
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        ProgramFolderTest::TearDown();
    }
};

TEST_F(RigStartup, MainWindowFollowsTheSimulatedRigOfEveryFamily) {
    const struct {
        const char* family;
        int lsbMode;
        const char* first;
        const char* second;
    } rows[] = {{"ICOM", 0, "7.035.000", "7.041.230"},   {"KENWOOD", 1, "7.035.000", "7.041.230"},
                {"FT1000MP", 0, "7.035.00", "7.041.23"}, {"FT920", 0, "7.035.00", "7.041.23"},
                {"FT847", 0, "7.035.00", "7.041.23"},    {"FT817", 0, "7.035.00", "7.041.23"},
                {"FT767", 0, "7.035.000", "7.041.230"},  {"JST-245", 3, "7.035.000", "7.041.230"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.family);
        zvtest::RigSimulator rig(QString::fromLatin1(r.family), 0x58);
        rig.dialHz = 7035000;
        rig.mode = r.lsbMode;
        writeIni(
            QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n[RIG_CON_CFG]\nRIGCOMCONT=%1\nRIG_TYPE=%2\n"
                           "VFOCHECK=YesP\nPoll_Time=600\nInterval=10\nICOM_RIGadrs=58\n")
                .arg(rig.devicePath(), QString::fromLatin1(r.family)));
        startup::StartUp();
        ASSERT_EQ(rig::g.RigPortOpen, 1) << core::g.StatusMessage.toStdString();
        const QLabel* frequency = forms::PSK31MAIN().Label40;
        ASSERT_TRUE(zvtest::waitUntil([&] { return frequency->text() == QLatin1String(r.first); }))
            << frequency->text().toStdString();
        EXPECT_EQ(rig::g.RigModeText, QStringLiteral("LSB"));
        rig.dialHz = 7041230;
        EXPECT_TRUE(zvtest::waitUntil([&] { return frequency->text() == QLatin1String(r.second); }))
            << frequency->text().toStdString();
        // Opening in BPSK set the rig's PSK31 mode (the JST-245 has no mode command).
        EXPECT_EQ(rig.modeCommands.isEmpty(), QLatin1String(r.family) == QLatin1String("JST-245"));
        rig::RigClosePort();
        forms::unloadAllExcept();
        // The unloaded version window releases the port as it goes: let it go
        // now, not in the middle of the next start-up.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
