#include "platform/os/AlertSound.h"

#include "platform/forms/waits/Waits.h"
#include "platform/os/WavFile.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <cmath>
#include <numbers>

namespace alertsound {

namespace {

// A file that does not even open as a wave file fails at once, rather than
// after the effect's loading in the background.
bool looksPlayable(const QString& path) {
    const wavfile::Result r = wavfile::check(path);
    return r == wavfile::Playable || r == wavfile::Unsupported;
}

} // namespace

SoundEffectPlayer::SoundEffectPlayer() = default;
SoundEffectPlayer::~SoundEffectPlayer() = default;

void SoundEffectPlayer::play(const QString& path, bool loop, std::function<void()> failed) {
    stop();
    // The last effect's failure may be telling the operator in a box, inside
    // its own signal: it goes to the owner, and tells nothing more.
    if (effect_) {
        QObject::disconnect(effect_.get(), nullptr, nullptr, nullptr);
        forms::destroyLater(effect_.release());
    }
    if (!looksPlayable(path)) {
        failed();
        return;
    }
    effect_ = std::make_unique<QSoundEffect>();
    QSoundEffect* effect = effect_.get();
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, failed] {
        if (effect->status() == QSoundEffect::Error) failed();
    });
    effect->setLoopCount(loop ? QSoundEffect::Infinite : 1);
    effect->setSource(QUrl::fromLocalFile(path));
    effect->play();
}

void SoundEffectPlayer::stop() {
    if (effect_) effect_->stop();
}

void SoundEffectPlayer::beep() {
    QApplication::beep();
}

bool SoundEffectPlayer::hasOutput() const {
    return !QMediaDevices::audioOutputs().isEmpty();
}

std::vector<std::int16_t> alertTone() {
    constexpr int perTone = wavfile::SampleRate * AlertToneMsecs / 1000;
    // A short rise and fall at each end, so that the tones start and stop without a click.
    constexpr int ramp = wavfile::SampleRate / 200;
    std::vector<std::int16_t> samples;
    samples.reserve(2 * perTone);
    for (int hz : AlertToneHz) {
        for (int i = 0; i < perTone; ++i) {
            const double edge = std::min({1.0, double(i) / ramp, double(perTone - 1 - i) / ramp});
            const double s = std::sin(2 * std::numbers::pi * hz * i / wavfile::SampleRate);
            samples.push_back(static_cast<std::int16_t>(std::lround(12000 * edge * s)));
        }
    }
    return samples;
}

} // namespace alertsound
