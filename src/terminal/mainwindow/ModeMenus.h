#pragma once
// The main window's mode menus: the PSKMODE items through the mode change, the
// multi-mode sub-mode items straight into the multi-mode control.
class PSK31MAIN;

namespace terminal::mainwindow {

void PSKMODE_Click(int Index);
void mvrMODEsel_Click(int Index);
void connectModeMenus(PSK31MAIN& w);

} // namespace terminal::mainwindow
