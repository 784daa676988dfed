#pragma once
// The sound of the spot window's alert: a sound file played once or in a loop
// until stopped, or the system beep. Behind an interface so that a run plays
// through the sound card and a test records what would have sounded. The
// player of the run is installed by its owner (installed::get<Player>()).
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QSoundEffect;

namespace alertsound {

class Player {
  public:
    virtual ~Player() = default;
    // Starts the file at once and returns; a file that cannot be played is
    // told through `failed`, at once or once its loading has failed.
    virtual void play(const QString& path, bool loop, std::function<void()> failed) = 0;
    // Ends the sound that plays, if any.
    virtual void stop() = 0;
    virtual void beep() = 0;
    // False when the machine has no sound output: nothing can be heard then.
    virtual bool hasOutput() const = 0;
};

// Plays through the default sound output with QSoundEffect.
class SoundEffectPlayer : public Player {
  public:
    SoundEffectPlayer();
    ~SoundEffectPlayer() override;
    void play(const QString& path, bool loop, std::function<void()> failed) override;
    void stop() override;
    void beep() override;
    bool hasOutput() const override;
    // The effect of the last play, while it lasts.
    QSoundEffect* effect() const { return effect_.get(); }

  private:
    std::unique_ptr<QSoundEffect> effect_;
};

// The alert tone written beside the program: two tones, one after the other,
// as 16-bit samples at the wave writer's rate.
inline constexpr int AlertToneHz[2] = {1000, 750};
inline constexpr int AlertToneMsecs = 200;
std::vector<std::int16_t> alertTone();
// The file name of that tone beside the program.
inline const QString AlertToneFile = QStringLiteral("spot-alert.wav");

} // namespace alertsound
