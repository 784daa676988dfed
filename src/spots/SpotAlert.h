#pragma once
// The spot window's alert on a new newest spot: a beep or a sound file, heard
// only while the engines use the second sound card, so that it never goes out
// with the transmitted audio of the first.
#include <QString>

#include <functional>

namespace spots {

enum class AlertKind { None, Beep, SoundFile };
// What the alert does for the alert setting and the engines' sound card.
AlertKind alertKindFor(const QString& soundMode, const QString& soundCard);

// What went wrong with the sound file, in the operator's words.
using AlertTeller = std::function<void(const QString& message)>;

// Plays AlertWavPath, in a loop unless AlertWavLoop is "False". On a machine
// without sound output nothing plays and nothing is told; otherwise a path
// without ".WAV" or a file that does not play is told (a file's fault possibly
// later, once its loading failed).
void PlayAlertSound(const AlertTeller& tell);
void StopAlertSound();
// The alert itself, by the setting and the sound card.
void SoundAlert(const AlertTeller& tell);

} // namespace spots
