#pragma once
// The multi-channel window's place, layout and channels' frequencies, kept for
// the next run; its default arrangement; and its close, which brings the main
// window back to one channel.

namespace terminal::displays {

// Stores the window's place and size, the frequencies of channels 2 and 3 and
// the 28 places of its controls. Reaches the window by name, so it loads it
// when it is not loaded.
void SaveMultiChPos();
// Places the panes side by side or stacked as [MultiDSP] HORZ says, the
// window sized to suit; the first channel's header keeps its place.
void ArrangeMultiCh();
// True while any engine transmits: the window then stays and its panels do nothing.
bool AnyEngineTransmits();
// The main window back to one channel, the layout stored, the window unloaded;
// the "Close" panel (fromPanel) also switches the multi-mode sub-channels off.
void CloseMultiChannel(bool fromPanel);

} // namespace terminal::displays
