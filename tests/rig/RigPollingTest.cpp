// Reading each family's rig through the real serial code and a simulated rig:
// the frequency and mode reach the windows, at once or by the poll timer.
#include "RigLinkFixture.h"

#include "core/Globals.h"
#include "core/ini/SettingRanges.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/SerialComm.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAbstractEventDispatcher>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QStringList>
#include <QTimer>
#include <ctime>
#include <sys/resource.h>

namespace {

using zvtest::RigLinkTest;

struct FamilyCase {
    const char* family;
    int usbMode; // the rig's own value for USB
    const char* label;
    bool modeLabel; // the family's reading writes the mode label
};

const FamilyCase kFamilies[] = {
    {"ICOM", 1, "14.070.150", true},    {"KENWOOD", 2, "14.070.150", false},
    {"FT1000MP", 1, "14.070.15", true}, {"FT920", 64, "14.070.15", false},
    {"FT847", 1, "14.070.15", false},   {"FT817", 1, "14.070.15", true},
    {"FT767", 1, "14.070.150", true},   {"JST-245", 2, "14.070.150", true},
};

TEST_F(RigLinkTest, EveryFamilyShowsTheRigsFrequencyAndMode) {
    for (const FamilyCase& c : kFamilies) {
        SCOPED_TRACE(c.family);
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(c.family));
        rig.dialHz = 14070150;
        rig.mode = c.usbMode;
        forms::PSK31MAIN().Label40->clear();
        forms::PSK31MAIN().Label23->clear();
        rig::RigReadStatus();
        ASSERT_TRUE(zvtest::waitUntil([&] { return frequencyLabel() == QLatin1String(c.label); }))
            << frequencyLabel().toStdString();
        EXPECT_EQ(rig::g.RigFreqText, QStringLiteral("14.070"));
        EXPECT_EQ(rig::g.RigModeText, QStringLiteral("USB"));
        EXPECT_EQ(modeLabel(), c.modeLabel ? QStringLiteral("USB") : QString());
        rig::RigClosePort();
    }
}

TEST_F(RigLinkTest, FT900RepliesAreNotRead) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("FT900"));
    // Connected after the rig link's own handler, so the spy sees each receive event after it.
    QSignalSpy receiveEvents(&rig::port(), &SerialComm::onComm);
    rig::RigReadStatus();
    ASSERT_TRUE(receiveEvents.wait(zvtest::kSafetyNetMsecs)) << "the rig's status reply reaches the port";
    EXPECT_EQ(rig.commands, QList<QByteArray>{QByteArray::fromHex("0000000210")});
    EXPECT_TRUE(rig::g.RigFreqText.isEmpty());
    EXPECT_TRUE(frequencyLabel().isEmpty());
}

TEST_F(RigLinkTest, PollTimerShowsANewDialAtTheNextPoll) {
    rig::g.RigPollInterval = 100;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("ICOM"), 2);
    EXPECT_TRUE(rig::link().Timer1->isActive());
    EXPECT_EQ(rig::link().Timer1->interval(), 100);
    rig.dialHz = 7035000;
    ASSERT_TRUE(zvtest::waitUntil([&] { return frequencyLabel() == QLatin1String("7.035.000"); }));
    rig.dialHz = 7041230;
    ASSERT_TRUE(zvtest::waitUntil([&] { return frequencyLabel() == QLatin1String("7.041.230"); }));
    rig::RigStopPolling();
    EXPECT_FALSE(rig::link().Timer1->isActive());
}

TEST_F(RigLinkTest, LogEntryFieldsTakeTheFrequencyWithTheLibraryLink) {
    logbook::g.HamlogLink = 1;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
    rig.dialHz = 21080400;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig::g.RigFreqText == QLatin1String("21.080"); }));
    EXPECT_EQ(forms::TEMP_LOG().Combo1->currentText(), QStringLiteral("21.080"));
    EXPECT_EQ(forms::TEMP_LOG().Label17->text(), QStringLiteral("21.080"));
}

TEST_F(RigLinkTest, TransverterOffsetIsAddedToTheDial) {
    rig::g.TransverterOn = QStringLiteral("1");
    rig::g.TransverterIfHz = 22000000;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("FT817"));
    rig.dialHz = 28100000;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return frequencyLabel() == QLatin1String("50.100.00"); }));
    EXPECT_EQ(rig::g.RigDialHz, 50100000);
}

TEST_F(RigLinkTest, IcomReplyInPiecesIsWaitedForButALateOneIsDropped) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("ICOM"));
    rig.dialHz = 14070150;
    rig.splitDelayMs = 30;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return frequencyLabel() == QLatin1String("14.070.150"); }));

    // An answer later than the time its bytes need on the wire plus the margin
    // leaves the last good frequency shown. The mode reply is let through; the
    // frequency reply is held until the link has given up waiting for it.
    rig.splitDelayMs = 0;
    rig.holdingAnswers = true;
    rig.dialHz = 18100000;
    rig.commands.clear();
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig.commands.size() == 1; }));
    rig.releaseAnswers();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig.commands.size() == 2 && rig::g.IcomReplyState == 0; }))
        << "the frequency request goes out and its wait ends without an answer";
    const int handled = rig::repliesHandled();
    rig.releaseAnswers();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig::repliesHandled() > handled; }))
        << "the late reply arrives";
    EXPECT_EQ(frequencyLabel(), QStringLiteral("14.070.150"));
    EXPECT_EQ(rig::g.IcomReplyState, 0);
}

TEST_F(RigLinkTest, AtLowSpeedsAnIcomStatusReadAfterASetFrequencyGetsTheNewFrequency) {
    // The rig's echo and acknowledgement of the set-frequency take their wire
    // time; the status read straight after must not lose the frequency to them.
    for (const char* baud : {"4800", "1200"}) {
        SCOPED_TRACE(baud);
        zvtest::RigSimulator& rig = rigOf(QStringLiteral("ICOM"));
        rig.pacedAtLineRate = true;
        rig::g.RigBaudRate = QString::fromLatin1(baud);
        rig::RigOpenPort();
        ASSERT_EQ(rig::g.RigPortOpen, 1) << core::g.StatusMessage.toStdString();
        for (int i = 0; i < 6; ++i) {
            const qint64 hz = 7041000 + i * 1230;
            const QString label = QStringLiteral("%1.%2.%3")
                                      .arg(hz / 1000000)
                                      .arg(hz / 1000 % 1000, 3, 10, QLatin1Char('0'))
                                      .arg(hz % 1000, 3, 10, QLatin1Char('0'));
            rig::RigSetFrequency(QString::number(hz).rightJustified(10, QLatin1Char('0')));
            rig::RigReadStatus();
            EXPECT_TRUE(zvtest::waitUntil([&] { return frequencyLabel() == label; }))
                << "try " << i << ": " << frequencyLabel().toStdString() << ", the rig heard "
                << rig.received.toHex(' ').toStdString();
            EXPECT_EQ(rig.dialHz, hz);
            EXPECT_EQ(rig::g.RigDialHz, hz);
            EXPECT_EQ(rig::g.RigModeText, QStringLiteral("USB"));
        }
        rig::RigClosePort();
    }
}

TEST_F(RigLinkTest, ASilentRigNeitherHangsNorChangesTheDisplay) {
    // The wait for the answer sleeps until something comes or it looks at
    // the time again: the windows' thread wakes every few ms, not every half.
    const auto wakeUps = [] {
        rusage u{};
        getrusage(RUSAGE_THREAD, &u);
        return u.ru_nvcsw;
    };
    long woken = 0;
    qint64 waitedMs = 0;
    for (const FamilyCase& c : kFamilies) {
        SCOPED_TRACE(c.family);
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(c.family));
        rig.answering = false;
        rig.stopClockKeeper();
        forms::PSK31MAIN().Label40->setText(QStringLiteral("7.000.000"));
        // Counted on the rig's clock, which a busy machine does not run on.
        const qint64 startMs = zvtest::lineClockMs();
        const long wokenBefore = wakeUps();
        QElapsedTimer waited;
        waited.start();
        rig::RigReadStatus();
        // The reading goes out from the line's timer; this waits for its answer.
        rig::awaitQuietLine();
        waitedMs += waited.elapsed();
        woken += wakeUps() - wokenBefore;
        EXPECT_LT(zvtest::lineClockMs() - startMs, 1500);
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_FALSE(rig.commands.isEmpty()) << "the rig was asked";
        EXPECT_EQ(frequencyLabel(), QStringLiteral("7.000.000"));
        rig::RigClosePort();
    }
    EXPECT_LT(woken, waitedMs / 3) << "woken " << woken << " times in " << waitedMs << " ms";
}

TEST_F(RigLinkTest, PollTickShowsAPendingMessageForTwoSeconds) {
    openRig(QStringLiteral("KENWOOD"));
    core::g.StatusMessage = QStringLiteral("RIG Control Port-COM2 異常ですrc");
    rig::RigPollTick();
    EXPECT_TRUE(forms::PSK31MAIN().Text3->isVisibleTo(&forms::PSK31MAIN()));
    EXPECT_EQ(forms::PSK31MAIN().Text3->text(), QStringLiteral("RIG Control Port-COM2 異常ですrc"));
    EXPECT_TRUE(forms::AboutZORVATEK().Timer3->isActive());
    EXPECT_EQ(forms::AboutZORVATEK().Timer3->interval(), 2000);
}

// A message that waits for its two seconds must not be shown again by every
// poll: the decoders wait for it to go, so a poll shorter than the message's
// time would freeze the dial for good.
TEST_F(RigLinkTest, APendingMessageGoesTwoSecondsAfterItShowsAndTheDialMovesOn) {
    const int shortest =
        core::StoredRangeOf(QStringLiteral("RIG_CON_CFG"), QStringLiteral("Poll_Time"))->lowest;
    for (const char* family : {"ICOM", "FT1000MP"}) {
        for (int pollMs : {1000, shortest}) {
            SCOPED_TRACE(testing::Message() << family << " every " << pollMs << " ms");
            rig::g.RigPollInterval = pollMs;
            zvtest::RigSimulator& rig = openRig(QString::fromLatin1(family), 2);
            rig.dialHz = 7035000;
            ASSERT_TRUE(
                zvtest::waitUntil([&] { return frequencyLabel().startsWith(QLatin1String("7.035.0")); }));
            core::g.StatusMessage = QStringLiteral("１ｓｔ　ＱＳＯ　です。");
            rig.dialHz = 7040000;
            // Gone by its own timer (two seconds, as above), not shown again by every poll.
            ASSERT_TRUE(zvtest::waitUntil([&] { return core::g.StatusMessage.isEmpty(); }));
            EXPECT_TRUE(forms::PSK31MAIN().Text3->isHidden());
            ASSERT_TRUE(
                zvtest::waitUntil([&] { return frequencyLabel().startsWith(QLatin1String("7.040.0")); }));
            rig::RigStopPolling();
            rig::RigClosePort();
        }
    }
}

TEST_F(RigLinkTest, WhileAQsyIsPendingThePollSendsNothing) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
    rig::g.RigQsyRequest = 1;
    rig::RigPollTick();
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
    EXPECT_TRUE(rig.commands.isEmpty());
}

TEST_F(RigLinkTest, RigDelayWaitsItsIntervalWhileEventsRun) {
    rig::g.RigInterval = QStringLiteral("60");
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QElapsedTimer t;
    t.start();
    rig::RigDelay();
    EXPECT_GE(t.elapsed(), 60);
    EXPECT_TRUE(ran);
}

TEST(RigInterval, AStoredIntervalIsAPauseOnlyWhenItIsAPositiveNumber) {
    const struct {
        const char* stored;
        int ms;
    } rows[] = {{"60", 60}, {" 25 ", 25}, {"abc", 0}, {"", 0}, {"0", 0}, {"-5", 0}, {"99999", 1000}};
    for (const auto& r : rows)
        EXPECT_EQ(rig::RigIntervalMsOf(QString::fromLatin1(r.stored), 1000), r.ms) << r.stored;
}

} // namespace

namespace {

TEST_F(RigLinkTest, InSstvModeTheSstvWindowShowsTheDial) {
    core::g.OpMode = core::ModeSstv;
    rig::g.RigModeCheckOn = 1;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("FT817"));
    rig.dialHz = 14230000;
    rig.mode = 1;
    forms::PSK31MAIN().Label23->clear();
    rig::RigReadStatus();
    ASSERT_TRUE(
        zvtest::waitUntil([&] { return forms::SSTVForm().Label40->text() == QLatin1String("14.230.00"); }));
    EXPECT_EQ(rig::g.RigShownHz, 14230000);
    EXPECT_TRUE(modeLabel().isEmpty());
}

TEST_F(RigLinkTest, PollFillsTheSpotSubmissionBoxes) {
    forms::ClusterData().Timer1->stop();
    spots::g.ClusterPolled = 1;
    core::g.HisCall = QStringLiteral("JA1ZZZ");
    core::g.LastModeText = QStringLiteral("PSK31");
    core::g.RxFreqHz = 1200;
    zvtest::RigSimulator& rig = openRig(QStringLiteral("KENWOOD"));
    rig.dialHz = 14070000;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig::g.RigDialHz == 14070000; }));
    spots::g.ClusterModeCompSend = QStringLiteral("NO");
    rig::RigPollTick();
    EXPECT_EQ(forms::ClusterData().Text6->text(), QStringLiteral("14070.0"));
    EXPECT_EQ(forms::ClusterData().Text7->text(), QStringLiteral("PSK31 1200HZ"));
    EXPECT_EQ(forms::ClusterData().Text5->text(), QStringLiteral("JA1ZZZ"));

    // The operator typing in the boxes stops the filling.
    spots::g.ClusterAutoCall = QStringLiteral("1");
    core::g.HisCall = QStringLiteral("JA2YYY");
    rig::RigPollTick();
    EXPECT_EQ(forms::ClusterData().Text5->text(), QStringLiteral("JA1ZZZ"));
}

TEST_F(RigLinkTest, AnFt767DialOfZeroGoesToTheMessageLine) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("FT767"));
    rig.dialHz = 0;
    ui::script::clearAsked();
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return !core::g.StatusMessage.isEmpty(); }));
    EXPECT_TRUE(ui::script::asked().isEmpty()) << "no message box at every poll";
    EXPECT_TRUE(frequencyLabel().isEmpty());
}

TEST_F(RigLinkTest, AQsyThatCannotMoveTheToneIsDroppedWithAMessage) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("ICOM"));
    rig.dialHz = 14070000;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig::g.RigDialHz == 14070000; }));
    core::g.TxFreqHz = 9000; // beyond the receive scroll bar
    rig::g.RigQsyRequest = 1;
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
    EXPECT_EQ(rig::g.RigQsyRequest, 0);
    EXPECT_EQ(core::g.StatusMessage,
              QStringLiteral("RIG Control Port-") + rig::g.RigPortName + QStringLiteral(" 異常ですrc"));
    EXPECT_EQ(rig.dialHz, 14070000);
}

} // namespace

namespace {

// Thread CPU time in ms.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

// The rig goes away in the middle of a poll (unplugged, its program killed):
// the message line says so, the frequency shown goes, the polls go on at their
// period, each failed write drops its bytes and the core stays idle; a rig
// that comes back on the same device is read again at the next poll and set
// to the program's mode. The message stays while the rig is away, and goes
// when it is back.
TEST_F(RigLinkTest, ARigThatGoesAwayIsSaidAndOneThatComesBackIsPolledAgain) {
    for (const char* family : {"ICOM", "KENWOOD", "JST-245"}) {
        SCOPED_TRACE(family);
        forms::PSK31MAIN().Label40->clear();
        forms::PSK31MAIN().Text3->clear();
        rig::g.RigPollInterval = 100;
        // The device by a name of its own, as a USB adapter keeps its name when plugged in again.
        const QString device = path(QStringLiteral("rig"));
        zvtest::RigSimulator& rig = rigOf(QString::fromLatin1(family));
        QFile::remove(device);
        ASSERT_TRUE(QFile::link(rig.devicePath(), device));
        rig::g.RigPortName = device;
        rig::g.RigPollMode = 2;
        rig::RigOpenPort();
        ASSERT_TRUE(zvtest::waitUntil([&] { return !frequencyLabel().isEmpty(); }));
        const qsizetype asked = rig.commands.size();
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.commands.size() > asked; }));
        // Keyed as it goes; the release made while it is away reaches it once it is back.
        const bool keys = QLatin1String(family) != QLatin1String("JST-245");
        if (keys) {
            rig::RigPttOn();
            ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));
        }
        // A program started meanwhile (as the program starts the RTTY program
        // and the logging program) holds no end of the rig's line up.
        QProcess started;
        started.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        ASSERT_TRUE(started.waitForStarted());
        // Unplugged: its name goes with it (so that no other rig's line is taken for it).
        QFile::remove(device);
        sim.reset();
        const QString said = QStringLiteral("RIG Control Port-%1 の接続が切れました").arg(device);
        ASSERT_TRUE(zvtest::waitUntil([&] { return forms::PSK31MAIN().Text3->text() == said; }));
        rig::RigPttOff();
        EXPECT_TRUE(frequencyLabel().isEmpty()) << "no reading passed off as the rig's";
        int polls = 0;
        const QMetaObject::Connection counting =
            QObject::connect(rig::link().Timer1, &QTimer::timeout, [&] { ++polls; });
        const double cpuBefore = cpuMs();
        QElapsedTimer wall;
        wall.start();
        int mostQueued = 0;
        // Eight polls at its period, each finding the rig away; a busy machine
        // only lowers the share of the wall clock this process gets.
        EXPECT_TRUE(zvtest::waitUntil([&] {
            mostQueued = std::max(mostQueued, rig::port().outBufferCount());
            return polls >= 8;
        })) << "polled at its period";
        EXPECT_LT(cpuMs() - cpuBefore, 0.2 * double(wall.elapsed())) << "the core idles";
        EXPECT_LE(mostQueued, 20) << "no command is kept for later";
        EXPECT_TRUE(frequencyLabel().isEmpty());
        EXPECT_TRUE(forms::PSK31MAIN().Text3->isVisibleTo(&forms::PSK31MAIN()));
        EXPECT_EQ(forms::PSK31MAIN().Text3->text(), said) << "said while the rig is away";
        QObject::disconnect(counting);

        sim = std::make_unique<zvtest::RigSimulator>(QString::fromLatin1(family), 0x58);
        sim->dialHz = 7035000;
        ASSERT_TRUE(QFile::link(sim->devicePath(), device));
        EXPECT_TRUE(zvtest::waitUntil([&] {
            return sim->readingsAnswered > 0 && !frequencyLabel().isEmpty();
        })) << "lost "
            << rig::g.RigLineLost << ", asked " << sim->commands.size() << ", message "
            << core::g.StatusMessage.toStdString();
        EXPECT_TRUE(frequencyLabel().startsWith(QStringLiteral("7."))) << frequencyLabel().toStdString();
        if (keys) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return sim->pttOffCount == 1; })) << "released when back";
        }
        if (QLatin1String(family) != QLatin1String("JST-245")) { // which has no mode command
            EXPECT_TRUE(zvtest::waitUntil([&] { return !sim->modeCommands.isEmpty(); }))
                << "set to the mode in use";
        }
        EXPECT_FALSE(forms::PSK31MAIN().Text3->isVisibleTo(&forms::PSK31MAIN()));
        EXPECT_EQ(rig::g.RigPollInterval, 100);
        rig::RigClosePort();
    }
}

namespace {

// A release made while the rig is away is owed to it, whatever the poll
// setting and across the port closed and opened again (a mode change, the
// settings sheet's closing during the over, an opening that fails), while the
// settings name another port or rig for a while (the settings sheet, whose
// every click opens the port: another rig that answers, or the keyed rig
// back under another family), and when it is made as the line goes, before
// the loss is noticed (where a key-on fails and starts nothing): it reaches
// the rig that comes back on the device before anything else it is told,
// and the loss is said until then. Another line opened meanwhile is told
// nothing of it; a rig chosen for good in its place (the sheet closed) gets
// nothing of it.
TEST_F(RigLinkTest, AReleaseOwedToALostRigGoesOutWhenItComesBack) {
    enum Meanwhile {
        Nothing,
        Reopened,
        ReopenedDuringTheOver,
        PortNoneAndBack,
        TypeAwayAndBack,
        TypeForGood,
        OtherPortAndBack,
        TypeOpensTheRig
    };
    const struct {
        int pollMode;
        Meanwhile meanwhile;
        bool lossNoticed;
    } rows[] = {{0, Nothing, true},         {1, Nothing, true},          {2, Nothing, true},
                {0, Reopened, true},        {2, Reopened, true},         {2, ReopenedDuringTheOver, true},
                {1, PortNoneAndBack, true}, {2, TypeAwayAndBack, true},  {2, TypeForGood, true},
                {0, Nothing, false},        {1, OtherPortAndBack, true}, {2, TypeOpensTheRig, true}};
    const QString device = path(QStringLiteral("rig"));
    const QString said = QStringLiteral("RIG Control Port-%1 の接続が切れました").arg(device);
    // A tick of the key watch, which sends what is owed, taken while the settings name another line.
    const auto keyWatchTicks = [] {
        QSignalSpy tick(&rig::keyWatch(), &QTimer::timeout);
        return tick.wait(zvtest::kSafetyNetMsecs);
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("poll mode " + std::to_string(r.pollMode) + ", meanwhile " +
                     std::to_string(r.meanwhile) + (r.lossNoticed ? "" : ", released as the line goes"));
        zvtest::RigSimulator& rig = rigOf(QStringLiteral("KENWOOD"));
        QFile::remove(device);
        ASSERT_TRUE(QFile::link(rig.devicePath(), device));
        rig::g.RigPortName = device;
        rig::g.RigPollMode = r.pollMode;
        rig::g.RigPollInterval = 100;
        rig::RigOpenPort();
        core::g.Transmitting = 1;
        rig::RigPttOn();
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));
        QFile::remove(device);
        sim.reset();
        if (r.lossNoticed) {
            ASSERT_TRUE(zvtest::waitUntil([] { return rig::g.RigLineLost == 1; }));
        } else {
            EXPECT_FALSE(rig::RigPttOn()) << "a key-on the rig cannot take starts nothing";
            EXPECT_EQ(core::g.Transmitting, 0) << "and ends the over";
        }
        if (r.meanwhile == ReopenedDuringTheOver) {
            rig::RigOpenPort();
            EXPECT_EQ(rig::g.RigPortOpen, 0);
        }
        core::g.Transmitting = 0;
        rig::RigPttOffForEsc();
        ASSERT_TRUE(zvtest::waitUntil([&] { return forms::PSK31MAIN().Text3->text() == said; }));
        switch (r.meanwhile) {
        case Reopened:
            rig::RigClosePort();
            rig::RigOpenPort();
            EXPECT_EQ(rig::g.RigPortOpen, 0);
            break;
        case PortNoneAndBack:
            rig::g.RigPortName = QStringLiteral("NONE");
            rig::RigClosePort();
            ASSERT_TRUE(keyWatchTicks());
            EXPECT_EQ(forms::PSK31MAIN().Text3->text(), said) << "said while the settings name no port";
            rig::g.RigPortName = device;
            rig::RigOpenPort();
            break;
        case TypeAwayAndBack:
        case TypeForGood:
            rig::g.RigType = QStringLiteral("ICOM");
            rig::RigOpenPort();
            if (r.meanwhile == TypeForGood) {
                rig::RigLineNamedForGood();
                break;
            }
            ASSERT_TRUE(keyWatchTicks());
            rig::g.RigType = QStringLiteral("KENWOOD");
            rig::RigOpenPort();
            break;
        case OtherPortAndBack: {
            zvtest::RigSimulator other(QStringLiteral("KENWOOD"), 0x58);
            rig::g.RigPortName = other.devicePath();
            rig::RigOpenPort();
            EXPECT_EQ(rig::g.RigPortOpen, 1);
            ASSERT_TRUE(keyWatchTicks());
            ASSERT_TRUE(keyWatchTicks());
            EXPECT_EQ(forms::PSK31MAIN().Text3->text(), said) << "said while another port is open";
            rig::g.RigPortName = device;
            rig::RigOpenPort();
            EXPECT_FALSE(other.received.contains("RX;")) << "another rig is told nothing of it";
            break;
        }
        case TypeOpensTheRig:
            rig::g.RigType = QStringLiteral("ICOM");
            rig::RigOpenPort();
            break;
        default:
            break;
        }
        sim = std::make_unique<zvtest::RigSimulator>(
            r.meanwhile == TypeForGood ? rig::g.RigType : QStringLiteral("KENWOOD"), 0x58);
        ASSERT_TRUE(QFile::link(sim->devicePath(), device));
        if (r.meanwhile == TypeOpensTheRig) {
            // The retry opens it under the family named: it is polled, not released.
            ASSERT_TRUE(zvtest::waitUntil([&] { return !sim->received.isEmpty(); }));
            ASSERT_TRUE(keyWatchTicks());
            EXPECT_FALSE(sim->received.contains("RX;"));
            EXPECT_EQ(rig::g.PttOnLastSent, 1) << "nor forgotten";
            rig::g.RigType = QStringLiteral("KENWOOD");
            const qsizetype before = sim->received.size();
            rig::RigOpenPort();
            // (Behind ICOM frames it cannot parse the simulator counts no command.)
            EXPECT_TRUE(zvtest::waitUntil([&] {
                return sim->received.indexOf("RX;", before) >= 0 && sim->received.indexOf("MD", before) >= 0;
            })) << "released once its family is named again, and set to the mode";
            EXPECT_LT(sim->received.indexOf("RX;", before), sim->received.indexOf("MD", before)) << "first";
        }
        if (r.meanwhile == TypeForGood) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return sim->readingsAnswered > 0; }));
            EXPECT_FALSE(sim->received.contains("RX;"))
                << "the rig chosen in its place is told nothing of it";
        } else if (r.meanwhile != TypeOpensTheRig) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return sim->pttOffCount == 1; })) << "released when back";
            EXPECT_EQ(sim->commands.value(0), QByteArray("RX")) << "before anything else it is told";
        }
        EXPECT_EQ(rig::g.PttOnLastSent, 0);
        EXPECT_EQ(rig::g.RigPortOpen, 1);
        EXPECT_FALSE(rig::portRetry().isActive()) << "a working port is not tried again";
        const QLineEdit* line = forms::PSK31MAIN().Text3;
        // Given up for good, the loss stays said: that rig may still send.
        EXPECT_EQ(line->isVisibleTo(&forms::PSK31MAIN()) && line->text() == said, r.meanwhile == TypeForGood);
        rig::RigClosePort();
    }
}

} // namespace

namespace {

// The cable pulled at the rig's end while the program's port stays open: a
// release written into it is not heard. Where the line answers (an ICOM rig
// acknowledges every command, a rig the program reads, polled or at each
// change, answers its readings; an FT900's replies are never read) it stays
// owed and the message line says the rig may still be transmitting; the rig
// plugged back hears it before anything else it is told, answers, and the
// message goes. Where the line gives no answer at all the release counts as
// written (the README says what the program cannot know there).
TEST_F(RigLinkTest, AReleaseTheRigDidNotHearIsOwedUntilItAnswers) {
    const struct {
        const char* family;
        int pollMode;
        bool answers;
    } rows[] = {{"ICOM", 0, true},     {"ICOM", 2, true},   {"KENWOOD", 2, true},  {"FT817", 2, true},
                {"FT1000MP", 2, true}, {"FT900", 2, false}, {"KENWOOD", 0, false}, {"FT847", 1, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.family) + " poll " + std::to_string(r.pollMode));
        forms::PSK31MAIN().Text3->clear();
        rig::g.RigPollInterval = 200;
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(r.family), r.pollMode);
        core::g.Transmitting = 1;
        ASSERT_TRUE(rig::RigPttOn());
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));
        // Heard while the cable is in: the release counts once the rig answers.
        rig::RigPttOff();
        ASSERT_TRUE(zvtest::waitUntil([&] { return !rig.ptt && rig::g.PttOnLastSent == 0; }));
        ASSERT_TRUE(rig::RigPttOn());
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));

        rig.pullCable();
        core::g.Transmitting = 0;
        rig::RigPttOffForEsc();
        QLineEdit* line = forms::PSK31MAIN().Text3;
        if (!r.answers) {
            EXPECT_EQ(rig::g.PttOnLastSent, 0) << "no answer to wait for";
            rig.plugCableBack();
            rig::RigClosePort();
            continue;
        }
        const QString unheard =
            QStringLiteral(
                "RIG Control Port-%1 のリグが送信停止に応答しません。リグが送信状態のままかもしれません")
                .arg(rig.devicePath());
        ASSERT_TRUE(zvtest::waitUntil([&] { return line->text() == unheard; })) << line->text().toStdString();
        EXPECT_EQ(rig::g.PttOnLastSent, 1) << "owed";
        EXPECT_TRUE(rig.ptt);
        // Still owed and said after several more ticks into the void.
        QSignalSpy ticks(&rig::keyWatch(), &QTimer::timeout);
        ASSERT_TRUE(zvtest::waitUntil([&] { return ticks.size() >= 4; }));
        EXPECT_EQ(rig::g.PttOnLastSent, 1);
        EXPECT_EQ(line->text(), unheard);

        const qsizetype heardBefore = rig.commands.size();
        qsizetype atRelease = -1;
        const QMetaObject::Connection watching =
            QObject::connect(&rig, &zvtest::RigSimulator::pttHeard, [&](bool on) {
                if (!on && atRelease < 0) atRelease = rig.commands.size();
            });
        rig.plugCableBack();
        ASSERT_TRUE(zvtest::waitUntil([&] { return !rig.ptt; }));
        EXPECT_EQ(atRelease - heardBefore, 1) << "the release before anything else it is told";
        EXPECT_TRUE(zvtest::waitUntil([&] { return rig::g.PttOnLastSent == 0; })) << "heard";
        EXPECT_TRUE(zvtest::waitUntil([&] {
            return line->text() != unheard || !line->isVisibleTo(&forms::PSK31MAIN());
        })) << "no longer said";
        QObject::disconnect(watching);
        rig::RigClosePort();
    }
}

} // namespace

namespace {

// A KENWOOD rig at 1200 baud, polled: the ticks are given by hand.
zvtest::RigSimulator& slowKenwood(zvtest::RigSimulator& rig) {
    rig::g.RigBaudRate = QStringLiteral("1200");
    rig::g.RigPollMode = 2;
    rig::RigOpenPort();
    rig::RigStopPolling();
    // The opening's mode setting out and answered.
    EXPECT_TRUE(zvtest::waitUntil([] { return rig::lineFree(); }));
    return rig;
}

// Keyed by CAT for an over, then the over ends: the release goes out.
void keyAndRelease(zvtest::RigSimulator& rig) {
    core::g.Transmitting = 1;
    EXPECT_TRUE(rig::RigPttOn());
    EXPECT_TRUE(zvtest::waitUntil([&] { return rig.ptt && !rig.lineBusy(); }));
    core::g.Transmitting = 0;
    rig::RigPttOff();
}

// A tick that finds the line busy (an answer due) returns and tries at the
// next; one that finds it free writes and returns without waiting for the
// answer. Nothing runs inside a wait for the rig, and the silent rig is told
// its owed release again at a tick that finds the line free.
TEST_F(RigLinkTest, ATickNeverWaitsForASilentRig) {
    enum Release { None, Unheard, Owed };
    const struct {
        const char* name;
        Release release;
        bool readingDue;
        void (*tick)();
        bool writes;
    } rows[] = {
        {"key watch, the release's answer due", Unheard, false, rig::RigKeyWatchTick, false},
        {"key watch, a release owed, a reading's answer due", Owed, true, rig::RigKeyWatchTick, false},
        {"key watch, a release owed", Owed, false, rig::RigKeyWatchTick, true},
        {"poll, the release's answer due", Unheard, false, rig::RigPollTick, false},
        {"poll, a reading's answer due", None, true, rig::RigPollTick, false},
        {"poll, a release owed", Owed, false, rig::RigPollTick, true},
        {"poll", None, false, rig::RigPollTick, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        zvtest::RigSimulator& rig = slowKenwood(rigOf(QStringLiteral("KENWOOD")));
        if (r.release != None) keyAndRelease(rig);
        rig.answering = false;
        if (r.release == Owed) {
            rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::RigSilent}));
            ASSERT_TRUE(zvtest::waitUntil([] { return rig::lineFree(); }));
        }
        rig::keyWatch().stop();
        if (r.readingDue) rig::RigAskStatus();
        bool insideAWait = false;
        QTimer::singleShot(0, [&] { insideAWait = rig::exchangeInProgress(); });
        qint64 before = rig.markLine();
        r.tick();
        EXPECT_EQ(rig.markLine() > before, r.writes);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_FALSE(insideAWait) << "the tick waited for the rig";
        if (!r.writes) {
            ASSERT_TRUE(zvtest::waitUntil([] { return rig::lineFree(); }));
            before = rig.markLine();
            r.tick();
            EXPECT_GT(rig.markLine(), before) << "the next tick, the line free";
        }
        EXPECT_EQ(rig::g.PttOnLastSent, r.release == None ? 0 : 1) << "owed still";
        // The rig answering again takes the release, which would stay owed to it.
        rig.answering = true;
        if (r.release != None) rig::keyWatch().start();
        ASSERT_TRUE(zvtest::waitUntil([] { return rig::g.PttOnLastSent == 0; }));
        rig::RigClosePort();
    }
}

// A reading of several commands (FT767: four, then two after it), asked as an
// engine's notice asks it, returns at once; its commands go out in order from
// the line's own timer, each once the silent rig's answer had its time.
TEST_F(RigLinkTest, AReadingOfSeveralCommandsIsNotWaitedFor) {
    zvtest::RigSimulator& rig = openRig(QStringLiteral("FT767"));
    rig.answering = false;
    bool insideAWait = false;
    QTimer::singleShot(0, [&] { insideAWait = rig::exchangeInProgress(); });
    rig::RigReadStatus();
    ASSERT_TRUE(zvtest::waitUntil([&] { return rig.commands.size() == 6; }));
    EXPECT_FALSE(insideAWait) << "the reading waited for the rig";
    EXPECT_EQ(rig.commands.value(5), QByteArray::fromHex("000000000B"));
}

// A release whose answer is still on its way when a tick or a reading comes
// is judged once the answer has had its time, never before: the rig that
// answers in its time is never said silent, nor told the release twice.
TEST_F(RigLinkTest, AReleaseIsNotJudgedInsideItsAnswersTime) {
    const struct {
        const char* name;
        void (*tick)();
    } rows[] = {{"the key watch", rig::RigKeyWatchTick}, {"a reading", rig::RigReadStatus}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        zvtest::RigSimulator& rig = slowKenwood(rigOf(QStringLiteral("KENWOOD")));
        QStringList said;
        const QMetaObject::Connection saying = QObject::connect(
            forms::PSK31MAIN().Text3, &QLineEdit::textChanged, [&](const QString& t) { said << t; });
        const int released = rig.pttOffCount;
        keyAndRelease(rig);
        r.tick();
        ASSERT_TRUE(zvtest::waitUntil([] { return rig::g.PttOnLastSent == 0; })) << "heard";
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        EXPECT_EQ(rig.pttOffCount - released, 1) << "the release went once";
        EXPECT_FALSE(said.join(QLatin1Char('\n')).contains(QStringLiteral("送信停止に応答しません")))
            << said.join(QLatin1Char('\n')).toStdString();
        QObject::disconnect(saying);
        rig::RigClosePort();
    }
}

} // namespace

namespace {

// The port lent to another program (ｻｽﾍﾟﾝﾄﾞ) with a release owed to a rig that
// did not hear it: the release goes out on a port opened for it alone and
// closed again at once, nothing polls meanwhile, and it counts once heard.
TEST_F(RigLinkTest, AReleaseOwedWhileThePortIsLentGoesOutOnAPortOfItsOwn) {
    for (const char* family : {"ICOM", "KENWOOD"}) {
        SCOPED_TRACE(family);
        rig::g.RigPollInterval = 200;
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(family), 2);
        core::g.Transmitting = 1;
        ASSERT_TRUE(rig::RigPttOn());
        ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt; }));
        rig.pullCable();
        core::g.Transmitting = 0;
        rig::RigPttOffForEsc();
        // Said while it lasts: the judgement itself is a moment the next try ends.
        ASSERT_TRUE(zvtest::waitUntil([] {
            return rig::g.PttOnLastSent == 1 &&
                   forms::PSK31MAIN().Text3->text().contains(QStringLiteral("送信停止に応答しません"));
        })) << "the rig silent after its release";
        rig::RigLendPort();
        EXPECT_EQ(rig::g.RigPortOpen, 0);
        rig.plugCableBack();
        ASSERT_TRUE(zvtest::waitUntil([&] { return !rig.ptt; })) << "released while the port is lent";
        EXPECT_TRUE(zvtest::waitUntil([] { return rig::g.PttOnLastSent == 0; })) << "heard";
        EXPECT_EQ(rig::g.RigPortOpen, 0) << "the port closed again at once";
        EXPECT_FALSE(rig::pollTimer().isActive()) << "nothing polls while the port is lent";
        {
            // Restored while the other program still holds the port, and lent
            // again: not tried meanwhile; restored again, opened once it is free.
            QSerialPort other(rig.devicePath());
            ASSERT_TRUE(other.open(QIODevice::ReadWrite));
            rig::RigOpenPort();
            ASSERT_EQ(rig::g.RigPortOpen, 0);
            rig::RigLendPort();
            EXPECT_FALSE(rig::portRetry().isActive()) << "a lent port is not tried";
            rig::RigOpenPort();
        }
        EXPECT_TRUE(zvtest::waitUntil([] { return rig::g.RigPortOpen == 1; })) << "the restore opens it";
        rig::RigClosePort();
    }
}

} // namespace
