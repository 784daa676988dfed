#include "support/RigSimulator.h"

#include "platform/os/SerialComm.h"
#include "platform/os/WaitClock.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "support/ProgramFolder.h"

#include <QFile>
#include <QTimer>
#include <utility>

#include <algorithm>
#include <memory>

namespace zvtest {
namespace {

// Decimal digits of a number as BCD bytes, most significant first.
QByteArray bcd(qint64 value, int bytes) {
    QByteArray out(bytes, 0);
    for (int i = bytes - 1; i >= 0; --i) {
        const int lo = int(value % 10);
        value /= 10;
        const int hi = int(value % 10);
        value /= 10;
        out[i] = char(hi << 4 | lo);
    }
    return out;
}

// The bytes in the opposite order (the rigs that send least significant first).
QByteArray reversed(const QByteArray& bytes) {
    QByteArray out;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it)
        out.append(*it);
    return out;
}

qint64 fromBcd(const QByteArray& bytes) {
    qint64 v = 0;
    for (char c : bytes)
        v = v * 100 + ((uchar(c) >> 4) & 0x0F) * 10 + (c & 0x0F);
    return v;
}

void putBigEndian(QByteArray& b, int pos, quint32 v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        b[pos + i] = char(v & 0xFF);
}

// Simulated rigs alive: while there is one, the rig link waits by its clock.
int living = 0;

} // namespace

RigSimulator::RigSimulator(const QString& family, unsigned char icomAddress)
    : family_(family), address_(icomAddress), toRig_([this](const QByteArray& b) { hear(b); }),
      fromRig_([this](const QByteArray& b) { lineOut(b); }) {
    if (family_ == QLatin1String("KENWOOD")) mode = 2;
    if (family_ == QLatin1String("JST-245")) mode = 2;
    if (family_ == QLatin1String("FT920")) mode = 64;
    if (living++ == 0) waitclock::setForTest(&lineClockMs);
    // The line clock runs while events run, as a real one does with nothing on
    // the line: an answer's time passes for a link that does not wait for it.
    clockKeeper_.setTimerType(Qt::PreciseTimer);
    connect(&clockKeeper_, &QTimer::timeout, this, [] { lineClockNs(); });
    clockKeeper_.start(2);
    if (!pty_.isOpen()) return;
    // Open to every user, as /dev/pts is: a test may open the port as another.
    QFile::setPermissions(linkFolder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                  QFile::ExeOther);
    const QString link = linkFolder_.filePath(QStringLiteral("rig"));
    if (linkFolder_.isValid() && QFile::link(pty_.devicePath(), link)) link_ = link;
    notifier_ = std::make_unique<QSocketNotifier>(pty_.masterFd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &RigSimulator::onReadable);
}

RigSimulator::~RigSimulator() {
    if (--living == 0) waitclock::setForTest(nullptr);
}

qint64 RigSimulator::characterNs() const {
    const std::optional<PtyPair::Line> line = (host_ ? host_->pty_ : pty_).line();
    if (!pacedAtLineRate || !line) return 0;
    return qint64(line->bitsPerCharacter) * 1000000000 / line->baud;
}

void RigSimulator::onReadable() {
    const QByteArray bytes = pty_.readAvailable();
    if (!cableIn_) {
        if (other_) other_->takeFromLine(bytes);
        return;
    }
    takeFromLine(bytes);
}

void RigSimulator::takeFromLine(const QByteArray& bytes) {
    received += bytes;
    toRig_.setCharacterNs(characterNs());
    toRig_.put(bytes);
}

void RigSimulator::hearAllWritten() {
    onReadable();
    toRig_.flush();
}

void RigSimulator::pullCable() {
    if (!cableIn_) return;
    hearAllWritten();
    cableIn_ = false;
    fromRig_.drop();
    held_.clear();
}

void RigSimulator::lineOut(const QByteArray& bytes) {
    (host_ ? host_->pty_ : pty_).write(bytes);
}

RigSimulator& RigSimulator::putOtherRigOnLine(const QString& family) {
    pullCable();
    other_ = std::make_unique<RigSimulator>(family, address_);
    other_->host_ = this;
    return *other_;
}

void RigSimulator::plugCableBack() {
    other_.reset();
    if (cableIn_) return;
    pty_.readAvailable(); // written while the cable was out: lost
    cableIn_ = true;
}

qint64 RigSimulator::markLine() {
    onReadable();
    return received.size();
}

void RigSimulator::hear(const QByteArray& bytes) {
    // One character at a time, so that a frame is taken (and an ICOM frame
    // echoed) the moment its last character has come in.
    const bool kenwood = family_ == QLatin1String("KENWOOD");
    // What the rig sends for them starts when they came in, however late the tick that brought them.
    hearingAtNs_ = toRig_.deliveredAtNs();
    for (const char c : bytes) {
        // A KENWOOD command's carriage return follows its ";", which the rig answers at once.
        const bool lineEnd = kenwood && (c == '\r' || c == '\n');
        if (fromRig_.busyAt(hearingAtNs_) && !lineEnd) heardWhileSending_ << heard_;
        ++heard_;
        pending_ += c;
        // On another rig's line, the bus heard as one wire: every byte back.
        if (host_ && family_ == QLatin1String("ICOM")) lineOut(QByteArray(1, c));
        if (family_ == QLatin1String("ICOM"))
            takeIcom();
        else if (kenwood)
            takeText(';');
        else if (family_ == QLatin1String("JST-245"))
            takeText('\r');
        else
            takeYaesu();
    }
    hearingAtNs_ = -1;
}

bool RigSimulator::consume(qsizetype n) {
    pending_.remove(0, n);
    consumed_ += n;
    bool overlapped = false;
    while (!heardWhileSending_.isEmpty() && heardWhileSending_.first() < consumed_) {
        heardWhileSending_.removeFirst();
        overlapped = true;
    }
    return overlapped;
}

void RigSimulator::taken(const QByteArray& command, bool overlapped) {
    commands << command;
    if (!overlapped) return;
    ++overlaps;
    emit overlapHeard(command);
}

QByteArray RigSimulator::marker() const {
    if (family_ == QLatin1String("ICOM")) return QByteArray::fromHex("FEFE01E07FFD");
    if (family_ == QLatin1String("KENWOOD")) return QByteArrayLiteral("ZV;");
    if (family_ == QLatin1String("JST-245")) return QByteArrayLiteral("ZV\r");
    return QByteArray::fromHex("7F7F7F7F7F");
}

bool RigSimulator::takeMarker(const QByteArray& command) {
    // The text families' commands come here without their terminator.
    const bool text = family_ == QLatin1String("KENWOOD") || family_ == QLatin1String("JST-245");
    if (command != (text ? marker().chopped(1) : marker())) return false;
    ++markersTaken;
    return true;
}

void RigSimulator::takeYaesu() {
    while (pending_.size() >= 5) {
        const QByteArray c = pending_.left(5);
        const bool overlapped = consume(5);
        if (takeMarker(c)) continue;
        taken(c, overlapped);
        handleYaesu(c);
        emit commandHandled(c);
    }
}

void RigSimulator::takeIcom() {
    for (;;) {
        const qsizetype start = pending_.indexOf("\xFE\xFE");
        const qsizetype end = pending_.indexOf(char(0xFD), start + 1);
        if (start < 0 || end < 0) return;
        const QByteArray frame = pending_.mid(start, end - start + 1);
        const bool overlapped = consume(end + 1);
        if (takeMarker(frame)) continue;
        taken(frame, overlapped);
        // The CI-V bus is one wire: the frame comes back as it goes out, in
        // the middle of whatever the rig is sending at the time.
        if (!host_) lineOut(frame);
        handleIcom(frame);
        emit commandHandled(frame);
    }
}

void RigSimulator::takeText(char terminator) {
    for (;;) {
        const qsizetype end = pending_.indexOf(terminator);
        if (end < 0) return;
        QByteArray c = pending_.left(end);
        const bool overlapped = consume(end + 1);
        c.replace('\r', QByteArray()).replace('\n', QByteArray());
        if (c.isEmpty() || takeMarker(c)) continue;
        taken(c, overlapped);
        if (terminator == ';')
            handleKenwood(QString::fromLatin1(c));
        else
            handleJst(QString::fromLatin1(c));
        emit commandHandled(c);
    }
}

QByteArray RigSimulator::yaesuStatus() const {
    const int steps10 = int(dialHz / 10);
    const auto clarCount = quint32(qint16(clarifierHz / 10 * 16)) & 0xFFFF;
    if (family_ == QLatin1String("FT847") || family_ == QLatin1String("FT817"))
        return bcd(dialHz / 10, 4) + char(mode);
    if (family_ == QLatin1String("FT767")) {
        QByteArray s(86, 0);
        s[79] = char(0x80 | mode); // the high bits carry other flags
        const QByteArray f = bcd(dialHz / 10, 4);
        for (int i = 0; i < 4; ++i)
            s[84 - i] = f[i];
        return s;
    }
    const int length = family_ == QLatin1String("FT920") ? 28 : family_ == QLatin1String("FT900") ? 10 : 16;
    QByteArray s(length, 0);
    putBigEndian(s, 1, quint32(steps10) * 16, 4);
    putBigEndian(s, 5, clarCount, 2);
    s[7] = char(mode);
    const int clarFlagByte = family_ == QLatin1String("FT920") ? 8 : 9;
    if (clarifierOn) s[clarFlagByte] = char(0x80);
    return s;
}

void RigSimulator::handleYaesu(const QByteArray& c) {
    const auto p = [&](int i) { return uchar(c[i]); };
    const uchar cmd = p(4);
    const bool ft8xx = family_ == QLatin1String("FT847") || family_ == QLatin1String("FT817");
    const bool ft767 = family_ == QLatin1String("FT767");
    if (ft767) {
        if (cmd == 0x0B) answer(yaesuStatus());
        if (cmd == 0x08) dialHz = fromBcd(reversed(c.left(4))) * 10;
        if (cmd == 0x0A) {
            mode = p(3) & 0x07;
            modeCommands << QByteArray(1, c[3]);
        }
        return;
    }
    if (ft8xx) {
        if (cmd == 0x03) answer(yaesuStatus());
        if (cmd == 0x08) setPtt(true);
        if (cmd == 0x88) setPtt(false);
        if (cmd == 0x01) dialHz = fromBcd(c.left(4)) * 10;
        if (cmd == 0x07) {
            mode = p(0);
            modeCommands << QByteArray(1, c[0]);
        }
        return;
    }
    if (cmd == 0x10 && p(3) == 0x02) answer(yaesuStatus());
    if (cmd == 0x0F) setPtt(p(3) == 0x01);
    if (cmd == 0x0A) dialHz = fromBcd(reversed(c.left(4))) * 10;
    if (cmd == 0x0C) {
        modeCommands << QByteArray(1, c[3]);
        const bool ft920 = family_ == QLatin1String("FT920");
        mode = ft920 && p(3) == 1 ? 64 : ft920 && p(3) == 2 ? 1 : p(3);
    }
}

QByteArray RigSimulator::icomFrame(const QByteArray& body) const {
    QByteArray f("\xFE\xFE\xE0", 3);
    f.append(char(address_)).append(body).append(char(0xFD));
    return f;
}

void RigSimulator::handleIcom(const QByteArray& frame) {
    if (frame.size() < 6 || uchar(frame[2]) != address_) return; // for another rig on the bus
    const uchar cmd = uchar(frame[4]);
    const QByteArray data = frame.mid(5, frame.size() - 6);
    const auto ok = [this] { answer(icomFrame(QByteArray(1, char(0xFB))), Acknowledgement); };
    switch (cmd) {
    case 0x03: {
        const QByteArray f = bcd(dialHz, 5);
        answer(icomFrame(QByteArray(1, char(0x03)) + f[4] + f[3] + f[2] + f[1] + f[0]));
        break;
    }
    case 0x04:
        answer(icomFrame(QByteArray(1, char(0x04)) + char(mode) + char(0x01)));
        break;
    case 0x05:
        if (data.size() == 5) dialHz = fromBcd(reversed(data));
        ok();
        break;
    case 0x06:
        if (!data.isEmpty()) mode = uchar(data[0]);
        modeCommands << data.left(1);
        ok();
        break;
    case 0x1C:
        if (data.size() == 2) setPtt(data[1] == 0x01);
        ok();
        break;
    default:
        break;
    }
}

void RigSimulator::handleKenwood(const QString& c) {
    if (c == QLatin1String("IF")) {
        const QString rit = QString(QLatin1Char(clarifierHz < 0 ? '-' : '+')) +
                            QString::number(qAbs(clarifierHz)).rightJustified(4, '0');
        const QString reply =
            QLatin1String("IF") + QString::number(dialHz).rightJustified(11, '0') + QLatin1String("     ") +
            rit + QLatin1Char('0') + QLatin1Char(clarifierOn ? '1' : '0') + QLatin1String("000") +
            QLatin1Char(ptt ? '1' : '0') + QString::number(mode) + QLatin1String("0000000;");
        answer(reply.toLatin1());
    } else if (c.startsWith(QLatin1String("FA")) && c.size() == 13) {
        dialHz = c.mid(2).toLongLong();
    } else if (c.startsWith(QLatin1String("MD"))) {
        mode = c.mid(2).toInt();
        modeCommands << c.mid(2).toLatin1();
    } else if (c == QLatin1String("TX")) {
        setPtt(true);
    } else if (c == QLatin1String("RX")) {
        setPtt(false);
    }
}

void RigSimulator::handleJst(const QString& c) {
    if (c == QLatin1String("I1"))
        answer(QStringLiteral("I1%1A%2\r").arg(mode).arg(dialHz, 8, 10, QLatin1Char('0')).toLatin1());
    else if (c.startsWith(QLatin1Char('F')) && c.endsWith(QLatin1Char('A')) && c.size() == 10)
        dialHz = c.mid(1, 8).toLongLong();
}

void RigSimulator::setPtt(bool on) {
    ptt = on;
    ++(on ? pttOnCount : pttOffCount);
    emit pttHeard(on);
}

void RigSimulator::answer(const QByteArray& bytes, Carries carries) {
    if (!answering) return;
    if (carries == Reading) ++readingsAnswered;
    if (holdingAnswers)
        held_ << bytes;
    else
        deliver(bytes);
}

void RigSimulator::releaseAnswers() {
    const QList<QByteArray> answers = std::exchange(held_, {});
    for (const QByteArray& a : answers)
        deliver(a);
}

void RigSimulator::deliver(const QByteArray& whole) {
    const QByteArray bytes = spoilAnswers ? spoilAnswers(whole) : whole;
    if (splitDelayMs <= 0) return send(bytes);
    const qsizetype half = bytes.size() / 2;
    send(bytes.left(half));
    QTimer::singleShot(splitDelayMs, this, [this, rest = bytes.mid(half)] { send(rest); });
}

void RigSimulator::send(const QByteArray& bytes) {
    if (!cableIn_) return;
    fromRig_.setCharacterNs(characterNs());
    fromRig_.put(bytes, hearingAtNs_);
}

void freshRigGlobals() {
    std::destroy_at(&rig::g);
    std::construct_at(&rig::g);
}

void pointRigLinkAt(const RigSimulator& sim) {
    rig::g.RigType = sim.family();
    rig::g.RigPortName = sim.devicePath();
    rig::g.RigBaudRate = QStringLiteral("4800");
    rig::g.RigStopBits = QStringLiteral("2");
    rig::g.RigInterval = QStringLiteral("10");
    rig::g.IcomAddress = QStringLiteral("58");
}

bool openUnpolledRigLink(const RigSimulator& sim) {
    pointRigLinkAt(sim);
    rig::g.RigPollMode = 0;
    rig::RigOpenPort();
    return rig::g.RigPortOpen == 1;
}

bool waitForRigToCatchUp(RigSimulator& sim) {
    const int before = sim.markersTaken;
    // What the link was asked to send and queued goes out first.
    if (!waitUntil([] { return rig::lineFree(); }) || !rig::port().write(sim.marker())) return false;
    return waitUntil([&] { return sim.markersTaken > before; });
}

} // namespace zvtest
