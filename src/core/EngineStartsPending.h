#pragma once
// The start of the RTTY program that the main window's load calls by mode.
// That engine is not part of the build yet: the call does nothing until its
// own start replaces it.

namespace core {

void StartMmtty();

} // namespace core
