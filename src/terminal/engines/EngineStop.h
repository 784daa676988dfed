#pragma once
// The one owner of the transmitter's key. Whatever stops, restarts or
// replaces an engine or the sound card ends a running transmission here first:
// the engines drop their transmit-end notice when they are stopped, and it is
// that notice that unkeys the rig and turns the screen back to receive.
#include "rig/RigCommands.h"

namespace mmvari {
class MmvariControl;
}

namespace terminal::engines {

// Every stop of a transmission runs under one, its releases that wait for
// the rig's line included: a key-on asked meanwhile (a button, a macro's
// timer, an engine's start report) is refused, and said.
class TransmissionStop {
  private:
    rig::OperatorStop rig_;
};

// True while a stop releases the rig: the start asked now (a button the
// engine keys for by its report) is refused, and said.
bool StartRefusedByStop();
// The one way the rig is keyed by CAT for a start: refused while a stop
// releases it (said on the message line) or when the rig refuses it.
bool KeyRigForStart();

// True while an engine transmits, a repeat runs or the rig is keyed by CAT.
bool TransmissionRuns();

// Ends a running transmission at once, as Esc does: the engine stops sending,
// a repeat ends, the rig is released by the means that keyed it, and the
// transmit flags and the transmit button say receive. Nothing when none runs.
void EndTransmission();
// The same, asked by the rig's link when the over's key cannot reach the rig:
// a start it refuses keeps what was typed.
void EndTransmissionForTheRig();

// The engines' part of the end alone, for the shutdown, whose windows go anyway.
void UnkeyForStop();

// The PSK library's sound card stops (to restart it, to play back or record,
// to give it to the calibration) once a running transmission has ended.
void StopPskSound();
// The multi-mode control stops running, likewise.
void StopMmvariRun(mmvari::MmvariControl& control);

// Ends the program at once: the engine of OpMode is released (the rig
// unkeyed first), the rig port closed and the process ended. Nothing is saved
// and no window's close handling runs.
void EmergencyExit();

} // namespace terminal::engines
