#include "rig/KeyState.h"

namespace rig {
namespace {

bool keyed(const KeyState& s) {
    return s.PttKeyedByCat == 1 || s.PttOnLastSent == 1;
}

// The port is on `line` now (opened, or its lost line back): what is owed to
// it goes first, an over keyed on it goes on, keyed again when its rig went
// away meanwhile. A release owed to another line is neither sent here nor
// forgotten.
KeyAction onLine(KeyState& s, const KeyEvent& e) {
    const bool owed = releaseOwedIn(s);
    if (owed && e.over && carriesKeyOf(e.line, s.KeyedLine)) {
        // An over runs now on the line owed the release: it is keyed once the
        // release is taken, never left sending into the unkeyed rig.
        s.ClearKeyAtOpen = 0;
        return KeyAction::SendReleaseThenKey;
    }
    if (owed && carriesKeyOf(e.line, s.KeyedLine)) {
        s.ClearKeyAtOpen = 0;
        return KeyAction::SendRelease;
    }
    if (s.ClearKeyAtOpen == 1 && !keyed(s)) {
        s.ClearKeyAtOpen = 0;
        // An over begun before the first opening is keyed: its key-on takes
        // the place of the release of a key an earlier run left.
        if (!e.over) return KeyAction::ClearKeyLeft;
    }
    if (s.PttKeyedByCat == 1) {
        if (!carriesKeyOf(e.line, s.KeyedLine)) {
            // Not the line the over was keyed on: that rig is owed its release.
            s.PttKeyedByCat = 0;
            s.KeyInDoubt = 0;
            return KeyAction::EndOverAndSay;
        }
        if (!e.over) return KeyAction::KeepKey;
        if (s.KeyInDoubt == 1) return KeyAction::KeyAgain;
        return KeyAction::KeepKey;
    }
    if (!e.over) return KeyAction::Nothing;
    // An over keyed here would take the place of the line owed a release.
    return owed ? KeyAction::EndOverAndSay : KeyAction::KeyForTheOver;
}

} // namespace

bool carriesKeyOf(const KeyLine& line, const KeyLine& key) {
    return line.family == key.family && line.port == key.port;
}

bool releaseOwedIn(const KeyState& s) {
    return s.PttKeyedByCat == 0 && s.PttOnLastSent == 1;
}

bool releaseUnanswered(const KeyState& s) {
    return releaseOwedIn(s) && s.ReleaseUnheard == 0;
}

KeyStep keyStep(KeyState s, const KeyEvent& e) {
    KeyAction a = KeyAction::Nothing;
    switch (e.kind) {
    case KeyEventKind::Start:
        s.ClearKeyAtOpen = 1;
        s.RigPortOpen = 0;
        s.ReleaseUnheard = 0;
        break;
    case KeyEventKind::Opened:
        // An answer on a port opened anew is no answer to a release written before.
        s.ReleaseUnheard = 0;
        s.RigPortOpen = 1;
        s.RigLineLost = 0;
        s.RigOpenRetry = 0;
        s.RigOpenedLine = e.line;
        a = onLine(s, e);
        break;
    case KeyEventKind::OpenFailed:
        s.RigPortOpen = 0;
        s.RigLineLost = 0;
        s.RigOpenRetry = 1;
        s.ReleaseUnheard = 0;
        if (s.PttKeyedByCat == 1) s.KeyInDoubt = 1;
        break;
    case KeyEventKind::Closed:
        if (e.keepKey && s.RigLineLost == 1 && s.PttKeyedByCat == 1) s.KeyInDoubt = 1;
        // The release went first; one the rig did not take stays owed.
        if (!e.keepKey) s.PttKeyedByCat = 0;
        s.ReleaseUnheard = 0;
        s.RigPortOpen = 0;
        s.RigLineLost = 0;
        s.RigOpenRetry = 0;
        break;
    case KeyEventKind::LineLost:
        if (s.RigPortOpen != 1 || s.RigLineLost == 1) break;
        s.RigLineLost = 1;
        if (s.PttKeyedByCat == 1) s.KeyInDoubt = 1;
        s.ReleaseUnheard = 0;
        a = KeyAction::SayLoss;
        break;
    case KeyEventKind::LineBack:
        if (s.RigLineLost != 1) break;
        s.RigLineLost = 0;
        s.RigOpenedLine = e.line;
        a = onLine(s, e);
        break;
    case KeyEventKind::KeyOnAsked:
        if (releaseOwedIn(s) && !carriesKeyOf(e.line, s.KeyedLine)) a = KeyAction::EndOverAndSay;
        break;
    case KeyEventKind::KeyOnWritten:
        s.PttKeyedByCat = 1;
        s.PttOnLastSent = 1;
        s.KeyedLine = e.line;
        s.KeyInDoubt = 0;
        s.ReleaseUnheard = 0;
        break;
    case KeyEventKind::KeyOnRefused:
        // The last key-on that did reach the rig stays owed its release.
        s.PttKeyedByCat = 0;
        s.KeyInDoubt = 0;
        a = KeyAction::EndOverAndSay;
        break;
    case KeyEventKind::KeyOffWritten:
        // Written is not heard: where the rig answers, the release is owed
        // until it does.
        if (e.answers && !keyed(s)) s.KeyedLine = e.line;
        s.PttKeyedByCat = 0;
        s.PttOnLastSent = e.answers ? 1 : 0;
        s.ReleaseUnheard = e.answers ? 1 : 0;
        s.KeyInDoubt = 0;
        break;
    case KeyEventKind::ReleaseHeard:
        if (s.PttKeyedByCat == 1 || s.ReleaseUnheard != 1) break;
        s.PttOnLastSent = 0;
        s.ReleaseUnheard = 0;
        break;
    case KeyEventKind::RigSilent:
    case KeyEventKind::WriteFailed:
        if (s.PttKeyedByCat == 1 || s.ReleaseUnheard != 1) break;
        s.ReleaseUnheard = 0;
        a = KeyAction::SayLoss;
        break;
    case KeyEventKind::RigHeard:
        // Back: the release goes before anything else it is told, unless an
        // over runs on it now.
        if (releaseUnanswered(s) && !e.over && s.RigPortOpen == 1 && s.RigLineLost != 1 &&
            carriesKeyOf(s.RigOpenedLine, s.KeyedLine))
            a = KeyAction::SendRelease;
        break;
    case KeyEventKind::KeyOffRefused:
        // A release not taken is owed to the line it was written for.
        if (!keyed(s)) s.KeyedLine = e.line;
        s.PttOnLastSent = 1;
        s.PttKeyedByCat = 0;
        s.KeyInDoubt = 0;
        s.ReleaseUnheard = 0;
        a = KeyAction::SayLoss;
        break;
    case KeyEventKind::Stop:
        a = keyed(s) ? KeyAction::SendRelease : KeyAction::Nothing;
        break;
    case KeyEventKind::Tick:
        if (!keyed(s)) {
            a = KeyAction::StopWatch;
        } else if (s.ReleaseUnheard == 1) {
            // Its answer is still on its way.
        } else if (releaseOwedIn(s)) {
            // Sent on the port open on its line, or by opening that line when
            // the settings name it; said meanwhile.
            if (s.RigPortOpen == 1 && carriesKeyOf(s.RigOpenedLine, s.KeyedLine))
                a = KeyAction::SendRelease;
            else if (s.RigPortOpen != 1 && carriesKeyOf(e.line, s.KeyedLine))
                a = KeyAction::OpenAgain;
            else
                a = KeyAction::SayLoss;
        } else if (!e.over) {
            // Keyed with nothing sending, wherever the line is.
            a = KeyAction::CountIdle;
        } else if (s.RigPortOpen != 1) {
            a = KeyAction::SayLoss;
        } else if (s.RigLineLost == 1) {
            a = KeyAction::TryLineBack;
        }
        break;
    case KeyEventKind::NamedForGood:
        // Given up for good; the loss stays said.
        if (releaseOwedIn(s) && !carriesKeyOf(e.line, s.KeyedLine)) {
            s.PttOnLastSent = 0;
            s.ReleaseUnheard = 0;
        }
        break;
    case KeyEventKind::End:
        if (!keyed(s)) break;
        a = s.RigPortOpen == 1 && s.RigLineLost != 1 && carriesKeyOf(s.RigOpenedLine, s.KeyedLine)
                ? KeyAction::SendRelease
                : KeyAction::TellKeyLeft;
        break;
    }
    return {s, a};
}

} // namespace rig
