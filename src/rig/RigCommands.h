#pragma once
// The rig link's commands as the rest of the system calls them: status
// requests, PTT, mode and frequency, the family's mode codes, and the mode for
// a DX-spot frequency.
#include "rig/KeyState.h"

#include <QString>

namespace rig {

// Mode codes and reply length of the family in RigType, then the overrides of RIG_CON_CFG.
void RigLoadModeCodes();
// The family's status request (for ICOM the mode request); false when the family
// has none or the port refused it.
bool RigAskStatus();
void IcomAskMode();
void IcomAskFreq();
// Keys the rig by CAT. The command waits for a quiet line, and a release
// or an Esc taken meanwhile, or one under way, wins: false then, and the
// caller starts no transmission. True otherwise, keyed or not by CAT.
bool RigPttOn();
// Releases the key this program put on by CAT; nothing when it holds none.
// Commands taken while it waits for a quiet line do not stop it; only a key
// put on meanwhile by a transmission's start stays.
void RigPttOff();
// The release before the port closes: the key goes, whoever put it on.
void RigPttOffBeforeClose();
// Esc's release: the rig is told to receive whenever the last PTT command
// that went out was a key-on, whatever the engines' flags and the key's count
// say, so that a key-on that reached the rig after the release that ended its
// transmission is never left behind.
void RigPttOffForEsc();
// The operator's stop (Esc) under way, its releases waiting for the line
// included: a key-on asked meanwhile (the engine's end letting a start run,
// a button) is refused, as RigPttOn refuses one an Esc overtook.
class OperatorStop {
  public:
    OperatorStop();
    ~OperatorStop();
    OperatorStop(const OperatorStop&) = delete;
    OperatorStop& operator=(const OperatorStop&) = delete;
};
// True while an OperatorStop runs.
bool OperatorStopRuns();
// A release the rig has not answered goes out before whatever the line is
// told next (a reading), while no over runs.
void RigReleaseOwedFirst();
// Performs what the key's state asked for (RigPort's keyEvent).
void RigPerformKey(KeyAction action);
// The settings sheet closed naming the line in the settings for good: a
// release owed to another rig or port is given up (its loss stays said).
void RigLineNamedForGood();
// What the operator is told at the end while the rig was last told to
// transmit and never took its release: empty when nothing is owed.
QString RigKeyLeftText();
// PTT off by CAT, once, when a run first opens the port: a run that ended
// without its shutdown (killed, power lost) may have left the rig keyed.
void RigPttClearOnOpen();
// The key watch: the rig is never held keyed by this program for more than a
// second while no engine transmits.
void RigKeyWatchTick();
// The rig's mode code for an operating mode, as the port's opening sets it;
// empty for the multi-mode modem, which leaves the rig's mode alone.
QString RigModeCodeFor(int OpMode);
void RigSetMode(const QString& ModeCode);
void RigSetFrequency(const QString& FreqDigits);
void SpotModeForFrequency(const QString& FreqMHz);

} // namespace rig
