#pragma once
// The multi-channel window's place and its channels' frequencies, kept for the
// next run.

namespace terminal::displays {

// Stores the window's place and size (twips) and the frequencies of channels 2
// and 3. Reaches the window by name, so it loads it when it is not loaded.
void SaveMultiChPos();

} // namespace terminal::displays
