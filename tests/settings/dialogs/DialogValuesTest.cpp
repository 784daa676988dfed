// The small dialogs' values as tables: the contest's call split and serial
// number, the RTTY program's view word fields, the MMVARI offsets and the
// arithmetic of the two clock tools.
#include "settings/dialogs/ClockValues.h"
#include "settings/dialogs/ContestValues.h"
#include "settings/dialogs/MmttyDialogValues.h"
#include "settings/dialogs/MmvariDialogValues.h"

#include <gtest/gtest.h>

namespace {

using namespace settings;

TEST(ContestValues, ReportAndSerialNumber) {
    EXPECT_EQ(contestFixedRst(false, true), "599");
    EXPECT_EQ(contestFixedRst(true, true), "595");
    EXPECT_EQ(contestFixedRst(true, false), "");
    EXPECT_EQ(contestFixedRst(false, false), "");

    struct Number {
        std::optional<QString> stored;
        const char* text;
        int value;
    } numbers[] = {
        {QStringLiteral("012"), "012", 12},     {std::nullopt, "001", 1},
        {QStringLiteral("abc"), "001", 1},      {QStringLiteral(""), "001", 1},
        {QStringLiteral(" 7 "), "007", 7},      {QStringLiteral("99999"), "99999", 32766},
        {QStringLiteral("-4"), "-4", 0},        {QStringLiteral("1.5"), "001", 1},
        {QStringLiteral("1234"), "1234", 1234},
    };
    for (const Number& n : numbers) {
        const QString text = contestNumberText(n.stored);
        EXPECT_EQ(text, QString::fromLatin1(n.text)) << n.stored.value_or("(missing)").toStdString();
        EXPECT_EQ(contestNumberValue(text, 0, 32766), n.value) << n.text;
    }
}

TEST(MmttyDialogValues, ViewWordFieldsScopeChoicesAndDelay) {
    const QString zero(14, QLatin1Char('0'));
    struct Case {
        QString reported;
        ViewField field;
        int choice;
        std::optional<std::int32_t> word;
    } cases[] = {
        {zero, ViewField::Gain, 3, 48},
        {zero, ViewField::Response, 0, 128},
        {zero, ViewField::Scope, 0, 4096},
        {zero, ViewField::Scope, 4, 0},
        {zero, ViewField::Scope, 3, 7168},
        {QStringLiteral("11111111111111"), ViewField::Response, 2, 0x3FFF - 0xC0},
        {QStringLiteral("11111111111111"), ViewField::Scope, 4, 0x3FFF - 0x1C00},
        {QStringLiteral("00000001100000"), ViewField::Gain, 0, 64},
        {QStringLiteral("00000001100000"), ViewField::Gain, 1, 80},
        {QStringLiteral("00000001100000"), ViewField::Response, 1, 0x060},
        // Nothing before a whole view word has been reported, nothing outside the list.
        {QString(), ViewField::Gain, 1, std::nullopt},
        {QStringLiteral("0000000"), ViewField::Gain, 1, std::nullopt},
        {QStringLiteral("0000000000000x"), ViewField::Gain, 1, std::nullopt},
        {zero, ViewField::Gain, 4, std::nullopt},
        {zero, ViewField::Response, 3, std::nullopt},
        {zero, ViewField::Scope, -1, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(viewWordWith(c.reported, c.field, c.choice), c.word)
            << c.reported.toStdString() << " " << int(c.field) << " " << c.choice;

    struct Scope {
        int index;
        const char* stored;
        int quality, mask;
    } scopes[] = {{0, "0", 0, 0x1FF}, {1, "1", 1, 0x3FF}, {2, "2", 2, 0x7FF},
                  {3, "3", 3, 0xFFF}, {4, "4", 4, 0x1FF}, {7, "4", 4, 0x1FF}};
    for (const Scope& s : scopes) {
        const ScopeChoice c = scopeChoice(s.index);
        EXPECT_EQ(c.stored, QString::fromLatin1(s.stored)) << s.index;
        EXPECT_EQ(c.quality, s.quality) << s.index;
        EXPECT_EQ(c.mask, s.mask) << s.index;
    }

    EXPECT_EQ(profileLoadWord(), 196608);
    EXPECT_EQ(profileSaveWord(), 262144);

    struct Delay {
        const char* typed;
        std::optional<int> value;
    } delays[] = {{"150", 150},          {"0", 0},
                  {" 20 ", 20},          {"", std::nullopt},
                  {"1.5", std::nullopt}, {"abc", std::nullopt},
                  {"-3", std::nullopt},  {"99999999999", std::nullopt},
                  {"1000", 1000},        {"2147483647", 1000}};
    for (const Delay& d : delays)
        EXPECT_EQ(txDelayValue(QString::fromLatin1(d.typed)), d.value) << d.typed;
}

TEST(MmvariDialogValues, StoredOffsetsTextsAndTheMeasurementsEnd) {
    struct Stored {
        std::optional<QString> text;
        int value;
    } stored[] = {
        {QStringLiteral("0.50"), 50},      {QStringLiteral("-12.34"), -1234}, {QStringLiteral("99.99"), 9999},
        {QStringLiteral("-99.99"), -9999}, {QStringLiteral("120"), 0},        {QStringLiteral("-100"), 0},
        {QStringLiteral("abc"), 0},        {QStringLiteral(""), 0},           {std::nullopt, 0},
        {QStringLiteral("0.125"), 12},     {QStringLiteral("0.135"), 14},     {QStringLiteral("MMVCFG"), 0},
        {QStringLiteral("nan"), 0},        {QStringLiteral("-inf"), 0},
    };
    for (const Stored& s : stored)
        EXPECT_EQ(offsetScrollValue(s.text), s.value) << s.text.value_or("(missing)").toStdString();

    EXPECT_EQ(offsetText(0.5), "0.50");
    EXPECT_EQ(offsetText(-10), "-10.00");
    EXPECT_EQ(offsetText(-0.001), "0.00");
    EXPECT_EQ(mmvariPpmText(0.5), "45ppm");
    EXPECT_EQ(mmvariPpmText(0), "0ppm");
    EXPECT_EQ(mmvariPpmText(-1.0), "-91ppm");

    struct Finish {
        double offset;
        const char* reading;
        int value;
    } finishes[] = {{0.0, "900", -1000},    {-10.0, "0", -1000},  {0.5, "45", 0},     {0.0, "-900", 1000},
                    {0.0, "9999", -9999},   {90.0, "-900", 9999}, {1.25, "abc", 125}, {0.0, "", 0},
                    {0.0, "-3.7e13", 9999}, {0.0, "nan", 0},      {0.5, "inf", 50}};
    for (const Finish& f : finishes)
        EXPECT_EQ(measuredOffsetScrollValue(f.offset, QString::fromLatin1(f.reading)), f.value)
            << f.offset << " " << f.reading;

    EXPECT_EQ(offsetStep(0), 1);
    EXPECT_EQ(offsetStep(1), 10);
    EXPECT_EQ(offsetStep(2), 100);
}

TEST(ClockValues, SstvFiguresInPpmAndTheKeysTheyGive) {
    struct Case {
        SstvClockReadings r;
        const char *base, *rx, *tx, *rxOffset, *txPpm, *rxPpm;
        bool canApply;
        const char *keyRx, *keyTx;
    } cases[] = {
        {{800000, 800020, -10},
         "8000.00Hz",
         "8000.20Hz",
         "-0.10Hz",
         "0.20Hz",
         "-12ppm",
         "25ppm",
         true,
         "25",
         "12"},
        {{1102500, 1102520, 30},
         "11025.00Hz",
         "11025.20Hz",
         "0.30Hz",
         "0.20Hz",
         "27ppm",
         "18ppm",
         false,
         "25",
         "62"},
        {{960000, 960100, 0}, "9600.00Hz", "9601.00Hz", "0.00Hz", "1.00Hz", "", "", false, "125", "125"},
        {{800000, 799996, 2},
         "8000.00Hz",
         "7999.96Hz",
         "0.02Hz",
         "-0.04Hz",
         "2ppm",
         "-5ppm",
         true,
         "-5",
         "-2"},
        {{800000, 800000, 0}, "8000.00Hz", "8000.00Hz", "0.00Hz", "0.00Hz", "0ppm", "0ppm", true, "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        const SstvClockShown s = sstvClockShown(c.r);
        EXPECT_EQ(s.base, QString::fromLatin1(c.base));
        EXPECT_EQ(s.rx, QString::fromLatin1(c.rx));
        EXPECT_EQ(s.txOffset, QString::fromLatin1(c.tx));
        EXPECT_EQ(s.rxOffset, QString::fromLatin1(c.rxOffset));
        EXPECT_EQ(s.txPpm, QString::fromLatin1(c.txPpm));
        EXPECT_EQ(s.rxPpm, QString::fromLatin1(c.rxPpm));
        EXPECT_EQ(s.canApply, c.canApply);
        const PskClockKeys k = pskClockKeys(c.r);
        EXPECT_EQ(k.rx, QString::fromLatin1(c.keyRx));
        EXPECT_EQ(k.tx, QString::fromLatin1(c.keyTx));
    }
}

TEST(ClockValues, MeasuringLineThresholdAndCorrections) {
    struct Line {
        int start, end, height;
        double freq;
        const char* hz;
        bool psk;
        int ppm;
    } lines[] = {
        {400, 408, 400, 8000.0, "0.20Hz", true, 25}, {400, 408, 400, 11025.0, "0.28Hz", false, 25},
        {400, 416, 400, 8000.0, "0.40Hz", true, 50}, {400, 416, 400, 11025.0, "0.55Hz", false, 50},
        {400, 400, 400, 8000.0, "0.00Hz", true, 0},  {400, 392, 400, 8000.0, "-0.20Hz", true, -25},
        {400, 408, 0, 8000.0, "0.00Hz", true, 0},
    };
    for (const Line& l : lines) {
        const double hz = clockOffsetHz(l.start, l.end, l.height, l.freq);
        EXPECT_EQ(hzText(hz), QString::fromLatin1(l.hz)) << l.end << " " << l.freq;
        EXPECT_EQ(clockPpm(hz, l.psk), l.ppm) << l.end << " " << l.freq;
    }

    struct Threshold {
        int max, min;
        double factor;
        int level;
    } thresholds[] = {{101, 100, 0.5, 0}, {101, 0, 0.5, 25}, {100, 0, 0.5, 25}, {103, 0, 0.5, 26},
                      {101, 0, 1.0, 50},  {101, 0, 0.1, 5},  {99, 0, 0.5, 24},  {101, 1, 0.5, 25}};
    for (const Threshold& t : thresholds)
        EXPECT_EQ(carrierThreshold(t.max, t.min, t.factor), t.level) << t.max << " " << t.factor;

    EXPECT_EQ(lineXAt(200, 400, 400, 408), 404);
    EXPECT_EQ(lineXAt(100, 400, 400, 410), 402); // 402.5 to the even neighbour
    EXPECT_EQ(lineXAt(0, 400, 400, 408), std::nullopt);
    EXPECT_EQ(pivotEndX(410, 200, 400, 400), 420);
    EXPECT_EQ(pivotEndX(390, 100, 400, 400), 360);
    EXPECT_EQ(pivotEndX(410, 0, 400, 400), std::nullopt);

    EXPECT_DOUBLE_EQ(pskSampleFreq(250), 8002.0);
    EXPECT_DOUBLE_EQ(pskSampleFreq(0), 8000.0);
    EXPECT_EQ(pskPpmAfter(5, 0.4), 55);
    EXPECT_EQ(pskPpmAfter(9990, 0.4), 10000);
    EXPECT_EQ(pskPpmAfter(-9990, -0.4), -10000);
    EXPECT_DOUBLE_EQ(mmvariOffsetAfter(99.0, 2.5), 99.99);
    EXPECT_DOUBLE_EQ(mmvariOffsetAfter(-99.0, -2.5), -99.99);
    EXPECT_DOUBLE_EQ(mmvariOffsetAfter(0.1, 0.551), 0.65);
    EXPECT_DOUBLE_EQ(mmvariOffsetAfter(0.0, 0.0), 0.0);
}

} // namespace
