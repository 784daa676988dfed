#pragma once
// State of the multi-mode modem as the engine: what its start applies and what
// its panel and its notices share. One instance, mmvstate::g; a test resets it
// with mmvstate::g = {}.
#include <QString>

namespace mmvstate {

struct Globals {
    double MmvariBaseSampleFreq = 11025.0;
    // The panel's AFC and NET switches (MMVCFG AFC_SW, NET_SW).
    int MmvariAfcOn = 0;
    int MmvariNetOn = 0;
    double MmvariRxOffset = 0.0;
    double MmvariTxOffset = 0.0;
    // 1 while the MMVARI settings dialog measures the transmit offset.
    int MmvariTxOffsetMeasuring = 0;
    // The sub-channel last set up: 0 none, 1 channel 2, 2 channel 3.
    int SubChannelSel = 0;
    // 1 from the start of the CW ID that ends a transmission until its end;
    // received text is not shown meanwhile.
    int MmvariCwIdSending = 0;
    // 1 while an MFSK sub-mode is chosen in the mode list.
    int MmvariMfskOn = 0;
    // The sub-modes (0..8, in the order of the mode list) of the extra channels.
    int SubCh1VariMode = 4;
    int SubCh2VariMode = 4;
};

extern Globals g;

// A stored sample-frequency offset: two decimals, 0 when missing or no number.
double OffsetFromStored(const QString& stored);
// The CW ID text as the control sends it: "*" (SK) becomes ":" and "+" (AR) ";".
QString CwIdForControl(QString text);
// The text of the control's error codes 1 to 4; empty for any other code.
QString ErrorText(int code);

} // namespace mmvstate
