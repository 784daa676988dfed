#pragma once
// The rig link's commands as the rest of the system calls them: status
// requests, PTT, mode and frequency, the family's mode codes, and the mode for
// a DX-spot frequency.
#include <QString>

namespace rig {

// Mode codes and reply length of the family in RigType, then the overrides of RIG_CON_CFG.
void RigLoadModeCodes();
// The family's status request (for ICOM the mode request); false when the family
// has none or the port refused it.
bool RigAskStatus();
void IcomAskMode();
void IcomAskFreq();
void RigPttOn();
void RigPttOff();
void RigSetMode(const QString& ModeCode);
void RigSetFrequency(const QString& FreqDigits);
void SpotModeForFrequency(const QString& FreqMHz);

} // namespace rig
