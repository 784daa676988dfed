#pragma once
// What a double-clicked spot means for the mode, the receive tone and the
// rig's dial: pure functions over the grid's texts and the rig's state, so
// that the spot window only carries them out.
#include <QString>
#include <QtGlobal>

namespace spots {

// The spot's mode by its remarks: 1 PSK, 2 RTTY, 0 other.
int spotModeOf(const QString& remarks);
// The audio offset written in the remarks as the number in the four characters
// before "HZ" ("1000HZ"); 0 without one, and for one below 200 or above 2900.
int spotAudioOffset(const QString& remarks);
// The frequency cell (kHz, blanks anywhere) in whole hertz; 0 for a cell that
// holds no number.
qint64 spotDialHz(const QString& freqCell);

// A PSK spot: the dial and the receive tone. With the correction on the dial
// moves so that the signal lands on the transmit tone (by the sideband the rig
// is in), and the receive tone is the transmit tone; without it the dial stays
// and the receive tone is the spot's offset (the transmit tone without one).
struct PskTuning {
    qint64 dialHz;
    int rxToneHz;
};
PskTuning pskSpotTuning(qint64 dialHz, int offsetHz, int txFreqHz, const QString& rigMode,
                        const QString& dataModeText, bool correct);
// The sideband the rig listens on once it is set to the spot's mode code:
// "LSB" or "USB" for those codes, the rig's mode as it is for any other code.
// The spot's dial is corrected by this sideband, not by the one the rig had.
QString spotSideband(const QString& spotCode, const QString& lsbCode, const QString& usbCode,
                     const QString& rigMode);
// An RTTY spot's dial, moved by the rig's audio offset by its sideband when corrected.
qint64 rttySpotDial(qint64 dialHz, int audioOffsetHz, const QString& rigMode, const QString& dataModeText,
                    bool correct);

// The dial as the frequency command of the rig family takes it, zero-padded
// to the family's digits; empty for a rig type without one, for a dial of 0 Hz
// or less and for one too long for the digits.
QString spotDialDigits(const QString& rigType, qint64 hz);
// Megahertz with six decimals, as the logging program and the band plan take it.
QString spotFreqText(qint64 hz);

} // namespace spots
