// Status replies of every family decoded into dial, clarifier and mode; short,
// garbled and random replies give nothing and never crash.
#include "rig/CatDecoders.h"

#include <gtest/gtest.h>
#include <random>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', QByteArray()));
}

QByteArray icomEcho() {
    return hex("FE FE 58 E0 03 FD");
}

// FT1000MP / FT920 status with the dial count, clarifier count, mode and flag bytes.
QByteArray yaesuStatus(int length, quint32 count, quint16 clar, uchar mode, int flagByte, bool clarOn) {
    QByteArray s(length, 0);
    for (int i = 0; i < 4; ++i)
        s[1 + i] = char(count >> (24 - 8 * i));
    s[5] = char(clar >> 8);
    s[6] = char(clar);
    s[7] = char(mode);
    if (clarOn) s[flagByte] = char(0x80);
    return s;
}

TEST(CatDecoders, IcomFrequencyReplyAfterTheEcho) {
    const QByteArray reply = icomEcho() + hex("FE FE E0 58 03 50 01 07 14 00 FD");
    ASSERT_EQ(reply.size(), 17);
    const auto r = rig::decodeIcomFreq(reply, 0x58);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dialHz, 14070150);
    EXPECT_FALSE(r->modeText);
}

TEST(CatDecoders, IcomModeReplies) {
    const struct {
        uchar mode;
        const char* text;
    } rows[] = {{0, "LSB"}, {1, "USB"}, {2, "AM"}, {3, "CW"}, {4, "RTTY"}, {5, "FM"}, {6, "FM WIDE"}};
    for (const auto& row : rows) {
        QByteArray reply = hex("FE FE 58 E0 04 FD FE FE E0 58 04 00 01 FD");
        reply[11] = char(row.mode);
        const auto r = rig::decodeIcomMode(reply, 0x58);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->modeText, QString::fromLatin1(row.text));
    }
    const auto unknown = rig::decodeIcomMode(hex("FE FE 58 E0 04 FD FE FE E0 58 04 17 01 FD"), 0x58);
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->modeText);
}

TEST(CatDecoders, IcomRepliesOfAnotherRigOrGarbledAreIgnored) {
    const QByteArray good = icomEcho() + hex("FE FE E0 58 03 50 01 07 14 00 FD");
    QByteArray otherRig = good;
    otherRig[9] = char(0x5E);
    QByteArray notBcd = good;
    notBcd[12] = char(0x1A);
    QByteArray noEnd = good;
    noEnd[16] = char(0x00);
    EXPECT_FALSE(rig::decodeIcomFreq(otherRig, 0x58));
    EXPECT_FALSE(rig::decodeIcomFreq(notBcd, 0x58));
    EXPECT_FALSE(rig::decodeIcomFreq(noEnd, 0x58));
    EXPECT_FALSE(rig::decodeIcomFreq(good.left(16), 0x58));
    // A mode reply is not a frequency reply.
    EXPECT_FALSE(rig::decodeIcomFreq(hex("FE FE 58 E0 04 FD FE FE E0 58 04 00 01 FD 00 00 00"), 0x58));
}

TEST(CatDecoders, Ft1000mpDialClarifierAndMode) {
    // 0x01578270 = 22,512,240 steps of 0.625 Hz.
    const auto r = rig::decodeFt1000mp(yaesuStatus(16, 0x01578270, 0, 1, 9, false), QStringLiteral("PSK31"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dialHz, 14070150);
    EXPECT_EQ(r->modeText, QStringLiteral("USB"));
    EXPECT_EQ(r->clarifierSteps, 0);

    // A clarifier of -100 Hz is -160 counts: a signed number, added when switched on.
    const auto clar =
        rig::decodeFt1000mp(yaesuStatus(16, 0x01578270, 0xFF60, 0, 9, true), QStringLiteral("PSK31"));
    ASSERT_TRUE(clar);
    EXPECT_EQ(clar->clarifierSteps, -10);
    EXPECT_EQ(clar->dialHz, 14070050);
    const auto clarOff =
        rig::decodeFt1000mp(yaesuStatus(16, 0x01578270, 0xFF60, 0, 9, false), QStringLiteral("PSK31"));
    EXPECT_EQ(clarOff->dialHz, 14070150);

    const struct {
        uchar mode;
        std::optional<QString> text;
    } modes[] = {{0, "LSB"}, {2, "CW"},        {3, "AM"},         {4, "FM"},           {5, "RTTY"},
                 {6, "PKT"}, {0x80, "BPSK31"}, {7, std::nullopt}, {0x81, std::nullopt}};
    for (const auto& m : modes) {
        const auto x =
            rig::decodeFt1000mp(yaesuStatus(16, 0x01578270, 0, m.mode, 9, false), QStringLiteral("BPSK31"));
        ASSERT_TRUE(x);
        EXPECT_EQ(x->modeText, m.text) << int(m.mode);
    }
}

// A clarifier switched on that would take the dial below 0 Hz: a garbled reply.
TEST(CatDecoders, YaesuClarifierBelowZeroGivesNothing) {
    const struct {
        quint32 count;
        quint16 clar;
        bool clarOn;
        bool read;
    } cases[] = {
        {0, 0xC2C2, true, false},  {0xFE, 0xFE40, true, false}, {0, 0xC2C2, false, true},
        {160, 0xFF60, true, true}, {144, 0xFF60, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rig::decodeFt1000mp(yaesuStatus(16, c.count, c.clar, 0, 9, c.clarOn), {}).has_value(),
                  c.read)
            << c.count << " " << c.clar;
        EXPECT_EQ(rig::decodeFt920(yaesuStatus(28, c.count, c.clar, 0, 8, c.clarOn)).has_value(), c.read)
            << c.count << " " << c.clar;
    }
}

TEST(CatDecoders, Ft1000mpClarifierRoundsHalvesToEven) {
    // 8 counts = 0.5 step -> 0; 24 counts = 1.5 steps -> 2.
    EXPECT_EQ(rig::decodeFt1000mp(yaesuStatus(16, 0, 8, 0, 9, false), {})->clarifierSteps, 0);
    EXPECT_EQ(rig::decodeFt1000mp(yaesuStatus(16, 0, 24, 0, 9, false), {})->clarifierSteps, 2);
    EXPECT_EQ(rig::decodeFt1000mp(yaesuStatus(16, 0, quint16(-24), 0, 9, false), {})->clarifierSteps, -2);
}

TEST(CatDecoders, Ft920ModesAndClarifierFlag) {
    const struct {
        uchar mode;
        std::optional<QString> text;
    } modes[] = {{0, "LSB"}, {128, "LSB"}, {64, "USB"}, {192, "USB"},   {1, "CW"},        {2, "AM"},
                 {3, "FM"},  {4, "LSB"},   {5, "USB"},  {6, "DATA-FM"}, {134, "DATA-FM"}, {7, std::nullopt}};
    for (const auto& m : modes) {
        const auto r = rig::decodeFt920(yaesuStatus(28, 0x01578270, 0, m.mode, 8, false));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->modeText, m.text) << int(m.mode);
        EXPECT_EQ(r->dialHz, 14070150);
    }
    EXPECT_EQ(rig::decodeFt920(yaesuStatus(28, 0x01578270, 160, 0, 8, true))->dialHz, 14070250);
}

TEST(CatDecoders, Ft847AndFt817) {
    const auto r847 = rig::decodeFt847(hex("01 40 70 15 01"));
    ASSERT_TRUE(r847);
    EXPECT_EQ(r847->dialHz, 14070150);
    EXPECT_EQ(r847->modeText, QStringLiteral("USB"));
    EXPECT_EQ(rig::decodeFt847(hex("01 40 70 15 00"))->modeText, QStringLiteral("LSB"));
    EXPECT_EQ(rig::decodeFt847(hex("01 40 70 15 82"))->modeText, QStringLiteral("OTR"));

    const struct {
        uchar mode;
        std::optional<QString> text;
    } modes[] = {{0, "LSB"}, {1, "USB"},  {2, "CW"},   {3, "CW-R"},       {4, "AM"},           {6, "WFM"},
                 {8, "FM"},  {10, "DIG"}, {12, "PKT"}, {5, std::nullopt}, {0x88, std::nullopt}};
    for (const auto& m : modes) {
        QByteArray reply = hex("00 70 35 00 00");
        reply[4] = char(m.mode);
        const auto r = rig::decodeFt817(reply);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->dialHz, 7035000);
        EXPECT_EQ(r->modeText, m.text) << int(m.mode);
    }
    EXPECT_FALSE(rig::decodeFt817(hex("00 7A 35 00 00")));
    EXPECT_FALSE(rig::decodeFt847(hex("01 40 70 15")));
}

TEST(CatDecoders, Ft767ReadsOnlyWholeReplies) {
    QByteArray reply(86, 0);
    reply[84] = 0x01;
    reply[83] = 0x40;
    reply[82] = 0x70;
    reply[81] = 0x15;
    reply[79] = char(0x82);
    const auto r = rig::decodeFt767(reply);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dialHz, 14070150);
    EXPECT_EQ(r->modeText, QStringLiteral("CW"));
    reply[79] = char(0xFD); // 5 after the flag bits
    EXPECT_EQ(rig::decodeFt767(reply)->modeText, QStringLiteral("FSK"));
    reply[79] = char(0x06);
    EXPECT_FALSE(rig::decodeFt767(reply)->modeText);
    EXPECT_FALSE(rig::decodeFt767(reply.left(85)));
    EXPECT_FALSE(rig::decodeFt767(reply + '\0'));
}

TEST(CatDecoders, Jst245) {
    const struct {
        const char* reply;
        std::optional<QString> mode;
    } rows[] = {{"I10A14070150\r", "RTTY"},      {"I11A14070150\r", "CW"}, {"I12A14070150\r", "USB"},
                {"I13A14070150\r", "LSB"},       {"I14A14070150\r", "AM"}, {"I15A14070150\r", "FM"},
                {"I18A14070150\r", std::nullopt}};
    for (const auto& row : rows) {
        const auto r = rig::decodeJst245(QString::fromLatin1(row.reply));
        ASSERT_TRUE(r) << row.reply;
        EXPECT_EQ(r->dialHz, 14070150);
        EXPECT_EQ(r->modeText, row.mode) << row.reply;
    }
    EXPECT_FALSE(rig::decodeJst245(QStringLiteral("I12A1407O150\r")));
    EXPECT_FALSE(rig::decodeJst245(QStringLiteral("I12A140701")));
}

QString kenwoodIf(const char* freq11, const char* rit5, char ritOn, char mode) {
    return QStringLiteral("IF%1     %2").arg(QLatin1String(freq11), QLatin1String(rit5)) + QLatin1Char('0') +
           QLatin1Char(ritOn) + QStringLiteral("000") + QLatin1Char('0') + QLatin1Char(mode) +
           QStringLiteral("0000000;");
}

TEST(CatDecoders, KenwoodIfReply) {
    const QString usbRit = kenwoodIf("00014070000", "+0100", '1', '2');
    ASSERT_EQ(usbRit.size(), 38);
    const auto r = rig::decodeKenwood(usbRit);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dialHz, 14070000);
    EXPECT_EQ(r->clarifierSteps, 100);
    EXPECT_EQ(r->modeText, QStringLiteral("USB"));

    EXPECT_EQ(rig::decodeKenwood(kenwoodIf("00007035000", "-0250", '1', '1'))->clarifierSteps, -250);
    EXPECT_EQ(rig::decodeKenwood(kenwoodIf("00007035000", "-0250", '0', '1'))->clarifierSteps, 0);
    EXPECT_EQ(rig::decodeKenwood(kenwoodIf("00007035000", "+0000", '0', '1'))->modeText,
              QStringLiteral("LSB"));
    EXPECT_EQ(rig::decodeKenwood(kenwoodIf("00007035000", "+0000", '0', '3'))->modeText,
              QStringLiteral("OTR"));
    EXPECT_FALSE(rig::decodeKenwood(kenwoodIf("0000703500X", "+0000", '0', '1')));
    EXPECT_FALSE(rig::decodeKenwood(QStringLiteral("FA00007035000;")));
    EXPECT_FALSE(rig::decodeKenwood(usbRit.left(29)));
}

// Longer than a 64-bit count holds: nothing, rather than a wrapped number.
TEST(CatDecoders, BcdValues) {
    const struct {
        const char* bytes;
        std::optional<qint64> value;
    } cases[] = {
        {"", 0},
        {"14 07 01 50", 14070150},
        {"00 00 07 14 00", 71400},
        {"1A", std::nullopt},
        {"99 99 99 99 99 99 99 99 99", 999999999999999999},
        {"01 00 00 00 00 00 00 00 00 00", std::nullopt},
        {"31 49 46 30 30 30 31 34 30 06 49 46", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rig::bcdValue(hex(c.bytes)), c.value) << c.bytes;
}

// Random streams and every cut of a good reply: nothing crashes, nothing
// decodes a shortened fixed-layout reply, and no dial is ever negative.
TEST(CatDecoders, RandomAndTruncatedStreams) {
    std::mt19937 rng(7031);
    const QByteArray goodReplies[] = {
        icomEcho() + hex("FE FE E0 58 03 50 01 07 14 00 FD"),
        hex("FE FE 58 E0 04 FD FE FE E0 58 04 01 01 FD"),
        yaesuStatus(16, 0x01578270, 0xFF60, 0, 9, true),
        yaesuStatus(28, 0x01578270, 0, 64, 8, false),
        hex("01 40 70 15 01"),
        kenwoodIf("00014070000", "+0100", '1', '2').toLatin1(),
        QByteArray("I12A14070150\r"),
    };
    auto all = [](const QByteArray& b) {
        const QString text = QString::fromLatin1(b);
        return std::array<std::optional<rig::CatReading>, 9>{rig::decodeFt1000mp(b, QStringLiteral("PSK31")),
                                                             rig::decodeFt920(b),
                                                             rig::decodeFt847(b),
                                                             rig::decodeFt817(b),
                                                             rig::decodeFt767(b),
                                                             rig::decodeJst245(text),
                                                             rig::decodeKenwood(text),
                                                             rig::decodeIcomMode(b, 0x58),
                                                             rig::decodeIcomFreq(b, 0x58)};
    };
    auto check = [](const auto& readings) {
        for (const auto& r : readings) {
            if (r && r->dialHz) {
                EXPECT_GE(*r->dialHz, 0);
            }
        }
    };
    for (int i = 0; i < 4000; ++i) {
        QByteArray b(int(rng() % 100), 0);
        for (char& c : b)
            c = char(rng());
        check(all(b));
    }
    for (const QByteArray& good : goodReplies)
        for (int len = 0; len <= good.size(); ++len)
            check(all(good.left(len)));

    EXPECT_FALSE(rig::decodeIcomFreq(goodReplies[0].left(16), 0x58));
    EXPECT_FALSE(rig::decodeIcomMode(goodReplies[1].left(13), 0x58));
    EXPECT_FALSE(rig::decodeFt1000mp(goodReplies[2].left(9), {}));
    EXPECT_FALSE(rig::decodeFt920(goodReplies[3].left(8)));
    EXPECT_FALSE(rig::decodeFt847(goodReplies[4].left(4)));
}

} // namespace
