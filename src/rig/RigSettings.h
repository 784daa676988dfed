#pragma once
// Reading the rig settings of section RIG_CON_CFG into rig::g at start-up.

namespace rig {

// Missing keys take the start-up defaults; the port is "NONE" without a rig family.
// Clears RigPortOpen and sets RigDataModeText to "PSK31".
void ReadRigSettings();

} // namespace rig
