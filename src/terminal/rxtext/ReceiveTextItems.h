#pragma once
// The main window's items for received text: saving the receive pane, opening a
// received-data file or the memo pad into the viewer, and the memo items of the
// receive panes' pop-ups, which append a line to the memo pad (and to the
// viewer while it is open, so that closing it keeps the line).
#include <QString>

class PSK31MAIN;

namespace terminal::rxtext {

void RSAVE_Click();
void RDRCVDAT_Click();
void MEMOR_Click();
// The selection on the clipboard to the memo.
void MEMOW_Click();
// The picked word to the memo.
void PSTMEMO_Click();

// The memo line written to the memo pad and the open viewer; false when the
// memo pad cannot be written (the viewer is then left as it is).
bool writeMemo(const QString& line);

void connectReceiveTextItems(PSK31MAIN& w);

} // namespace terminal::rxtext
