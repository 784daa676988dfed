// The other station's local time, the greeting for an hour, and the district longitudes.
#include "log/LocalTime.h"

#include <gtest/gtest.h>

namespace {

using logbook::Longitude;

struct TimeCase {
    const char* pcJst;
    int degrees;
    const char* side; // UTF-8
    std::optional<int> district;
    const char* local;
};

TEST(LocalTime, WholeHoursOfLongitudeFromUtcWrappingPastMidnight) {
    const TimeCase cases[] = {
        {"10:30", 120, "西経", {}, "17:30"}, {"08:00", 135, "東経", {}, "08:00"},
        {"08:00", 200, "西経", {}, "08:00"}, // above 181: 135 east
        {"09:00", 181, "東経", {}, "12:00"}, // 181 itself stays
        {"09:00", 29, "東経", {}, "01:00"},  {"09:00", 14, "東経", {}, "00:00"},
        {"09:00", 0, "", {}, "00:00"},       {"09:00", 95, "西経", 120, "16:00"},
        {"23:59", 15, "何か", {}, "15:59"}, // any side but west counts as east
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.pcJst);
        const QTime utc =
            QTime::fromString(QString::fromLatin1(c.pcJst), QStringLiteral("HH:mm")).addSecs(-9 * 3600);
        const Longitude lon = logbook::usableLongitude({c.degrees, QString::fromUtf8(c.side)}, c.district);
        EXPECT_EQ(logbook::localTimeAt(utc, lon).toString(QStringLiteral("HH:mm")),
                  QString::fromLatin1(c.local));
    }
}

TEST(LocalTime, GreetingByHour) {
    const std::pair<const char*, const char*> cases[] = {
        {"00:00", "Good Morning"}, {"09:59", "Good Morning"},   {"10:00", "Good Day"},
        {"14:59", "Good Day"},     {"15:00", "Good Afternoon"}, {"17:30", "Good Afternoon"},
        {"18:00", "Good Evening"}, {"24:00", "Good Evening"},   {"25:00", ""},
    };
    for (const auto& [time, greeting] : cases)
        EXPECT_EQ(logbook::greetingForHour(QString::fromLatin1(time)), QString::fromLatin1(greeting)) << time;
    EXPECT_FALSE(logbook::greetingForHour(QStringLiteral("xx:00")));
    EXPECT_FALSE(logbook::greetingForHour(QString()));
}

TEST(LocalTime, DistrictLongitudesFollowTheFirstDigitTried) {
    const struct {
        const char* code;
        const char* call;
        std::optional<int> degrees;
    } cases[] = {
        {"758", "QK6ABC", 120}, {"758", "QK0ABC", {}}, {"758", "QK9A1", 75},  {"784", "VE0ABC", 105},
        {"784", "VE7ABC", 115}, {"784", "VEABC", {}},  {"230", "DL1ABC", {}}, {"758   ", "W4ABC", 105},
    };
    for (const auto& c : cases)
        EXPECT_EQ(logbook::districtLongitude(QString::fromLatin1(c.code), QString::fromLatin1(c.call)),
                  c.degrees)
            << c.code << " " << c.call;
}

} // namespace
