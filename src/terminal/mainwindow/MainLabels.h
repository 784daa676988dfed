#pragma once
// Small handlers of the main window that each do one thing: the call-sign
// label's look-up, the frequency labels' rig retune, the CW-ID frame's close,
// the RST label and list, the data-sync time base, the QTH box's contest
// typing, and the multi-channel, help and mixer items.
class PSK31MAIN;

namespace terminal::mainwindow {

void RigRetune(bool mmttyPreset);
void HScroll1_Change(PSK31MAIN& w, int value);
void Label3_Click(PSK31MAIN& w);
void MLTRCV_Click(PSK31MAIN& w);

void connectMainLabels(PSK31MAIN& w);

} // namespace terminal::mainwindow
