#pragma once
// The local spot server: the primary pages and the fallback page over plain
// HTTP/1.1 on 127.0.0.1, and the submission form that lists a posted spot first.
#include "SpotPageBuilder.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

#include <optional>

class QTcpSocket;

namespace spotsrv {

// The fields of a submission body ("mycall=…&dxcall=…&freq=…&info=…"),
// percent-decoded from Shift-JIS; '+' is a blank.
QHash<QString, QString> parseSubmission(const QByteArray& body);
// A port given on the command line: a whole number 1 to 65535, else nothing.
std::optional<quint16> portOf(const QString& text);

class SpotServer : public QObject {
    Q_OBJECT
  public:
    explicit SpotServer(bool primaryFails);
    // Ports of 0 take free ones.
    bool listen(quint16 primaryPort, quint16 fallbackPort);
    quint16 primaryPort() const { return primary_.serverPort(); }
    quint16 fallbackPort() const { return fallback_.serverPort(); }
    const QList<Spot>& spots() const { return spots_; }

  public slots:
    // A new fictional spot, listed first.
    void addSpot();

  private:
    void accept(QTcpServer* server, bool isPrimary);
    QByteArray answer(bool isPrimary, const QByteArray& method, const QByteArray& path,
                      const QByteArray& body);

    QTcpServer primary_;
    QTcpServer fallback_;
    bool primaryFails_;
    QList<Spot> spots_;
    int made_ = 0;
};

} // namespace spotsrv
