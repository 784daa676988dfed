// The test fixtures themselves: a pseudo-terminal pair that a real serial port
// opens, and the loopback HTTP server answering a real network request.
#include "support/LoopbackHttpServer.h"
#include "support/ProgramFolder.h"
#include "support/PtyPair.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSerialPort>

namespace {

TEST(PtyPair, CarriesBytesBothWaysThroughARealSerialPort) {
    zvtest::PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QSerialPort port(pty.devicePath());
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    port.setBaudRate(4800);

    const QByteArray command("\xFE\xFE\x58\xE0\x03\xFD", 6);
    port.write(command);
    ASSERT_TRUE(port.waitForBytesWritten(1000));
    EXPECT_EQ(pty.readAvailable(1000), command);

    ASSERT_TRUE(pty.write(QByteArray("FA00014070000;", 14)));
    QByteArray got;
    ASSERT_TRUE(zvtest::waitUntil([&] {
        got += port.readAll();
        return got.size() >= 14;
    }));
    EXPECT_EQ(got, QByteArray("FA00014070000;"));
}

TEST(LoopbackHttpServer, ServesPagesAndRecordsPosts) {
    zvtest::LoopbackHttpServer server;
    ASSERT_TRUE(server.isListening());
    server.setPage("/spots", "<table><tr><td>JA1ZZZ</td></tr></table>");

    QNetworkAccessManager net;
    auto fetch = [&](QNetworkReply* reply) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return std::make_pair(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                              reply->readAll());
    };
    auto [status, body] = fetch(net.get(QNetworkRequest(QUrl(server.url("/spots")))));
    EXPECT_EQ(status, 200);
    EXPECT_EQ(body, QByteArray("<table><tr><td>JA1ZZZ</td></tr></table>"));

    QNetworkRequest post(QUrl(server.url("/submit")));
    post.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    auto [missing, _] = fetch(net.post(post, QByteArray("mycall=JA1ZZZ&dxcall=QQ9ABC")));
    EXPECT_EQ(missing, 404);

    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[0].method, QByteArray("GET"));
    EXPECT_EQ(server.requests()[1].method, QByteArray("POST"));
    EXPECT_EQ(server.requests()[1].path, QByteArray("/submit"));
    EXPECT_EQ(server.requests()[1].body, QByteArray("mycall=JA1ZZZ&dxcall=QQ9ABC"));
}

} // namespace
