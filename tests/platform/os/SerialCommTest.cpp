// The rig's serial port over a real pseudo-terminal: names, settings, the
// receive threshold, input modes and the failures it reports.
#include "platform/os/SerialComm.h"
#include "support/ProgramFolder.h"
#include "support/PtyPair.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <ctime>
#include <memory>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(SerialComm, PortNamesMapToDevices) {
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("COM8")), QStringLiteral("/dev/ttyS7"));
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("COM12")), QStringLiteral("/dev/ttyS11"));
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("/dev/pts/7")), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("NONE")), QString());
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("COM0")), QString());
    EXPECT_EQ(SerialComm::deviceFor(QStringLiteral("COMX")), QString());
}

TEST(SerialComm, SettingsTextAndBitsOnTheWire) {
    SerialComm port;
    ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,2")));
    EXPECT_EQ(port.baudRate(), 4800);
    EXPECT_EQ(port.bitsPerCharacter(), 11);
    ASSERT_TRUE(port.setSettings(QStringLiteral("9600,n,8,1")));
    EXPECT_EQ(port.bitsPerCharacter(), 10);
    for (const char* bad : {"", "4800", "4800,N,8,3", "fast,N,8,1", "4800,X,8,1", "-1,N,8,1"}) {
        EXPECT_FALSE(port.setSettings(QString::fromLatin1(bad))) << bad;
        EXPECT_FALSE(port.lastErrorText().isEmpty());
    }
    EXPECT_EQ(port.baudRate(), 9600);
}

TEST(SerialComm, ReceiveEventAtTheThresholdKeepsNulBytes) {
    zvtest::PtyPair pty;
    SerialComm port;
    port.setCommPort(pty.devicePath());
    ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,1")));
    port.setRThreshold(5);
    port.setRtsEnable(true);
    port.setDtrEnable(true);
    ASSERT_TRUE(port.open()) << port.lastErrorText().toStdString();
    QList<int> events;
    QObject::connect(&port, &SerialComm::onComm, [&](int code) { events << code; });

    pty.write(QByteArray("\x01\x00\x40", 3));
    ASSERT_TRUE(zvtest::waitUntil([&] { return port.inBufferCount() == 3; }));
    ASSERT_TRUE(zvtest::waitForPostedEvents()) << "the receive check queued for these bytes has run";
    EXPECT_TRUE(events.isEmpty());
    pty.write(QByteArray("\x00\x15", 2));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !events.isEmpty(); }));
    EXPECT_EQ(events.first(), SerialComm::kEvReceive);
    EXPECT_EQ(port.input(), QVariant(QByteArray("\x01\x00\x40\x00\x15", 5)));

    ASSERT_TRUE(port.write(QByteArray("\x00\x00\x00\x00\x03", 5)));
    EXPECT_EQ(pty.readAvailable(1000), QByteArray("\x00\x00\x00\x00\x03", 5));
}

TEST(SerialComm, TextInputAndClearedBuffers) {
    zvtest::PtyPair pty;
    SerialComm port;
    port.setCommPort(pty.devicePath());
    port.setInputMode(SerialComm::Text);
    ASSERT_TRUE(port.open());
    pty.write("stale");
    ASSERT_TRUE(zvtest::waitUntil([&] { return port.inBufferCount() == 5; }));
    port.clearBuffers();
    EXPECT_EQ(port.inBufferCount(), 0);
    pty.write("IF00014070000;");
    ASSERT_TRUE(zvtest::waitUntil([&] { return port.inBufferCount() >= 14; }));
    EXPECT_EQ(port.input(), QVariant(QStringLiteral("IF00014070000;")));
}

TEST(SerialComm, FailuresCarryACodeAndAJapaneseDescription) {
    SerialComm port;
    port.setCommPort(QStringLiteral("/dev/zorvatek-no-such-port"));
    EXPECT_FALSE(port.open());
    EXPECT_EQ(port.lastErrorCode(), int(QSerialPort::DeviceNotFoundError));
    EXPECT_TRUE(port.lastErrorText().contains(QStringLiteral("見つかりません")));
    {
        // Another program trying the same missing name holds its lock meanwhile
        // (the lock folder is writable where the suite runs as root, as in CI).
        QLockFile held(QStringLiteral("/var/lock/LCK..zorvatek-no-such-port"));
        if (::geteuid() == 0) {
            ASSERT_TRUE(held.tryLock(0));
        }
        EXPECT_FALSE(port.open());
        EXPECT_EQ(port.lastErrorCode(), int(QSerialPort::DeviceNotFoundError))
            << "a missing port, not one in use";
    }

    port.setCommPort(QStringLiteral("NONE"));
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.lastErrorText().isEmpty());
    EXPECT_FALSE(port.write("x"));
    EXPECT_FALSE(port.isOpen());
}

} // namespace

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The device hangs up (a rig's program killed, a cable pulled) while nothing is
// being written: the open port keeps the core idle rather than reading its end
// of the line again and again.
TEST(SerialComm, ALineThatHangsUpLeavesTheCoreIdle) {
    auto pty = std::make_unique<zvtest::PtyPair>();
    SerialComm port;
    port.setCommPort(pty->devicePath());
    ASSERT_TRUE(port.setSettings(QStringLiteral("9600,N,8,1")));
    port.setRThreshold(1);
    ASSERT_TRUE(port.open()) << port.lastErrorText().toStdString();
    pty.reset();
    const double before = threadCpuMs();
    QElapsedTimer wall;
    wall.start();
    zvtest::waitUntil([&] { return wall.elapsed() >= 1000; }, 5000);
    EXPECT_LT(threadCpuMs() - before, 0.2 * double(wall.elapsed())) << "the core idles";
    EXPECT_FALSE(port.write(QByteArray("\xFE\xFE", 2))) << "a command to a line that hung up fails";
}

// A rig that stops reading (stopped, not gone) fills the line: the write that
// no longer fits fails, and what it could not hand over is dropped, so that the
// rig, reading again, never gets an old command after the new ones.
TEST(SerialComm, AWriteThatDoesNotFitIsDroppedNotSentLater) {
    zvtest::PtyPair pty;
    SerialComm port;
    port.setCommPort(pty.devicePath());
    ASSERT_TRUE(port.open());
    // Each command its own letter, until one no longer fits.
    char letter = 'a';
    while (letter < 'z' && port.write(QByteArray(4096, letter)))
        ++letter;
    ASSERT_LT(letter, 'z') << "the line never filled";
    QByteArray heard;
    for (QByteArray part; !(part = pty.readAvailable(200)).isEmpty();)
        heard += part;
    ASSERT_TRUE(port.write("NEW"));
    QByteArray after;
    ASSERT_TRUE(zvtest::waitUntil([&] {
        after += pty.readAvailable();
        return after.contains("NEW");
    }));
    EXPECT_TRUE(after == "NEW") << "nothing old before the new command: " << after.left(8).toStdString();
    EXPECT_LT(heard.count(letter), 4096) << "the command that did not fit is not sent whole";
}

} // namespace
