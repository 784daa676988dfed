#pragma once
// The main window on show over the log fixture with a new QSO's presets (no
// contest, the sent report preset), and the logging program's window started
// for the window link when a test asks for it.
#include "logwindows/LogFixture.h"

#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/os/Paths.h"

#include <QProcess>

namespace zvtest {

class QsoWindowTest : public LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        core::g.ContestMode = 0;
        core::g.ContestRst599 = 0;
        core::g.ContestSerialNo = 0;
        core::g.HisRstPresetOn = QStringLiteral("1");
        main = &forms::PSK31MAIN();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    }
    void TearDown() override {
        hamlog::window::disconnect();
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(3000);
        }
        forms::unloadAllExcept();
        LogTest::TearDown();
    }
    // The window link, with the logging program's window running.
    void startLoggingProgram() {
        logbook::g.HamlogLink = 2;
        if (program.state() != QProcess::NotRunning) return;
        program.start(paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE")),
                      {QStringLiteral("--log"), dataPath() + QStringLiteral(".HDB")});
        ASSERT_TRUE(program.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([] { return hamlog::window::findWindow() > 0; }, 10000));
    }

    PSK31MAIN* main = nullptr;
    QProcess program;
};

} // namespace zvtest
