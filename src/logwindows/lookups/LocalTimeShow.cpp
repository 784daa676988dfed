// The other station's local time and greeting, and the award record.
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "log/CallParts.h"
#include "log/JcaFile.h"
#include "log/LocalTime.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"

#include <QFile>

namespace logwindows {

namespace {

void say(const QString& text) {
    core::g.StatusMessage = text;
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
}

} // namespace

bool GreetingForHour(const QString& timeText) {
    const std::optional<QString> greeting = logbook::greetingForHour(timeText);
    if (greeting) logbook::g.GreetingText = *greeting;
    return greeting.has_value();
}

void ShowLocalTime() {
    logbook::Globals& g = logbook::g;
    const std::optional<int> district =
        g.DistrictLongitudeOn == 1 ? std::optional<int>(g.DistrictLongitude) : std::nullopt;
    const logbook::Longitude lon = logbook::usableLongitude({g.Longitude, g.LongitudeSide}, district);
    g.Longitude = lon.degrees;
    g.LongitudeSide = lon.side;
    const QTime utc = sysclock::utcNow().time();
    g.UtcTimeText = utc.toString(QStringLiteral("HH:mm:ss"));
    g.LocalTimeText = logbook::localTimeAt(utc, lon).toString(QStringLiteral("HH:mm"));
    TEMP_LOG& log = forms::TEMP_LOG();
    log.LT->setVisible(true);
    log.LT->setText(QStringLiteral("Local Time(Abt)=> ") + g.LocalTimeText);
    if (GreetingForHour(g.LocalTimeText)) return;
    log.LT->setText(QStringLiteral("Local Time(Abt)=> Data Nothing"));
    say(QStringLiteral("経度情報が有りません、ローカルタイムが算出できませんでした。"));
}

void ReadJcaRecord(const QString& call) {
    logbook::Globals& g = logbook::g;
    const QString program = paths::fromStored(g.HamlogJcaPath);
    const QString folder = program.left(program.lastIndexOf(QLatin1Char('/')));
    const QString suffix = logbook::jcaSuffix(call);
    if (suffix.isEmpty()) {
        say(QStringLiteral("CallSign 不正(JCA)"));
        g.FirstQsoFlag = 0;
        g.JcaChecked = 0;
        return;
    }
    g.JcaChecked = 1;
    QFile file(paths::join(folder, QStringLiteral("実績.txt")));
    if (!file.open(QIODevice::ReadOnly)) {
        say(folder + QStringLiteral(" の実績.txtが読めませんでした"));
        return;
    }
    if (const int state = logbook::jcaStateOf(file.readAll(), suffix)) g.JcaState = state;
}

} // namespace logwindows
