#pragma once
// Lending the sound card and the rig port to another program: the engine of
// the mode in use released for a suspension and re-attached afterwards.

namespace terminal::engines {

// Releases the engine of OpMode: the RTTY program is told to suspend and its
// notices are no longer handled; the multi-mode control stops, both audio
// frequencies taking its main channel's receive frequency; the PSK library
// stops and gives back its port. False when the RTTY program did not take the
// suspend: it is then still the engine, its notices still handled.
bool SuspendEngine();

// Re-attaches the engine of OpMode (OpMode is left as it is). Only an engine
// that was released is re-attached; the RTTY program is told to take up its
// ports and resume (its notices handled once, however often this runs); one
// that has gone meanwhile is started anew.
void ResumeEngine();

} // namespace terminal::engines
