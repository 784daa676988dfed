// The test fixtures themselves: a pseudo-terminal pair that a real serial port
// opens, the simulated rig's pace on it, and the loopback HTTP server answering a real network request.
#include "support/LoopbackHttpServer.h"
#include "support/ProgramFolder.h"
#include "support/PtyPair.h"
#include "support/RigSimulator.h"

#include <QElapsedTimer>
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

TEST(RigSimulator, PacedRepliesCrossTheLineAtItsSpeed) {
    // An ICOM frequency request: the echo and the answer are 17 characters of
    // 11 bits (8 data bits, 2 stop bits) that trickle in, never before their time.
    for (const int baud : {4800, 1200}) {
        SCOPED_TRACE(baud);
        zvtest::RigSimulator rig(QStringLiteral("ICOM"), 0x58);
        rig.pacedAtLineRate = true;
        QSerialPort port(rig.devicePath());
        ASSERT_TRUE(port.open(QIODevice::ReadWrite));
        ASSERT_TRUE(port.setBaudRate(baud) && port.setStopBits(QSerialPort::TwoStop));
        QElapsedTimer clock;
        clock.start();
        port.write(QByteArray("\xFE\xFE\x58\xE0\x03\xFD", 6));
        port.flush();
        QByteArray got;
        int pieces = 0;
        ASSERT_TRUE(zvtest::waitUntil([&] {
            const QByteArray piece = port.readAll();
            pieces += piece.isEmpty() ? 0 : 1;
            got += piece;
            return got.size() >= 17;
        }));
        EXPECT_GE(clock.elapsed(), 17 * 11 * 1000 / baud);
        EXPECT_GT(pieces, 2) << "the characters come one after another, not all at once";
        EXPECT_EQ(got.left(6), QByteArray("\xFE\xFE\x58\xE0\x03\xFD", 6)) << "the bus echo comes first";
    }
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
