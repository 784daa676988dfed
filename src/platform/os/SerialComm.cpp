#include "platform/os/SerialComm.h"

#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include <cerrno>
#include <poll.h>
#include <sys/stat.h>

namespace {

// Our own codes for failures the port itself does not report.
constexpr int kBadPortName = 100;
constexpr int kBadSettings = 101;
constexpr int kNotASerialPort = 102;

// A name that leads to something other than a device (a file, a folder) is no port.
// The other end of the line has hung up: the device is gone.
bool hungUp(int fd) {
    pollfd p{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

// Said before the port is tried: Qt takes the device's lock first, and a lock
// held meanwhile by another program trying the same name would read as in use.
bool isMissing(const QString& device) {
    struct stat st {};
    return ::stat(QFile::encodeName(device).constData(), &st) != 0 && errno == ENOENT;
}

bool isSomethingElse(const QString& device) {
    struct stat st {};
    return ::stat(QFile::encodeName(device).constData(), &st) == 0 && !S_ISCHR(st.st_mode);
}

QString describe(QSerialPort::SerialPortError e, const QString& device) {
    switch (e) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("シリアルポート %1 が見つかりません").arg(device);
    case QSerialPort::PermissionError:
        return QStringLiteral("シリアルポート %1 は使用中か、使用する権限がありません").arg(device);
    case QSerialPort::OpenError:
        return QStringLiteral("シリアルポート %1 は既に開いています").arg(device);
    case QSerialPort::NotOpenError:
        return QStringLiteral("シリアルポート %1 が開かれていません").arg(device);
    case QSerialPort::WriteError:
        return QStringLiteral("シリアルポート %1 に書き込めません").arg(device);
    case QSerialPort::ReadError:
        return QStringLiteral("シリアルポート %1 から読み込めません").arg(device);
    case QSerialPort::ResourceError:
        return QStringLiteral("シリアルポート %1 が使えなくなりました").arg(device);
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("シリアルポート %1 はこの設定に対応していません").arg(device);
    default:
        return QStringLiteral("シリアルポート %1 の異常です").arg(device);
    }
}

} // namespace

SerialComm::SerialComm(QObject* parent) : QObject(parent) {
    // The receive event runs from the event queue, never inside readyRead
    // itself, so that a wait inside a receive handler still sees new data arrive.
    connect(&port_, &QSerialPort::readyRead, this, &SerialComm::checkReceive, Qt::QueuedConnection);
    // A line that hangs up reads as empty for ever; reading it again and again
    // would keep the core busy, so the port closes and each later command
    // fails (silently, as a failed write does) until the port is opened anew.
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::WriteError) emit writeFailedLate();
        if (e != QSerialPort::ReadError && e != QSerialPort::ResourceError) return;
        QTimer::singleShot(0, this, [this] {
            if (!port_.isOpen() || !hungUp(int(port_.handle()))) return;
            port_.close();
            failed(QSerialPort::ResourceError, describe(QSerialPort::ResourceError, deviceFor(storedName_)));
            emit lineLost();
        });
    });
}

QString SerialComm::deviceFor(const QString& storedName) {
    if (storedName.startsWith(QLatin1Char('/'))) return storedName;
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(storedName.trimmed());
    if (!m.hasMatch()) return {};
    return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
}

bool SerialComm::setSettings(const QString& settings) {
    const QStringList parts = settings.split(QLatin1Char(','));
    bool baudOk = false;
    const int baud = parts.value(0).trimmed().toInt(&baudOk);
    const QString parity = parts.value(1).trimmed().toUpper();
    const int data = parts.value(2).trimmed().toInt();
    const QString stop = parts.value(3).trimmed();
    static const QString parities = QStringLiteral("NEOMS");
    if (parts.size() != 4 || !baudOk || baud <= 0 || parity.size() != 1 || !parities.contains(parity) ||
        data < 5 || data > 8 || (stop != QLatin1String("1") && stop != QLatin1String("2"))) {
        failed(kBadSettings, QStringLiteral("通信設定 \"%1\" が正しくありません").arg(settings));
        return false;
    }
    baud_ = baud;
    static const QSerialPort::Parity byLetter[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                                   QSerialPort::OddParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    parity_ = byLetter[parities.indexOf(parity)];
    dataBits_ = static_cast<QSerialPort::DataBits>(data);
    stopBits_ = stop == QLatin1String("2") ? QSerialPort::TwoStop : QSerialPort::OneStop;
    if (port_.isOpen()) {
        port_.setBaudRate(baud_);
        port_.setParity(parity_);
        port_.setDataBits(dataBits_);
        port_.setStopBits(stopBits_);
    }
    return true;
}

int SerialComm::bitsPerCharacter() const {
    return 1 + int(dataBits_) + (parity_ == QSerialPort::NoParity ? 0 : 1) +
           (stopBits_ == QSerialPort::TwoStop ? 2 : 1);
}

void SerialComm::setRThreshold(int bytes) {
    threshold_ = bytes;
}

void SerialComm::setRtsEnable(bool on) {
    rts_ = on;
    if (port_.isOpen()) port_.setRequestToSend(on);
}

void SerialComm::setDtrEnable(bool on) {
    dtr_ = on;
    if (port_.isOpen()) port_.setDataTerminalReady(on);
}

bool SerialComm::open() {
    const QString device = deviceFor(storedName_);
    if (device.isEmpty()) {
        failed(kBadPortName, QStringLiteral("ポート名 \"%1\" が正しくありません").arg(storedName_));
        return false;
    }
    if (port_.isOpen()) {
        failed(QSerialPort::OpenError, describe(QSerialPort::OpenError, device));
        return false;
    }
    if (isMissing(device)) {
        failed(QSerialPort::DeviceNotFoundError, describe(QSerialPort::DeviceNotFoundError, device));
        return false;
    }
    if (isSomethingElse(device)) {
        failed(kNotASerialPort, QStringLiteral("%1 はシリアルポートではありません").arg(device));
        return false;
    }
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        takeError();
        return false;
    }
    const bool configured = port_.setBaudRate(baud_) && port_.setParity(parity_) &&
                            port_.setDataBits(dataBits_) && port_.setStopBits(stopBits_) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        takeError();
        port_.close();
        return false;
    }
    // Not every device has modem lines (a pseudo-terminal has none); that is no failure.
    port_.setRequestToSend(rts_);
    port_.setDataTerminalReady(dtr_);
    port_.clearError();
    return true;
}

void SerialComm::close() {
    if (port_.isOpen()) port_.close();
}

void SerialComm::clearBuffers() {
    if (!port_.isOpen()) return;
    // Only what came in: a command written a moment ago may still wait in the
    // driver's transmit queue, and dropping it would lose the rig's keying.
    consumed_ += port_.bytesAvailable();
    port_.clear(QSerialPort::Input);
    consumed_ += port_.readAll().size();
}

bool SerialComm::write(const QByteArray& bytes) {
    if (!port_.isOpen()) {
        failed(QSerialPort::NotOpenError, describe(QSerialPort::NotOpenError, deviceFor(storedName_)));
        return false;
    }
    // Out at once rather than at the next turn of the event loop, so that
    // pacing and reply waits count from the moment the command leaves.
    if (port_.write(bytes) != bytes.size() ||
        (!port_.flush() && port_.bytesToWrite() > 0 && port_.error() != QSerialPort::NoError)) {
        takeError();
        port_.clear(QSerialPort::Output);
        return false;
    }
    return true;
}

QVariant SerialComm::input() {
    const QByteArray bytes = port_.isOpen() ? port_.readAll() : QByteArray();
    consumed_ += bytes.size();
    return inputMode_ == Text ? QVariant(QString::fromLatin1(bytes)) : QVariant(bytes);
}

QByteArray SerialComm::peekInput() {
    return port_.isOpen() ? port_.peek(port_.bytesAvailable()) : QByteArray();
}

void SerialComm::failed(int code, const QString& text) {
    errorCode_ = code;
    errorText_ = text;
}

void SerialComm::takeError() {
    const QSerialPort::SerialPortError e = port_.error();
    failed(int(e), describe(e, deviceFor(storedName_)));
    port_.clearError();
}

void SerialComm::checkReceive() {
    if (port_.isOpen() && port_.bytesAvailable() > 0) emit arrived();
    if (threshold_ > 0 && port_.isOpen() && port_.bytesAvailable() >= threshold_) emit onComm(kEvReceive);
}
