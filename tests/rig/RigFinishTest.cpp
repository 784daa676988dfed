// The shown frequency and its texts after a reply: sideband correction, the
// frequency-by-mode setting, SSTV, the KENWOOD clarifier and the label formats.
#include "rig/RigFinish.h"

#include <gtest/gtest.h>

namespace {

using rig::Family;

rig::FinishInput input(Family f, qint64 dial, const char* mode, int offset = 1000, bool check = true,
                       bool sstv = false) {
    rig::FinishInput in;
    in.family = f;
    in.dialHz = dial;
    in.modeText = QString::fromLatin1(mode);
    in.audioOffsetHz = offset;
    in.modeCheckOn = check;
    in.sstv = sstv;
    in.dataModeText = QStringLiteral("PSK31");
    return in;
}

TEST(RigFinish, IcomLsbWithModeCheckShowsTheSignal) {
    const rig::Finished f = rig::finishReading(input(Family::Icom, 7035000, "LSB"));
    EXPECT_EQ(f.signalHz, 7034000);
    EXPECT_EQ(f.shownHz, 7034000);
    EXPECT_TRUE(f.show);
    EXPECT_EQ(f.labelText, QStringLiteral("7.034.000"));
    EXPECT_EQ(f.freqText, QStringLiteral("7.034"));
}

TEST(RigFinish, SignalAndShownByFamilyModeAndSetting) {
    const struct {
        Family family;
        const char* mode;
        bool check, sstv;
        qint64 signal, shown;
    } rows[] = {
        {Family::Ft817, "USB", true, false, 14071000, 14071000},
        {Family::Ft817, "USB", false, false, 14071000, 14070000},
        {Family::Ft817, "CW", true, false, 14070000, 14070000},
        {Family::Ft817, "PKT", true, false, 14070000, 14070000},
        {Family::Ft1000mp, "PKT", true, false, 14069000, 14069000},
        {Family::Ft1000mp, "PSK31", true, false, 14069000, 14069000},
        {Family::Ft1000mp, "RTTY", true, false, 14070000, 14070000},
        // In SSTV mode the shown frequency is always the dial.
        {Family::Icom, "LSB", true, true, 14070000, 14070000},
        {Family::Icom, "USB", true, true, 14071000, 14070000},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(rig::traits(r.family).name) + " " + r.mode);
        const rig::Finished f = rig::finishReading(input(r.family, 14070000, r.mode, 1000, r.check, r.sstv));
        EXPECT_EQ(f.signalHz, r.signal);
        EXPECT_EQ(f.shownHz, r.shown);
    }
}

TEST(RigFinish, KenwoodRitMovesSignalAndDial) {
    rig::FinishInput in = input(Family::Kenwood, 14070000, "USB", 1000, true);
    in.clarifierSteps = 100;
    EXPECT_EQ(rig::finishReading(in).signalHz, 14071100);
    EXPECT_EQ(rig::finishReading(in).shownHz, 14071100);
    in.modeCheckOn = false;
    EXPECT_EQ(rig::finishReading(in).shownHz, 14070100);
    in.modeText = QStringLiteral("LSB");
    EXPECT_EQ(rig::finishReading(in).signalHz, 14069100);
    in.modeText = QStringLiteral("OTR");
    EXPECT_EQ(rig::finishReading(in).signalHz, 14070000);
}

TEST(RigFinish, LabelFormatsPerFamily) {
    EXPECT_EQ(rig::finishReading(input(Family::Icom, 14070150, "CW")).labelText,
              QStringLiteral("14.070.150"));
    EXPECT_EQ(rig::finishReading(input(Family::Kenwood, 14070150, "CW")).labelText,
              QStringLiteral("14.070.150"));
    EXPECT_EQ(rig::finishReading(input(Family::Ft767, 14070150, "CW")).labelText,
              QStringLiteral("14.070.150"));
    EXPECT_EQ(rig::finishReading(input(Family::Jst245, 14070150, "CW")).labelText,
              QStringLiteral("14.070.150"));
    EXPECT_EQ(rig::finishReading(input(Family::Ft847, 14070150, "CW")).labelText,
              QStringLiteral("14.070.15"));
    EXPECT_EQ(rig::finishReading(input(Family::Ft817, 14070150, "CW")).labelText,
              QStringLiteral("14.070.15"));
    EXPECT_EQ(rig::finishReading(input(Family::Ft920, 14070150, "CW")).labelText,
              QStringLiteral("14.070.15"));
    EXPECT_EQ(rig::finishReading(input(Family::Ft1000mp, 14070150, "CW")).labelText,
              QStringLiteral("14.070.15"));
}

TEST(RigFinish, TextFormatsRoundHalfAwayFromZero) {
    EXPECT_EQ(rig::formatMHz3(14070150), QStringLiteral("14.070"));
    EXPECT_EQ(rig::formatMHz3(14070500), QStringLiteral("14.071"));
    EXPECT_EQ(rig::formatMHz3(1999999), QStringLiteral("2.000"));
    EXPECT_EQ(rig::formatMHz3(500), QStringLiteral("0.001"));
    EXPECT_EQ(rig::formatFreqLabel(14070155, 5), QStringLiteral("14.070.16"));
    EXPECT_EQ(rig::formatFreqLabel(50100000, 6), QStringLiteral("50.100.000"));
    EXPECT_EQ(rig::formatFreqLabel(10368100000, 6), QStringLiteral("10368.100.000"));
}

TEST(RigFinish, NothingShownAtZeroOrBelow) {
    const rig::Finished f = rig::finishReading(input(Family::Icom, 500, "LSB", 1000));
    EXPECT_FALSE(f.show);
    EXPECT_TRUE(f.labelText.isEmpty());
    EXPECT_FALSE(rig::finishReading(input(Family::Icom, 0, "CW")).show);
}

} // namespace
