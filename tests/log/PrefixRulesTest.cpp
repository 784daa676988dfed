// The prefix look-up's rules: redirections, shared prefixes and band marks.
#include "log/PrefixRules.h"

#include <gtest/gtest.h>

namespace {

using logbook::Redirection;

TEST(PrefixRules, RedirectionsByAreaDigitAndStandInEntries) {
    const struct {
        const char* code;
        const char* call;
        int matchLen;
        Redirection::Kind kind;
        const char* target;
    } cases[] = {
        {"732   ", "JD1ABC", 3, Redirection::Search, "733A"},
        {"732   ", "JD3ABC", 3, Redirection::Search, "733A"},
        {"732   ", "JD6ABC", 3, Redirection::Search, "733A"},
        {"732   ", "JD8ABC", 3, Redirection::Search, "732A"},
        {"732   ", "JD0ABC", 3, Redirection::Search, "732A"},
        {"732   ", "JD7ABC", 3, Redirection::Unknown, ""},
        {"732   ", "JD2ABC", 3, Redirection::Unknown, ""},
        {"732   ", "JD", 3, Redirection::Unknown, ""},
        {"732   ", "JD1", 0, Redirection::Unknown, ""},
        {"140_  ", "AH6XX", 3, Redirection::Search, "140A"},
        {"230   ", "DL1ABC", 2, Redirection::Stay, ""},
        {"", "X", 1, Redirection::Stay, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.call);
        const Redirection r =
            logbook::redirectionOf(QString::fromLatin1(c.code), QString::fromLatin1(c.call), c.matchLen);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.code, QString::fromLatin1(c.target));
    }
}

hamlog::MasterRecord record(const char* code, const char* prefix, const char* area) {
    hamlog::MasterRecord r;
    r.Code = QString::fromLatin1(code).leftJustified(6);
    r.Prefix = QString::fromLatin1(prefix).leftJustified(2);
    r.Area = QString::fromLatin1(area).leftJustified(1);
    return r;
}

TEST(PrefixRules, EntriesSharingThePrefixOverTheMatchedLength) {
    EXPECT_TRUE(logbook::sharesPrefix(record("230", "DL", ""), QStringLiteral("DL1ABC"), 2));
    EXPECT_TRUE(logbook::sharesPrefix(record("140A", "KH", "6"), QStringLiteral("KH6XX"), 3));
    EXPECT_TRUE(logbook::sharesPrefix(record("140A", "KH", "6"), QStringLiteral("K1ABC"), 1));
    EXPECT_FALSE(logbook::sharesPrefix(record("140A", "KH", "6"), QStringLiteral("KH7XX"), 3));
    EXPECT_FALSE(logbook::sharesPrefix(record("140_", "KH", "6"), QStringLiteral("KH6XX"), 3));
    EXPECT_FALSE(logbook::sharesPrefix(record("230", "DL", ""), QStringLiteral("DL1ABC"), 0));
    EXPECT_TRUE(logbook::isHomeCountry(QStringLiteral("500   ")));
    EXPECT_FALSE(logbook::isHomeCountry(QStringLiteral("5001  ").mid(1)));
}

TEST(PrefixRules, BandMarksLowestBitFirst) {
    const struct {
        int col, bits;
        QList<int> marked;
        int colAfter;
    } cases[] = {
        {5, 5, {5, 7}, 8}, {5, 0, {}, 6}, {5, 0x80, {12}, 13}, {13, 0x41, {13, 19}, 20}, {13, 1, {13}, 14},
    };
    for (const auto& c : cases) {
        int col = c.col, bits = c.bits;
        EXPECT_EQ(logbook::qslBitColumns(col, bits), c.marked) << c.bits;
        EXPECT_EQ(col, c.colAfter);
        EXPECT_EQ(bits, 0);
    }
}

} // namespace
