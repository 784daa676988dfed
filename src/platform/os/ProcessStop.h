#pragma once
// Ending an outside program that the system started detached, by its process id.
#include <QtGlobal>

namespace process {

// Whether a process with this id still runs.
bool running(qint64 pid);
// Asks the process to end, and kills it when it has not ended within waitMs;
// the windows run meanwhile (a wait through forms::waitUntil). True when it no
// longer runs.
bool stop(qint64 pid, int waitMs);
// Asks the process to end and returns at once, without waiting for it.
void askToEnd(qint64 pid);

} // namespace process
