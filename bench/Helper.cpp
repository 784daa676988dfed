#include "Helper.h"

#include "RunEvents.h"

#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <unistd.h>

namespace bench {

namespace {

// How each helper that ended before its time ended, said once each.
QStringList endings;
constexpr int kLastWords = 8;

} // namespace

Helper::Helper(QString name, QString program, QStringList arguments) : name_(std::move(name)) {
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // Killed by the system when the benchmark goes, however it goes; one
    // whose starter went while it started ends at once.
    const pid_t starter = ::getpid();
    process_.setChildProcessModifier([starter] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != starter) ::_exit(127);
    });
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { read(); });
    QObject::connect(&process_, &QProcess::finished, [this](int code, QProcess::ExitStatus status) {
        read();
        if (!partial_.isEmpty()) lastWords_ << std::exchange(partial_, {});
        if (stopping_) return;
        end(status == QProcess::CrashExit ? QStringLiteral("was ended by a signal")
                                          : QStringLiteral("ended with %1").arg(code));
    });
    QObject::connect(&process_, &QProcess::errorOccurred, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) end(QStringLiteral("did not start: ") + process_.errorString());
    });
}

Helper::~Helper() {
    stop({}, 0);
}

std::optional<QByteArray> Helper::start(int maxMs) {
    process_.start();
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, &loop, [&] {
        if (first_) loop.quit();
    });
    QObject::connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process_, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    limit.start(maxMs);
    if (!first_ && ended_.isEmpty()) loop.exec();
    if (!first_ && ended_.isEmpty()) {
        end(QStringLiteral("said nothing within %1 s").arg(maxMs / 1000));
        stop({}, 0);
    }
    return first_;
}

void Helper::read() {
    partial_ += process_.readAllStandardOutput();
    for (qsizetype eol; (eol = partial_.indexOf('\n')) >= 0;) {
        const QByteArray line = partial_.left(eol);
        partial_.remove(0, eol + 1);
        lastWords_ << line;
        if (lastWords_.size() > kLastWords) lastWords_.removeFirst();
        if (!first_)
            first_ = line;
        else if (heard_)
            heard_(line);
    }
}

void Helper::end(const QString& how) {
    if (!ended_.isEmpty()) return;
    ended_ = name_ + QLatin1Char(' ') + how;
    if (!lastWords_.isEmpty())
        ended_ += QStringLiteral(", its last words: ") + QString::fromLocal8Bit(lastWords_.join(" / "));
    endings << ended_;
    std::fprintf(stderr, "HELPER ENDED: %s\n", qPrintable(ended_));
    std::fflush(stderr);
}

void Helper::stop(const QByteArray& command, int maxMs) {
    stopping_ = true;
    if (process_.state() == QProcess::NotRunning) return;
    if (!command.isEmpty() && process_.write(command) == command.size() && process_.waitForFinished(maxMs))
        return;
    process_.kill();
    process_.waitForFinished(10'000);
}

bool helpersRun(const HelperEnded& failed) {
    if (endings.isEmpty()) return true;
    failed(helpersEnded());
    return false;
}

bool runEventsWhileHelpersRun(int ms, const HelperEnded& failed, const std::function<bool()>& done) {
    runEvents(ms, [&] { return !endings.isEmpty() || (done && done()); });
    return helpersRun(failed);
}

QString helpersEnded() {
    return endings.join(QLatin1Char('\n'));
}

} // namespace bench
