// The settings sheet's rules over plain values.
#include "settings/sheet/SheetRules.h"

#include <gtest/gtest.h>

namespace {

TEST(SheetRules, FftModeFromTheScrollBar) {
    const struct {
        int scroll;
        const char* mode;
        const char* label;
    } rows[] = {
        {0, "1", "NoClip"}, {9, "1", "NoClip"}, {10, "10", "10%"}, {47, "40", "40%"}, {90, "90", "90%"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.scroll);
        const settings::FftDisplay d = settings::FftFromScroll(r.scroll);
        EXPECT_EQ(d.mode, QString::fromLatin1(r.mode));
        EXPECT_EQ(d.label, QString::fromUtf8(r.label));
    }
}

TEST(SheetRules, FftPositionOfAStoredMode) {
    EXPECT_EQ(settings::FftFromMode(QStringLiteral("0")).label, QStringLiteral("NoClip"));
    EXPECT_EQ(settings::FftFromMode(QStringLiteral("1")).mode, QStringLiteral("1"));
    const settings::FftPosition p = settings::FftFromMode(QStringLiteral("60"));
    EXPECT_EQ(p.mode, QStringLiteral("60"));
    EXPECT_EQ(p.label, QStringLiteral("60%"));
    EXPECT_EQ(p.scroll, 60);
}

TEST(SheetRules, SpanOfTheAudioCentre) {
    const struct {
        int centre, zoom, low, high, txBin, fromLow, toHigh;
    } rows[] = {
        {2000, 20, 150, 3500, 512, 474, 384}, // both edges clamped
        {1500, 1, 1400, 1600, 384, 26, 26},
        {200, 1, 150, 300, 51, 13, 26},
        {2600, 10, 1600, 3500, 666, 256, 230},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.centre);
        const settings::CentreSpan s = settings::SpanForCentre(r.centre, r.zoom);
        EXPECT_EQ(s.lowHz, r.low);
        EXPECT_EQ(s.highHz, r.high);
        EXPECT_EQ(s.txBin, r.txBin);
        EXPECT_EQ(s.rxBin, r.txBin);
        EXPECT_EQ(s.binsFromLow, r.fromLow);
        EXPECT_EQ(s.binsToHigh, r.toHigh);
    }
}

TEST(SheetRules, ClockBoxes) {
    using settings::Typing;
    constexpr int kStays = 1 << 20; // the scroll bar keeps its value
    const struct {
        const char* typed;
        Typing typing;
        const char* shown; // nullptr: the box keeps the text
        int value;
    } rows[] = {
        {"-20000", Typing::Going, nullptr, -10000},
        {"-20000", Typing::Done, "-10000", -10000},
        {"-", Typing::Going, nullptr, kStays},
        {"", Typing::Done, "0", 0},
        {"abc", Typing::Going, "0", 0},
        {"007", Typing::Done, "7", 7},
        {"123", Typing::Going, nullptr, 123},
        {"10000", Typing::Done, nullptr, 10000},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.typed << (r.typing == Typing::Done ? ", done" : ", typing"));
        const settings::ClockBox b = settings::ClockBoxValue(QString::fromLatin1(r.typed), r.typing);
        EXPECT_EQ(b.replaced.has_value(), r.shown != nullptr);
        if (r.shown) {
            EXPECT_EQ(*b.replaced, QString::fromLatin1(r.shown));
        }
        EXPECT_EQ(b.value.value_or(kStays), r.value);
    }
}

TEST(SheetRules, RigIntervalAndIcomAddress) {
    EXPECT_EQ(settings::RigIntervalFor(QString()), QStringLiteral("300"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("-5")), QStringLiteral("300"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("  ")), QStringLiteral("300"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("50")), QStringLiteral("50"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("1000")), QStringLiteral("1000"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("1001")), QStringLiteral("1000"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("3001500")), QStringLiteral("1000"));
    EXPECT_EQ(settings::RigIntervalFor(QStringLiteral("0000020")), QStringLiteral("0000020"));
    EXPECT_EQ(settings::IcomAddressFor(QStringLiteral("9A7")), QStringLiteral("9A"));
    EXPECT_EQ(settings::IcomAddressFor(QStringLiteral("1")), QStringLiteral("1 "));
    EXPECT_EQ(settings::IcomAddressFor(QString()), QStringLiteral("  "));
}

TEST(SheetRules, StoredChoicesToOptions) {
    EXPECT_EQ(settings::SoundCardIndex(QStringLiteral("-1")), 0);
    EXPECT_EQ(settings::SoundCardIndex(QStringLiteral("0")), 1);
    EXPECT_EQ(settings::SoundCardIndex(QStringLiteral("1")), 2);
    EXPECT_EQ(settings::SoundCardIndex(QStringLiteral("7")), 0);
    EXPECT_EQ(settings::CwIdSpeedIndex(QStringLiteral("4")), 3);
    EXPECT_EQ(settings::CwIdSpeedIndex(QStringLiteral("5")), -1);
    EXPECT_EQ(settings::BaudIndex(QStringLiteral("1200")), 4);
    EXPECT_EQ(settings::BaudIndex(QStringLiteral("2400")), -1);
    EXPECT_EQ(settings::StopBitsIndex(QStringLiteral("2")), 1);
    EXPECT_EQ(settings::RigPortIndex(QStringLiteral("NONE")), 0);
    EXPECT_EQ(settings::RigPortIndex(QStringLiteral("COM8")), 8);
    EXPECT_EQ(settings::RigPortIndex(QStringLiteral("COM9")), -1);
    EXPECT_EQ(settings::RigPortIndex(QStringLiteral("/dev/ttyUSB0")), -1);
}

} // namespace
