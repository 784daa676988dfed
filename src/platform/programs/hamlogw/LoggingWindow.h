#pragma once
// The logging program's entry form behind its window: items fill the entry, a
// call sign brings back the name and QTH of the station's last QSO, save stores
// the entry into the log, clear drops it, requests are answered with copy data.
#include "platform/HamlogRecord.h"
#include "platform/HamlogWindowLink.h"

#include <QHash>
#include <QLocalServer>
#include <QObject>

class QLocalSocket;

class LoggingWindow : public QObject {
    Q_OBJECT
  public:
    explicit LoggingWindow(const QString& dataPath);
    // False when the socket name is taken by a running window or cannot be had.
    bool listen();

  signals:
    void closeRequested();

  private:
    void acceptClient();
    void readClient(QLocalSocket* client);
    void handle(QLocalSocket* client, const hamlog::window::Frame& frame);
    void takeItem(quint32 code, const QString& text);
    QString answer(quint32 code);
    void takeCall(const QString& call);
    void store();
    int recordCount();

    QString dataPath_;
    // Declared before the server: its clients still report their disconnection
    // into it while the server is taken down.
    QHash<QLocalSocket*, QByteArray> buffers_;
    QLocalServer server_;
    hamlog::QsoRecord entry_;
};
