#pragma once
// The program's end of the connection to the system: reads commands, hands them
// to the modem, writes the modem's notices back, and ends the program on the
// close command or when the system's end goes away.
#include "RttyModem.h"

#include <QLocalSocket>
#include <QObject>
#include <QTimer>

namespace mmtty {

class RttyLink : public QObject {
    Q_OBJECT
  public:
    explicit RttyLink(const QString& serverName);
    ~RttyLink() override;
    // Connects and announces the window handle; false when the system is not there.
    bool connectToSystem();

  private:
    void readCommands();
    void send(const QList<Pair>& notices);
    void finish();
    void saveSettings();

    QString serverName_;
    QLocalSocket socket_;
    QTimer ticker_;
    QByteArray buffer_;
    RttyModem modem_;
};

} // namespace mmtty
