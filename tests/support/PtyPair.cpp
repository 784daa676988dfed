#include "support/PtyPair.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace zvtest {

namespace {

// A serial port's lock left by a test in another process, whose pair had this
// number a moment ago and which is still ending: the system would find the
// device taken. Such a number is passed over.
bool lockedByAnother(const char* device) {
    QByteArray lock(device);
    if (!lock.startsWith("/dev/")) return false;
    lock = "/var/lock/LCK.." + lock.mid(5).replace('/', '_');
    return QFile::exists(QString::fromLocal8Bit(lock));
}

} // namespace

PtyPair::PtyPair() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    int passed[8][2];
    int held = 0;
    for (;;) {
        if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
            master_ = slave_ = -1;
            break;
        }
        // Not handed down to the programs the program starts (the RTTY
        // program, the logging program): a copy of either end held there
        // keeps the line up after the rig is unplugged, and the program
        // would never see its hang-up.
        fcntl(master_, F_SETFD, FD_CLOEXEC);
        fcntl(slave_, F_SETFD, FD_CLOEXEC);
        if (held == 8 || !lockedByAnother(name)) break;
        // Kept open until a free number is found, so that it is not handed out again.
        passed[held][0] = master_;
        passed[held][1] = slave_;
        ++held;
    }
    for (int i = 0; i < held; ++i) {
        ::close(passed[i][1]);
        ::close(passed[i][0]);
    }
    if (master_ < 0) return;
    device_ = QString::fromLocal8Bit(name);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    // The slave stays open here too, so the pair survives the system closing its port.
}

PtyPair::~PtyPair() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

QByteArray PtyPair::readAvailable(int waitMsecs) {
    QByteArray out;
    if (master_ < 0) return out;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, waitMsecs) <= 0) return out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, n);
    }
    return out;
}

std::optional<PtyPair::Line> PtyPair::line() const {
    termios t{};
    if (slave_ < 0 || ::tcgetattr(slave_, &t) != 0) return std::nullopt;
    static const struct {
        speed_t code;
        int baud;
    } rates[] = {{B300, 300},   {B600, 600},     {B1200, 1200},   {B2400, 2400},   {B4800, 4800},
                 {B9600, 9600}, {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    const speed_t speed = cfgetospeed(&t);
    int baud = 0;
    for (const auto& r : rates)
        if (r.code == speed) baud = r.baud;
    if (baud == 0) return std::nullopt;
    const tcflag_t size = t.c_cflag & CSIZE;
    const int data = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
    return Line{baud, 1 + data + ((t.c_cflag & PARENB) ? 1 : 0) + ((t.c_cflag & CSTOPB) ? 2 : 1)};
}

bool PtyPair::write(const QByteArray& bytes) {
    if (master_ < 0) return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace zvtest
