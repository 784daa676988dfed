#include "RttyLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace mmtty {

namespace {
constexpr int ConnectMsecs = 5000;
}

RttyLink::RttyLink(const QString& serverName) : serverName_(serverName) {
    connect(&socket_, &QLocalSocket::readyRead, this, &RttyLink::readCommands);
    connect(&socket_, &QLocalSocket::disconnected, this, &RttyLink::finish);
    connect(&ticker_, &QTimer::timeout, this, [this] { send(modem_.tick()); });
}

RttyLink::~RttyLink() {
    // The socket says goodbye as it is destroyed; we are past listening by then.
    disconnect(&socket_, nullptr, this, nullptr);
}

bool RttyLink::connectToSystem() {
    socket_.connectToServer(serverName_);
    if (!socket_.waitForConnected(ConnectMsecs)) return false;
    // Our "window handle" is the process id: unique while we run and never 0.
    if (qgetenv(WithholdWindowEnvironment) != "1")
        send({RttyModem::windowNotice(std::int32_t(QCoreApplication::applicationPid()))});
    ticker_.start(RttyModem::TickMsecs);
    return true;
}

void RttyLink::readCommands() {
    buffer_ += socket_.readAll();
    while (auto c = takePair(buffer_)) {
        send(modem_.command(*c));
        if (modem_.closeRequested()) {
            // Kept at the close, as the real program keeps its settings.
            saveSettings();
            finish();
            return;
        }
    }
}

void RttyLink::send(const QList<Pair>& notices) {
    if (socket_.state() != QLocalSocket::ConnectedState) return;
    for (const Pair& p : notices)
        socket_.write(encode(p));
    socket_.flush();
}

void RttyLink::saveSettings() {
    // A folder that cannot be written keeps the settings for this run only.
    QFile f(QDir(QCoreApplication::applicationDirPath()).filePath(RttyModem::SettingsFileName));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(modem_.settingsFile());
}

void RttyLink::finish() {
    ticker_.stop();
    // Queued, so that a close that comes before the event loop runs still ends it.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace mmtty
