#include "LoggingWindow.h"

#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "platform/hamlog/Hamlog.h"

#include <QLocalSocket>
#include <QTextStream>

using namespace hamlog;
using namespace hamlog::window;

namespace {

// The text of an item: its bytes up to the zero byte, without the blank padding.
QString itemTextOf(const CopyData& data) {
    if (!data.lpData) return {};
    const QByteArray bytes = *data.lpData;
    const qsizetype end = bytes.indexOf('\0');
    return cp932::decode(end < 0 ? bytes : bytes.left(end)).trimmed();
}

// The field an item fills, by the low 16 bits of its code; -1 for no field.
int fieldOfItem(quint32 code) {
    const quint32 high = code >> 16;
    const int no = static_cast<int>(code & 0xFFFF);
    if ((high != 0 && high != 3) || no > FieldRem2 || fieldWidth(no) == 0) return -1;
    return no;
}

// Codes of the entry window's own items, answered with a value.
constexpr quint32 ItemEntryCheck = 0x20001;
constexpr quint32 ItemEntryFreq = 0x20006;
// The handle by which the system may bring the entry window to the front.
constexpr quint32 EntryWindowHandle = 0x4C4F47;
// The entry window's title: this text followed by the entry's call sign.
const QString EntryTitle = QStringLiteral(" ＬＯＧ-[Ａ]　　　");

// A reply always carries text: an empty answer goes as one blank, so that the
// system takes it as "nothing known" rather than dropping it.
CopyData reply(quint32 code, const QString& text) {
    CopyData data;
    data.dwData = code;
    data.lpData = cp932::encode(text.isEmpty() ? QStringLiteral(" ") : text);
    data.cbData = static_cast<quint32>(data.lpData->size());
    return data;
}

} // namespace

LoggingWindow::LoggingWindow(const QString& dataPath) : dataPath_(dataPath) {
    connect(&server_, &QLocalServer::newConnection, this, &LoggingWindow::acceptClient);
}

bool LoggingWindow::listen() {
    QLocalSocket probe;
    probe.connectToServer(serverName());
    if (probe.waitForConnected(500)) return false;
    QLocalServer::removeServer(serverName());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(serverName());
}

void LoggingWindow::acceptClient() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        buffers_.insert(client, {});
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readClient(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client] {
            buffers_.remove(client);
            client->deleteLater();
        });
    }
}

void LoggingWindow::readClient(QLocalSocket* client) {
    QByteArray& buffer = buffers_[client];
    buffer += client->readAll();
    bool broken = false;
    while (auto frame = takeFrame(buffer, broken))
        handle(client, *frame);
    if (broken) client->abort();
}

void LoggingWindow::handle(QLocalSocket* client, const Frame& frame) {
    if (frame.kind == FrameKind::Close) {
        emit closeRequested();
        return;
    }
    Frame handled{FrameKind::Handled, {}};
    const quint32 code = frame.data.dwData;
    if (frame.kind == FrameKind::Activate) {
        handled.data.dwData =
            activate(QString::fromUtf8(frame.data.lpData.value_or(QByteArray())), code == 1);
    } else if (frame.kind == FrameKind::Foreground) {
        handled.data.dwData = bringToFront(code);
    } else if (frame.kind != FrameKind::CopyData) {
        return;
    } else if (code == HamlogReqName || code == HamlogReqQth || code == HamlogReqRecNo) {
        traceLine(QStringLiteral("request %1").arg(code));
        client->write(encodeFrame({FrameKind::CopyData, reply(code, answer(code))}));
    } else {
        const QString text = itemTextOf(frame.data);
        traceLine(QStringLiteral("item 0x%1 %2").arg(code, 0, 16).arg(text));
        handled.data.dwData = takeItem(code, text);
    }
    client->write(encodeFrame(handled));
    client->flush();
}

quint32 LoggingWindow::takeItem(quint32 code, const QString& text) {
    if (code == HamlogCmdClear) {
        entry_ = {};
    } else if (code == HamlogCmdSave) {
        store();
    } else if (code == HamlogItemCall) {
        takeCall(text);
    } else if (code == ItemEntryCheck) {
        return entry_.CALL.isEmpty() ? 0 : 1;
    } else if (code == ItemEntryFreq) {
        entry_.FREQ = text;
        return entry_.CALL.isEmpty() ? 0 : EntryWindowHandle;
    } else if (const int no = fieldOfItem(code); no >= 0) {
        *entry_.field(no) = text;
    }
    return 0;
}

QString LoggingWindow::entryTitle() const {
    return EntryTitle + entry_.CALL;
}

// The entry window is the one window of ours a title can name.
quint32 LoggingWindow::activate(const QString& title, bool pressDown) {
    const bool found = !entry_.CALL.isEmpty() && entryTitle().startsWith(title);
    traceLine(QStringLiteral("activate %1%2%3")
                  .arg(title, pressDown ? QStringLiteral(" +Down") : QString(),
                       found ? QString() : QStringLiteral(" (no such window)")));
    return found ? 1 : 0;
}

quint32 LoggingWindow::bringToFront(quint32 handle) {
    const bool found = !entry_.CALL.isEmpty() && handle == EntryWindowHandle;
    traceLine(QStringLiteral("front 0x%1%2")
                  .arg(handle, 0, 16)
                  .arg(found ? QString() : QStringLiteral(" (no such window)")));
    return found ? 1 : 0;
}

void LoggingWindow::traceLine(const QString& line) {
    if (!trace_) return;
    QTextStream out(stdout);
    out << line << Qt::endl;
}

QString LoggingWindow::answer(quint32 code) {
    switch (code) {
    case HamlogReqName:
        return entry_.NAME;
    case HamlogReqQth:
        return entry_.QTH;
    default:
        return QStringLiteral("count= %1\r\n").arg(recordCount());
    }
}

// A new call starts a new entry, stamped now and filled from the last QSO.
void LoggingWindow::takeCall(const QString& call) {
    entry_ = {};
    entry_.CALL = call;
    const QDateTime now = sysclock::jstNow();
    entry_.DATE = now.toString(QStringLiteral("yy-MM-dd"));
    entry_.TIME = now.toString(QStringLiteral("HH:mm")) + QLatin1Char('J');
    HamlogHandle log;
    if (HamlogOpen(0, log, dataPath_, 0) != Done) return;
    QString field;
    for (int recNo = Vidx_search(log, call, 16); recNo > 0; recNo = Vidx_next(log, 16)) {
        if (THW_read(log, recNo, 3) != Done) break;
        ThwString(field, log, FieldCall);
        if (field.trimmed() != call) break;
        ThwString(field, log, FieldName);
        entry_.NAME = field.trimmed();
        ThwString(field, log, FieldQth);
        entry_.QTH = field.trimmed();
    }
    HamlogClose(log, 0);
}

void LoggingWindow::store() {
    if (entry_.CALL.isEmpty()) return;
    HamlogHandle log;
    bool stored = false;
    if (HamlogOpen(0, log, dataPath_, 0) == Done) {
        for (const FieldSpec& f : kFields)
            SetThBuffer(log, *entry_.field(f.no), f.no);
        stored = THW_append(log, 16, 0) == Done;
    }
    HamlogClose(log, 0);
    // A failed store keeps the entry, so that saving again can still store it.
    if (stored)
        entry_ = {};
    else
        qWarning("hamlogw: the QSO could not be stored");
}

int LoggingWindow::recordCount() {
    HamlogHandle log;
    const int count = HamlogOpen(0, log, dataPath_, 0) == Done ? Vdbf_rcount(log) : 0;
    HamlogClose(log, 0);
    return count;
}
