// What goes onto the line for each action the key's state asks of the port
// code, and for the callers that act on its answer: the PTT commands a
// simulated ICOM rig hears, in order, and whether the key watch runs after.
#include "RigLinkFixture.h"

#include "core/Globals.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigPort.h"

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
};

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
// into the unkeyed rig; its end writes the release again, unheard still.
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
// the line while the key watch writes the release again: the key follows it.
// The start asks before its engine's flag is set (the multi-mode control's).
bool keyOnAfterAnOwedReleaseGoesAgain() {
    rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::KeyOffRefused}));
    core::g.Transmitting = 0;
    QTimer::singleShot(0, [] { rig::RigKeyWatchTick(); });
    return rig::RigPttOn();
}

// Esc's release went unheard (the rig silent) while the stopped engine has
// yet to say its over ended: the key watch writes the release again and
// keys nothing for that over.
bool escUnheardWhileItsOverWindsDown() {
    rig::RigPttOffForEsc();
    rig::RigPerformKey(rig::keyEvent({rig::KeyEventKind::RigSilent}));
    rig::RigKeyWatchTick();
    return true;
}

bool keyAgainDuringAStop() {
    const rig::OperatorStop stop;
    return perform(KeyAction::KeyAgain);
}

const Row kRows[] = {
    // clang-format off
    {"release",                       Before::OverKeyed,   [] { return perform(KeyAction::SendRelease); },        "off",    false, true},
    {"release, then the over keyed",  Before::OverKeyed,   [] { return perform(KeyAction::SendReleaseThenKey); }, "off on", true,  true},
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
    {"a key-on the port's close overtook", Before::LineAnswers, keyOnOvertakenByThePortsClose,                    "off off", false, true,  false},
    {"an over running, its release owed", Before::OverKeyed, overRunningWhileItsReleaseIsOwed,                   "off on", true,  true},
    {"a key-on after an owed release", Before::LineAnswers, keyOnAfterAnOwedReleaseGoesAgain,                      "off on", true,  true},
    {"Esc",                           Before::OverKeyed,   [] { rig::RigPttOffForEsc(); return true; },           "off",    false, true},
    {"Esc unheard, its over winding down", Before::OverKeyed, escUnheardWhileItsOverWindsDown,                  "off off", false, true},
    {"Esc while receiving",           Before::Receiving,   [] { rig::RigPttOffForEsc(); return true; },           "",       false, false},
    // clang-format on
};

TEST_F(RigLinkTest, WhatGoesOnTheLineForEachActionOfTheKey) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.name);
        zvtest::RigSimulator& rig = openRig(QStringLiteral("ICOM"));
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
        core::g.Transmitting = 0;
        rig::RigClosePort();
    }
}

} // namespace
