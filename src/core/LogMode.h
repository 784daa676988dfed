#pragma once
// The mode a QSO is logged with: the mode on the air. Every writer of the
// log's mode text goes through here, so that no suspend, failed start or
// resume leaves another engine's text behind.
#include <QString>

namespace core {

// What is on the air: outside program 1 or 2 while it holds the sound card
// (outsideProgram 0 when none does), else the engine of opMode; the
// multi-mode control logs with the PSK text, CW with the RTTY one.
QString LogModeOnAir(int opMode, int outsideProgram = 0);

// ModeDisplayText becomes the mode on the air, from OpMode and the outside
// program lent the sound card.
void SetLogModeOnAir(int outsideProgram = 0);

// The log's mode names changed: ModeDisplayText takes the new name of what
// is on the air, the outside program that holds the sound card included.
void RenameLogModeOnAir();

} // namespace core
