#pragma once
// State of the multi-mode modem as the engine: what its panel and its notices
// share. One instance, mmvstate::g; a test resets it with mmvstate::g = {}.

namespace mmvstate {

struct Globals {
    // The panel's AFC and NET switches (MMVCFG AFC_SW, NET_SW).
    int MmvariAfcOn = 0;
    int MmvariNetOn = 0;
    // 1 while an MFSK sub-mode is chosen in the mode list.
    int MmvariMfskOn = 0;
    // The sub-modes (0..8, in the order of the mode list) of the extra channels.
    int SubCh1VariMode = 4;
    int SubCh2VariMode = 4;
};

extern Globals g;

} // namespace mmvstate
