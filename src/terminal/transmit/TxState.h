#pragma once
// State of the transmit path of the main window: the history of what was
// handed to the PSK library since its buffer was last empty, so that a
// Backspace takes back a double-byte character whole. One instance, terminal::transmit::g; a
// test resets it with terminal::transmit::g = {}.
#include <QString>
#include <array>

namespace terminal::transmit {

// Kinds of history entries: one byte went to the library, or two (a
// double-byte character, or a line break inserted as CR LF).
constexpr int kSingleByte = 4;
constexpr int kDoubleByte = 2;
constexpr int kHistorySlots = 1000;

struct Globals {
    // Number of entries in TxCharKinds; slot 0 stands for an empty history.
    int TxCharCount = 0;
    std::array<int, kHistorySlots + 1> TxCharKinds{};
    // The prepared clipboard text between its preparation and its sending.
    QString PasteText;
    // The other station's name with an honorific, as the last insert built it.
    QString HisNameText;
    // The characters of the transmit box that the RTTY program already has
    // from typing, in the box's order; emptied with the box.
    QString RttyTypedAhead;
};

extern Globals g;

// Adds one entry. A full history drops its oldest entry, so the newest ones
// (the ones a Backspace takes back) stay right and nothing is written past the end.
void recordKind(int kind);
// Takes back the newest entry; an empty history stays empty.
void dropNewestKind();
int newestKind();
void clearKinds();

} // namespace terminal::transmit
