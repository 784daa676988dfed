// The multi-channel window's layout arithmetic, its panels' texts and the word
// a click in one of its panes takes.
#include "terminal/displays/MultiChLayout.h"
#include "terminal/displays/MultiChModes.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

using namespace terminal::displays;

TEST(MultiChLayout, SideBySideTheSecondHeaderFollowsHalfTheWidening) {
    MultiChLayout base{9165, 3930, arranged(designPlaces(), 9165, 3930, true)};
    EXPECT_EQ(base.places[R1], (Place{0, 480, 4530, 2655}));
    EXPECT_EQ(base.places[R2].left, 4530 + 104);
    EXPECT_EQ(base.places[R2].width, 4426);
    EXPECT_EQ(base.places[L2].left, 4750);
    EXPECT_EQ(base.places[V2], (Place{5260, 120, 180, 375}));
    EXPECT_EQ(base.places[C2].left, 6550);
    EXPECT_EQ(base.places[C1], designPlaces()[C1]) << "the first header keeps its place";

    const MultiPlaces wider = resized(base, 10165, 3930, true);
    EXPECT_EQ(wider[L2].left, 4750 + 500);
    EXPECT_EQ(wider[V2].left, 5260 + 500);
    EXPECT_EQ(wider[L6].left, 5450 + 500);
    EXPECT_EQ(wider[L4].left, 6070 + 500);
    EXPECT_EQ(wider[C2].left, 6550 + 500);
    EXPECT_EQ(wider[R1].width, 5030);
    EXPECT_EQ(wider[R2].left, 5134);
    EXPECT_EQ(wider[R2].width, 4926);
    EXPECT_EQ(wider[L1], base.places[L1]);
    EXPECT_EQ(wider[R1].height, 3930 - 1275);
}

TEST(MultiChLayout, StackedTheSecondHeaderFollowsHalfTheHeightening) {
    const MultiPlaces design = designPlaces();
    MultiChLayout base{6690, 3930, arranged(design, 6690, 3930, false)};
    EXPECT_EQ(base.places[R1], (Place{0, 480, 6525, 1095}));
    EXPECT_EQ(base.places[R2], (Place{0, 2040, 6525, 1095}));
    EXPECT_EQ(base.places[L2].top, 1800);
    EXPECT_EQ(base.places[C2].left, 1920);

    struct Case {
        int W, H;
        int r1Height, r2Top, l2Top, width;
    } cases[] = {
        {6690, 4930, 1595, 2540, 2300, 6525},
        {7690, 3930, 1095, 2040, 1800, 7525},
        {6690, 3929, 1095, 2040, 1800, 6525}, // -1 / 2 is 0 toward zero
        {6690, 2930, 595, 1540, 1300, 6525},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.H);
        const MultiPlaces p = resized(base, c.W, c.H, false);
        EXPECT_EQ(p[R1].height, c.r1Height);
        EXPECT_EQ(p[R2].top, c.r2Top);
        EXPECT_EQ(p[R2].height, c.r1Height);
        EXPECT_EQ(p[L2].top, c.l2Top);
        EXPECT_EQ(p[V2].top, c.l2Top - 120);
        EXPECT_EQ(p[R1].width, c.width);
        EXPECT_EQ(p[R2].width, c.width);
        EXPECT_EQ(p[L2].left, 120);
    }
    EXPECT_EQ(arrangedSize(true), (std::pair{9165, 0}));
    EXPECT_EQ(arrangedSize(false), (std::pair{0, 3930}));
}

TEST(MultiChLayout, TheTwentyEightKeysGoAndComeBack) {
    MultiPlaces p = designPlaces();
    p[R2].top = 2222;
    p[C2].left = 3333;
    const auto keys = layoutKeys(p);
    ASSERT_EQ(keys.size(), 28);
    const char* order[] = {"R1T", "R1H", "R1L", "R1W", "R2T", "R2H", "R2L", "R2W", "L1L", "L1T",
                           "L2L", "L2T", "L3L", "L3T", "L4L", "L4T", "V1L", "V1T", "V2L", "V2T",
                           "T1L", "T1T", "T2L", "T2T", "C1L", "C1T", "C2L", "C2T"};
    QHash<QString, int> stored;
    for (int i = 0; i < 28; ++i) {
        EXPECT_EQ(keys[i].first, QString::fromLatin1(order[i]));
        stored.insert(keys[i].first, keys[i].second);
    }
    EXPECT_EQ(stored.value("R2T"), 2222);
    EXPECT_EQ(stored.value("C2L"), 3333);
    const MultiPlaces back = placesFromKeys(designPlaces(), [&](const QString& k) -> std::optional<int> {
        if (!stored.contains(k)) return std::nullopt;
        return stored.value(k);
    });
    EXPECT_EQ(back, p);
    // A key that is missing or no number keeps the design's value.
    stored.remove("C2L");
    const MultiPlaces partly = placesFromKeys(designPlaces(), [&](const QString& k) -> std::optional<int> {
        if (!stored.contains(k)) return std::nullopt;
        return stored.value(k);
    });
    EXPECT_EQ(partly[C2].left, designPlaces()[C2].left);
    EXPECT_EQ(partly[R2].top, 2222);
}

TEST(MultiChModes, PanelTextsAndModeNames) {
    struct Case {
        std::optional<QString> got;
        const char* want; // nullptr: nothing
    } cases[] = {
        {pskPanelText(1, 0), "Ch2=BPSK"},
        {pskPanelText(1, 2), "Ch2=QPSK(LSB)"},
        {pskPanelText(2, 1), "Ch3=QPSK(USB)"},
        {pskPanelText(1, 3), nullptr},
        {pskPanelText(1, -1), nullptr},
        {mmvariPanelText(1, 0, true), "ch1=GMSK(MBCS)"},
        {mmvariPanelText(1, 5, true), "ch1=RTTY-LSB"},
        {mmvariPanelText(2, 6, true), "ch2=RTTY-USB"},
        {mmvariPanelText(1, 5, false), "ch1=rtty-LSB"},
        {mmvariPanelText(2, 8, false), "ch2=mfsk-USB"},
        {mmvariPanelText(2, 4, false), "ch2=bpsk(STD)"},
        {mmvariPanelText(1, 9, false), nullptr},
    };
    for (const Case& c : cases) {
        if (!c.want) {
            EXPECT_FALSE(c.got.has_value()) << c.got.value_or(QString()).toStdString();
            continue;
        }
        ASSERT_TRUE(c.got.has_value()) << c.want;
        EXPECT_EQ(*c.got, QString::fromLatin1(c.want));
    }
    EXPECT_EQ(mmvariModeName(5), QStringLiteral("rtty-L"));
    EXPECT_EQ(mmvariModeName(2), QStringLiteral("FSK-W"));
    EXPECT_EQ(mmvariModeName(12), QString());
    EXPECT_EQ(mmvariMenuCaption(1), QStringLiteral("FSK     (MBCS. for V/UHF)"));
}

TEST(MultiChModes, AClickTakesACallOrANameButNotAWordStillComing) {
    using T = PanePick::Target;
    const QString text = QStringLiteral("de qq1xyz/p12345 name JONATHANSMITHSON, tnx\r\nnext k");
    struct Case {
        int caret;
        T target;
        const char* taken;
    } cases[] = {
        {5, T::CallBox, "QQ1XYZ/P12"},
        {3, T::CallBox, "QQ1XYZ/P12"},
        {24, T::NameBox, "JONATHANSMIT"},
        {42, T::NameBox, "tnx"}, // a line end bounds the word
        {47, T::NameBox, "next"},
        {int(text.size()) - 1, T::Nothing, ""}, // the last word is still coming
        {0, T::Nothing, ""},
        {2, T::NameBox, "de"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caret);
        const PanePick pick = panePick(text, c.caret);
        EXPECT_EQ(pick.target, c.target);
        EXPECT_EQ(pick.text, QString::fromLatin1(c.taken));
    }
    EXPECT_EQ(panePick(QStringLiteral("a  b"), 2).target, T::Nothing);
    EXPECT_EQ(panePick(QString(), 3).target, T::Nothing);
}

} // namespace
