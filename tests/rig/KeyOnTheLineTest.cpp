// What goes onto the line for each action the key's state asks of the port
// code, and for the callers that act on its answer: the PTT commands a
// simulated rig (ICOM unless the row says) hears, in order, and whether the
// key watch runs after.
#include "RigLinkFixture.h"

#include "core/Globals.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigPort.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace {

using rig::KeyAction;
using zvtest::RigLinkTest;

enum class Before {
    Receiving,   // nothing keyed
    OverKeyed,   // an over keyed by CAT, the engine sending
    KeyedIdle,   // keyed by CAT, the key watch stopped, nothing sending
    LineAnswers, // an over keyed, the rig's answer to a reading still due
};

struct Row {
    const char* name;
    Before before;
    std::function<bool()> act; // false: the act said no (a refused key-on)
    const char* heard;         // the PTT commands heard, in order
    bool keyedAfter;           // the rig holds the key at the end
    bool watchAfter;           // the key watch runs once the act has returned
    bool actSays = true;
    const char* family = "ICOM";
    int pollMode = 0; // VFOCHECK: 0 NO, 1 YES (read at each change), 2 YesP
};

// The row's rig.
zvtest::RigSimulator* keyedRig = nullptr;

bool perform(KeyAction a) {
    rig::RigPerformKey(a);
    return true;
}

// The answer to a reading held back by the rig: the line stays busy, and a
// command waits for it while events run.
bool keyOnOvertakenByARelease() {
    QTimer::singleShot(0, [] {
        rig::RigPttOff();
        core::g.Transmitting = 0; // the over's end
    });
    return rig::RigPttOn();
}

// The port's close releases the key while a start's key-on waits for the
// line: the over that asked for it ends too (false), never left sending
// into the unkeyed rig; its end finds that release on the line, its answer
// still to come, and writes none behind it.
bool keyOnOvertakenByThePortsClose() {
    QTimer::singleShot(0, [] { rig::RigPttOffBeforeClose(); });
    return rig::RigPttOn() || core::g.Transmitting == 1;
}

// A release of the running over's key could not be written (owed): the key
// watch writes it, and keys the over again after it.
bool overRunningWhileItsReleaseIsOwed() {
    rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::KeyOffRefused}));
    rig::RigKeyWatchTick();
    return rig::g.PttKeyedByCat == 1;
}

// The over's release was not taken (owed), and a start's key-on waits for
// the line while the key watch ticks: the tick writes nothing inside that
// wait (it tries at its next), and the key-on takes the key. The start asks
// before its engine's flag is set (the multi-mode control's).
bool keyOnWhileTheKeyWatchTicks() {
    rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::KeyOffRefused}));
    core::g.Transmitting = 0;
    QTimer::singleShot(0, [] { rig::RigKeyWatchTick(); });
    return rig::RigPttOn();
}

// The same while the rig is heard back with its release owed: that release
// waits for the key watch, never in a wait of its own inside the key-on's.
bool keyOnWhileTheRigIsHeardBack() {
    rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::KeyOffRefused}));
    core::g.Transmitting = 0;
    QTimer::singleShot(0, [] { rig::RigPerformKey(KeyAction::SendRelease); });
    return rig::RigPttOn();
}

// Esc's release went unheard (the rig silent) while the stopped engine has
// yet to say its over ended: the key watch writes the release again and
// keys nothing for that over.
bool escUnheardWhileItsOverWindsDown() {
    rig::RigPttOffForEsc();
    rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::RigSilent}));
    // Its first tick that finds the line free.
    const bool free = zvtest::waitUntil([] { return rig::lineFree(); });
    rig::RigKeyWatchTick();
    return free;
}

// What the keyed rig's line brings back after Esc's release while the rig is
// away from it: the echo of another rig's CI-V bus, or a far end whose every answer comes back as half of it,
// as another family's answer or as noise.
enum class FarEnd { Echo, HalfAnswers, OtherFamily, Noise, EchoOfAKeyOnJustBefore };

// Esc while the keyed rig is away from its line: the release stays owed and
// said, and the rig takes it once it is back (false: it counted meanwhile).
bool escWhileTheLineBrings(FarEnd far) {
    zvtest::RigSimulator& rig = *keyedRig;
    if (far == FarEnd::Echo || far == FarEnd::EchoOfAKeyOnJustBefore)
        rig.putOtherRigOnLine(QStringLiteral("ICOM"));
    if (far > FarEnd::Echo && far < FarEnd::EchoOfAKeyOnJustBefore)
        rig.putOtherRigOnLine(rig.family()).spoilAnswers = [far](const QByteArray& a) {
            if (far == FarEnd::HalfAnswers) return a.left(a.size() / 2);
            return far == FarEnd::Noise ? QByteArray(a.size(), '\xFF')
                                        : QByteArray::fromHex("FEFEE058040101FD");
        };
    // Keyed again, and Esc before the bus has echoed that key-on: its echo comes after the release.
    if (far == FarEnd::EchoOfAKeyOnJustBefore && !rig::RigPttOn()) return false;
    core::g.Transmitting = 0;
    rig::RigPttOffForEsc();
    const QString unheard =
        QStringLiteral(
            "RIG Control Port-%1 のリグが送信停止に応答しません。リグが送信状態のままかもしれません")
            .arg(rig.devicePath());
    const bool owed = zvtest::waitUntil([&] { return forms::PSK31MAIN().Text3->text() == unheard; });
    rig.plugCableBack();
    return owed && zvtest::waitUntil([] { return rig::g.PttOnLastSent == 0 && !rig::keyWatch().isActive(); });
}

// The release before the over's key waits for the line, and Esc is taken
// meanwhile: the over it ended is not keyed again.
bool escWhileTheReleaseBeforeTheKeyWaits() {
    QTimer::singleShot(0, [] { rig::RigPttOffForEsc(); });
    return perform(KeyAction::SendReleaseThenKey);
}

bool keyAgainDuringAStop() {
    const rig::OperatorStop stop;
    return perform(KeyAction::KeyAgain);
}

const Row kRows[] = {
    // clang-format off
    {"release",                       Before::OverKeyed,   [] { return perform(KeyAction::SendRelease); },        "off",    false, true},
    {"release, then the over keyed",  Before::OverKeyed,   [] { return perform(KeyAction::SendReleaseThenKey); }, "off on", true,  true},
    {"release then key, Esc meanwhile", Before::LineAnswers, escWhileTheReleaseBeforeTheKeyWaits,              "off",     false, true},
    {"key again",                     Before::OverKeyed,   [] { return perform(KeyAction::KeyAgain); },           "on",     true,  true},
    {"key again while a stop runs",   Before::OverKeyed,   keyAgainDuringAStop,                                    "",       true,  true},
    {"keyed for the over",            Before::Receiving,   [] { return perform(KeyAction::KeyForTheOver); },      "on",     true,  true},
    {"keep the key, nothing sends",   Before::KeyedIdle,   [] { return perform(KeyAction::KeepKey); },            "off",    false, true},
    {"clear a key left",              Before::Receiving,   [] { return perform(KeyAction::ClearKeyLeft); },       "off",    false, true},
    {"end the over and say it",       Before::OverKeyed,   [] { return perform(KeyAction::EndOverAndSay); },      "off",    false, true},
    {"nothing",                       Before::OverKeyed,   [] { return perform(KeyAction::Nothing); },            "",       true,  true},
    {"a start's key-on",              Before::Receiving,   [] { return rig::RigPttOn(); },                        "on",     true,  true},
    {"a key-on during a stop",        Before::Receiving,   [] { const rig::OperatorStop s; return rig::RigPttOn(); }, "",   false, false, false},
    {"a key-on a release overtook",   Before::LineAnswers, keyOnOvertakenByARelease,                               "off",    false, true,  false},
    {"a key-on the port's close overtook", Before::LineAnswers, keyOnOvertakenByThePortsClose,                    "off",     false, true,  false},
    {"an over running, its release owed", Before::OverKeyed, overRunningWhileItsReleaseIsOwed,                   "off on", true,  true},
    {"a key-on while the key watch ticks", Before::LineAnswers, keyOnWhileTheKeyWatchTicks,                   "on",     true,  true},
    {"a key-on while the rig is heard back", Before::LineAnswers, keyOnWhileTheRigIsHeardBack,               "on",     true,  true},
    {"Esc",                           Before::OverKeyed,   [] { rig::RigPttOffForEsc(); return true; },           "off",    false, true},
    {"Esc unheard, its over winding down", Before::OverKeyed, escUnheardWhileItsOverWindsDown,                  "off off", false, true},
    {"Esc while receiving",           Before::Receiving,   [] { rig::RigPttOffForEsc(); return true; },           "",       false, false},
    {"Esc, an echo on the line",      Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::Echo); },    "off",    false, false, true, "KENWOOD", 2},
    {"Esc, half answers on the line", Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::HalfAnswers); }, "off", false, false, true, "KENWOOD", 2},
    {"Esc, another family's answers", Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::OtherFamily); }, "off", false, false, true, "KENWOOD", 2},
    {"Esc, noise on the line",        Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::Noise); },   "off",    false, false, true, "KENWOOD", 2},
    {"Esc, an echo on an FT817 line", Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::Echo); },    "off",    false, false, true, "FT817", 2},
    {"Esc, a key-on's echo after it", Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::EchoOfAKeyOnJustBefore); }, "off", false, false, true, "FT847", 2},
    {"Esc, noise on an ICOM bus",     Before::OverKeyed,   [] { return escWhileTheLineBrings(FarEnd::Noise); },   "off",    false, false},
    // clang-format on
};

TEST_F(RigLinkTest, WhatGoesOnTheLineForEachActionOfTheKey) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.name);
        zvtest::RigSimulator& rig = openRig(QString::fromLatin1(r.family), r.pollMode);
        keyedRig = &rig;
        // Nothing keyed or owed from the row before: the key watch stops at its tick.
        ASSERT_TRUE(zvtest::waitUntil([] { return !rig::keyWatch().isActive(); }));
        core::g.Transmitting = r.before == Before::Receiving ? 0 : 1;
        if (r.before != Before::Receiving) {
            ASSERT_TRUE(rig::RigPttOn());
            ASSERT_TRUE(zvtest::waitUntil([&] { return rig.ptt && rig::g.PttKeyedByCat == 1; }));
        }
        if (r.before == Before::KeyedIdle) {
            rig::keyWatch().stop();
            core::g.Transmitting = 0;
        }
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        if (r.before == Before::LineAnswers) {
            // A key-on now waits for the answer to a reading, which the rig holds back.
            rig.holdingAnswers = true;
            rig::RigAskStatus();
        }
        QStringList heard;
        const QMetaObject::Connection listening =
            QObject::connect(&rig, &zvtest::RigSimulator::pttHeard,
                             [&](bool on) { heard << QString::fromLatin1(on ? "on" : "off"); });
        EXPECT_EQ(r.act(), r.actSays);
        EXPECT_EQ(rig::keyWatch().isActive(), r.watchAfter);
        rig.releaseAnswers();
        rig.holdingAnswers = false;
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(rig));
        // The key watch acts on its own ticks.
        if (r.before == Before::KeyedIdle) {
            EXPECT_TRUE(zvtest::waitUntil([&] { return !rig.ptt; }));
        }
        EXPECT_EQ(heard.join(QLatin1Char(' ')).toStdString(), std::string(r.heard));
        EXPECT_EQ(rig.ptt, r.keyedAfter);
        QObject::disconnect(listening);
        // Nothing keyed or owed left to the next row's rig: a release whose
        // answer came tangled with a held one's goes out again until heard.
        core::g.Transmitting = 0;
        if (rig::g.PttKeyedByCat == 1) rig::RigPttOff();
        EXPECT_TRUE(zvtest::waitUntil([] { return rig::g.PttOnLastSent == 0; }));
        rig::RigClosePort();
    }
}

} // namespace
