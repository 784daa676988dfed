// Keying, mode setting, the mode on open, QSY and the port's own commands,
// through the real serial code to a simulated rig.
#include "RigLinkFixture.h"

#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/Forms.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "rig/RigSettings.h"
#include "sstv/window/SstvGlobals.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"
#include "support/Unprivileged.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using zvtest::RigLinkTest;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', QByteArray()));
}

bool waitFor(const std::function<bool()>& done) {
    return zvtest::waitUntil(done);
}

TEST_F(RigLinkTest, PttOffReleasesOnlyAKeyThisProgramPutOn) {
    for (const char* family : {"ICOM", "KENWOOD", "FT1000MP", "FT920", "FT900", "FT847", "FT817"}) {
        SCOPED_TRACE(family);
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(family));
        core::g.Transmitting = 1;
        rig::RigPttOff(); // never keyed by this program: nothing is sent
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        EXPECT_EQ(rig.pttOffCount, 0);
        core::g.Transmitting = 0;
        rig::RigPttOn();
        ASSERT_TRUE(waitFor([&] { return rig.ptt; }));
        // Released by CAT although no engine says it transmits and the PTT
        // setting has changed since.
        core::g.PttPortControl = QStringLiteral("1");
        rig::RigPttOff();
        EXPECT_TRUE(waitFor([&] { return !rig.ptt; }));
        EXPECT_EQ(rig.pttOffCount, 1);
        core::g.PttPortControl = QStringLiteral("0");
        rig::RigClosePort();
    }
}

// The families whose CAT has no PTT command: a start says so once on the
// message line (the TX button turns red, the rig stays in receive), again
// after the port is opened anew.
TEST_F(RigLinkTest, ARigNotKeyedByCatIsSaidOnce) {
    for (const char* family : {"FT767", "JST-245"}) {
        SCOPED_TRACE(family);
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(family));
        QLineEdit* line = forms::PSK31MAIN().Text3;
        const QString said =
            QString::fromLatin1(family) +
            QStringLiteral(" はCATで送信に切り替えられません（PTTポートを設定してください）");
        for (int opening = 0; opening < 2; ++opening) {
            line->clear();
            EXPECT_TRUE(rig::RigPttOn()) << "the transmission goes on";
            EXPECT_EQ(line->text(), said);
            line->clear();
            EXPECT_TRUE(rig::RigPttOn());
            EXPECT_TRUE(line->text().isEmpty()) << "said once";
            rig::RigOpenPort();
        }
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        EXPECT_EQ(rig.pttOnCount, 0);
        rig::RigClosePort();
    }
}

TEST_F(RigLinkTest, AStatusReadRightAfterPttLeavesTheKeyingOnTheLine) {
    // A transmission's start keys the rig and, polled once per transmission,
    // reads its status at once: the request must not sweep the keying command
    // off the line before the rig has read it.
    for (const char* family : {"KENWOOD", "FT817", "ICOM"}) {
        SCOPED_TRACE(family);
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(family));
        const bool icom = QLatin1String(family) == QLatin1String("ICOM");
        if (icom) {
            // An earlier reading leaves the port waiting for a longer answer than the key's.
            rig::RigReadStatus();
            ASSERT_TRUE(waitFor([&] { return modeLabel() == QStringLiteral("USB"); }));
            forms::PSK31MAIN().Label23->clear();
        }
        core::g.Transmitting = 1;
        rig::RigPttOn();
        rig::RigReadStatus();
        EXPECT_TRUE(waitFor([&] { return rig.ptt; }));
        if (icom) {
            // Nor is the rig's answer to the key taken for its mode.
            EXPECT_TRUE(waitFor([&] { return modeLabel() == QStringLiteral("USB"); }))
                << modeLabel().toStdString();
        }
        rig::RigPttOff();
        rig::RigReadStatus();
        EXPECT_TRUE(waitFor([&] { return !rig.ptt; }));
        core::g.Transmitting = 0;
        rig::RigClosePort();
    }
}

// A run that ended without its shutdown (killed while sending) left the rig
// keyed: the next start releases it when it first opens the port, before it
// asks for anything, and only then.
TEST_F(RigLinkTest, TheStartReleasesAKeyLeftByAnEarlierRun) {
    zvtest::RigSimulator& rig = rigOf(QStringLiteral("KENWOOD"));
    rig.ptt = true;
    writeIni(QStringLiteral("[RIG_CON_CFG]\nRIGCOMCONT=%1\nRIG_TYPE=KENWOOD\nVFOCHECK=YES\n")
                 .arg(rig.devicePath()));
    rig::ReadRigSettings();
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    ASSERT_TRUE(waitFor([&] { return rig.readingsAnswered >= 1; }));
    EXPECT_FALSE(rig.ptt);
    ASSERT_GE(rig.commands.size(), 2);
    EXPECT_EQ(rig.commands.first(), QByteArray("RX"));
    EXPECT_EQ(rig.pttOffCount, 1);
    rig::RigOpenPort();
    ASSERT_TRUE(waitFor([&] { return rig.readingsAnswered >= 2; }));
    EXPECT_EQ(rig.pttOffCount, 1) << "once a run";
    rig::RigClosePort();

    // The rig goes as the port first opens (while the FT847 is told to take
    // CAT): the release it did not take is owed, and goes out when it is back.
    const QString device = path(QStringLiteral("rig"));
    rigOf(QStringLiteral("FT847"));
    ASSERT_TRUE(QFile::link(sim->devicePath(), device));
    rig::g.RigPortName = device;
    rig::keyEvent({rig::KeyEventKind::Start}); // as at the start: a key left is cleared at the opening
    QTimer::singleShot(0, [&] {
        QFile::remove(device);
        sim.reset();
    });
    rig::RigOpenPort();
    ASSERT_FALSE(sim);
    sim = std::make_unique<zvtest::RigSimulator>(QStringLiteral("FT847"));
    sim->ptt = true;
    ASSERT_TRUE(QFile::link(sim->devicePath(), device));
    EXPECT_TRUE(waitFor([&] { return sim->pttOffCount == 1; })) << "released when back";
    EXPECT_FALSE(sim->ptt);
    rig::RigClosePort();
}

TEST_F(RigLinkTest, ClosingThePortUnkeysATransmittingRig) {
    const struct {
        int* flag;
    } engines[] = {
        {&core::g.Transmitting}, {&core::g.MmttyTxOn}, {&core::g.MmvariTxOn}, {&sstv::g.SstvTxActive}};
    for (const auto& e : engines) {
        zvtest::RigSimulator& rig = openRig(QStringLiteral("ICOM"));
        *e.flag = 1;
        rig::RigPttOn();
        ASSERT_TRUE(waitFor([&] { return rig.ptt; }));
        rig::RigClosePort();
        EXPECT_TRUE(waitFor([&] { return !rig.ptt; }));
        EXPECT_EQ(rig.pttOffCount, 1);
        *e.flag = 0;
    }
}

TEST_F(RigLinkTest, CommandsAreNotSentWhileThePortIsClosed) {
    zvtest::RigSimulator& rig = rigOf(QStringLiteral("ICOM"));
    rig::RigPttOn();
    rig::RigPttOff();
    rig::RigSetMode(QStringLiteral("01"));
    rig::RigSetFrequency(QStringLiteral("0014070150"));
    // Opened now (without polling, so opening sends nothing), the port carries
    // the marker; nothing written before may reach the rig ahead of it.
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
    EXPECT_TRUE(rig.commands.isEmpty());
}

TEST_F(RigLinkTest, OpeningSetsTheRigModeForTheOperatingMode) {
    const struct {
        int opMode;
        const char* family;
        QByteArray code;
    } rows[] = {
        {core::ModeBpsk, "ICOM", "\x00"},        {core::ModeQpskUsb, "ICOM", "\x01"},
        {core::ModeQpskLsb, "ICOM", "\x00"},     {core::ModeRtty, "KENWOOD", "1"},
        {core::ModeCw, "KENWOOD", "7"},          {core::ModeCw, "FT767", "\x12"},
        {core::ModeQpskUsb, "FT1000MP", "\x01"}, {core::ModeCw, "FT817", "\x02"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.family) + " " + std::to_string(r.opMode));
        core::g.OpMode = r.opMode;
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(r.family), 1);
        ASSERT_TRUE(waitFor([&] { return !rig.modeCommands.isEmpty(); }));
        EXPECT_EQ(rig.modeCommands.last(), QByteArray(r.code.constData(), r.code.size() ? r.code.size() : 1));
        rig::RigClosePort();
    }
}

TEST_F(RigLinkTest, ModeOnOpenNeedsPollingAndIsNotSetForTheMultiModeEngine) {
    core::g.OpMode = core::ModeBpsk;
    zvtest::RigSimulator& never = openRig(QStringLiteral("KENWOOD"), 0);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(never));
    EXPECT_TRUE(never.modeCommands.isEmpty());
    rig::RigClosePort();

    core::g.OpMode = core::ModeMmvari;
    rig::g.RigPollInterval = 5000;
    zvtest::RigSimulator& mmvari = openRig(QStringLiteral("KENWOOD"), 2);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(mmvari));
    EXPECT_TRUE(mmvari.modeCommands.isEmpty());
}

TEST_F(RigLinkTest, SstvModeOnOpenDependsOnTheBand) {
    core::g.OpMode = core::ModeSstv;
    rig::g.RigPollInterval = 5000;
    for (const auto& [freq, code] :
         {std::pair{"14.000", "1"}, std::pair{"14.001", "2"}, std::pair{"7.171", "1"}}) {
        rig::g.RigFreqText = QString::fromLatin1(freq);
        zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"), 2);
        ASSERT_TRUE(waitFor([&] { return !rig.modeCommands.isEmpty(); }));
        EXPECT_EQ(rig.modeCommands.last(), QByteArray(code)) << freq;
        rig::RigClosePort();
    }
}

TEST_F(RigLinkTest, ConfiguredModeCodesReplaceTheFamilys) {
    writeIni(QStringLiteral("[RIG_CON_CFG]\nCWMode=3\nRTTYMode=\nPSK31Mode=9\n"));
    zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
    EXPECT_EQ(rig::g.RigCwModeCode, QStringLiteral("3"));
    EXPECT_EQ(rig::g.RigCwModeIni, QStringLiteral("3"));
    EXPECT_EQ(rig::g.RigRttyModeCode, QStringLiteral("1")); // an empty setting keeps the family's code
    EXPECT_EQ(rig::g.RigRttyModeIni, QString());
    EXPECT_EQ(rig::g.RigPskModeCode, QStringLiteral("9"));
    rig::RigSetMode(rig::g.RigCwModeCode);
    ASSERT_TRUE(waitFor([&] { return !rig.modeCommands.isEmpty(); }));
    EXPECT_TRUE(rig.received.endsWith("MD3;\r"));
}

TEST_F(RigLinkTest, Ft847CatIsSwitchedOnAndOffWithThePort) {
    // Stored by an older sheet with digits typed on after the default: the
    // paced commands around the opening and the closing still wait a second at most.
    zvtest::RigSimulator& rig = rigOf(QStringLiteral("FT847"));
    rig::g.RigInterval = QStringLiteral("3001500");
    rig::RigOpenPort();
    ASSERT_EQ(rig::g.RigPortOpen, 1);
    ASSERT_TRUE(waitFor([&] { return !rig.commands.isEmpty(); }));
    EXPECT_EQ(rig.commands.first(), hex("00 00 00 00 00"));
    rig::RigClosePort();
    ASSERT_TRUE(waitFor([&] { return rig.commands.size() >= 2; }));
    EXPECT_EQ(rig.commands.last(), hex("00 00 00 00 80"));
    EXPECT_EQ(rig::g.RigPortOpen, 0);
}

TEST_F(RigLinkTest, NoneOpensNothingAndAsksNothing) {
    rig::g.RigPortName = QStringLiteral("NONE");
    rig::g.RigType = QStringLiteral("ICOM");
    ui::script::clearAsked();
    rig::RigOpenPort();
    EXPECT_EQ(rig::g.RigPortOpen, 0);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

// What the operator sees when the rig's port cannot be opened: one message on
// the message line naming the port as it is set, and no polling behind it.
void expectPortRefused(const QString& portName, const QString& why) {
    const PSK31MAIN& main = forms::PSK31MAIN();
    EXPECT_EQ(rig::g.RigPortOpen, 0);
    EXPECT_FALSE(rig::pollTimer().isActive());
    const QString message = core::g.StatusMessage;
    EXPECT_TRUE(
        message.startsWith(QStringLiteral("RIG Control Port-") + portName + QStringLiteral(" が開けません")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(why)) << message.toStdString();
    EXPECT_TRUE(main.Text3->isVisibleTo(&main)) << "the message line shows it";
    EXPECT_EQ(main.Text3->text(), message);
    EXPECT_TRUE(forms::AboutZORVATEK().Timer3->isActive()) << "and hides it again in time";
}

TEST_F(RigLinkTest, APortThatCannotBeOpenedSaysSoOnTheMessageLine) {
    writeFile(QStringLiteral("not-a-port"), "text\r\n");
    QDir(folder()).mkdir(QStringLiteral("a-folder"));
    const struct {
        QString port;
        QString why;
    } cases[] = {
        {QStringLiteral("/dev/zorvatek-no-such-port"), QStringLiteral("見つかりません")},
        {QStringLiteral("COM99"), QStringLiteral("/dev/ttyS98 が見つかりません")},
        {QStringLiteral("LPT1"), QStringLiteral("ポート名 \"LPT1\" が正しくありません")},
        {path(QStringLiteral("not-a-port")), QStringLiteral("シリアルポートではありません")},
        {path(QStringLiteral("a-folder")), QStringLiteral("シリアルポートではありません")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port.toStdString());
        core::g.StatusMessage.clear();
        forms::PSK31MAIN().Text3->hide();
        rig::g.RigType = QStringLiteral("ICOM");
        rig::g.RigPollMode = 2;
        rig::g.RigBaudRate = QStringLiteral("4800");
        rig::g.RigStopBits = QStringLiteral("1");
        rig::g.RigPortName = c.port;
        rig::RigOpenPort();
        expectPortRefused(c.port, c.why);
        EXPECT_EQ(rig::g.RigReplyLength, 14);
    }
    // Tried again each second, said no more, but still said on the line while
    // the port stays shut; and not tried once the windows are gone.
    const QString said = core::g.StatusMessage;
    QSignalSpy tries(&rig::portRetry(), &QTimer::timeout);
    ASSERT_TRUE(zvtest::waitUntil([&] { return tries.size() >= 3; }));
    const PSK31MAIN& main = forms::PSK31MAIN();
    EXPECT_TRUE(main.Text3->isVisibleTo(&main));
    EXPECT_EQ(main.Text3->text(), said);
    EXPECT_FALSE(forms::AboutZORVATEK().Timer3->isActive()) << "not said anew";
    forms::unload<AboutZORVATEK>();
    EXPECT_TRUE(zvtest::waitUntil([] { return !rig::portRetry().isActive(); }));
}

TEST_F(RigLinkTest, APortWithoutPermissionSaysSo) {
    // A serial device, the simulated rig's terminal, that its user may not open.
    const zvtest::RigSimulator& locked = rigOf(QStringLiteral("KENWOOD"));
    ASSERT_TRUE(QFile::setPermissions(locked.devicePath(), QFileDevice::Permissions()));
    // Root opens a device whatever its permissions say.
    zvtest::asUnprivilegedUser(folder(), [] {
        rig::RigOpenPort();
        expectPortRefused(rig::g.RigPortName, QStringLiteral("権限がありません"));
    });
}

// A QSY in PSK with RX tone 1600 Hz and TX tone 1000 Hz moves the dial by 600 Hz.
TEST_F(RigLinkTest, QsyRetunesBySidebandAndMovesTheReceiveTone) {
    const struct {
        const char* family;
        int mode;
        qint64 expected;
    } rows[] = {{"ICOM", 1, 14070600},     {"ICOM", 0, 14069400},    {"ICOM", 4, 14069400},
                {"KENWOOD", 2, 14070600},  {"KENWOOD", 1, 14069400}, {"FT817", 1, 14070600},
                {"FT1000MP", 0, 14069400}, {"JST-245", 2, 14070600}, {"FT767", 1, 14070600}};
    core::g.OpMode = core::ModeBpsk;
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.family) + " " + std::to_string(r.mode));
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(r.family));
        rig.dialHz = 14070000;
        rig.mode = r.mode;
        rig::g.RigDialHz = 0;
        rig::RigReadStatus();
        ASSERT_TRUE(waitFor([&] { return rig::g.RigDialHz == 14070000; }));
        core::g.RxFreqHz = 1600;
        core::g.TxFreqHz = 1000;
        rig::g.RigQsyRequest = 1;
        rig::RigReadStatus();
        EXPECT_TRUE(waitFor([&] { return rig.dialHz == r.expected; })) << rig.dialHz;
        EXPECT_EQ(rig::g.RigQsyRequest, 0);
        EXPECT_EQ(forms::PSK31MAIN().VScroll1->value(), 1000);
        rig::RigClosePort();
        core::g.RxFreqHz = core::g.TxFreqHz = 1500;
    }
}

TEST_F(RigLinkTest, QsyInAModeWithoutSidebandDoesNotRetune) {
    const struct {
        const char* family;
        int mode;
    } rows[] = {{"ICOM", 3}, {"FT817", 5}, {"KENWOOD", 3}};
    for (const auto& r : rows) {
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(r.family));
        rig.mode = r.mode;
        rig.dialHz = 14070000;
        rig::g.RigDialHz = 0;
        rig::RigReadStatus();
        ASSERT_TRUE(waitFor([&] { return rig::g.RigDialHz == 14070000; }));
        core::g.RxFreqHz = 1600;
        core::g.TxFreqHz = 1000;
        rig::g.RigQsyRequest = 1;
        rig::RigReadStatus();
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        EXPECT_EQ(rig.dialHz, 14070000) << r.family;
        EXPECT_EQ(rig::g.RigQsyRequest, 0);
        rig::RigClosePort();
    }
}

TEST_F(RigLinkTest, QsyWithTransverterAndThreeChannels) {
    rig::g.TransverterOn = QStringLiteral("1");
    rig::g.TransverterIfHz = 22000000;
    core::g.ChannelDisplay = 3;
    core::g.Ch2RxFreq = 1400;
    core::g.Ch3RxFreq = 1800;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
    rig.dialHz = 28100000;
    rig::RigReadStatus();
    ASSERT_TRUE(waitFor([&] { return rig::g.RigDialHz == 50100000; }));
    core::g.RxFreqHz = 1600;
    core::g.TxFreqHz = 1000;
    rig::g.RigQsyRequest = 1;
    rig::RigReadStatus();
    // The rig is given its own (IF) frequency.
    EXPECT_TRUE(waitFor([&] { return rig.dialHz == 28100600; })) << rig.dialHz;
    EXPECT_EQ(forms::multi_ch().VScroll1->value(), 800);
    EXPECT_EQ(forms::multi_ch().VScroll2->value(), 1200);
    EXPECT_EQ(core::g.Ch3RxFreq, 1200); // the bar retunes its channel
}

TEST_F(RigLinkTest, QsyStaysPendingInSstvMode) {
    core::g.OpMode = core::ModeSstv;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
    rig::g.RigQsyRequest = 1;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
    EXPECT_EQ(rig::g.RigQsyRequest, 1);
    EXPECT_EQ(rig.commands, QList<QByteArray>{"IF"});
}

TEST_F(RigLinkTest, SpotModeForFrequency) {
    rig::g.RigType = QStringLiteral("KENWOOD");
    rig::RigLoadModeCodes();
    const struct {
        const char* mhz;
        const char* name;
        const char* code;
    } rows[] = {{"7.05", "SSB", "1"},     {"7.15", "SSB", "2"},    {"1.9", "CW", "7"},
                {"14.1", "CW", "7"},      {"14.2", "SSB", "2"},    {"3.526", "SSB", "1"},
                {"3.805", "SSB", "1"},    {"7.029999", "CW", "7"}, {"1294.5", "CW", "7"},
                {"14.070.15", "CW", "7"}, {"", "CW", "7"}};
    for (const auto& r : rows) {
        rig::SpotModeForFrequency(QString::fromLatin1(r.mhz));
        EXPECT_EQ(rig::g.SpotModeName, QString::fromLatin1(r.name)) << r.mhz;
        EXPECT_EQ(rig::g.SpotRigModeCode, QString::fromLatin1(r.code)) << r.mhz;
    }
    core::g.LogModeTextPsk = QStringLiteral("BPSK");
    core::g.LogModeTextRtty = QStringLiteral("RTTY");
    rig::g.SpotModeSetting = 1;
    rig::SpotModeForFrequency(QStringLiteral("14.2"));
    EXPECT_EQ(rig::g.SpotModeName, QStringLiteral("BPSK"));
    EXPECT_EQ(rig::g.SpotRigModeCode, rig::g.RigPskModeCode);
    rig::g.SpotModeSetting = 2;
    rig::SpotModeForFrequency(QStringLiteral("14.2"));
    EXPECT_EQ(rig::g.SpotModeName, QStringLiteral("RTTY"));
    EXPECT_EQ(rig::g.SpotRigModeCode, rig::g.RigRttyModeCode);
}

TEST_F(RigLinkTest, SettingsAreReadWithTheirDefaults) {
    rig::ReadRigSettings();
    EXPECT_EQ(rig::g.RigPortName, QStringLiteral("NONE"));
    EXPECT_EQ(rig::g.RigType, QStringLiteral("Not Use"));
    EXPECT_EQ(rig::g.RigInterval, QStringLiteral("10"));
    EXPECT_EQ(rig::g.RigPollInterval, 1000);
    EXPECT_EQ(rig::g.TransverterIfHz, 22000000);
    EXPECT_EQ(rig::g.IcomAddress, QStringLiteral("  "));

    writeIni(QStringLiteral("[RIG_CON_CFG]\nRIGCOMCONT=COM3\nRIG_TYPE=ICOM\nBAUD_RATE=9600\nSTOP_BIT=2\n"
                            "Interval=30\nICOM_RIGadrs=5E\nVFOCHECK=YesP\nMODECHECK=YES\nTRVIFfreq=116\n"
                            "TRVon=1\nPoll_Time=600\nUSE_TRV=YES\n"));
    rig::ReadRigSettings();
    EXPECT_EQ(rig::g.RigPortName, QStringLiteral("COM3"));
    EXPECT_EQ(rig::g.RigType, QStringLiteral("ICOM"));
    EXPECT_EQ(rig::g.RigBaudRate, QStringLiteral("9600"));
    EXPECT_EQ(rig::g.RigStopBits, QStringLiteral("2"));
    EXPECT_EQ(rig::g.RigInterval, QStringLiteral("30"));
    EXPECT_EQ(rig::g.IcomAddress, QStringLiteral("5E"));
    EXPECT_EQ(rig::g.RigPollMode, 2);
    EXPECT_EQ(rig::g.RigModeCheckOn, 1);
    EXPECT_EQ(rig::g.TransverterIfHz, 116000000);
    EXPECT_EQ(rig::g.TransverterOn, QStringLiteral("1"));
    EXPECT_EQ(rig::g.TransverterUse, QStringLiteral("YES"));
    EXPECT_EQ(rig::g.RigPollInterval, 600);

    writeIni(QStringLiteral("[RIG_CON_CFG]\nRIGCOMCONT=0\nVFOCHECK=YES\n"));
    rig::ReadRigSettings();
    EXPECT_EQ(rig::g.RigPortName, QStringLiteral("NONE"));
    EXPECT_EQ(rig::g.RigPollMode, 1);
}

TEST_F(RigLinkTest, PollTimeIsKeptInsideTheRangeTheSettingsOffer) {
    const struct {
        const char* stored; // nullptr: no key
        int interval;
    } cases[] = {{nullptr, 1000}, {"1000", 1000}, {"600", 600},   {"5000", 5000},     {"2400", 2400},
                 {"599", 600},    {"1", 600},     {"5001", 5000}, {"99999999", 5000}, {"0", 1000},
                 {"-200", 1000},  {"abc", 1000},  {"", 1000},     {" 800", 800},      {"1500ms", 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        writeIni(QStringLiteral("[RIG_CON_CFG]\nRIG_TYPE=KENWOOD\nVFOCHECK=YesP\n") +
                 (c.stored ? QStringLiteral("Poll_Time=%1\n").arg(QLatin1String(c.stored)) : QString()));
        rig::ReadRigSettings();
        EXPECT_EQ(rig::g.RigPollInterval, c.interval);
        rig::RigStartPolling();
        EXPECT_EQ(rig::pollTimer().interval(), c.interval) << "the poll timer runs at that interval";
        rig::RigStopPolling();
    }
}

} // namespace

namespace {

TEST_F(RigLinkTest, TheRigLinkGoingAwayReleasesAKeyedRig) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("FT817"));
    core::g.MmttyTxOn = 1;
    rig::RigPttOn();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));
    // The program ends without its shutdown sequence.
    renewContext();
    EXPECT_EQ(rig::g.RigPortOpen, 0);
    EXPECT_TRUE(zvtest::waitUntil([&] { return !rig.ptt; }));
    core::g.MmttyTxOn = 0;
}

} // namespace

namespace {

// The frequency labels retune the rig by the received tone's offset, as the
// operator's click on them does; in satellite mode they do nothing.
TEST_F(RigLinkTest, TheFrequencyLabelsRetuneTheRig) {
    struct Case {
        QLabel* PSK31MAIN::*label;
        int satellite;
        qint64 expected;
    };
    const Case cases[] = {
        {&PSK31MAIN::Label11, 0, 14070600},
        {&PSK31MAIN::Label16, 0, 14070600},
        {&PSK31MAIN::Label35, 0, 14070600},
        {&PSK31MAIN::Label11, 1, 14070000},
    };
    core::g.OpMode = core::ModeBpsk;
    PSK31MAIN& w = forms::PSK31MAIN();
    w.show();
    w.Frame4->show(); // the RTTY panel's labels, as in RTTY
    ASSERT_TRUE(zvtest::waitExposed(&w));
    for (const Case& c : cases) {
        SCOPED_TRACE((w.*c.label)->text().toStdString() + " satellite " + std::to_string(c.satellite));
        zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
        rig.dialHz = 14070000;
        rig.mode = 2;
        rig::g.RigDialHz = 0;
        rig::RigReadStatus();
        ASSERT_TRUE(waitFor([&] { return rig::g.RigDialHz == 14070000; }));
        core::g.RxFreqHz = 1600;
        core::g.TxFreqHz = 1000;
        core::g.SatelliteMode = c.satellite;
        QTest::mouseClick(w.*c.label, Qt::LeftButton);
        // The poll's answer must come in either case; the dial is read after it.
        rig::RigReadStatus();
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        EXPECT_TRUE(waitFor([&] { return rig.dialHz == c.expected; })) << rig.dialHz;
        EXPECT_EQ(rig.dialHz, c.expected);
        rig::RigClosePort();
        core::g.SatelliteMode = 0;
        core::g.RxFreqHz = core::g.TxFreqHz = 1500;
    }
}

} // namespace
