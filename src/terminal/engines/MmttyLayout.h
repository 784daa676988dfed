#pragma once
// The main window's arrangement for the RTTY program and back for the PSK
// library: the spectrum scales in hertz, the MMTTY panel in place of the PSK
// tuning controls, the level bar's range and the captions.
class PSK31MAIN;

namespace terminal::engines {

void ApplyRttyLayout(PSK31MAIN& w);

// The stop and the failed start put the PSK arrangement back alike, except
// for a few controls each of them touches alone.
enum class PskLayoutAfter { Stop, FailedStart };
void ApplyPskLayout(PSK31MAIN& w, PskLayoutAfter after);

// The transmit box's input method back as it was before the RTTY start.
void RestoreImeState(PSK31MAIN& w);

} // namespace terminal::engines
