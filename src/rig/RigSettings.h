#pragma once
// Reading the rig settings of section RIG_CON_CFG into rig::g at start-up,
// and the rules for the stored values that the settings sheet shares.
#include <QString>

namespace rig {

// The transverter's IF offset in MHz for a stored text: the text when it is
// a number of 0 or more, else the default "22".
QString TransverterIfTextOf(const QString& stored);
// The offset in Hz of such a text: its whole MHz (digits after a point dropped).
qint64 TransverterIfHzOf(const QString& text);
// The poll time in ms for a stored text, by the range table: in the sheet's
// range (600 to 5000) it stands, beyond it the nearer end; no number, 0 or
// less, the default 1000.
int PollIntervalOf(const QString& stored);

// Missing keys take the start-up defaults; the port is "NONE" without a rig family.
// Clears RigPortOpen and sets RigDataModeText to "PSK31".
void ReadRigSettings();

} // namespace rig
