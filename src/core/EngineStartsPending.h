#pragma once
// Starts of the RTTY program and the multi-mode control that the main window's
// load calls by mode. These engines are not part of the build yet: the calls
// do nothing until each engine's own start replaces them.

namespace core {

void StartMmtty();
// Mode: the multi-mode sub-mode 10..18.
void StartMmvari(int mode);

} // namespace core
