#pragma once
// The log fixture with the logging program's window (the window link's
// stand-in) started when a test asks for it and ended with the test; and the
// main window on show with a new QSO's presets (no contest, the sent report
// preset).
#include "logwindows/LogFixture.h"

#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/os/Paths.h"
#include "support/ProgramFolder.h"

#include <QProcess>

namespace zvtest {

class LoggingProgramTest : public LogTest {
  protected:
    void TearDown() override {
        hamlog::window::disconnect();
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(zvtest::kSafetyNetMsecs);
        }
        LogTest::TearDown();
    }
    // The logging program's window, running once this returns.
    void startLoggingProgram() {
        if (program.state() != QProcess::NotRunning) return;
        program.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                      {QStringLiteral("--log"), dataPath() + QStringLiteral(".HDB")});
        ASSERT_TRUE(program.waitForStarted(zvtest::kSafetyNetMsecs));
        ASSERT_TRUE(waitUntil([] { return hamlog::window::findWindow() > 0; }));
    }

    QProcess program;
};

class QsoWindowTest : public LoggingProgramTest {
  protected:
    void SetUp() override {
        LoggingProgramTest::SetUp();
        core::g.ContestMode = 0;
        core::g.ContestRst599 = 0;
        core::g.ContestSerialNo = 0;
        core::g.HisRstPresetOn = QStringLiteral("1");
        main = &forms::PSK31MAIN();
        main->show();
        ASSERT_TRUE(zvtest::waitExposed(main));
    }
    void TearDown() override {
        forms::unloadAllExcept();
        LoggingProgramTest::TearDown();
    }
    // The window link, with the logging program's window running.
    void windowLink() {
        logbook::g.HamlogLink = 2;
        startLoggingProgram();
    }

    PSK31MAIN* main = nullptr;
};

} // namespace zvtest
