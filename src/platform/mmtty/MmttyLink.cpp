#include "platform/mmtty/MmttyLink.h"

#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace mmtty {

namespace {

constexpr int StartMsecs = 5000;
constexpr int KillMsecs = 3000;

QString uniqueServerName() {
    static int serial = 0;
    return QStringLiteral("zorvatek-mmtty-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
}

} // namespace

MmttyLink::MmttyLink(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, &MmttyLink::acceptConnection);
    connect(&process_, &QProcess::finished, this, [this](int code) { emit programExited(code); });
}

MmttyLink::~MmttyLink() {
    killProgram();
}

QStringList MmttyLink::arguments(std::uint32_t mainWindow) {
    return {QStringLiteral("-m"), QStringLiteral("-d"), QStringLiteral("-p"),
            QStringLiteral("-h") + QString::number(mainWindow, 16).toUpper()};
}

qint64 MmttyLink::start(const QString& programPath, std::uint32_t mainWindow) {
    if (isRunning()) return 0;
    server_.close();
    forgetSocket();
    programWindow_ = 0;
    buffer_.clear();
    heard_.start();
    const QString name = uniqueServerName();
    QLocalServer::removeServer(name);
    if (!server_.listen(name)) return 0;

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ServerEnvironment), server_.fullServerName());
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(programPath, arguments(mainWindow));
    const auto started = [this] { return process_.state() != QProcess::Starting; };
    if (!forms::waitUntil(started, StartMsecs) || process_.state() != QProcess::Running) {
        killProgram();
        server_.close();
        return 0;
    }
    return process_.processId();
}

bool MmttyLink::isRunning() const {
    return process_.state() != QProcess::NotRunning;
}

bool MmttyLink::heardWithin(qint64 msecs) const {
    return heard_.isValid() && !heard_.hasExpired(msecs);
}

void MmttyLink::acceptConnection() {
    while (QLocalSocket* s = server_.nextPendingConnection()) {
        if (socket_) {
            // One program, one connection: a second one is not ours.
            s->abort();
            forms::destroyLater(s);
            continue;
        }
        socket_ = s;
        s->setParent(this);
        connect(s, &QLocalSocket::readyRead, this, &MmttyLink::readNotices);
        connect(s, &QLocalSocket::disconnected, this, [this] {
            readNotices();
            forgetSocket();
        });
        readNotices();
    }
}

void MmttyLink::readNotices() {
    if (!socket_) return;
    buffer_ += socket_->readAll();
    while (auto p = takePair(buffer_)) {
        heard_.start();
        if (p->code == NtfWindow) programWindow_ = p->value;
        emit notice(p->code, p->value);
    }
}

bool MmttyLink::post(std::int32_t code, std::int32_t value) {
    if (!socket_ || socket_->state() != QLocalSocket::ConnectedState) return false;
    socket_->write(encode({code, value}));
    socket_->flush();
    if (posted_.size() >= PostRecordLimit) posted_.removeFirst();
    posted_.append({code, value});
    return true;
}

bool MmttyLink::postCommand(std::int32_t code, std::int32_t value) {
    const forms::EventsRunScope eventsRun;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const bool accepted = post(code, value);
        forms::letEventsRun(10);
        if (accepted) return true;
        if (!isRunning() || waited.elapsed() > RetryLimitMsecs) return false;
    }
}

bool MmttyLink::waitForWindow(int msecs) {
    const forms::EventsRunScope eventsRun;
    if (programWindow_ != 0) return true;
    if (!isRunning()) return false;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(this, &MmttyLink::notice, &loop, [&loop](std::int32_t code) {
        if (code == NtfWindow) loop.quit();
    });
    limit.start(msecs);
    forms::runLoop(loop);
    return programWindow_ != 0;
}

bool MmttyLink::waitForExit(int msecs) {
    const forms::EventsRunScope eventsRun;
    if (!isRunning()) return true;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
    limit.start(msecs);
    if (isRunning()) forms::runLoop(loop);
    return !isRunning();
}

int MmttyLink::close(int msecs) {
    const forms::EventsRunScope eventsRun;
    QElapsedTimer waited;
    waited.start();
    // A program still starting takes the close command as soon as it has connected.
    while (isRunning() && !post(CmdClose, 0) && waited.elapsed() < msecs)
        forms::letEventsRun(10);
    const bool ended = waitForExit(int(std::max<qint64>(0, msecs - waited.elapsed())));
    if (!ended) killProgram();
    forgetSocket();
    server_.close();
    if (!ended) return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void MmttyLink::dropConnection() {
    forgetSocket();
    server_.close();
}

void MmttyLink::forgetSocket() {
    if (!socket_) return;
    QLocalSocket* s = std::exchange(socket_, nullptr);
    s->disconnect(this);
    s->abort();
    // Freed once every wait is over: a notice's handler that waits runs
    // inside the socket's own signal, and the program may die meanwhile.
    forms::destroyLater(s);
}

// Without running events: the link also goes in its destructor, while the
// windows are taken apart at the end.
void MmttyLink::killProgram() {
    if (!isRunning()) return;
    process_.kill();
    forms::waitForExitWithoutEvents(process_, KillMsecs);
}

QString provideProgram(const QString& folder) {
    const QDir dir(folder);
    const QString wanted = QString::fromLatin1(ProgramFileName);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(name);
    }
    const QString built = paths::join(paths::executableFolder(), wanted);
    const QString target = dir.filePath(wanted);
    if (!QFile::exists(built) || !QFile::copy(built, target)) return {};
    QFile::setPermissions(target, QFile::permissions(built));
    return target;
}

} // namespace mmtty
