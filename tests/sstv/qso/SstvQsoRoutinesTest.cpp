// The QSO boxes' pure routines, one table per behaviour.
#include "sstv/qso/SstvQsoRoutines.h"

#include <gtest/gtest.h>

namespace {

TEST(SstvQsoRoutines, ContestNumberText) {
    const std::pair<int, const char*> cases[] = {
        {0, "000"}, {7, "007"}, {42, "042"}, {123, "123"}, {32766, "32766"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(sstv::ContestNoText(value), QLatin1String(text)) << value;
}

TEST(SstvQsoRoutines, RsvListAndDroppedCall) {
    EXPECT_EQ(sstv::RsvEntries(QByteArray("595\r\n5999\r\n   \r\n 57 \r\n\r\n5 9 5\r\n")),
              (QStringList{QStringLiteral("595"), QStringLiteral("599"), QStringLiteral("57"),
                           QStringLiteral("5 9")}));
    EXPECT_TRUE(sstv::RsvEntries(QByteArray()).isEmpty());
    struct Case {
        const char* dropped;
        const char* call;
    } cases[] = {
        {"  qx1abc\t\r\n", "qx1abc"},
        {"QX1\x01"
         "ABC",
         "QX1ABC"},
        {"QX1ABCDEFGHIJKLMNOPQRSTUVWXYZ", "QX1ABCDEFGHIJKLMNOPQ"},
        // Cut at a blank, the blank goes too.
        {"QX1ABC de QX2DEF and more", "QX1ABC de QX2DEF and"},
        {"QX1ABC de QX2DEF ab more", "QX1ABC de QX2DEF ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sstv::DroppedCall(QString::fromLatin1(c.dropped)), QLatin1String(c.call)) << c.dropped;
}

} // namespace
