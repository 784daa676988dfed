#pragma once
// The status bar panels that double as switches (mode menu, input method,
// transmit inhibit), the three check boxes that change how macros and log
// times are formed, the home-page and DX-spot items, and the transmit
// button's mouse release (left: transmit, right: tune carrier).
#include <QPoint>
#include <Qt>

namespace terminal::mainwindow {

void StatusBar1_PanelClick(int panel, const QPoint& globalPos);
void Check1_Click();
void Check2_Click();
void Check5_Click();
// The home page through the shortcut file that start-up writes; false, said
// on the message line, when the file is missing or nothing opens it.
bool GOZOR_Click();
void dxinfo_Click();
void Command1_MouseUp(Qt::MouseButton button);

} // namespace terminal::mainwindow
