#include "platform/forms/waits/Waits.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace forms {
namespace {

struct Held {
    Request request;
    std::function<void()> again;
    int stopsAtHold;
};

struct Asker {
    const EventsRunScope* scope;
    EventsRunScope::Kind kind;
    std::function<void()> askToEnd;
};

int stops = 0;
int engines = 0;
// The waits running now, outermost first.
QList<Asker>& askers() {
    static QList<Asker> list;
    return list;
}
bool waitOfKindRuns(EventsRunScope::Kind kind) {
    for (const Asker& a : askers())
        if (a.kind == kind) return true;
    return false;
}
QList<Held>& held() {
    static QList<Held> list;
    return list;
}
QList<QPointer<QObject>>& unloadedInWaits() {
    static QList<QPointer<QObject>> list;
    return list;
}

// Starts held now are not carried over what happened since they were asked.
bool dropHeldStarts() {
    return held().removeIf([](const Held& h) { return h.request == Request::Start; }) > 0;
}

bool endHeld() {
    for (const Held& h : held())
        if (h.request == Request::End) return true;
    return false;
}

// Runs what was held, in the order it came, while no wait runs; each asks again.
void drain() {
    while (!held().isEmpty() && askers().isEmpty()) {
        const Held h = held().takeFirst();
        if (h.request == Request::Start && h.stopsAtHold != stops) continue;
        h.again();
    }
}

// Copied first: an answered box or a stopped scan may end other waits.
void askWaitsToEnd(Request request) {
    const QList<Asker> list = askers();
    for (const Asker& a : list)
        if (a.askToEnd && (request == Request::End || a.kind == EventsRunScope::Scan)) a.askToEnd();
}

} // namespace

Answer answerTo(Request request, Under under) {
    if (!under.waits && !under.modeChange && !under.start) return Answer::Now;
    if (request == Request::End || request == Request::EngineEnded) return Answer::Held;
    if (under.modeChange) return Answer::Refused;
    if (under.start && request != Request::Start) return Answer::Refused;
    return Answer::Held;
}

EventsRunScope::EventsRunScope(Kind kind, std::function<void()> askToEnd)
    : kind_(kind), stopsAtStart_(stops), enginesAtStart_(engines) {
    askers().append({this, kind, std::move(askToEnd)});
}

EventsRunScope::~EventsRunScope() {
    finish();
}

bool EventsRunScope::mayGoOn() const {
    return stopsAtStart_ == stops && (kind_ != Start || enginesAtStart_ == engines);
}

// Posted from the waiting handler's own level, a deletion or a held request
// comes once that handler has returned to the event loop.
bool EventsRunScope::finish() {
    if (finished_) return mayGoOn();
    finished_ = true;
    // Its own entry, wherever it stands: a wait that ends before one begun
    // after it leaves that one known as running.
    askers().removeIf([this](const Asker& a) { return a.scope == this; });
    if (askers().isEmpty()) {
        const QList<QPointer<QObject>> unloaded = std::exchange(unloadedInWaits(), {});
        for (const QPointer<QObject>& o : unloaded)
            if (o) o->deleteLater();
        if (!held().isEmpty()) QTimer::singleShot(0, qApp, drain);
    }
    return mayGoOn();
}

bool waitsRun() {
    return !askers().isEmpty();
}

bool modeChangeRuns() {
    return waitOfKindRuns(EventsRunScope::ModeChange);
}

bool mayActNow(Request request, std::function<void()> again) {
    switch (answerTo(request, {waitsRun(), modeChangeRuns(), waitOfKindRuns(EventsRunScope::Start)})) {
    case Answer::Now:
        return true;
    case Answer::Refused:
        return false;
    case Answer::Held:
        break;
    }
    if (request != Request::End && endHeld()) return false;
    held().append({request, std::move(again), stops});
    askWaitsToEnd(request);
    return false;
}

void takeStop() {
    ++stops;
}

bool startHeld() {
    for (const Held& h : held())
        if (h.request == Request::Start && h.stopsAtHold == stops) return true;
    return false;
}

bool engineChanges() {
    const bool underWay = waitOfKindRuns(EventsRunScope::Start);
    ++engines;
    return dropHeldStarts() || underWay;
}

bool waitUntil(const std::function<bool()>& done, int maxMs) {
    bool asked = false;
    const EventsRunScope wait(EventsRunScope::Wait, [&asked] { asked = true; });
    QDeadlineTimer limit(maxMs);
    // Wakes the wait at its limit when nothing else comes.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxMs);
    while (!done() && !asked && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

bool waitForExitWithoutEvents(QProcess& process, int maxMs) {
    return process.state() == QProcess::NotRunning || process.waitForFinished(maxMs);
}

bool letEventsRun(int maxMs) {
    const EventsRunScope wait;
    if (maxMs > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, maxMs);
    else
        QCoreApplication::processEvents();
    return wait.mayGoOn();
}

bool waitForMoreEvents() {
    const EventsRunScope wait;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return wait.mayGoOn();
}

bool pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    return runLoop(loop);
}

bool runLoop(QEventLoop& loop) {
    const EventsRunScope wait;
    loop.exec();
    return wait.mayGoOn();
}

int execModal(QDialog& dialog) {
    const EventsRunScope wait(EventsRunScope::Wait, [d = QPointer<QDialog>(&dialog)] {
        if (d) d->reject();
    });
    const int answer = dialog.exec();
    // Asked before the operator read the box, a start would go out long
    // after, with nothing on the screen saying it is still to come.
    dropHeldStarts();
    return answer;
}

QAction* execMenu(QMenu& menu, const QPoint& at) {
    const EventsRunScope wait(EventsRunScope::Wait, [m = QPointer<QMenu>(&menu)] {
        if (m) m->close();
    });
    return menu.exec(at);
}

void destroyLater(QObject* o) {
    if (waitsRun())
        unloadedInWaits().append(o);
    else
        o->deleteLater();
}

namespace detail {
void dropHeld() {
    held().clear();
}
} // namespace detail

} // namespace forms
