// Spot pages of both layouts, whole and damaged, read into rows and heads.
#include "spots/SpotPage.h"
#include "platform/os/Cp932.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"

#include <gtest/gtest.h>

namespace {

using spots::SpotLayout;
using spotsrv::Spot;

const QList<Spot> threeSpots = {
    {"2330", "14070.5", "JA1ZZA", "PSK31 1000HZ CQ", "JA2ZZB"},
    {"1200", "7035.0", "JH3ZZC", "RTTY 170", "JA4ZZD"},
    {"0005", "21074.0", "7K1ZZE/1", "BPSK31 <599>", "JR5ZZF"},
};

QString page(SpotLayout layout, const QList<Spot>& list) {
    const QByteArray bytes = layout == SpotLayout::Primary ? spotsrv::primaryPage("WW digital", list)
                                                           : spotsrv::fallbackPage(list);
    return spots::decodeSpotPage(bytes, "text/html; charset=Shift_JIS");
}

struct Shown {
    QString time, freq, call, remarks, spotter;
};

Shown shown(const spots::SpotRow& r) {
    return {r.time, r.freq.trimmed(), r.call.trimmed(), r.remarks.trimmed(), r.spotter.trimmed()};
}

void expectRow(const spots::SpotRow& row, const Shown& want) {
    const Shown got = shown(row);
    EXPECT_EQ(got.time, want.time);
    EXPECT_EQ(got.freq, want.freq);
    EXPECT_EQ(got.call, want.call);
    EXPECT_EQ(got.remarks, want.remarks);
    EXPECT_EQ(got.spotter, want.spotter);
}

TEST(SpotPage, BothLayoutsGiveTheSameRowsInUtcAndJst) {
    struct Case {
        SpotLayout layout;
        bool jst;
        QString times[3];
    };
    const Case cases[] = {
        {SpotLayout::Primary, false, {"2330Z", "1200Z", "0005Z"}},
        {SpotLayout::Primary, true, {"0830J", "2100J", "0905J"}},
        {SpotLayout::Fallback, false, {"2330Z", "1200Z", "0005Z"}},
        {SpotLayout::Fallback, true, {"0830J", "2100J", "0905J"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (c.layout == SpotLayout::Primary ? "primary" : "fallback") << c.jst);
        const spots::SpotRows rows = spots::parseSpotRows(page(c.layout, threeSpots), c.layout, c.jst);
        expectRow(rows[0], {c.times[0], "14070.5", "JA1ZZA", "PSK31 1000HZ CQ", "JA2ZZB"});
        expectRow(rows[1], {c.times[1], "7035.0", "JH3ZZC", "RTTY 170", "JA4ZZD"});
        expectRow(rows[2], {c.times[2], "21074.0", "7K1ZZE/1", "BPSK31 <599>", "JR5ZZF"});
        for (int i = 3; i < spots::SpotRowCount; ++i)
            EXPECT_TRUE(rows[i].call.isEmpty() && rows[i].time.isEmpty()) << i;
    }
}

TEST(SpotPage, OnlyFifteenRowsAreRead) {
    QList<Spot> many;
    for (int i = 0; i < 20; ++i)
        many << Spot{"1000", "14070.0", QStringLiteral("JA1Z%1").arg(QChar('A' + i)), "PSK31", "JA2ZZZ"};
    const spots::SpotRows rows =
        spots::parseSpotRows(page(SpotLayout::Primary, many), SpotLayout::Primary, false);
    EXPECT_EQ(rows[14].call.trimmed(), "JA1ZO");
}

TEST(SpotPage, HeadFollowsTheNewestSpotOnly) {
    const QString before = spots::spotHead(page(SpotLayout::Primary, threeSpots));
    QList<Spot> older = threeSpots;
    older[2].remarks = "CHANGED";
    QList<Spot> newer = threeSpots;
    newer.prepend({"2331", "14071.0", "JA9ZZG", "PSK31", "JA2ZZB"});
    EXPECT_LE(before.size(), 71);
    EXPECT_TRUE(before.startsWith("JA1ZZA")) << before.toStdString();
    EXPECT_FALSE(before.contains("WEBJUMP") || before.contains("</A>"));
    EXPECT_EQ(spots::spotHead(page(SpotLayout::Primary, older)), before);
    EXPECT_NE(spots::spotHead(page(SpotLayout::Primary, newer)), before);
    EXPECT_TRUE(spots::spotHead(QString()).isEmpty());
}

TEST(SpotPage, BlockMarkersMissingOrMisplaced) {
    const QString line = spotsrv::primaryLine(threeSpots[0]).toUpper();
    struct Case {
        const char* name;
        QString page;
        bool rowFound;
        QString headStart;
    };
    const Case cases[] = {
        {"end by /CENTER", "<PRE>\n" + line + "\n</CENTER>", true, "JA1ZZA"},
        {"no end marker", "<PRE>\n" + line + "\n", true, "PRE> JA1ZZA"},
        {"end marker before the block", "</PRE><PRE>\n" + line + "\n", true, "/PRE><PRE> JA1ZZA"},
        {"no <PRE>", "ABCDE" + line + "\n", true, "BCDEJA1ZZA"},
        {"no line break at all", "<PRE>\n" + line, true, "PRE> JA1ZZA"},
        {"short page", "<PRE>", false, "PRE>"},
        {"empty", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const spots::SpotRows rows = spots::parseSpotRows(c.page, SpotLayout::Primary, false);
        EXPECT_EQ(rows[0].call.trimmed() == "JA1ZZA", c.rowFound);
        EXPECT_EQ(spots::holdsSpots(rows), c.rowFound);
        EXPECT_TRUE(rows[1].call.isEmpty());
        EXPECT_EQ(spots::spotHead(c.page).left(c.headStart.size()), c.headStart);
    }
    // Lines, but none a spot line: no spots to list.
    for (const char* page : {
             "<HTML>\n500 INTERNAL SERVER ERROR AT THE SPOT CLUSTER'S PROXY SERVER\n</HTML>",
             "<PRE>\nJA1ZZA       2330Z ABC      PSK31\n</PRE>", // no frequency
             "<PRE>\nJA1ZZA       23:0Z 14070.5  PSK31\n</PRE>", // no time
             "<PRE>\n             2330Z 14070.5  PSK31\n</PRE>", // no call
         })
        EXPECT_FALSE(spots::holdsSpots(spots::parseSpotRows(page, SpotLayout::Primary, false))) << page;
    EXPECT_TRUE(spots::holdsSpots(spots::parseSpotRows("<PRE>\nJA1ZZA       2330Z 14070.5  PSK31\n</PRE>",
                                                       SpotLayout::Primary, false)));
}

TEST(SpotPage, DamagedLinesAreCutSafely) {
    const QString cases[] = {
        "<PRE>\n<A HREF=\"WEBJUMP.CGI?CALL=JA1ZZA\" TARGET=\"_BLANK\">JA1ZZA\n</PRE>",
        "<PRE>\n</A>_BLANK\n</PRE>",
        "<PRE>\n_BLANK\n</PRE>",
        "<PRE>\nJA1ZZA  2330\n</PRE>",
        "<PRE>\n&#43;&#45;&#043;&GT;&LT;&#045\n</PRE>",
    };
    for (const QString& p : cases) {
        SCOPED_TRACE(p.toStdString());
        for (SpotLayout layout : {SpotLayout::Primary, SpotLayout::Fallback}) {
            const spots::SpotRows rows = spots::parseSpotRows(p, layout, true);
            EXPECT_LE(rows[0].call.size(), 13);
            EXPECT_TRUE(rows[1].call.isEmpty());
        }
    }
    EXPECT_EQ(spots::parseSpotRows(cases[4], SpotLayout::Primary, false)[0].call, "+-+><&#045");
}

TEST(SpotPage, BytesAreDecodedByCharsetThenGuessed) {
    const QByteArray sjis = cp932::encode(QStringLiteral("<pre>\n移動 ja\n</pre>"));
    const QByteArray utf8 = QStringLiteral("<pre>\n移動 ja\n</pre>").toUtf8();
    struct Case {
        const char* name;
        QByteArray bytes, contentType;
        QString want;
    };
    const Case cases[] = {
        {"Shift-JIS named", sjis, "text/html; charset=Shift_JIS", "<PRE>\n移動 JA\n</PRE>"},
        {"Shift-JIS quoted", sjis, "text/html; charset=\"x-sjis\"", "<PRE>\n移動 JA\n</PRE>"},
        {"UTF-8 named", utf8, "text/html;charset=UTF-8", "<PRE>\n移動 JA\n</PRE>"},
        {"UTF-8 unnamed", utf8, "text/html", "<PRE>\n移動 JA\n</PRE>"},
        {"Shift-JIS unnamed", sjis, "", "<PRE>\n移動 JA\n</PRE>"},
        {"unknown charset", utf8, "text/html; charset=no-such-set", "<PRE>\n移動 JA\n</PRE>"},
        {"controls", QByteArray("a\0b\r\n\tc\x7f", 8), "", "A B \n C "},
        {"cut double byte", QByteArray("ab\x82", 3), "text/html; charset=Shift_JIS", "AB\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(spots::decodeSpotPage(c.bytes, c.contentType), c.want);
    }
}

TEST(SpotPage, LongPagesGiveWhatTheirBeginningGives) {
    QList<Spot> many;
    for (int i = 0; i < 4000; ++i)
        many << Spot{QStringLiteral("%1").arg(i % 2400, 4, 10, QLatin1Char('0')), "14070.5",
                     QStringLiteral("JA%1ZZ").arg(i % 10), "PSK31 移動",
                     QStringLiteral("JA%1ZZB").arg(i % 7)};
    const QList<Spot> first = many.mid(0, 20);
    for (const char* contentType : {"text/html; charset=Shift_JIS", "text/html"}) {
        SCOPED_TRACE(contentType);
        const QByteArray longBytes = spotsrv::primaryPage("WW", many);
        const QString longPage = spots::decodeSpotPage(longBytes, contentType);
        const QString shortPage = spots::decodeSpotPage(spotsrv::primaryPage("WW", first), contentType);
        EXPECT_LT(longPage.size(), 8192) << "only the beginning is decoded";
        EXPECT_EQ(spots::spotHead(longPage), spots::spotHead(shortPage));
        const spots::SpotRows a = spots::parseSpotRows(longPage, SpotLayout::Primary, true);
        const spots::SpotRows b = spots::parseSpotRows(shortPage, SpotLayout::Primary, true);
        for (int i = 0; i < spots::SpotRowCount; ++i) {
            EXPECT_EQ(a[i].call, b[i].call);
            EXPECT_EQ(a[i].time, b[i].time);
            EXPECT_EQ(a[i].remarks, b[i].remarks);
        }
        // A page cut off before its end marker has no block: the head comes from the whole page.
        const QString cutPage = spots::decodeSpotPage(longBytes.left(longBytes.size() - 40), contentType);
        EXPECT_EQ(spots::spotHead(cutPage).left(5), "HTML>");
    }
}

TEST(SpotPage, OnlyTheFirstMebibyteIsReadAndALineInItsFirst4KiB) {
    const QByteArray huge(5 << 20, 'x');
    EXPECT_EQ(spots::decodeSpotPage(huge, "text/html; charset=UTF-16LE").size(), spots::SpotPageLimit / 2)
        << "a page decoded whole stops at the mebibyte";
    EXPECT_EQ(spots::decodeSpotPage(huge, "").size(), 4096) << "one line of 5 MiB";

    // A junk line of 10 KB before the spots: they are still read, and the block still ends.
    QByteArray page = spotsrv::primaryPage("WW", {{"2330", "14070.5", "QQ1ZZA", "PSK31", "QQ2ZZB"}});
    page.replace("<pre>\n", "<pre>\n" + QByteArray(10'000, 'A') + "\n");
    for (const char* type : {"text/html; charset=Shift_JIS", "text/html; charset=ISO-8859-1", "text/html"}) {
        SCOPED_TRACE(type);
        const QString text = spots::decodeSpotPage(page, type);
        const spots::SpotRows rows = spots::parseSpotRows(text, spots::SpotLayout::Primary, false);
        EXPECT_EQ(rows[0].call, QString(13, QLatin1Char('A')));
        EXPECT_EQ(rows[1].call.trimmed(), "QQ1ZZA");
        EXPECT_TRUE(rows[2].call.isEmpty()) << "the block ends after the spots";
    }
}

TEST(SpotPage, TimeCellTogglesOnlyValidTimes) {
    const std::pair<QString, QString> cases[] = {
        {"2330Z", "0830J"}, {"0830J", "2330Z"}, {"0000Z", "0900J"}, {"0300J", "1800Z"},
        {"2400Z", "2400Z"}, {"1260Z", "1260Z"}, {"12A0Z", "12A0Z"}, {"1200", "1200"},
        {"", ""},           {"1200X", "1200X"}, {"-100Z", "-100Z"}, {"１２００Z", "１２００Z"},
    };
    for (const auto& [cell, want] : cases)
        EXPECT_EQ(spots::toggleSpotTime(cell), want) << cell.toStdString();
    EXPECT_EQ(spots::toggleSpotTime(spots::toggleSpotTime("2330Z")), "2330Z");
}

} // namespace
