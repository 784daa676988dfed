#include "platform/qsl/MmqslAutomation.h"

#include "platform/forms/waits/Waits.h"
#include "platform/qsl/MmqslProtocol.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QUuid>

namespace mmqsl {

namespace {

constexpr int kAnswerMsecs = 5000;
constexpr int kStartMsecs = 10000;
// The program ends once the link drops; one that has not by then is killed.
constexpr int kEndMsecs = 1000;

} // namespace

Application::Application(const QString& programPath)
    : server_(std::make_unique<QLocalServer>()), process_(std::make_unique<QProcess>()) {
    const QFileInfo program(programPath);
    if (!program.isFile() || !program.isExecutable()) return;
    const QString name = QStringLiteral("zorvatek-mmqsl-") + QUuid::createUuid().toString(QUuid::Id128);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return;
    process_->setProgram(program.absoluteFilePath());
    process_->setArguments({QStringLiteral("-Automation"), server_->fullServerName()});
    process_->setWorkingDirectory(program.absolutePath());
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    process_->start();
    // The windows' events run meanwhile, through their owner of waits.
    const auto started = [this] { return process_->state() != QProcess::Starting; };
    if (!forms::waitUntil(started, kStartMsecs) || process_->state() != QProcess::Running) return;
    const auto connected = [this] {
        return server_->hasPendingConnections() || process_->state() == QProcess::NotRunning;
    };
    if (!forms::waitUntil(connected, kStartMsecs) || !server_->hasPendingConnections()) return;
    socket_ = server_->nextPendingConnection();
}

// No events run here: the automation may go while the windows are taken
// apart at the end, and nothing of theirs may run inside its destructor.
Application::~Application() {
    if (socket_) socket_->disconnectFromServer();
    if (forms::waitForExitWithoutEvents(*process_, kEndMsecs)) return;
    process_->kill();
    forms::waitForExitWithoutEvents(*process_, kEndMsecs);
}

std::optional<QString> Application::call(const QString& member, const QString& argument) {
    if (!socket_ || socket_->state() != QLocalSocket::ConnectedState) return std::nullopt;
    socket_->write(requestLine(member, argument));
    socket_->flush();
    const auto answered = [this] {
        return socket_->canReadLine() || socket_->state() != QLocalSocket::ConnectedState;
    };
    if (!forms::waitUntil(answered, kAnswerMsecs) || !socket_->canReadLine()) return std::nullopt;
    QByteArray line = socket_->readLine();
    line.chop(1);
    const std::optional<Reply> reply = parseReply(line);
    if (!reply || !reply->ok) return std::nullopt;
    return reply->value;
}

std::optional<int> Application::number(const std::optional<QString>& value) {
    if (!value) return std::nullopt;
    bool ok = false;
    const int n = value->toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace mmqsl
