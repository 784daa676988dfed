// What a double-clicked spot means: mode, offset, dial and the rig's digits.
#include "spots/SpotPick.h"
#include "spots/SpotHamlog.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(SpotPick, ModeAndOffsetFromTheRemarks) {
    struct Case {
        const char* remarks;
        int mode;
        int offset;
    } cases[] = {
        {"PSK31 1000HZ", 1, 1000},
        {"BPSK31 CQ 150HZ", 1, 0}, // below 200
        {"PSK31 2900HZ", 1, 2900},
        {"PSK31 3000HZ", 1, 0}, // above 2900
        {"PSK 199HZ", 1, 0},
        {"PSK 200HZ", 1, 200},
        {"HZ", 0, 0},    // nothing before it
        {"150HZ", 0, 0}, // fewer than four characters before it
        {"1500HZ RTTY", 2, 1500},
        {"RTTY 170 SHIFT", 2, 0},
        {"RTTY AND PSK", 1, 0}, // PSK is tested first
        {"CQ DX UP 2", 0, 0},
        {"PSK X1.5HZ", 1, 0}, // "X1.5" holds no leading number
        {"PSK 12.5HZ", 1, 0},
        {"PSK 1234.5HZ", 1, 0}, // only "34.5" stands in the four characters
        {"PSK 200.HZ", 1, 200},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spots::spotModeOf(c.remarks), c.mode) << c.remarks;
        EXPECT_EQ(spots::spotAudioOffset(c.remarks), c.offset) << c.remarks;
    }
}

TEST(SpotPick, DialFromTheFrequencyCell) {
    const std::pair<QString, qint64> cases[] = {
        {"14070.5", 14'070'500},
        {" 7 035.0 ", 7'035'000},
        {"14070.0625", 14'070'062},
        {"14070.1875", 14'070'188},
        {"10489550.0", 10'489'550'000},
        {"", 0},
        {"FREQ", 0},
        {"-7035.0", 0},
        {"0.0", 0},
    };
    for (const auto& [cell, hz] : cases)
        EXPECT_EQ(spots::spotDialHz(cell), hz) << cell.toStdString();
}

TEST(SpotPick, PskTuningBySidebandAndCorrection) {
    struct Case {
        int offset;
        const char* rigMode;
        bool correct;
        qint64 dial;
        int tone;
    } cases[] = {
        {1000, "USB", true, 14'070'000, 1500}, {1000, "LSB", true, 14'071'000, 1500},
        {1000, "PKT", true, 14'071'000, 1500}, {1000, "PSK31", true, 14'071'000, 1500},
        {1000, "CW", true, 14'070'500, 1500},  {1000, "USB", false, 14'070'500, 1000},
        {0, "USB", false, 14'070'500, 1500},   {0, "USB", true, 14'069'000, 1500},
    };
    for (const Case& c : cases) {
        const spots::PskTuning t =
            spots::pskSpotTuning(14'070'500, c.offset, 1500, c.rigMode, "PSK31", c.correct);
        EXPECT_EQ(t.dialHz, c.dial) << c.rigMode << " " << c.offset << " " << c.correct;
        EXPECT_EQ(t.rxToneHz, c.tone) << c.rigMode << " " << c.offset << " " << c.correct;
    }
}

// The dial is corrected by the sideband the spot's mode code sets the rig to.
TEST(SpotPick, TheSidebandIsTheOneTheSpotSetsTheRigTo) {
    const std::array<const char*, 3> cases[] = {
        {"00", "USB", "LSB"}, {"00", "LSB", "LSB"}, {"01", "LSB", "USB"},
        {"06", "PKT", "PKT"}, {"", "USB", "USB"}, // no sideband of its own: the rig's mode
    };
    for (const auto& [code, rigMode, sideband] : cases)
        EXPECT_EQ(spots::spotSideband(code, "00", "01", rigMode), sideband) << code << " " << rigMode;
}

TEST(SpotPick, RttyDialBySideband) {
    EXPECT_EQ(spots::rttySpotDial(7'035'000, 2125, "LSB", "PSK31", true), 7'037'125);
    EXPECT_EQ(spots::rttySpotDial(7'035'000, 2125, "USB", "PSK31", true), 7'032'875);
    EXPECT_EQ(spots::rttySpotDial(7'035'000, 2125, "FSK", "FSK", true), 7'037'125);
    EXPECT_EQ(spots::rttySpotDial(7'035'000, 2125, "FSK", "PSK31", true), 7'035'000);
    EXPECT_EQ(spots::rttySpotDial(7'035'000, 2125, "LSB", "PSK31", false), 7'035'000);
}

TEST(SpotPick, DigitsOfEachRigFamily) {
    struct Case {
        const char* rig;
        qint64 hz;
        const char* digits;
    } cases[] = {
        {"KENWOOD", 14'023'500, "00014023500"},
        {"ICOM", 14'023'500, "0014023500"},
        {"FT1000MP", 14'023'500, "014023500"},
        {"FT920", 14'023'500, "014023500"},
        {"FT900", 14'023'500, "014023500"},
        {"FT847", 14'023'500, "014023500"},
        {"FT817", 14'023'500, "014023500"},
        {"FT767", 14'023'500, "014023500"},
        {"JST-245", 14'023'500, "14023500"},
        {"Not Use", 14'023'500, ""},
        {"JST-245", 99'999'999, "99999999"},
        {"JST-245", 144'070'000, ""},
        {"FT817", 1'296'000'000, ""},
        {"ICOM", 1'296'000'000, "1296000000"},
        {"KENWOOD", 0, ""},
        {"KENWOOD", -500, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(spots::spotDialDigits(c.rig, c.hz), c.digits) << c.rig << " " << c.hz;
}

TEST(SpotPick, FrequencyTextInMegahertz) {
    EXPECT_EQ(spots::spotFreqText(14'070'500), "14.070500");
    EXPECT_EQ(spots::spotFreqText(7'035), "0.007035");
    EXPECT_EQ(spots::spotFreqText(10'489'550'000), "10489.550000");
}

TEST(SpotPick, HamlogItemsClearTheEntryThenFillIt) {
    const QList<spots::HamlogSpotItem> items =
        spots::spotHamlogItems("QQ1ZZA", "", "NOR", "14.070500", "", "PSK31");
    QList<quint32> codes;
    for (const auto& i : items)
        codes << i.code;
    EXPECT_EQ(codes,
              (QList<quint32>{0, 1, 2, 3, 14, 14, 14, 14, 8, 9, 14, 11, 12, 13, 14, 0x30000, 1, 7, 0x20006}));
    EXPECT_EQ(items[15].text, "QQ1ZZA");
    EXPECT_EQ(items[17].text, "PSK31");
    EXPECT_EQ(items[18].text, "14.070500");
    const QList<spots::HamlogSpotItem> all = spots::spotHamlogItems("QQ1ZZA", "A", "REM", "7.0", "CODE", "");
    QList<quint32> allCodes;
    for (const auto& i : all.mid(15))
        allCodes << i.code;
    EXPECT_EQ(allCodes, (QList<quint32>{0x30000, 1, 14, 8, 0x20006})) << "an empty mode is not sent";
}

} // namespace
