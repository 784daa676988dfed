// The SSTV module's pure routines, one table per behaviour: option words as
// binary digits, the size word, the history ring and picture file names.
#include "sstv/window/SstvRoutines.h"

#include <gtest/gtest.h>

namespace {

using namespace sstv;

TEST(SstvRoutines, BitStringsBothWays) {
    struct Case {
        std::int64_t value;
        int width;
        const char* bits;
    } cases[] = {
        {5, 8, "00000101"},
        {0, 1, "0"},
        {0, 4, "0000"},
        {1, 30, "000000000000000000000000000001"},
        {128 + 1, 30, "000000000000000000000010000001"},
        {(256 << 16) | 240, 32, "00000001000000000000000011110000"},
        {0x3FFFFFFF, 30, "111111111111111111111111111111"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntToBitString(c.value, c.width), QLatin1String(c.bits)) << c.value;
        EXPECT_EQ(BitStringToInt(c.width, QLatin1String(c.bits)), c.value) << c.bits;
    }
    // Other characters and positions beyond the text count 0.
    EXPECT_EQ(BitStringToInt(4, QStringLiteral("1x1")), 8 + 2);
    EXPECT_EQ(BitStringToInt(8, QString()), 0);
    EXPECT_EQ(IntToBitString(-1, 32), QString(32, QLatin1Char('1')));
}

TEST(SstvRoutines, DigitsReplacedInPlace) {
    const QString word = IntToBitString(0, 30);
    EXPECT_EQ(BitStringToInt(30, SetDigits(word, 30, QStringLiteral("1"))), 1);
    EXPECT_EQ(BitStringToInt(30, SetDigits(word, 23, QStringLiteral("1"))), 128);
    EXPECT_EQ(BitStringToInt(30, SetDigits(word, 1, QStringLiteral("11"))), 3 << 28);
    EXPECT_EQ(SetDigits(QStringLiteral("1111"), 2, QStringLiteral("00")), QStringLiteral("1001"));
}

TEST(SstvRoutines, SizeWord) {
    struct Case {
        std::int32_t word;
        int width, height;
    } cases[] = {{(256 << 16) | 320, 320, 256},
                 {(240 << 16) | 320, 320, 240},
                 {(256 << 16) | 240, 240, 256},
                 {(616 << 16) | 800, 800, 616},
                 {0, 0, 0}};
    for (const Case& c : cases) {
        const PictureSize s = SizeFromWord(c.word);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
    }
}

TEST(SstvRoutines, HistoryRing) {
    struct Case {
        int in, next, wrapped;
        const char* file;
    } cases[] = {{1, 2, 1, "Hist_001.bmp"},     {5, 6, 5, "Hist_005.bmp"},   {319, 320, 319, "Hist_319.bmp"},
                 {320, 1, 320, "Hist_320.bmp"}, {321, 1, 1, "Hist_001.bmp"}, {0, 1, 320, "Hist_320.bmp"}};
    for (const Case& c : cases) {
        EXPECT_EQ(NextHistoryIndex(c.in), c.next) << c.in;
        EXPECT_EQ(WrapHistoryIndex(c.in), c.wrapped) << c.in;
        EXPECT_EQ(HistoryFileName(WrapHistoryIndex(c.in)), QLatin1String(c.file));
    }
}

TEST(SstvRoutines, FileNamesFromACall) {
    const QDateTime at(QDate(2025, 7, 4), QTime(8, 15, 2));
    struct Case {
        const char* call;
        const char* name;
    } cases[] = {
        {"QX1ABC", "QX1ABC_250704_081502"},    {"", "_250704_081502"},
        {"../x/1", "---x-1_250704_081502"},    {"JA1-XYZ", "JA1-XYZ_250704_081502"},
        {"a b\\c:d", "a-b-c-d_250704_081502"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReceivedPictureName(QString::fromUtf8(c.call), at), QLatin1String(c.name)) << c.call;
    EXPECT_EQ(ReceivedPictureName(QStringLiteral("Ｊ１"), at), QStringLiteral("--_250704_081502"));
    EXPECT_EQ(ReceivedPictureName(QStringLiteral("X"), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))),
              QStringLiteral("X_261231_235959"));
}

TEST(SstvRoutines, FskIdCleaned) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"QQ9ABC", "QQ9ABC"},
                 {"  QQ9ABC\r\n", "QQ9ABC"},
                 {"QQ\x01\x1F"
                  "9ABC",
                  "QQ9ABC"},
                 {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRST"},
                 {"\t\t", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(CleanFskId(QString::fromLatin1(c.in)), QLatin1String(c.out)) << c.in;
}

} // namespace
