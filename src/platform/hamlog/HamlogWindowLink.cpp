#include "platform/hamlog/HamlogWindowLink.h"

#include "platform/forms/waits/Waits.h"
#include "platform/hamlog/HamlogRecord.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QtEndian>
#include <functional>
#include <memory>
#include <utility>

namespace hamlog::window {

namespace {

constexpr int kHeaderBytes = 16;
constexpr qint32 kMaxPayload = 64 * 1024;
constexpr int kConnectMsecs = 1000;
constexpr int kAnswerMsecs = 5000;

std::unique_ptr<QLocalSocket>& socket() {
    static std::unique_ptr<QLocalSocket> s;
    return s;
}
QByteArray pending;
Failure failure = Failure::None;
// The windows' events run while the program's answer is waited for: an
// exchange asked for meanwhile (a click while the program is slow) finds
// the link busy, as with a program that does not answer.
bool busy = false;
QString held;

bool connected() {
    return socket() && socket()->state() == QLocalSocket::ConnectedState;
}

// Waits through the windows' owner of waits until `done` holds while the
// program stays connected, at most msecs; otherwise says why it did not:
// the program went away, or took no part in the wait (stopped or hung).
bool waitForProgram(const std::function<bool()>& done, int msecs) {
    forms::waitUntil([&] { return !connected() || done(); }, msecs);
    if (connected() && done()) return true;
    failure = connected() ? Failure::NoAnswer : Failure::Unreachable;
    return false;
}

bool writeFrame(const Frame& frame) {
    if (!connected()) return false;
    socket()->write(encodeFrame(frame));
    socket()->flush();
    return waitForProgram([] { return socket()->bytesToWrite() == 0; }, kAnswerMsecs);
}

} // namespace

QByteArray itemText(const QString& text) {
    return cp932::encode(fitChars(text, kItemTextChars)) + '\0';
}

quint32 itemLength(quint32 code, const QString& text) {
    const auto chars = static_cast<quint32>(text.trimmed().size());
    switch (code) {
    case HamlogItemCall:
    case HamlogItemFreq:
    case HamlogItemMode:
    case HamlogItemField4:
        return chars;
    case HamlogItemRemarks:
    case HamlogItemName:
    case HamlogItemQth:
        return 2 * chars;
    default:
        return 0;
    }
}

CopyData item(quint32 code, const QString& text) {
    CopyData data;
    data.dwData = code;
    data.cbData = itemLength(code, text);
    const bool request = code == HamlogReqName || code == HamlogReqQth || code == HamlogReqRecNo;
    if (!request) data.lpData = itemText(text);
    return data;
}

QString serverName() {
    const QByteArray folder = paths::programFolder().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("zorvatek-TThwin-") + QString::fromLatin1(hash);
}

qintptr findWindow() {
    if (connected() || busy) return connected() ? 1 : 0;
    socket() = std::make_unique<QLocalSocket>();
    pending.clear();
    held.clear();
    socket()->connectToServer(serverName());
    const bool wasBusy = std::exchange(busy, true);
    forms::waitUntil([] { return !socket() || socket()->state() != QLocalSocket::ConnectingState; },
                     kConnectMsecs);
    busy = wasBusy;
    return connected() ? 1 : 0;
}

namespace {

// Writes the frame and waits until the program has handled it: its answer,
// or nothing. Copy data sent back meanwhile goes to ourWindow.
std::optional<quint32> exchange(qintptr window, const Frame& frame,
                                const std::function<void(const CopyData&)>& ourWindow) {
    failure = Failure::Unreachable;
    if (window <= 0) return std::nullopt;
    if (busy) {
        failure = Failure::NoAnswer;
        return std::nullopt;
    }
    struct Busy {
        Busy() { busy = true; }
        ~Busy() { busy = false; }
    } exchanging;
    if (!writeFrame(frame)) return std::nullopt;
    for (;;) {
        bool broken = false;
        while (auto reply = takeFrame(pending, broken)) {
            if (reply->kind == FrameKind::Handled) {
                failure = Failure::None;
                return reply->data.dwData;
            }
            if (reply->kind == FrameKind::CopyData && ourWindow) ourWindow(reply->data);
        }
        if (broken) failure = Failure::Unreachable;
        if (broken || !waitForProgram([] { return socket()->bytesAvailable() > 0; }, kAnswerMsecs)) {
            disconnect();
            return std::nullopt;
        }
        pending += socket()->readAll();
    }
}

// The item's text as the program reads it.
QString textOf(const CopyData& data) {
    const QByteArray bytes = data.lpData.value_or(QByteArray());
    const qsizetype end = bytes.indexOf('\0');
    return cp932::decode(end < 0 ? bytes : bytes.left(end)).trimmed();
}

// Every item passes here, so that the call the program holds is known
// whoever sent it: the call field's item (low 16 bits 0) starts the entry anew.
std::optional<quint32> exchangeItem(qintptr window, const CopyData& data,
                                    const std::function<void(const CopyData&)>& ourWindow) {
    const std::optional<quint32> answer = exchange(window, {FrameKind::CopyData, data}, ourWindow);
    const quint32 high = data.dwData >> 16;
    if ((data.dwData & 0xFFFF) == 0 && (high == 0 || high == 3))
        held = answer ? textOf(data) : QString();
    else if (data.dwData == HamlogCmdClear || data.dwData == HamlogCmdSave)
        held.clear();
    return answer;
}

} // namespace

bool sendCopyData(qintptr window, const CopyData& data,
                  const std::function<void(const CopyData&)>& ourWindow) {
    return exchangeItem(window, data, ourWindow).has_value();
}

std::optional<quint32> sendCopyDataForResult(qintptr window, const CopyData& data) {
    return exchangeItem(window, data, {});
}

QString heldCall() {
    return connected() ? held : QString();
}

Failure lastFailure() {
    return failure;
}

bool activateTitled(qintptr window, const QString& title, bool pressDown) {
    Frame frame{FrameKind::Activate, {}};
    frame.data.dwData = pressDown ? 1 : 0;
    frame.data.lpData = title.toUtf8();
    return exchange(window, frame, {}).value_or(0) == 1;
}

bool bringToFront(qintptr window, quint32 handle) {
    Frame frame{FrameKind::Foreground, {}};
    frame.data.dwData = handle;
    return exchange(window, frame, {}).value_or(0) == 1;
}

bool postClose(qintptr window) {
    return window > 0 && writeFrame({FrameKind::Close, {}});
}

void disconnect() {
    if (socket()) socket()->abort();
    socket().reset();
    pending.clear();
    held.clear();
}

QByteArray encodeFrame(const Frame& frame) {
    QByteArray bytes(kHeaderBytes, '\0');
    char* p = bytes.data();
    qToLittleEndian<quint32>(static_cast<quint32>(frame.kind), p);
    qToLittleEndian<quint32>(frame.data.dwData, p + 4);
    qToLittleEndian<quint32>(frame.data.cbData, p + 8);
    const qint32 size = frame.data.lpData ? static_cast<qint32>(frame.data.lpData->size()) : -1;
    qToLittleEndian<qint32>(size, p + 12);
    if (frame.data.lpData) bytes += *frame.data.lpData;
    return bytes;
}

std::optional<Frame> takeFrame(QByteArray& buffer, bool& broken) {
    if (buffer.size() < kHeaderBytes) return std::nullopt;
    const char* p = buffer.constData();
    const auto kind = qFromLittleEndian<quint32>(p);
    const auto size = qFromLittleEndian<qint32>(p + 12);
    if (kind < 1 || kind > 5 || size < -1 || size > kMaxPayload) {
        broken = true;
        return std::nullopt;
    }
    const qsizetype total = kHeaderBytes + std::max<qint32>(size, 0);
    if (buffer.size() < total) return std::nullopt;
    Frame frame;
    frame.kind = static_cast<FrameKind>(kind);
    frame.data.dwData = qFromLittleEndian<quint32>(p + 4);
    frame.data.cbData = qFromLittleEndian<quint32>(p + 8);
    if (size >= 0) frame.data.lpData = buffer.mid(kHeaderBytes, size);
    buffer.remove(0, total);
    return frame;
}

} // namespace hamlog::window
