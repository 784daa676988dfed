#pragma once
// Starting the PSK core library for the main window.

namespace core {

// Opens the sound card and sets the engine up for OpMode and the frequencies.
void StartPskCore();

} // namespace core
