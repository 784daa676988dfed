#pragma once
// The transmitter's key as one value: the line the port is open on, the line
// the key went out on, whether the rig holds it or is owed its release, and
// whether the line went away under it. It changes only in keyStep, a pure
// function of (state, event); the port code performs the action it returns.
#include <QString>

namespace rig {

// A rig line: the family, the ICOM address (empty for other families) and the port.
struct KeyLine {
    QString family;
    QString address;
    QString port;
    bool operator==(const KeyLine&) const = default;
};

struct KeyState {
    int RigPortOpen = 0;
    // 1 from the hang-up of the rig's line (its device went) until the port
    // opens on it again; the port counts as open meanwhile.
    int RigLineLost = 0;
    // The line the port was last opened on.
    KeyLine RigOpenedLine;
    // 1 from an opening that failed until the port opens or is closed on
    // purpose: the port is tried again meanwhile, its failure said once.
    int RigOpenRetry = 0;
    // 1 from a key-on this program sent until its key-off: an over keyed on
    // KeyedLine.
    int PttKeyedByCat = 0;
    // 1 while the last PTT command that went out on KeyedLine was a key-on.
    // With PttKeyedByCat 0 a release is owed to that line.
    int PttOnLastSent = 0;
    // The line the key went out on: it is taken off there, and only there.
    KeyLine KeyedLine;
    // 1 from a release written on a line that answers until the rig answers
    // after it: owed meanwhile, but not said (its answer is still on its way).
    int ReleaseUnheard = 0;
    // 1 when the keyed line went away (lost, or its reopening failed) during
    // the over: the rig that comes back may not hold the key.
    int KeyInDoubt = 0;
    // 1 from the start's reading of the settings to the first opening of the
    // port, which clears a key an earlier run may have left on the rig.
    int ClearKeyAtOpen = 0;
};

enum class KeyEventKind {
    Start,         // the settings read at the start
    Opened,        // the port opened on `line` (any caller: sheet, its closing, retry, restore, start)
    OpenFailed,    // an opening of `line` failed
    Closed,        // the port closed on purpose; `keepKey` for a reopening during the over
    LineLost,      // the port's device went
    LineBack,      // the lost line opened again on `line`
    KeyOnAsked,    // a key-on is about to go out on `line`
    KeyOnWritten,  // a key-on went out on `line`
    KeyOnRefused,  // a key-on could not be written
    KeyOffWritten, // `answers`: the line shows whether the rig heard it
    KeyOffRefused,
    ReleaseHeard, // the rig answered after the release's bytes crossed
    RigSilent,    // the release's answer had its time and nothing came
    WriteFailed,  // a write the port had taken failed afterwards
    RigHeard,     // the rig answered, or a reading is about to ask it, while its
                  // release is owed; `over` as for Tick
    Stop,         // Esc or any other stop
    Tick,         // the key watch; `line` as the settings name it
    NamedForGood, // the settings sheet closed naming `line`
    End,          // the program's end
};

struct KeyEvent {
    KeyEventKind kind;
    KeyLine line = {};
    // An engine transmits with PTT by CAT (Tick: an engine is sending).
    bool over = false;
    bool keepKey = false;
    // KeyOffWritten: the rig answers on this line (it acknowledges every
    // command, or it is polled), so the release counts only once it is heard.
    bool answers = false;
};

enum class KeyAction {
    Nothing,
    SendRelease,        // the release, before anything else the line is told
    KeyAgain,           // the over's key-on, once, on a rig that came back
    KeyForTheOver,      // the over runs on a line newly opened: keyed as the engine sends
    KeepKey,            // the over goes on keyed: the key watch runs
    ClearKeyLeft,       // the start's release of a key an earlier run left
    EndOverAndSay,      // the over ends as Esc ends it, and the loss is said
    SayLoss,            // the line's loss (or the release owed to it) is said
    OpenAgain,          // the port opened again for a release owed to the line the settings name
    TryLineBack,        // the keyed line is looked for again
    CountIdle,          // the key watch counts a tick keyed with nothing sending
    StopWatch,          // nothing keyed, nothing owed
    TellKeyLeft,        // at the end: the rig may still send
    SendReleaseThenKey, // the release first, then the over that runs keyed on the line
};

struct KeyStep {
    KeyState next;
    KeyAction action;
};

KeyStep keyStep(KeyState s, const KeyEvent& e);

// The port open on `line` reaches the rig keyed on `key`: the same family on
// the same port (an ICOM's address goes in the command itself).
bool carriesKeyOf(const KeyLine& line, const KeyLine& key);
// A release is owed to KeyedLine (written and not yet heard included).
bool releaseOwedIn(const KeyState& s);
// A release is owed and the rig has not been heard to take it: its rig may
// still be transmitting.
bool releaseUnanswered(const KeyState& s);

} // namespace rig
