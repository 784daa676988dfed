// The log viewer's page steps, its rows and the page read from a real log.
#include "log/LogViewPage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using logbook::pageEndBack;
using logbook::pageEndForward;
using logbook::pageEndJump;

TEST(LogViewPage, BackCountsFromTheFirstRowNeverBelowAHundred) {
    const struct {
        std::optional<int> first;
        int pageEnd, expected;
    } cases[] = {
        {151, 250, 150},
        {51, 150, 100},
        {1, 100, 100},
        {1, 40, 100},
        // A page without rows counts from its end.
        {std::nullopt, 250, 150},
        {std::nullopt, 150, 100},
        {std::nullopt, 0, 100},
        // An unreadable record at the page's start: the first row shown counts.
        {160, 250, 159},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pageEndBack(c.first, c.pageEnd), c.expected) << c.first.value_or(-1) << " " << c.pageEnd;
}

TEST(LogViewPage, ForwardCountsFromThePageEndNeverBeyondTheCount) {
    const struct {
        int pageEnd, count, expected;
    } cases[] = {{150, 250, 250}, {100, 250, 200}, {250, 250, 250}, {40, 40, 40}, {100, 40, 40}, {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(pageEndForward(c.pageEnd, c.count), c.expected) << c.pageEnd << " " << c.count;
}

TEST(LogViewPage, JumpAnswers) {
    const struct {
        const char* answer;
        int count;
        std::optional<int> expected;
    } cases[] = {
        {"", 250, std::nullopt},
        {"abc", 250, std::nullopt},
        {"12abc", 250, std::nullopt},
        {" ", 250, std::nullopt},
        {"-5", 250, 100},
        {"5", 250, 100},
        {"180", 250, 180},
        {" 180 ", 250, 180},
        {"+180", 250, 180},
        {"251", 250, 250},
        {"99999999999", 250, 250},
        {"-99999999999", 250, 100},
        {"150.5", 250, 150},
        {"151.5", 250, 152},
        {"7", 40, 40},
        {"1000", 40, 40},
        {"0", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pageEndJump(QString::fromLatin1(c.answer), c.count), c.expected) << c.answer;
}

TEST(LogViewPage, RowLabelsCarryTheRecordNumber) {
    hamlog::QsoRecord r;
    r.CALL = QStringLiteral(" QQ1ABC\0  ");
    r.DATE = QStringLiteral("95-12-31");
    r.TIME = QStringLiteral("23:59U");
    r.QSL = QStringLiteral("N*");
    r.NAME = QStringLiteral(" 太郎 ");
    const QStringList cells = logbook::logViewRow(r, 7);
    ASSERT_EQ(cells.size(), 19);
    EXPECT_EQ(cells[0], QStringLiteral(" 07"));
    EXPECT_EQ(cells[18], QStringLiteral(" 07"));
    EXPECT_EQ(cells[1], QStringLiteral("QQ1ABC"));
    EXPECT_EQ(cells[3], QStringLiteral("1995-12-31"));
    EXPECT_EQ(cells[4], QStringLiteral("23:59U"));
    EXPECT_EQ(cells[11], QStringLiteral("太郎"));
    EXPECT_EQ(cells[13], QStringLiteral("N"));
    EXPECT_EQ(cells[14], QStringLiteral("*"));
    EXPECT_EQ(cells[15], QStringLiteral(" "));
    EXPECT_EQ(logbook::logViewRow(r, 1234)[0], QStringLiteral(" 1234"));

    EXPECT_EQ(logbook::recNoOfLabel(QStringLiteral(" 07")), 7);
    EXPECT_EQ(logbook::recNoOfLabel(QStringLiteral(" 1234")), 1234);
    EXPECT_EQ(logbook::recNoOfLabel(QStringLiteral("eQSL")), std::nullopt);
    EXPECT_EQ(logbook::recNoOfLabel(QString()), std::nullopt);
}

TEST(LogViewPage, APageHoldsTheRecordsThatRead) {
    QTemporaryDir dir;
    const QString log = dir.path() + QStringLiteral("/LOG");
    ASSERT_TRUE(hamlog::createLog(log));
    std::vector<hamlog::QsoRecord> records(40);
    for (int i = 0; i < 40; ++i)
        records[i].CALL = QStringLiteral("QQ1A%1").arg(i + 1);
    ASSERT_TRUE(hamlog::appendRecords(log, records));
    hamlog::HamlogHandle h;
    ASSERT_EQ(hamlog::HamlogOpen(0, h, log, 0), hamlog::Done);
    // Records -59 to 40 are asked for; 1 to 40 are there.
    std::vector<logbook::PageRow> page = logbook::readLogPage(h, 40);
    ASSERT_EQ(page.size(), 40u);
    EXPECT_EQ(page.front().recNo, 1);
    EXPECT_EQ(page.front().cells[1], QStringLiteral("QQ1A1"));
    EXPECT_EQ(page.back().recNo, 40);
    EXPECT_EQ(page.back().cells[1], QStringLiteral("QQ1A40"));
    page = logbook::readLogPage(h, 30);
    ASSERT_EQ(page.size(), 30u);
    EXPECT_EQ(page.back().cells[0], QStringLiteral(" 30"));
    EXPECT_TRUE(logbook::readLogPage(h, 0).empty());
    hamlog::HamlogClose(h, 0);
}

} // namespace
