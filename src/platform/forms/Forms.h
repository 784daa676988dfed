#pragma once
// The window registry. Every window of the system has one instance, reached by
// its name from every subsystem (each window's header offers forms::NAME()).
// Touching a window that is not loaded loads it hidden: it is built and its
// Form_Load runs. Unloading runs its Form_Unload, stops its timers, detaches its
// filters and destroys it; the next touch loads a fresh one.
#include "platform/forms/Waits.h"
#include "platform/forms/WindowFilter.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <typeinfo>

namespace forms {
namespace detail {

template <class W> QPointer<W>& slot() {
    static QPointer<W> p;
    return p;
}
void remember(const char* key, std::function<void()> unloader);
void forget(const char* key);

} // namespace detail

template <class W> bool isLoaded() {
    return !detail::slot<W>().isNull();
}

template <class W> void unload() {
    QPointer<W>& p = detail::slot<W>();
    // A window owned by another goes with its owner: only its entry is left.
    if (!p) return detail::forget(typeid(W).name());
    W* w = p.data();
    p = nullptr;
    detail::forget(typeid(W).name());
    if constexpr (requires(W & x) { x.Form_Unload(); }) w->Form_Unload();
    w->hide();
    quiesce(w);
    detail::destroyLater(w);
}

template <class W> W& get() {
    QPointer<W>& p = detail::slot<W>();
    if (!p) {
        W* w = new W();
        p = w;
        detail::remember(typeid(W).name(), [] { unload<W>(); });
        if constexpr (requires(W & x) { x.Form_Load(); }) w->Form_Load();
    }
    return *p;
}

// Unloads every loaded window but the one given (shutdown), newest first.
void unloadAllExcept(const QWidget* keep = nullptr);
// The same oldest first, in the order the windows were loaded (the end of a run).
void unloadInLoadOrderExcept(const QWidget* keep);
int loadedCount();

} // namespace forms
