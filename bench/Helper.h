#pragma once
// A program a benchmark starts beside the one it measures (the rig simulator,
// the spot server), as an operator runs it. It never outlives the benchmark,
// however that ends (a return, an abort, a signal, a limit run past): the
// system kills it when its starter goes. What it says is kept; an end before
// the benchmark stops it is seen as it comes and said once, with how it ended
// and its last words, so that the benchmark ends rather than waiting on it.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace bench {

class Helper {
  public:
    Helper(QString name, QString program, QStringList arguments);
    ~Helper();
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    // Starts it and runs events until its first line comes, at most maxMs;
    // that line, or nothing (and ended() says why) when it ended, failed to
    // start or said nothing in time.
    std::optional<QByteArray> start(int maxMs);
    // Each further line it says, as it comes.
    void onLine(std::function<void(const QByteArray&)> heard) { heard_ = std::move(heard); }
    // How it ended before it was stopped, with its last words; empty while it runs.
    const QString& ended() const { return ended_; }
    // Writes to its input (a command it takes).
    void write(const QByteArray& bytes) { process_.write(bytes); }
    // Ends it: the command it takes to end, else (or when it does not end within maxMs) a kill.
    void stop(const QByteArray& command, int maxMs);
    qint64 pid() const { return process_.processId(); }

  private:
    void read();
    void end(const QString& how);

    QString name_;
    QProcess process_;
    std::function<void(const QByteArray&)> heard_;
    QByteArray partial_;
    QList<QByteArray> lastWords_;
    std::optional<QByteArray> first_;
    bool stopping_ = false;
    QString ended_;
};

// What a benchmark does when a helper has ended: ends in its own error, given what the helpers said.
using HelperEnded = std::function<void(const QString&)>;
// Whether every helper still runs; when one has ended, `failed` is given what the helpers said.
bool helpersRun(const HelperEnded& failed);
// Runs events for ms, or until `done` holds or a helper has ended (checked as events come, every 50 ms
// at the least); then helpersRun(failed).
bool runEventsWhileHelpersRun(int ms, const HelperEnded& failed, const std::function<bool()>& done = {});
// What the helpers that ended said of it, one line each; empty while every one runs.
QString helpersEnded();

} // namespace bench
