#pragma once
// The suspend item and the two outside-program items of the main window: the
// engine and the rig port are released and the windows minimised; restoring
// the main window brings them back.
class PSK31MAIN;

namespace terminal::engines {

void ZORVAT_SUSP_Click();
// N: outside program 1 or 2.
void OPAPP_STRT_Click(int N);
void connectSuspendMenus(PSK31MAIN& w);

} // namespace terminal::engines
