#pragma once
// The other station's local time from the longitude of its master entry, the
// greeting for an hour, and the longitudes that follow a call district.
#include <QString>
#include <QTime>
#include <optional>

namespace logbook {

struct Longitude {
    int degrees = 135;
    QString side = QStringLiteral("東経"); // "西経" is west, anything else east
};

// What the computation takes: above 181 degrees counts as 135 east, and a
// call-district longitude, when one applies, replaces the degrees.
Longitude usableLongitude(Longitude lon, std::optional<int> district);

// UTC plus (or, west, minus) whole hours of longitude / 15; only the time of day counts.
QTime localTimeAt(const QTime& utc, const Longitude& lon);

// The greeting for the hour in the first two characters of an "HH:MM" text;
// nothing when they are no number, empty for an hour past 24.
std::optional<QString> greetingForHour(const QString& timeText);

// The longitude of the district of a call under entry "758" or "784": the first
// digit of the entry's order that occurs anywhere in the call.
std::optional<int> districtLongitude(const QString& code, const QString& call);

} // namespace logbook
