// The commands of every family, byte for byte, as the rigs expect them.
#include "rig/CatFrames.h"

#include <gtest/gtest.h>

namespace {

using rig::CatSend;
using rig::Family;
using rig::Pace;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', QByteArray()));
}

QByteArray textCr(const char* text) {
    return QByteArray(text) + '\r';
}

struct PttCase {
    Family family;
    QByteArray on, off;
};

TEST(CatFrames, PttCommandsOfEveryFamily) {
    const PttCase cases[] = {
        {Family::Ft1000mp, hex("00 00 00 01 0F"), hex("00 00 00 00 0F")},
        {Family::Ft920, hex("00 00 00 01 0F"), hex("00 00 00 00 0F")},
        {Family::Ft900, hex("00 00 00 01 0F"), hex("00 00 00 00 0F")},
        {Family::Ft847, hex("00 00 00 00 08"), hex("00 00 00 00 88")},
        {Family::Ft817, hex("00 00 00 00 08"), hex("00 00 00 00 88")},
        {Family::Icom, hex("FE FE 5E E0 1C 00 01 FD"), hex("FE FE 5E E0 1C 00 00 FD")},
        {Family::Kenwood, textCr("TX;"), textCr("RX;")},
        {Family::Ft767, {}, {}},
        {Family::Jst245, {}, {}},
    };
    for (const PttCase& c : cases) {
        SCOPED_TRACE(rig::traits(c.family).name);
        EXPECT_EQ(rig::pttCommand(c.family, true, 0x5E), c.on);
        EXPECT_EQ(rig::pttCommand(c.family, false, 0x5E), c.off);
    }
}

struct ModeCase {
    Family family;
    const char* code;
    QByteArray bytes;
};

TEST(CatFrames, ModeCommandsAreSentPaced) {
    const ModeCase cases[] = {
        {Family::Ft1000mp, "01", hex("00 00 00 01 0C")},
        {Family::Ft920, "02", hex("00 00 00 02 0C")},
        {Family::Ft900, "00", hex("00 00 00 00 0C")},
        {Family::Ft847, "01", hex("01 00 00 00 07")},
        {Family::Ft817, "02", hex("02 00 00 00 07")},
        {Family::Ft767, "12", hex("00 00 00 12 0A")},
        {Family::Kenwood, "2", textCr("MD2;")},
        {Family::Kenwood, "3", textCr("MD3;")},
        {Family::Icom, "01", hex("FE FE 5E E0 06 01 FD")},
        // A code that is no hexadecimal number gives the byte 0.
        {Family::Ft1000mp, "PK", hex("00 00 00 00 0C")},
        {Family::Icom, "", hex("FE FE 5E E0 06 00 FD")},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(std::string(rig::traits(c.family).name) + " " + c.code);
        const rig::CatSequence s = rig::modeCommand(c.family, QString::fromLatin1(c.code), 0x5E);
        ASSERT_EQ(s.size(), 1u);
        EXPECT_EQ(s[0], (CatSend{c.bytes, Pace::Paced}));
    }
    EXPECT_TRUE(rig::modeCommand(Family::Jst245, QStringLiteral("1"), 0).empty());
}

TEST(CatFrames, FrequencyCommandsFor14070150Hz) {
    const QString nine = QStringLiteral("014070150");
    auto only = [](const std::optional<rig::CatSequence>& s) {
        EXPECT_TRUE(s && s->size() == 1);
        return s && !s->empty() ? s->front() : CatSend{};
    };
    EXPECT_EQ(only(rig::frequencyCommands(Family::Ft1000mp, nine, 0)),
              (CatSend{hex("15 70 40 01 0A"), Pace::Paced}));
    EXPECT_EQ(only(rig::frequencyCommands(Family::Ft920, nine, 0)),
              (CatSend{hex("15 70 40 01 0A"), Pace::Paced}));
    EXPECT_EQ(only(rig::frequencyCommands(Family::Ft900, nine, 0)),
              (CatSend{hex("15 70 40 01 0A"), Pace::Paced}));
    EXPECT_EQ(only(rig::frequencyCommands(Family::Ft847, nine, 0)),
              (CatSend{hex("01 40 70 15 01"), Pace::Paced}));
    EXPECT_EQ(only(rig::frequencyCommands(Family::Ft817, nine, 0)),
              (CatSend{hex("01 40 70 15 01"), Pace::Paced}));
    EXPECT_EQ(only(rig::frequencyCommands(Family::Kenwood, QStringLiteral("00014070150"), 0)),
              (CatSend{textCr("FA00014070150;"), Pace::Paced}));
    EXPECT_EQ(only(rig::frequencyCommands(Family::Icom, QStringLiteral("0014070150"), 0x58)),
              (CatSend{hex("FE FE 58 E0 05 50 01 07 14 00 FD"), Pace::Paced}));

    const rig::CatSequence ft767{{hex("15 70 40 01 08"), Pace::Paced},
                                 {hex("00 00 00 00 0B"), Pace::Paced},
                                 {hex("00 00 00 01 00"), Pace::Paced},
                                 {hex("00 00 00 00 0B"), Pace::Paced}};
    EXPECT_EQ(rig::frequencyCommands(Family::Ft767, nine, 0), ft767);

    const rig::CatSequence jst{
        {textCr("H1"), Pace::Now}, {textCr("F14070150A"), Pace::Now}, {textCr("H0"), Pace::Paced}};
    EXPECT_EQ(rig::frequencyCommands(Family::Jst245, QStringLiteral("14070150"), 0), jst);
}

TEST(CatFrames, MalformedFrequencyDigitsRetuneNothing) {
    const struct {
        Family family;
        const char* digits;
    } cases[] = {
        {Family::Ft1000mp, "14070150"},   // one digit short
        {Family::Ft1000mp, "0140701500"}, // one too many
        {Family::Ft847, "-14070150"},     // a negative dial
        {Family::Icom, "00140701x0"},     {Family::Kenwood, ""}, {Family::Jst245, "1407015"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits);
        EXPECT_FALSE(rig::frequencyCommands(c.family, QString::fromLatin1(c.digits), 0x58));
    }
}

TEST(CatFrames, StatusRequestsOfEveryFamily) {
    using Seq = rig::CatSequence;
    EXPECT_EQ(rig::statusRequest(Family::Ft1000mp, 0), (Seq{{hex("00 00 00 02 10"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Ft920, 0), (Seq{{hex("00 00 00 02 10"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Ft900, 0), (Seq{{hex("00 00 00 02 10"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Ft847, 0), (Seq{{hex("00 00 00 00 03"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Ft817, 0), (Seq{{hex("00 00 00 00 03"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Ft767, 0), (Seq{{hex("00 00 00 00 00"), Pace::Paced},
                                                         {hex("00 00 00 00 0B"), Pace::Paced},
                                                         {hex("00 00 00 00 01"), Pace::Paced},
                                                         {hex("00 00 00 00 0B"), Pace::Paced}}));
    EXPECT_EQ(rig::statusRequest(Family::Kenwood, 0), (Seq{{textCr("IF;"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Jst245, 0),
              (Seq{{textCr("H1"), Pace::Now}, {textCr("I1"), Pace::Now}}));
    EXPECT_EQ(rig::statusRequest(Family::Icom, 0x5E), (Seq{{hex("FE FE 5E E0 04 FD"), Pace::Now}}));
    EXPECT_EQ(rig::icomFrequencyRequest(0x5E), hex("FE FE 5E E0 03 FD"));
    EXPECT_EQ(rig::ft847CatOn(), hex("00 00 00 00 00"));
    EXPECT_EQ(rig::ft847CatOff(), hex("00 00 00 00 80"));
    EXPECT_EQ(rig::ft767FollowUp(),
              (Seq{{hex("00 00 00 01 00"), Pace::Paced}, {hex("00 00 00 00 0B"), Pace::Paced}}));
}

TEST(CatFrames, IcomAddressAndCodesFromHexText) {
    EXPECT_EQ(rig::hexCodeByte(QStringLiteral("5E")), 0x5E);
    EXPECT_EQ(rig::hexCodeByte(QStringLiteral("5e")), 0x5E);
    EXPECT_EQ(rig::hexCodeByte(QStringLiteral("1 ")), 0x01);
    EXPECT_EQ(rig::hexCodeByte(QStringLiteral("  ")), 0x00);
    EXPECT_EQ(rig::hexCodeByte(QStringLiteral("1FF")), 0x00);
    EXPECT_EQ(rig::hexCodeByte(QStringLiteral("G1")), 0x00);
}

TEST(CatFrames, FamilyTablesByTheirSettingText) {
    const struct {
        const char* name;
        int reply;
        const char* lsb;
        const char* cw;
    } rows[] = {{"FT767", 86, "10", "12"}, {"FT1000MP", 16, "00", "02"}, {"FT920", 28, "00", "02"},
                {"FT900", 10, "00", "02"}, {"FT847", 5, "00", "02"},     {"FT817", 5, "00", "02"},
                {"KENWOOD", 38, "1", "7"}, {"JST-245", 13, "1", "7"},    {"ICOM", 14, "00", "03"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const auto f = rig::familyOf(QString::fromLatin1(r.name));
        ASSERT_TRUE(f);
        EXPECT_EQ(rig::traits(*f).replyLength, r.reply);
        EXPECT_STREQ(rig::traits(*f).lsbCode, r.lsb);
        EXPECT_STREQ(rig::traits(*f).cwCode, r.cw);
    }
    EXPECT_FALSE(rig::familyOf(QStringLiteral("Not Use")));
    EXPECT_FALSE(rig::familyOf(QStringLiteral("icom")));
}

} // namespace
