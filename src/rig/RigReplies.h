#pragma once
// Each family's status reply, read from the port, decoded and shown.

namespace rig {

void Ft1000mpParseStatus();
void Ft920ParseStatus();
void Ft847ParseStatus();
void Ft817ParseStatus();
void Ft767ParseStatus();
void Jst245ParseStatus();
void KenwoodParseStatus();
void IcomParseMode();
void IcomParseFreq();

// Replies that were read whole and taken (a frequency, or an ICOM mode), since the start.
int readingsTaken();

} // namespace rig
