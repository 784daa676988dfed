#include "SpotServer.h"

#include "platform/os/Cp932.h"

#include <QDateTime>
#include <QTcpSocket>

#include <cstdio>
#include <memory>

namespace spotsrv {

std::optional<quint16> portOf(const QString& text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) return std::nullopt;
    return quint16(port);
}

namespace {

constexpr int MaxListed = 40;
constexpr qsizetype MaxRequest = 64 * 1024;

// Fictional stations (the QQ prefix is not issued) in digital and CW segments.
const Spot Stock[] = {
    {"", "14070.5", "QQ1ABC", "PSK31 1000HZ CQ", "QQ2XYZ"},
    {"", "7035.0", "QQ3DEF", "RTTY 170", "QQ4UVW"},
    {"", "21074.0", "QQ5GHI", "BPSK31 1500HZ", "QQ6RST"},
    {"", "10142.0", "QQ7JKL", "RTTY CQ TEST", "QQ8OPQ"},
    {"", "14025.0", "QQ9MNO", "CW 599", "QQ1LMN"},
    {"", "3580.0", "QQ2PQR", "PSK31 700HZ", "QQ3IJK"},
    {"", "28120.0", "QQ4STU", "PSK31 2900HZ QRV", "QQ5FGH"},
    {"", "18100.5", "QQ6VWX", "BPSK31", "QQ7CDE"},
};

QString timeNow() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("HHmm"));
}

QByteArray response(int status, const QByteArray& type, const QByteArray& body) {
    const QByteArray reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Internal Server Error";
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

QHash<QString, QString> parseSubmission(const QByteArray& body) {
    QHash<QString, QString> fields;
    for (const QByteArray& pair : body.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq <= 0) continue;
        QByteArray value = pair.mid(eq + 1);
        value.replace('+', ' ');
        fields.insert(QString::fromLatin1(pair.left(eq)),
                      cp932::decode(QByteArray::fromPercentEncoding(value)));
    }
    return fields;
}

SpotServer::SpotServer(bool primaryFails) : primaryFails_(primaryFails) {
    for (const Spot& s : Stock) {
        spots_.prepend(s);
        spots_.first().time = timeNow();
    }
    connect(&primary_, &QTcpServer::newConnection, this, [this] { accept(&primary_, true); });
    connect(&fallback_, &QTcpServer::newConnection, this, [this] { accept(&fallback_, false); });
}

bool SpotServer::listen(quint16 primaryPort, quint16 fallbackPort) {
    return primary_.listen(QHostAddress::LocalHost, primaryPort) &&
           fallback_.listen(QHostAddress::LocalHost, fallbackPort);
}

void SpotServer::addSpot() {
    Spot s = Stock[made_++ % std::size(Stock)];
    s.time = timeNow();
    spots_.prepend(s);
    if (spots_.size() > MaxListed) spots_.removeLast();
    std::printf("%s new spot %s %s\n", qPrintable(s.time), qPrintable(s.call), qPrintable(s.freqKhz));
    std::fflush(stdout);
}

void SpotServer::accept(QTcpServer* server, bool isPrimary) {
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer, isPrimary] {
            buffer->append(socket->readAll());
            if (buffer->size() > MaxRequest) return socket->abort();
            const qsizetype headEnd = buffer->indexOf("\r\n\r\n");
            if (headEnd < 0) return;
            const QList<QByteArray> lines = buffer->left(headEnd).split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            qsizetype length = 0;
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            if (length < 0 || length > MaxRequest) return socket->abort();
            if (buffer->size() < headEnd + 4 + length) return;
            socket->write(
                answer(isPrimary, first.value(0), first.value(1), buffer->mid(headEnd + 4, length)));
            socket->disconnectFromHost();
        });
    }
}

QByteArray SpotServer::answer(bool isPrimary, const QByteArray& method, const QByteArray& path,
                              const QByteArray& body) {
    static const QByteArray html = "text/html; charset=Shift_JIS";
    if (isPrimary) {
        if (method != "GET") return response(404, "text/plain", "not found");
        if (primaryFails_) return response(500, "text/plain", "failing on request");
        static const QHash<QByteArray, QString> titles = {{"/wwdigi.html", QStringLiteral("WW digital")},
                                                          {"/jadigi.html", QStringLiteral("JA digital")},
                                                          {"/usdigi.html", QStringLiteral("US digital")},
                                                          {"/", QStringLiteral("All digital")}};
        if (!titles.contains(path)) return response(404, "text/plain", "not found");
        return response(200, html, primaryPage(titles.value(path), spots_));
    }
    if (method == "POST" && path == "/cgi-bin/spotin2.sh") {
        const QHash<QString, QString> f = parseSubmission(body);
        const Spot s{timeNow(), f.value(QStringLiteral("freq")), f.value(QStringLiteral("dxcall")),
                     f.value(QStringLiteral("info")), f.value(QStringLiteral("mycall"))};
        std::printf("submitted: mycall=%s dxcall=%s freq=%s info=%s\n", qPrintable(s.spotter),
                    qPrintable(s.call), qPrintable(s.freqKhz), qPrintable(s.remarks));
        std::fflush(stdout);
        spots_.prepend(s);
        if (spots_.size() > MaxListed) spots_.removeLast();
        return response(200, html, cp932::encode(QStringLiteral("<html><body>Thank you.</body></html>")));
    }
    if (method == "GET" && path == "/") return response(200, html, fallbackPage(spots_));
    return response(404, "text/plain", "not found");
}

} // namespace spotsrv
