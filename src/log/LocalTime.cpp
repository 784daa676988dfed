#include "log/LocalTime.h"

#include <array>

namespace logbook {

Longitude usableLongitude(Longitude lon, std::optional<int> district) {
    if (lon.degrees > 181) lon = Longitude{};
    if (district) lon.degrees = *district;
    return lon;
}

QTime localTimeAt(const QTime& utc, const Longitude& lon) {
    const int hours = lon.degrees / 15;
    const int sign = lon.side == QStringLiteral("西経") ? -1 : 1;
    return utc.addSecs(sign * hours * 3600);
}

std::optional<QString> greetingForHour(const QString& timeText) {
    bool ok = false;
    const int hour = timeText.left(2).trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    if (hour >= 0 && hour <= 9) return QStringLiteral("Good Morning");
    if (hour >= 10 && hour <= 14) return QStringLiteral("Good Day");
    if (hour >= 15 && hour <= 17) return QStringLiteral("Good Afternoon");
    if (hour >= 18 && hour <= 24) return QStringLiteral("Good Evening");
    return QString();
}

std::optional<int> districtLongitude(const QString& code, const QString& call) {
    // Degrees by digit 0 to 9; -1 where the digit is not tried.
    static constexpr std::array<int, 10> k758{-1, 75, 75, 90, 105, 105, 120, 120, 105, 75};
    static constexpr std::array<int, 10> k784{105, 77, 77, 77, 90, 105, 122, 115, 90, 90};
    const std::array<int, 10>* table = code.startsWith(QLatin1String("758"))   ? &k758
                                       : code.startsWith(QLatin1String("784")) ? &k784
                                                                               : nullptr;
    if (!table) return std::nullopt;
    for (int digit = 0; digit <= 9; ++digit)
        if ((*table)[digit] >= 0 && call.contains(QLatin1Char(static_cast<char>('0' + digit))))
            return (*table)[digit];
    return std::nullopt;
}

} // namespace logbook
