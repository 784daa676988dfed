// The achievement file and the earlier-QSO list's rows and column widths.
#include "log/EarlierQsos.h"
#include "log/JcaFile.h"
#include "platform/os/Cp932.h"

#include <gtest/gtest.h>

namespace {

QByteArray sjis(const char* utf8) {
    return cp932::encode(QString::fromUtf8(utf8));
}

TEST(JcaFile, StateOfASuffix) {
    const QByteArray file = sjis("\"ABC\",\"2024/01/02\",\"x\",\"未\"\r\n"
                                 "DEF,2024/02/03,x,済\r\n"
                                 "GHI,,x,\r\n"
                                 "JKL,2024\r\n"
                                 "\r\n"
                                 "\"M,N\",1,2,3\r\n") +
                            QByteArray("\x81\xFF\xFE,1,2,3\r\nXYZ,1,2,\x82\xA0\r\n");
    const struct {
        const char* suffix;
        int state;
    } cases[] = {{"ABC", 2}, {"DEF", 3}, {"GHI", 1}, {"JKL", 0}, {"M,N", 3}, {"XYZ", 3}, {"abc", 0}, {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(logbook::jcaStateOf(file, QString::fromLatin1(c.suffix)), c.state) << c.suffix;
}

TEST(JcaFile, FieldsLoseQuotesAndBlanks) {
    EXPECT_EQ(logbook::jcaFields(" A , \" B \",,C\r"),
              (QStringList{QStringLiteral("A"), QStringLiteral(" B "), QString(), QStringLiteral("C")}));
    EXPECT_EQ(logbook::jcaFields(""), QStringList{QString()});
}

TEST(EarlierQsos, ColumnWidthsFallBackToTheirDefaults) {
    std::array<std::optional<QString>, logbook::kQsoColumns> stored{};
    auto widths = logbook::qsoColumnWidths(stored);
    EXPECT_EQ(widths[0], 815);
    EXPECT_EQ(widths[12], 1920);
    EXPECT_EQ(widths[18], 0);
    for (int n = 0; n < logbook::kQsoColumns; ++n)
        stored[n] = QString::number(100 + n);
    stored[2] = QStringLiteral("500");
    stored[5] = QStringLiteral("-3");
    stored[6] = QStringLiteral("abc");
    stored[7].reset();
    widths = logbook::qsoColumnWidths(stored);
    EXPECT_EQ(widths[0], 100);
    EXPECT_EQ(widths[2], 0) << "the empty column stays hidden";
    EXPECT_EQ(widths[5], 405);
    EXPECT_EQ(widths[6], 405);
    EXPECT_EQ(widths[7], 480);
    EXPECT_EQ(widths[18], 118) << "the record number takes its stored width";
    stored[0].reset();
    EXPECT_EQ(logbook::qsoColumnWidths(stored)[1], 1290) << "without COLWIDTH0 no stored width counts";
}

TEST(EarlierQsos, OneRowPerListedQso) {
    hamlog::QsoRecord r;
    r.CALL = QStringLiteral("QQ1AAA").leftJustified(20) + QChar(0);
    r.DATE = QStringLiteral("24-05-03");
    r.TIME = QStringLiteral("10:15J");
    r.HIS = QStringLiteral(" 599 ");
    r.MY = QStringLiteral("579");
    r.FREQ = QStringLiteral("7");
    r.MODE = QStringLiteral("PSK31");
    r.CODE = QStringLiteral("1002  ");
    r.GL = QStringLiteral("PM95  ");
    r.QSL = QStringLiteral("J*");
    r.NAME = QStringLiteral(" 太郎 ");
    r.QTH = QStringLiteral("東京都八王子市");
    r.REM1 = QStringLiteral("rem1 ");
    const QStringList row = logbook::earlierQsoRow(r, 3, 1234);
    const QStringList expected = {
        " 03",   "QQ1AAA", "",       "2024-05-03", "10:15J",         "599", "579", "7",
        "PSK31", "1002  ", "PM95  ", "太郎",       "東京都八王子市", "J",   "*",   " ",
        "rem1",  "",       "1234"};
    EXPECT_EQ(row, expected);
    EXPECT_EQ(logbook::qsoRowNumber(100), QStringLiteral(" 100"));
}

TEST(EarlierQsos, DatesAndTheSameStation) {
    const std::pair<const char*, const char*> dates[] = {
        {"24-05-03", "2024-05-03"}, {"99-12-31", "1999-12-31"}, {"29-01-01", "2029-01-01"},
        {"24-13-01", "24-13-01"},   {"junk", "junk"},           {"", ""},
    };
    for (const auto& [stored, shown] : dates)
        EXPECT_EQ(logbook::logDateText(QString::fromLatin1(stored)), QString::fromLatin1(shown));
    EXPECT_TRUE(logbook::isSameStation(QStringLiteral("QX1AB   "), QStringLiteral("QX1AB")));
    EXPECT_TRUE(logbook::isSameStation(QStringLiteral("QX1AB/P"), QStringLiteral("QX1AB")));
    EXPECT_FALSE(logbook::isSameStation(QStringLiteral("QX1ABC"), QStringLiteral("QX1AB")));
    EXPECT_FALSE(logbook::isSameStation(QStringLiteral("QX1A"), QStringLiteral("QX1AB")));
}

} // namespace
