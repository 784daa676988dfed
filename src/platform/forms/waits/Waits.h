#pragma once
// The one owner of every wait that lets events run: the rig's quiet line, the
// RTTY program's answer, a scan, a picture drawn, a modal box or menu, a mode
// change on its way. Whatever the operator or a peer does meanwhile asks the
// owner first, and the operation that waited asks it afterwards whether it
// may go on. Nothing else in the program runs pending events.
//
// What may happen meanwhile:
// - a window unloaded, or a peer's socket, process or reply let go, is
//   destroyed only after the outermost wait, once the handler that waited has
//   returned through it: no object is freed while one of its own signals is
//   on the stack;
// - a mode change, a spot's retune or a start (F12, a macro, TUNE, a picture
//   send) is refused while a mode change is under way; a mode change or a
//   retune is refused while a start is on its way (the transmission it
//   begins is known to them); otherwise each is held until the waits are
//   over. The end is always held, and once it is held nothing else is taken. A held start is dropped when a
//   stop comes after it. A scan gives way to whatever is held; a box or a menu only to the end, which answers
//   it as Esc does;
// - an engine that ends of itself is replaced once the waits are over, never
//   refused: the engine is gone whatever runs;
// - a stop (Esc, an abort) is never held: the start that waited finds it;
// - a start belongs to the engine it was made for and to the moment it was
//   asked: a start under way goes no further once that engine is replaced or
//   gone, and a held start is dropped then, or when a box is answered.

#include <QPoint>
#include <functional>

class QAction;
class QDialog;
class QEventLoop;
class QMenu;
class QObject;
class QProcess;
class QWidget;

namespace forms {

enum class Request { ModeChange, Retune, Start, End, EngineEnded };
enum class Answer { Now, Held, Refused };

// What is under way, and the rule itself over it.
struct Under {
    bool waits = false;
    bool modeChange = false;
    bool start = false;
};
Answer answerTo(Request request, Under under);

class EventsRunScope {
  public:
    // Wait: a peer's answer, a box, a menu. Scan: a wait that ends as soon as
    // anything is held. Start: a transmission's start on its way (a macro
    // read, the RTTY program handed its text, a picture drawn). ModeChange: a
    // mode change on its way.
    enum Kind { Wait, Scan, Start, ModeChange };
    // askToEnd, when given, ends this wait early (a scan stopped, a box answered).
    explicit EventsRunScope(Kind kind = Wait, std::function<void()> askToEnd = {});
    ~EventsRunScope();
    EventsRunScope(const EventsRunScope&) = delete;
    EventsRunScope& operator=(const EventsRunScope&) = delete;

    // No stop has been taken since the wait began: the operation may go on.
    bool mayGoOn() const;
    // Ends the wait here, before the operation goes on, and says whether it may.
    bool finish();

  private:
    Kind kind_;
    int stopsAtStart_;
    int enginesAtStart_;
    bool finished_ = false;
};

bool waitsRun();
bool modeChangeRuns();

// Asked by a mode change, a retune, a start or the end before it acts: true
// to act now; false when refused or held (then `again` runs once the waits
// are over, and asks again).
bool mayActNow(Request request, std::function<void()> again);

// Esc and every abort count here; a start that waited then goes no further.
void takeStop();
// A start (F12, a macro, TUNE) is held until the waits are over.
bool startHeld();

// The engine is replaced or gone (a mode change, an engine that ended): the
// starts made for it go no further. True when one was under way or held.
bool engineChanges();

// The waits themselves; the first four say whether the operation may go on.
// A peer (a program started, a socket's answer) is waited for with waitUntil:
// true once `done` holds, false when maxMs passed first or the end asked the
// wait to end.
bool waitUntil(const std::function<bool()>& done, int maxMs);
// A program's exit, waited for with no events run: for a link's destructor,
// which may run while the windows are taken apart at the end. True once it has exited.
bool waitForExitWithoutEvents(QProcess& process, int maxMs);
bool letEventsRun(int maxMs = 0);
bool waitForMoreEvents();
bool pause(int ms);
bool runLoop(QEventLoop& loop);
int execModal(QDialog& dialog);
QAction* execMenu(QMenu& menu, const QPoint& at);

// The one way an object that may be inside one of its own signals is freed.
void destroyLater(QObject* o);

namespace detail {
// Every window unloaded (the end): nothing held is left to run.
void dropHeld();
} // namespace detail

} // namespace forms
