#pragma once
// The end of contest logging on the main window's side: the contest number
// items go grey, the serial number is kept, the RST boxes go back to their
// preset and the log entry window is put away.
class PSK31MAIN;

namespace terminal::receive {

void SaveContestNo(PSK31MAIN& w);

} // namespace terminal::receive
