#pragma once
// The system's link to the RTTY/CW program (MMTTY.EXE): starts the program as a
// process of its own with the command line it expects, carries (code, value)
// pairs to it over a local socket in place of its registered window message,
// and turns the pairs it sends back into the notice() signal, in order. The
// link alone frees its socket, once every wait is over.
//
// Callers rely on: start() gives the process id or 0; postCommand() retries a
// refused post, letting pending events run, until the program takes it (or the
// program is gone); close() ends the program and waits for its exit with a
// limit, killing it on give-up; no process outlives the link.
#include "platform/mmtty/MmttyProtocol.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QProcess>

namespace mmtty {

class MmttyLink : public QObject {
    Q_OBJECT
  public:
    explicit MmttyLink(QObject* parent = nullptr);
    ~MmttyLink() override;

    // The argument list of the command line: "-m", "-d", "-p", "-h" + the main
    // window's handle in upper-case hexadecimal without leading zeros.
    static QStringList arguments(std::uint32_t mainWindow);

    // Starts the program and opens the local server it connects to. The process
    // id, or 0 when the program could not be started (nothing is left running).
    qint64 start(const QString& programPath, std::uint32_t mainWindow);
    bool isRunning() const;
    // True when the program has sent anything within msecs (it sends its
    // level several times a second while it runs); a program that runs but
    // says nothing is stopped or hung.
    bool heardWithin(qint64 msecs) const;
    // The program's window handle from its window notice; 0 until it came.
    std::int32_t programWindow() const { return programWindow_; }
    // Waits, letting pending events run, for the program's window notice; false
    // when it has not come within msecs or the program has ended.
    bool waitForWindow(int msecs);

    // One post: false (refused) while the program is not connected.
    bool post(std::int32_t code, std::int32_t value);
    // The post-with-retry: pending events run after every attempt. Gives up,
    // returning false, when the program has ended or has not connected within
    // RetryLimitMsecs, rather than waiting forever for a program that is gone.
    bool postCommand(std::int32_t code, std::int32_t value);
    static constexpr int RetryLimitMsecs = 10000;
    // Every post the program took, in order (the last PostRecordLimit), for tests.
    const QList<Pair>& posted() const { return posted_; }
    void clearPosted() { posted_.clear(); }
    static constexpr int PostRecordLimit = 2000;

    // Waits for the program to exit, letting pending events run; true once it has.
    bool waitForExit(int msecs);
    // Posts the close command and waits up to msecs; a program still running
    // then is killed. Returns the exit code, or -1 when it had to be killed.
    int close(int msecs = 1000);
    // Drops the system's end of the connection at once (as when the system ends
    // without closing the program); the program notices and exits.
    void dropConnection();

  signals:
    void notice(std::int32_t code, std::int32_t value);
    void programExited(int exitCode);

  private:
    void acceptConnection();
    void readNotices();
    void killProgram();
    void forgetSocket();

    QLocalServer server_;
    QPointer<QLocalSocket> socket_;
    QProcess process_;
    QByteArray buffer_;
    std::int32_t programWindow_ = 0;
    QElapsedTimer heard_;
    QList<Pair> posted_;
};

// The program's path in the given folder, found without regard to case; when
// it is not there, the program built beside the system is copied in under the
// name the system looks for. Empty when neither can be had.
QString provideProgram(const QString& folder);

} // namespace mmtty
