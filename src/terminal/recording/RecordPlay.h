#pragma once
// Recording and play-back through the PSK library: the record item presets and
// opens the recording dialog, the play item feeds a wave file to the decoder in
// place of the sound card, the stop item ends either. While one runs the record
// and play items are disabled and RecPlayState is 1; the library's end notices
// (terminal/engines) bring the idle state back.
#include <QString>

class PSK31MAIN;

namespace terminal::recording {

void RecPsk_Click();
void PlayPsk_Click();
void RecStop_Click();

// The library's word for a wave file it cannot play (results 34 to 38), else empty.
QString waveFileMessage(int result);

// The record and play items.
void enableRecordItems(bool on);
// The message line shows a text until the recording or play-back ends.
void showMessageLine(const QString& text);
// The message line back to its resting text, hidden.
void messageLineAtRest();
// The sound card number the library is given.
int soundCard();
// The library stopped and started again on the sound card.
void restartSoundCard();

void connectRecording(PSK31MAIN& w);

} // namespace terminal::recording
