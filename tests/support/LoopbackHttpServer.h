#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: serves fixed pages by path and
// records every request (method, path, body), so the system's fetches and
// posts can be tested over a real socket.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

namespace zvtest {

struct HttpRequest {
    QByteArray method;
    QByteArray path;
    QByteArray body;
};

class LoopbackHttpServer : public QObject {
    Q_OBJECT
  public:
    LoopbackHttpServer();
    bool isListening() const { return server_.isListening(); }
    quint16 port() const { return server_.serverPort(); }
    QString url(const QString& path) const;

    void setPage(const QByteArray& path, const QByteArray& body, int status = 200,
                 const QByteArray& contentType = "text/html; charset=Shift_JIS");
    // Holds every answer back by the given time (for time-limit tests).
    void setDelay(int msecs) { delayMsecs_ = msecs; }
    // Sends the head of every answer at once, then its body one byte every
    // msecs (a server that trickles); 0 sends it whole.
    void setTrickle(int msecs) { trickleMsecs_ = msecs; }
    const QList<HttpRequest>& requests() const { return requests_; }
    // The server gone: a request after this is refused.
    void close() { server_.close(); }

  private:
    struct Page {
        QByteArray body;
        int status;
        QByteArray contentType;
    };
    void onConnection();
    void answer(class QTcpSocket* socket, const HttpRequest& request);

    QTcpServer server_;
    QHash<QByteArray, Page> pages_;
    QList<HttpRequest> requests_;
    int delayMsecs_ = 0;
    int trickleMsecs_ = 0;
};

} // namespace zvtest
