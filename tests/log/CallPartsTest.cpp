// Taking a call sign apart: the "/" split, the call area and the JCA suffix.
#include "log/CallParts.h"

#include <gtest/gtest.h>

namespace {

using logbook::callAreaOf;
using logbook::jcaSuffix;
using logbook::splitCall;

struct SplitCase {
    const char* call;
    const char* wkd;
    const char* prefix;
    int slash;
};

TEST(CallParts, TheLastSlashSplitsTheCallForTheLogAndThePrefix) {
    const SplitCase cases[] = {
        {"QX1ABC", "QX1ABC", "QX1ABC", 0},
        {"KH6/QX1ABC", "QX1ABC", "KH6", 4},
        {"QX1ABC/KH6", "QX1ABC", "KH6", 7},
        {"DL/QX1ABC", "QX1ABC", "DL", 3},
        {"QX1ABC/3", "QX1ABC", "QX1ABC", 7},
        {"QX1ABC/1", "QX1ABC", "QX1ABC", 7},
        {"QX1ABC/P", "QX1ABC", "QX1ABC", 7},
        {"QX1ABC/QRP", "QX1ABC", "QX1ABC", 7},
        {"QX1ABC/MM", "QX1ABC", "MM", 7},
        {"QX1ABC/QRPP", "QX1ABC", "QRPP", 7},
        {"A/QX1ABC", "QX1ABC", "QX1ABC", 2},
        {"KH6/QX1ABC/P", "KH6/QX1ABC", "KH6/QX1ABC", 11},
        // Junk finds nothing, but never crashes or loses the text.
        {"/", "", "", 1},
        {"//", "/", "/", 2},
        {"A/", "A", "A", 2},
        {"/P", "P", "P", 1},
        {"", "", "", 0},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.call);
        const auto s = splitCall(QString::fromLatin1(c.call));
        EXPECT_EQ(s.WkdCall, QString::fromLatin1(c.wkd));
        EXPECT_EQ(s.PrefixCall, QString::fromLatin1(c.prefix));
        EXPECT_EQ(s.SlashPos, c.slash);
    }
}

struct AreaCase {
    const char* slash;
    const char* call;
    const char* area; // UTF-8
    int pos;
};

TEST(CallParts, TheCallAreaTriesTheDigitsFromZeroUp) {
    const AreaCase cases[] = {
        {"", "QX1ABC", "1", 3},  {"", "7K3ABC", "1", 3},  {"", "7N4XYZ", "1", 3}, {"", "QQ8AB", "8", 3},
        {"3", "QX1ABC", "3", 1}, {" ", "QX2ABC", "2", 3}, {"", "QX2A1B", "1", 5}, {"", "QX1A1B", "1", 5},
        {"", "ABCDEF", "全", 0}, {"", "", "全", 0},       {"", "QX0ABC", "0", 3},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(c.call);
        const auto a = callAreaOf(QString::fromLatin1(c.slash), QString::fromLatin1(c.call));
        EXPECT_EQ(a.area, QString::fromUtf8(c.area));
        EXPECT_EQ(a.pos, c.pos);
    }
}

TEST(CallParts, TheJcaSuffixIsWhatFollowsTheLastDigit) {
    const std::pair<const char*, const char*> cases[] = {
        {"QX1ABC", "ABC"}, {"QX1AB2CD", "CD"}, {"QX1ABC2", ""}, {"ABCDEF", ""}, {"", ""}, {"7K1X", "X"},
    };
    for (const auto& [call, suffix] : cases)
        EXPECT_EQ(jcaSuffix(QString::fromLatin1(call)), QString::fromLatin1(suffix)) << call;
}

TEST(CallParts, TheOperatingWindowsCallOverTheLogFields) {
    struct Case {
        const char* call;
        bool prefixFirst;
        const char* rem2Now;
        const char* logCall;
        const char* other;
        const char* rem2; // "-" left alone
    } cases[] = {
        {"QX1ABC", false, "", "QX1ABC", "", "-"},
        {"QX1ABC", true, "TNX QSL", "QX1ABC", "", "-"},
        {"QX1ABC", true, " $DX ", "QX1ABC", "", ""},
        {"QX1ABC/P", false, "TNX", "QX1ABC", "P", ""},
        {"JA1ZVK/3", true, "", "3", "JA1ZVK", "$DX"},
        {"KH6/QX1ABC", true, "", "QX1ABC", "KH6", "$DX"},
        {"QX1ABC/P/M", false, "", "QX1ABC", "P/M", ""},
        {"/QX1ABC", true, "", "QX1ABC", "", "$DX"},
        {"/P", false, "", "", "P", ""},
        {"", false, "", "", "", "-"},
    };
    for (const Case& c : cases) {
        const logbook::LogCall l =
            logbook::logCallFor(QString::fromLatin1(c.call), c.prefixFirst, QString::fromLatin1(c.rem2Now));
        EXPECT_EQ(l.call, QLatin1String(c.logCall)) << c.call;
        EXPECT_EQ(l.other, QLatin1String(c.other)) << c.call;
        EXPECT_EQ(l.rem2.value_or(QStringLiteral("-")), QLatin1String(c.rem2)) << c.call << c.rem2Now;
    }
}

} // namespace
