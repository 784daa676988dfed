// The arithmetic of the transmit picture as tables: gradient, rendering
// geometry, the inset's handles and resizing, borders, title prints and the
// operator's file names and numbers.
#include "sstv/workshop/SstvCompose.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

TEST(SstvGradient, StripsRoundHalfToEvenAndCoverTheWidth) {
    const auto strips = sstv::GradientStrips(155, 255, 255, 2);
    ASSERT_EQ(strips.size(), 256u);
    const std::pair<int, int> first[] = {{0, 1}, {1, 2}, {2, 4}, {4, 5}, {5, 6}, {6, 8}};
    for (std::size_t i = 0; i < std::size(first); ++i) {
        EXPECT_EQ(strips[i].left, first[i].first) << i;
        EXPECT_EQ(strips[i].right, first[i].second) << i;
    }
    int narrow = 0, wide = 0;
    for (std::size_t i = 0; i < strips.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(strips[i].left, strips[i - 1].right) << "no gap before " << i;
        }
        (strips[i].right - strips[i].left == 1 ? narrow : wide) += 1;
    }
    EXPECT_EQ(narrow, 192);
    EXPECT_EQ(wide, 64);
    EXPECT_EQ(strips.back().right, 320);
}

TEST(SstvGradient, ColoursByChannel) {
    struct Case {
        int r, g, b, channel;
        QColor first, last;
    };
    const Case cases[] = {
        {155, 255, 255, 2, QColor(155, 255, 255), QColor(155, 255, 0)},
        {255, 10, 20, 0, QColor(255, 10, 20), QColor(0, 10, 20)},
        {1, 255, 2, 1, QColor(1, 255, 2), QColor(1, 0, 2)},
        // Below 0 the fading component stays 0.
        {155, 255, 100, 2, QColor(155, 255, 100), QColor(155, 255, 0)},
    };
    for (const Case& c : cases) {
        const auto strips = sstv::GradientStrips(c.r, c.g, c.b, c.channel);
        ASSERT_EQ(strips.size(), 256u);
        EXPECT_EQ(strips.front().colour, c.first) << c.channel;
        EXPECT_EQ(strips.back().colour, c.last) << c.channel;
    }
    EXPECT_EQ(sstv::GradientStrips(155, 255, 100, 2)[101].colour, QColor(155, 255, 0));
    EXPECT_TRUE(sstv::GradientStrips(1, 2, 3, 3).empty());
    EXPECT_TRUE(sstv::GradientStrips(1, 2, 3, -1).empty());
}

TEST(SstvGradient, PaintedOnlyWithinTheBox) {
    QImage bar(320, 30, QImage::Format_RGB32);
    bar.fill(Qt::black);
    sstv::PaintGradient(bar, 155, 255, 255, 2);
    EXPECT_EQ(QColor(bar.pixel(0, 0)), QColor(155, 255, 255));
    EXPECT_EQ(QColor(bar.pixel(0, 29)), QColor(155, 255, 255));
    EXPECT_EQ(QColor(bar.pixel(319, 0)), QColor(155, 255, 0));
    QImage untouched = bar;
    untouched.fill(Qt::black);
    sstv::PaintGradient(untouched, 1, 2, 3, 7);
    EXPECT_EQ(QColor(untouched.pixel(100, 10)), QColor(Qt::black));
}

TEST(SstvGeometry, TheTwoHundredFortyLineTable) {
    struct Case {
        int lines, squeeze;
        sstv::TxGeometry want;
    };
    const Case cases[] = {
        {240, 0, {240, 240, 240, 256, true}},  {240, 1, {256, 256, 240, 240, false}},
        {256, 0, {256, 256, 256, 256, false}}, {256, 1, {256, 256, 256, 256, false}},
        {496, 0, {256, 256, 256, 496, false}}, {616, 1, {256, 256, 256, 616, false}},
    };
    for (const Case& c : cases) {
        const sstv::TxGeometry got = sstv::GeometryFor(c.lines, c.squeeze);
        EXPECT_EQ(got.renderHeight, c.want.renderHeight) << c.lines << "/" << c.squeeze;
        EXPECT_EQ(got.sourceBottom, c.want.sourceBottom) << c.lines << "/" << c.squeeze;
        EXPECT_EQ(got.drawnBottom, c.want.drawnBottom) << c.lines << "/" << c.squeeze;
        EXPECT_EQ(got.progressScale, c.want.progressScale) << c.lines << "/" << c.squeeze;
        EXPECT_EQ(got.markerShown, c.want.markerShown) << c.lines << "/" << c.squeeze;
    }
    EXPECT_EQ(sstv::DropTarget(320, 240), QSize(320, 240));
    EXPECT_EQ(sstv::DropTarget(640, 496), QSize(320, 256));
    EXPECT_EQ(sstv::DropTarget(160, 120), QSize(160, 120));
}

TEST(SstvInset, HandlesAroundTheCorners) {
    const QRect inset(60, 50, 160, 128); // right 220, bottom 178
    struct Case {
        QPointF at;
        sstv::InsetHandle want;
    };
    const Case cases[] = {
        {{225, 183}, sstv::LowerRight},  {{211, 169}, sstv::LowerRight}, {{229.9, 187.9}, sstv::LowerRight},
        {{230, 183}, sstv::NoHandle},    {{210, 183}, sstv::NoHandle},   {{225, 45}, sstv::UpperRight},
        {{225, 40.5}, sstv::UpperRight}, {{225, 50}, sstv::NoHandle},    {{225, 40}, sstv::NoHandle},
        {{100, 100}, sstv::NoHandle},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sstv::HandleAt(inset, c.at), c.want) << c.at.x() << "," << c.at.y();
}

TEST(SstvInset, ResizingKeepsTheRatioAndTheEdges) {
    const QRect inset(60, 50, 160, 128);
    const sstv::ResizeStart start{225, 160, 128, 50};
    struct Case {
        sstv::InsetHandle handle;
        double pointerX;
        QRect want;
    };
    const Case cases[] = {
        {sstv::LowerRight, 265, QRect(60, 50, 200, 160)},
        {sstv::UpperRight, 265, QRect(60, 18, 200, 160)},
        {sstv::LowerRight, 185, QRect(60, 50, 120, 96)},
        // Never narrower than 8 pixels nor past the canvas's right edge.
        {sstv::LowerRight, 0, QRect(60, 50, 8, 6)},
        {sstv::LowerRight, 900, QRect(60, 50, 260, 208)},
        {sstv::NoHandle, 265, inset},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sstv::ResizedInset(inset, start, c.handle, c.pointerX), c.want) << c.pointerX;
    const sstv::ResizeStart zero{225, 0, 128, 50};
    EXPECT_EQ(sstv::ResizedInset(inset, zero, sstv::LowerRight, 265), inset);
    EXPECT_EQ(sstv::BorderAround(QRect(60, 50, 200, 160)), QRect(57, 47, 206, 166));
}

TEST(SstvInset, BorderChoices) {
    struct Case {
        int option;
        unsigned colour;
        int on;
    };
    const Case cases[] = {{0, 0xFFFFFF, 0},  {1, 0x000000, 1},  {10, 0xFF0000, 1}, {11, 0x00FF00, 1},
                          {13, 0x0000FF, 1}, {15, 0x00FFFF, 1}, {16, 0xFFFFFF, 1}};
    for (const Case& c : cases) {
        const auto got = sstv::BorderFor(c.option);
        ASSERT_TRUE(got) << c.option;
        EXPECT_EQ(got->colour, c.colour) << c.option;
        EXPECT_EQ(got->on, c.on) << c.option;
    }
    for (int other : {-1, 2, 9, 12, 14, 17})
        EXPECT_FALSE(sstv::BorderFor(other)) << other;
}

TEST(SstvTitlePrint, OutlineFourTimesThenTheTextWithoutLineFeeds) {
    const sstv::TitleLine plain{QPointF(10, 20), QFont(), QColor(Qt::white), QStringLiteral("QX1ABC\nde"), 0};
    const auto once = sstv::TitlePrints(plain, 1.33, 1.33);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(once[0].text, QStringLiteral("QX1ABCde"));
    EXPECT_EQ(once[0].pos, QPointF(10, 20));
    EXPECT_EQ(once[0].colour, QColor(Qt::white));

    sstv::TitleLine outlined = plain;
    outlined.outline = 13; // red
    const auto five = sstv::TitlePrints(outlined, 1.5, 2);
    ASSERT_EQ(five.size(), 5u);
    const QPointF places[] = {{8.5, 20}, {11.5, 20}, {10, 18}, {10, 22}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(five[std::size_t(i)].pos, places[i]) << i;
        EXPECT_EQ(five[std::size_t(i)].colour, QColor(255, 0, 0)) << i;
        EXPECT_EQ(five[std::size_t(i)].text, QStringLiteral("QX1ABC\nde")) << "outline keeps the line feed";
    }
    EXPECT_EQ(five[4].text, QStringLiteral("QX1ABCde"));
    EXPECT_EQ(five[4].colour, QColor(Qt::white));
    const std::pair<int, QColor> palette[] = {{1, QColor(0, 0, 0)},
                                              {10, QColor(0, 0, 255)},
                                              {11, QColor(0, 255, 0)},
                                              {15, QColor(255, 255, 0)},
                                              {16, QColor(255, 255, 255)}};
    for (const auto& [choice, c] : palette)
        EXPECT_EQ(sstv::PaletteColour(choice - 1), c) << choice;
}

TEST(SstvOperatorInput, DroppedFilesSaveNamesAndToneFrequencies) {
    EXPECT_FALSE(sstv::DroppedFile({}));
    EXPECT_EQ(sstv::DroppedFile({QStringLiteral("/a.bmp"), QStringLiteral("/b.gif")}),
              QStringLiteral("/b.gif"));
    const std::pair<const char*, bool> names[] = {
        {"/p/a.BMP", true},  {"/p/a.bmp", true},  {"/p/a.Jpg", true},  {"/p/a.jpeg", true},
        {"/p/a.JPEG", true}, {"/p/a.gif", false}, {"/p/a.png", false}, {"/p/bmp.txt", false}};
    for (const auto& [name, ok] : names)
        EXPECT_EQ(sstv::IsPictureName(QString::fromLatin1(name)), ok) << name;

    EXPECT_EQ(sstv::WithBmpExtension(QStringLiteral("/p/pic")), QStringLiteral("/p/pic.bmp"));
    EXPECT_EQ(sstv::WithBmpExtension(QStringLiteral("/p/pic.BMP")), QStringLiteral("/p/pic.BMP"));
    EXPECT_EQ(sstv::WithBmpExtension(QString()), QString());

    const std::pair<const char*, int> tones[] = {{"500", 500}, {"2300", 2300}, {" 1750 ", 1750}, {"499", 0},
                                                 {"2301", 0},  {"abc", 0},     {"", 0},          {"17.5", 0}};
    for (const auto& [text, hz] : tones)
        EXPECT_EQ(sstv::ToneHz(QString::fromLatin1(text)).value_or(0), hz) << text;
}

} // namespace
