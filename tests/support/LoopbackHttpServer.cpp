#include "support/LoopbackHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace zvtest {

LoopbackHttpServer::LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &LoopbackHttpServer::onConnection);
}

QString LoopbackHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void LoopbackHttpServer::setPage(const QByteArray& path, const QByteArray& body, int status,
                                 const QByteArray& contentType) {
    pages_.insert(path, {body, status, contentType});
}

void LoopbackHttpServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const int headerEnd = static_cast<int>(buffer->indexOf("\r\n\r\n"));
            if (headerEnd < 0) return;
            const QByteArray head = buffer->left(headerEnd);
            const QList<QByteArray> lines = head.split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            qsizetype length = 0;
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            if (buffer->size() < headerEnd + 4 + length) return;
            HttpRequest request{first.value(0), first.value(1), buffer->mid(headerEnd + 4, length)};
            requests_.append(request);
            buffer->clear();
            if (delayMsecs_ > 0) {
                QPointer<QTcpSocket> guard(socket);
                QTimer::singleShot(delayMsecs_, this, [this, guard, request] {
                    if (guard) answer(guard, request);
                });
            } else {
                answer(socket, request);
            }
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LoopbackHttpServer::answer(QTcpSocket* socket, const HttpRequest& request) {
    QByteArray path = request.path;
    Page page{"not found", 404, "text/plain"};
    if (pages_.contains(path)) page = pages_.value(path);
    const QByteArray head =
        "HTTP/1.1 " + QByteArray::number(page.status) + (page.status == 200 ? " OK" : " Error") +
        "\r\nContent-Type: " + page.contentType +
        "\r\nContent-Length: " + QByteArray::number(page.body.size()) + "\r\nConnection: close\r\n\r\n";
    if (trickleMsecs_ <= 0) {
        socket->write(head + page.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(head);
    auto* drip = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(drip, &QTimer::timeout, socket, [socket, drip, sent, body = page.body] {
        if (*sent >= body.size()) {
            drip->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
    });
    drip->start(trickleMsecs_);
}

} // namespace zvtest
