#pragma once
// The stand-in for MMQSL's automation members. It answers each request line,
// keeps the log lines handed to it, and on DoPrint records the card definition
// file and the lines in MMQSL_PRINTED.TXT in its own folder; PrintStat turns 2
// once the short print is done.
//
// Two hooks for trying the caller's failures, taken from the environment:
// MMQSL_STANDIN_FAIL=<member> refuses that member, MMQSL_STANDIN_PRINT=never
// starts a print that never ends.
#include "platform/qsl/MmqslProtocol.h"

#include <QObject>
#include <QStringList>

class QLocalSocket;

class QslPrinter : public QObject {
    Q_OBJECT
  public:
    QslPrinter(QLocalSocket& socket, QString folder);

  signals:
    void released();

  private:
    void readRequests();
    mmqsl::Reply answer(const mmqsl::Request& r);
    mmqsl::Reply print();

    QLocalSocket& socket_;
    QString folder_;
    QString failing_;
    bool endless_ = false;
    QString document_;
    QStringList lines_;
    int printStat_ = 0;
};
