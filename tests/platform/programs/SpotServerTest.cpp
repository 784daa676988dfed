// The local spot server over real HTTP: its pages, a failing primary and a
// submitted spot listed first.
#include "platform/programs/spotsrv/SpotServer.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Answer {
    int status = 0;
    QByteArray body;
};

Answer fetch(const QString& url, const QByteArray& post = {}) {
    QNetworkAccessManager net;
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(10'000);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    QNetworkReply* reply = post.isNull() ? net.get(request) : net.post(request, post);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Answer a{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
    reply->deleteLater();
    return a;
}

QString base(quint16 port) {
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

TEST(SpotServer, ServesBothLayoutsAndListsASubmittedSpotFirst) {
    spotsrv::SpotServer server(false);
    ASSERT_TRUE(server.listen(0, 0));
    for (const char* path : {"/wwdigi.html", "/jadigi.html", "/usdigi.html", "/"}) {
        const Answer a = fetch(base(server.primaryPort()) + path);
        EXPECT_EQ(a.status, 200) << path;
        EXPECT_TRUE(a.body.contains("target=\"_blank\">QQ")) << path;
    }
    EXPECT_EQ(fetch(base(server.primaryPort()) + "/nothing.html").status, 404);

    const QByteArray body = "mycall=QQ1ZZZ&dxcall=QQ9%26A&freq=14070.5&info=" +
                            cp932::encode(QStringLiteral("移動 50%=")).toPercentEncoding();
    EXPECT_EQ(fetch(base(server.fallbackPort()) + "/cgi-bin/spotin2.sh", body).status, 200);
    ASSERT_FALSE(server.spots().isEmpty());
    EXPECT_EQ(server.spots().first().call, "QQ9&A");
    EXPECT_EQ(server.spots().first().remarks, QStringLiteral("移動 50%="));
    EXPECT_EQ(server.spots().first().spotter, "QQ1ZZZ");
    const Answer page = fetch(base(server.fallbackPort()) + "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(cp932::decode(page.body).contains(QStringLiteral("QQ1ZZZ    14070.5 QQ9&A       移動 50%=")));
}

TEST(SpotServer, FailingPrimaryAnswers500AndTheFallbackStillServes) {
    spotsrv::SpotServer server(true);
    ASSERT_TRUE(server.listen(0, 0));
    EXPECT_EQ(fetch(base(server.primaryPort()) + "/wwdigi.html").status, 500);
    EXPECT_EQ(fetch(base(server.fallbackPort()) + "/").status, 200);
}

TEST(SpotServer, NewSpotsComeFirstAndTheListStaysShort) {
    spotsrv::SpotServer server(false);
    for (int i = 0; i < 100; ++i)
        server.addSpot();
    EXPECT_EQ(server.spots().size(), 40);
    EXPECT_EQ(server.spots().first().call, "QQ7JKL") << "the 100th new spot is the fourth stock station";
}

TEST(SpotServer, SubmissionFieldsAreDecoded) {
    const QHash<QString, QString> f = spotsrv::parseSubmission("a=1+2&b=%82%A0&c&=x&d=");
    EXPECT_EQ(f.value("a"), "1 2");
    EXPECT_EQ(f.value("b"), QStringLiteral("あ"));
    EXPECT_FALSE(f.contains("c"));
    EXPECT_TRUE(f.contains("d") && f.value("d").isEmpty());
}

// The operator's command line: a second copy beside the first on ports of its
// own; ports that cannot be are refused with a word on why.
TEST(SpotServer, TwoCopiesRunSideBySideOnThePortsGiven) {
    const QString program = QStringLiteral(ZV_PROGRAM_DIR "/zorvatek-spotsrv");
    QList<quint16> ports;
    {
        QTcpServer probes[4];
        for (QTcpServer& probe : probes) {
            ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
            ports << probe.serverPort();
        }
    }
    QProcess first;
    QProcess second;
    first.start(program, {"--port", QString::number(ports[0]), "--fallback-port", QString::number(ports[1])});
    second.start(program,
                 {"--port", QString::number(ports[2]), "--fallback-port", QString::number(ports[3])});
    for (QProcess* copy : {&first, &second})
        ASSERT_TRUE(copy->waitForReadyRead(zvtest::kSafetyNetMsecs));
    EXPECT_TRUE(first.readAllStandardOutput().contains(QByteArray::number(ports[0])));
    EXPECT_EQ(fetch(QStringLiteral("http://127.0.0.1:%1/wwdigi.html").arg(ports[0])).status, 200);
    EXPECT_EQ(fetch(QStringLiteral("http://127.0.0.1:%1/").arg(ports[3])).status, 200);
    for (QProcess* copy : {&first, &second}) {
        copy->kill();
        copy->waitForFinished(zvtest::kSafetyNetMsecs);
    }

    const QStringList refused[] = {{"--port", "0"},
                                   {"--fallback-port", "70000"},
                                   {"--port", "abc"},
                                   {"--port", "47411", "--fallback-port", "47411"}};
    for (const QStringList& arguments : refused) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        QProcess bad;
        bad.start(program, arguments);
        ASSERT_TRUE(bad.waitForFinished(zvtest::kSafetyNetMsecs));
        EXPECT_EQ(bad.exitCode(), 2);
        EXPECT_TRUE(bad.readAllStandardError().contains("--port and --fallback-port"));
    }
}

} // namespace
