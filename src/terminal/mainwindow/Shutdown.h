#pragma once
// The end of a run. The operator's close of the main window (close box, Alt+F4,
// the window menu) and its exit item run the shutdown; a close from code passes
// without it. The shutdown ends the process last, through EndProcess().
#include <QString>

#include <functional>

namespace terminal::mainwindow {

// Why the main window is asked to close.
enum CloseReason : int { FromControlMenu = 0, FromCode = 1, AppWindows = 2, TaskManager = 3 };

// How long the RTTY program is given to leave on its own before it is ended.
constexpr int MmttyExitWaitMsecs = 5000;

// Ends the event loop and so the process.
void EndProcess();
// Tests take the end of the process here instead; an empty function restores it.
void setProcessEndForTest(std::function<void()> end);

} // namespace terminal::mainwindow
