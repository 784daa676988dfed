#pragma once
// The engines' own rows of switches on the main window: the RTTY program's
// panel ("MMTTY Control"), the multi-mode panel ("MMVARI Control") and the two
// PSK switches AFC and NET. Each switch says what it sends to its engine,
// shows its state and keeps it in the configuration store.
#include <QString>
#include <Qt>

#include <array>
#include <cstdint>

class PSK31MAIN;

namespace terminal::panels {

// Back colours of a switch that is on: an ordinary switch, AFC and NET.
constexpr std::uint32_t kSwitchOnColour = 0xC0FFC0;
constexpr std::uint32_t kAfcOnColour = 0x80FF80;
constexpr std::uint32_t kNetOnColour = 0x8080FF;

// ---- The RTTY program's panel ----

// The switch word (as its "0"/"1" text) to send for a press of switch button
// k (10..17, its position in the word) with the given mouse button, starting
// from the word the program last reported and its indicators (element k - 10,
// 1 = on). The left button turns the switch over; the other buttons leave it.
QString pressedSwitches(const QString& reported, int k, Qt::MouseButton button,
                        const std::array<int, 8>& indicators);

// Mouse release over switch button k; the right button on "AFC" opens the
// shift menu and sends once it closes, on "NOT" it changes the notch kind.
void Command13_MouseUp(int k, Qt::MouseButton button);
// A shift menu entry (mmtty::ShiftMode): rewrites the word about to be sent.
void ShiftMenu_Click(int shiftMode);
void Command14_Click(); // demodulator "Type"
void Command12_Click(); // "FIG"
void Command21_Click(); // "HAM"
void Label36_Click();   // "Shift": shows the shift list
void List5_Click();     // a shift chosen: sends the space frequency

// ---- The multi-mode panel ----

// The mode list (index 0..8): runs on every choice, the entry already shown
// included, and on every selection made from code (SelectModeEntry).
void CBMode_Click();
// Selects entry i (none for -1) as the system's own choice; an entry runs the
// list's handler even when it was already selected.
void SelectModeEntry(int i);
void List2_Click(); // PSK speed
void Text9_Click();
void Command19_Click(int k);
// Shows multi-mode switch k (Command19) on or off and keeps its state.
void showMmvariSwitch(PSK31MAIN& w, int k, bool on);
void Command22_Click(); // AFC
void Command23_Click(); // NET

// ---- The PSK switches ----
void Command7_Click(); // AFC
void Command9_Click(); // NET

void connectEnginePanels(PSK31MAIN& w);

} // namespace terminal::panels
