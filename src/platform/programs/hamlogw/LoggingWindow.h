#pragma once
// The logging program's entry form behind its window: items fill the entry, a
// call sign brings back the name and QTH of the station's last QSO, save stores
// the entry into the log, clear drops it, requests are answered with copy data.
#include "platform/hamlog/HamlogRecord.h"
#include "platform/hamlog/HamlogWindowLink.h"

#include <QHash>
#include <QLocalServer>
#include <QObject>

class QLocalSocket;

class LoggingWindow : public QObject {
    Q_OBJECT
  public:
    explicit LoggingWindow(const QString& dataPath);
    // On: every message handled is written to standard output, one line each.
    void setTrace(bool on) { trace_ = on; }
    // False when the socket name is taken by a running window or cannot be had.
    bool listen();

  signals:
    void closeRequested();

  private:
    void acceptClient();
    void readClient(QLocalSocket* client);
    void handle(QLocalSocket* client, const hamlog::window::Frame& frame);
    // The item's answer: the entry window's handle for the frequency, 1 with
    // an entry open for the entry check; 0 for every other item.
    quint32 takeItem(quint32 code, const QString& text);
    quint32 activate(const QString& title, bool pressDown);
    quint32 bringToFront(quint32 handle);
    QString entryTitle() const;
    void traceLine(const QString& line);
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
    bool trace_ = false;
};
