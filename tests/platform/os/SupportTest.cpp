// The test fixtures themselves: a pseudo-terminal pair that a real serial port
// opens, the simulated rig's pace on it, the loopback HTTP server answering a real network request,
// and the random walk's record of a walk that crashes.
#include "support/LoopbackHttpServer.h"
#include "support/ProgramFolder.h"
#include "support/PtyPair.h"
#include "support/RigSimulator.h"
#include "support/WalkRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSerialPort>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(PtyPair, CarriesBytesBothWaysThroughARealSerialPort) {
    zvtest::PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    QSerialPort port(pty.devicePath());
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    port.setBaudRate(4800);

    const QByteArray command("\xFE\xFE\x58\xE0\x03\xFD", 6);
    port.write(command);
    ASSERT_TRUE(port.waitForBytesWritten(zvtest::kSafetyNetMsecs));
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
        // The echo comes whole as the request's last character goes out; the
        // answer after it trickles in. At 1200 baud it takes 100 ms, long
        // enough to be seen in pieces even on a busy machine.
        if (baud == 1200) {
            EXPECT_GT(pieces, 2) << "the characters come one after another, not all at once";
        }
        EXPECT_EQ(got.left(6), QByteArray("\xFE\xFE\x58\xE0\x03\xFD", 6)) << "the bus echo comes first";
    }
}

// Opens the simulated rig's line as the system would, at the given speed with two stop bits.
bool openLine(QSerialPort& port, int baud) {
    return port.open(QIODevice::ReadWrite) && port.setBaudRate(baud) &&
           port.setStopBits(QSerialPort::TwoStop);
}

TEST(RigSimulator, ACommandIsHeardOnlyOnceItHasCrossedTheLine) {
    // Five Yaesu characters of 11 bits take 46 ms at 1200 baud; the status
    // answer (16 characters, 147 ms) starts after them.
    zvtest::RigSimulator rig(QStringLiteral("FT1000MP"));
    rig.pacedAtLineRate = true;
    QSerialPort port(rig.devicePath());
    ASSERT_TRUE(openLine(port, 1200));
    QSignalSpy handled(&rig, &zvtest::RigSimulator::commandHandled);
    QElapsedTimer clock;
    clock.start();
    port.write(QByteArray::fromHex("0000000210"));
    port.flush();
    ASSERT_TRUE(handled.wait(zvtest::kSafetyNetMsecs));
    EXPECT_GE(clock.elapsed(), 5 * 11 * 1000 / 1200);
    QByteArray got;
    ASSERT_TRUE(zvtest::waitUntil([&] {
        got += port.readAll();
        return got.size() >= 16;
    }));
    EXPECT_GE(clock.elapsed(), (5 + 16) * 11 * 1000 / 1200);
    EXPECT_EQ(rig.readingsAnswered, 1);
    EXPECT_EQ(rig.overlaps, 0);
}

TEST(RigSimulator, ACommandThatComesInWhileTheRigAnswersIsAnOverlap) {
    for (const char* family : {"ICOM", "FT1000MP", "KENWOOD"}) {
        SCOPED_TRACE(family);
        zvtest::RigSimulator rig(QString::fromLatin1(family), 0x58);
        rig.pacedAtLineRate = true;
        QSerialPort port(rig.devicePath());
        ASSERT_TRUE(openLine(port, 1200));
        const bool icom = QLatin1String(family) == QLatin1String("ICOM");
        const QByteArray request = icom ? QByteArray::fromHex("FEFE58E004FD")
                                   : QLatin1String(family) == QLatin1String("KENWOOD")
                                       ? QByteArray("IF;\r")
                                       : QByteArray::fromHex("0000000210");
        const int answer = icom ? 14 : QLatin1String(family) == QLatin1String("KENWOOD") ? 38 : 16;
        QSignalSpy overlapped(&rig, &zvtest::RigSimulator::overlapHeard);

        // Asked again once the answer is whole: no overlap.
        port.write(request);
        QByteArray got;
        ASSERT_TRUE(zvtest::waitUntil([&] {
            got += port.readAll();
            return got.size() >= answer && !rig.lineBusy();
        }));
        EXPECT_EQ(rig.overlaps, 0);

        // Asked again while the answer is on its way back.
        got.clear();
        port.write(request);
        ASSERT_TRUE(zvtest::waitUntil([&] {
            got += port.readAll();
            return got.size() > (icom ? 7 : 0);
        }));
        port.write(request);
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.commands.size() == 3 && !rig.lineBusy(); }));
        EXPECT_EQ(rig.overlaps, 1);
        ASSERT_EQ(overlapped.size(), 1);
        EXPECT_EQ(overlapped.first().first().toByteArray(), rig.commands.last());
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

// Each step is written down as it is taken: a walk that dies leaves them, and
// a replay takes them as from a walk written down whole.
TEST(WalkRecord, AWalkThatCrashesLeavesItsReplay) {
    const QString name = QStringLiteral("zv-walk-crash-%1.json").arg(QCoreApplication::applicationPid());
    const pid_t child = ::fork();
    if (child == 0) {
        zvtest::WalkRecord record(QStringLiteral("/nowhere"));
        record.journalTo(name, {{QStringLiteral("nestedMs"), 7}});
        for (int n = 1; n <= 3; ++n) {
            record.beginStep(n, QStringLiteral("state %1").arg(n));
            record.noteTaking({{QStringLiteral("do"), QStringLiteral("step %1").arg(n)}});
        }
        std::signal(SIGABRT, SIG_DFL);
        std::abort();
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    zvtest::WalkRecord replay(QStringLiteral("/nowhere"));
    ASSERT_TRUE(replay.readFrom(QDir::temp().filePath(name)));
    EXPECT_EQ(replay.recordedSteps(), 3);
    EXPECT_EQ(replay.recordedNestedMs(), 7);
    replay.beginStep(3, QStringLiteral("state 3"));
    EXPECT_EQ(replay.recordedAction().value(QStringLiteral("do")).toString(), QStringLiteral("step 3"));
    QFile::remove(QDir::temp().filePath(name));
}

} // namespace
