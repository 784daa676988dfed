#include "platform/forms/windows/WindowFilter.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace forms {

WindowFilter::WindowFilter(QWidget* window) : QObject(window) {}

WindowFilter::~WindowFilter() {
    detach();
}

void WindowFilter::watch(QObject* object) {
    object->installEventFilter(this);
    watched_.append(object);
}

void WindowFilter::watchApplication() {
    qApp->installEventFilter(this);
    application_ = true;
}

void WindowFilter::detach() {
    for (const QPointer<QObject>& o : std::as_const(watched_))
        if (o) o->removeEventFilter(this);
    watched_.clear();
    if (application_ && qApp) qApp->removeEventFilter(this);
    application_ = false;
}

bool WindowFilter::eventFilter(QObject* watched, QEvent* e) {
    return filter(watched, e);
}

void quiesce(QWidget* window) {
    const QList<QTimer*> timers = window->findChildren<QTimer*>();
    for (QTimer* t : timers)
        t->stop();
    const QList<WindowFilter*> filters = window->findChildren<WindowFilter*>();
    for (WindowFilter* f : filters)
        f->detach();
}

} // namespace forms
