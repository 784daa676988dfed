// The text editor's plain rules as tables: favourite entries, sizes, outline
// choices, the gradient bars' running colour, the marker's margins and the
// two list files.
#include "sstv/overlay/SstvFonts.h"
#include "platform/os/Cp932.h"
#include "sstv/workshop/SstvTitlePlacing.h"
#include "support/ProgramFolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using zvtest::ProgramFolderTest;

TEST(SstvFonts, FavouriteEntriesJoinAndSplitTheFiveFields) {
    EXPECT_EQ(sstv::FavouriteEntry(sstv::TitleFont{}),
              QStringLiteral("ＭＳ Ｐゴシック  12  16777215  False  False"));
    struct Row {
        const char* entry;
        bool parsed;
        const char* name;
        const char* size;
        const char* colour;
        const char* bold;
        const char* italic;
    };
    const Row rows[] = {
        {"Noto Sans CJK JP  10.5  255  True  True", true, "Noto Sans CJK JP", "10.5", "255", "True", "True"},
        {"A B  20  0  true  yes", true, "A B", "20", "0", "False", "False"},
        {"Mono  x  65280  False  True", true, "Mono", "x", "65280", "False", "True"},
        {"Mono  12  255  True", false, "", "", "", "", ""},
        {"Mono 12 255 True False", false, "", "", "", "", ""},
        {"", false, "", "", "", "", ""},
    };
    for (const Row& r : rows) {
        const auto font = sstv::ParseFavourite(QString::fromUtf8(r.entry));
        ASSERT_EQ(font.has_value(), r.parsed) << r.entry;
        if (!font) continue;
        EXPECT_EQ(font->name, QString::fromUtf8(r.name)) << r.entry;
        EXPECT_EQ(font->size, QString::fromUtf8(r.size)) << r.entry;
        EXPECT_EQ(font->color, QString::fromUtf8(r.colour)) << r.entry;
        EXPECT_EQ(font->bold, QString::fromUtf8(r.bold)) << r.entry;
        EXPECT_EQ(font->italic, QString::fromUtf8(r.italic)) << r.entry;
    }
    const QStringList list{QStringLiteral("Mono  12  255  True  False")};
    EXPECT_TRUE(sstv::HoldsFavourite(list, QStringLiteral("12  255")));
    EXPECT_FALSE(sstv::HoldsFavourite(list, QStringLiteral("mono  12")));
    EXPECT_FALSE(sstv::HoldsFavourite({}, QStringLiteral("Mono")));
}

TEST(SstvFonts, SizesAsStoredReadAndRounded) {
    EXPECT_EQ(sstv::FontSizeText(12), QStringLiteral("12"));
    EXPECT_EQ(sstv::FontSizeText(10.5), QStringLiteral("10.5"));
    const std::pair<const char*, double> values[] = {{"12", 12},  {"10.5", 10.5}, {" 9pt", 9},
                                                     {"big", 12}, {"", 12},       {".5", 0.5}};
    for (const auto& [text, value] : values)
        EXPECT_DOUBLE_EQ(sstv::FontSizeValue(QString::fromLatin1(text)), value) << text;
    const std::pair<double, int> rounded[] = {{10.5, 10}, {11.5, 12}, {12.4, 12}, {0.5, 0}};
    for (const auto& [points, whole] : rounded)
        EXPECT_EQ(sstv::RoundedSize(points), whole) << points;
}

TEST(SstvFonts, OutlineChoicesGiveTheirColourAndSwitch) {
    const std::tuple<int, std::uint32_t, int> rows[] = {{0, 16777215, 0}, {1, 0, 1},    {10, 16711680, 1},
                                                        {11, 65280, 1},   {13, 255, 1}, {15, 65535, 1},
                                                        {16, 16777215, 1}};
    for (const auto& [index, colour, on] : rows) {
        const auto row = sstv::OutlineFor(index);
        ASSERT_TRUE(row) << index;
        EXPECT_EQ(row->colour, colour) << index;
        EXPECT_EQ(row->on, on) << index;
    }
    for (int other : {2, 9, 12, 14, 17, -1})
        EXPECT_FALSE(sstv::OutlineFor(other)) << other;
}

TEST(SstvFonts, ChoosingTheRunningColourKeepsTheOtherBars) {
    sstv::GradientBars bars; // 155, 255, 255 with blue running
    bars = sstv::ChooseRunning(bars, 0);
    EXPECT_EQ(bars.value, (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(bars.kept[0], 155);
    EXPECT_EQ(bars.enabled, (std::array<bool, 3>{false, true, true}));
    bars.value[1] = 100; // the operator moves green
    bars = sstv::ChooseRunning(bars, 1);
    EXPECT_EQ(bars.value, (std::array<int, 3>{155, 255, 255})) << "red gets back what it had";
    EXPECT_EQ(bars.running, 1);
    EXPECT_EQ(sstv::GradientLabels(bars), (std::array<QString, 3>{"155", "変", "255"}));
    bars = sstv::ChooseRunning(bars, 0);
    EXPECT_EQ(bars.value, (std::array<int, 3>{255, 100, 255})) << "green gets back what it had";
    const sstv::GradientBars same = sstv::ChooseRunning(bars, 3);
    EXPECT_EQ(same.value, bars.value);
}

TEST(SstvFonts, TheMarkerFollowsOnlyInsideTheMargins) {
    const std::tuple<double, double, bool> rows[] = {{6, 6, true},      {5, 100, false},
                                                     {100, 5, false},   {314.9, 250.9, true},
                                                     {315, 100, false}, {100, 251, false}};
    for (const auto& [x, y, inside] : rows)
        EXPECT_EQ(sstv::InsideMarkerMargins(x, y), inside) << x << "," << y;
    EXPECT_EQ(sstv::MarkerPlace(100.4, 50.6), QPoint(84, 35));
}

TEST_F(ProgramFolderTest, ListFilesReadShiftJisAndDropBlankLines) {
    QByteArray bytes = cp932::encode(QStringLiteral("de %m\r\n\r\n   \r\n日本語\r\nbad "));
    bytes += QByteArray("\x82\r\nlast");
    writeFile(QStringLiteral("MACmenu.DAT"), bytes);
    const auto lines = sstv::ReadListFile(path(QStringLiteral("MACmenu.DAT")), false);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 5);
    EXPECT_EQ(lines->at(1), QStringLiteral("   ")) << "a line of blanks is not empty";
    EXPECT_EQ(lines->at(2), QStringLiteral("日本語"));
    EXPECT_TRUE(lines->at(3).startsWith(QStringLiteral("bad ")));
    EXPECT_EQ(lines->at(4), QStringLiteral("last"));
    const auto trimmed = sstv::ReadListFile(path(QStringLiteral("MACmenu.DAT")), true);
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->size(), 4);
    EXPECT_FALSE(sstv::ReadListFile(path(QStringLiteral("none.DAT")), false));

    ASSERT_TRUE(sstv::WriteListFile(path(QStringLiteral("Font.DAT")),
                                    {QStringLiteral("ＭＳ  12"), QStringLiteral("b")}));
    QFile written(path(QStringLiteral("Font.DAT")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), cp932::encode(QStringLiteral("ＭＳ  12\r\nb\r\n")));
}

} // namespace
