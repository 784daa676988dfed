// The lines of the QSL printing program's automation socket.
#include "platform/qsl/MmqslProtocol.h"

#include <gtest/gtest.h>

namespace {

TEST(MmqslProtocol, RequestsAndAnswers) {
    EXPECT_EQ(mmqsl::requestLine(QStringLiteral("OpenDoc"), QStringLiteral("/a b/カード.MQL")),
              QStringLiteral("OpenDoc\t/a b/カード.MQL\n").toUtf8());
    EXPECT_EQ(mmqsl::requestLine(QStringLiteral("AddLog"), QStringLiteral("a\tb\r\nc")),
              QByteArray("AddLog\ta b  c\n"));
    EXPECT_EQ(mmqsl::replyLine(true, QStringLiteral("2")), QByteArray("OK\t2\n"));
    EXPECT_EQ(mmqsl::replyLine(false), QByteArray("ERR\t\n"));

    const auto r = mmqsl::parseRequest(QStringLiteral("PrintStat=\t0").toUtf8());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->member, QStringLiteral("PrintStat="));
    EXPECT_EQ(r->argument, QStringLiteral("0"));
    const auto withCr = mmqsl::parseRequest("DoPrint\t\r");
    ASSERT_TRUE(withCr);
    EXPECT_EQ(withCr->argument, QString());

    const auto ok = mmqsl::parseReply(QStringLiteral("OK\t東京").toUtf8());
    ASSERT_TRUE(ok);
    EXPECT_TRUE(ok->ok);
    EXPECT_EQ(ok->value, QStringLiteral("東京"));
    const auto err = mmqsl::parseReply("ERR\tno such file");
    ASSERT_TRUE(err);
    EXPECT_FALSE(err->ok);

    for (const char* bad : {"", "OpenDoc", "\tx", "Open Doc\tx", "a\tb\tc", "a\tb\rc", "A\t\xff"})
        EXPECT_FALSE(mmqsl::parseRequest(bad)) << bad;
    for (const char* bad : {"", "OK", "YES\t1", "ok\t1", "OK\t1\t2"})
        EXPECT_FALSE(mmqsl::parseReply(bad)) << bad;
}

} // namespace
