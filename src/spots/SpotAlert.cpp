#include "spots/SpotAlert.h"

#include "core/Globals.h"
#include "platform/os/AlertSound.h"
#include "platform/os/Installed.h"
#include "spots/SpotGlobals.h"

namespace spots {

AlertKind alertKindFor(const QString& soundMode, const QString& soundCard) {
    if (soundCard != QLatin1String("1")) return AlertKind::None;
    if (soundMode == QLatin1String("1")) return AlertKind::Beep;
    if (soundMode == QLatin1String("2")) return AlertKind::SoundFile;
    return AlertKind::None;
}

void PlayAlertSound(const AlertTeller& tell) {
    alertsound::Player& player = installed::get<alertsound::Player>();
    if (!player.hasOutput()) return;
    if (!g.AlertWavPath.toUpper().contains(QLatin1String(".WAV"))) {
        tell(QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙの指定がありません"));
        return;
    }
    player.play(g.AlertWavPath, g.AlertWavLoop != QLatin1String("False"),
                [tell] { tell(QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙ異状です")); });
}

void StopAlertSound() {
    installed::get<alertsound::Player>().stop();
}

void SoundAlert(const AlertTeller& tell) {
    switch (alertKindFor(g.AlertSoundMode, core::g.SoundCardNumber)) {
    case AlertKind::Beep:
        installed::get<alertsound::Player>().beep();
        break;
    case AlertKind::SoundFile:
        PlayAlertSound(tell);
        break;
    case AlertKind::None:
        break;
    }
}

} // namespace spots
