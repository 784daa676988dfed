#pragma once
// The main window while the multi-mode control is the engine: the control's
// notices (periodic update, received text on three channels, transmit state
// and buffer, errors), clicks on its views and level meter, the sub-channel
// pop-up MLTSET, the three-channel receive and the way back to the PSK
// arrangement.
#include <QString>

class PSK31MAIN;

namespace terminal::panels {

// The control's notices.
void MMVARI_Update();
void MMVARI_TxBuffer();
void MMVARI_TxState(int State);
void MMVARI_RxText(int Channel, QString Text);
void MMVARI_Error(int Code);

// The views and the meter.
void XMMVView1_LeftClick(int Freq);
void XMMVView1_Drag();
void XMMVView1_RightClick(int Freq);
void XMMVLv1_Click();

// The items of the pop-up MLTSET.
void SET2CH_Click();
void SET3CH_Click();
void SETnotch0_Click();

void StartMultiChannel();
void RestorePskLayout();

// One pair per pane: the main pane, then the two of the multi-channel window.
// Append turns CR into a line break; Delete takes the last character (a line
// break whole) and leaves an empty pane as it is.
void AppendRxChar1(QString& Text);
void DeleteRxChar1();
void AppendRxChar2(QString& Text);
void DeleteRxChar2();
void AppendRxChar3(QString& Text);
void DeleteRxChar3();

// Places the panel, its views and its meter on the main window.
void placePanel(PSK31MAIN& w);
// Connects the control, the views, the meter and the pop-up items.
void connectMmvariPanel(PSK31MAIN& w);

} // namespace terminal::panels
