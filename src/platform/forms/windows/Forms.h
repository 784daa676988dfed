#pragma once
// The window registry. Every window of the system has one instance, reached by
// its name from every subsystem (each window's header offers forms::NAME()).
// Touching a window that is not loaded loads it hidden: it is built and its
// Form_Load runs. Unloading runs its Form_Unload, stops its timers, detaches its
// filters and destroys it; the next touch loads a fresh one.
// A window that offers Form_Reset (a list refilled on every look-up) is only
// hidden by its unload and kept: the next touch takes it up again, reset to
// what a fresh one is, and its Form_Load runs as on a fresh one. Unloaded
// while a wait runs, it is destroyed as any other (a handler of it may sit in
// that wait).
#include "platform/forms/waits/Waits.h"
#include "platform/forms/windows/WindowFilter.h"

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
template <class W> QPointer<W>& spare() {
    static QPointer<W> p;
    return p;
}
// False while a wait runs.
bool mayKeep();
void keepSpare(const char* key, std::function<void()> drop);
void takeSpare(const char* key);

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
    if constexpr (requires(W & x) { x.Form_Reset(); }) {
        if (detail::mayKeep()) {
            detail::spare<W>() = w;
            detail::keepSpare(typeid(W).name(), [] {
                if (W* kept = detail::spare<W>().data()) {
                    detail::spare<W>() = nullptr;
                    quiesce(kept);
                    destroyLater(kept);
                }
            });
            return;
        }
    }
    quiesce(w);
    destroyLater(w);
}

template <class W> W& get() {
    QPointer<W>& p = detail::slot<W>();
    if (!p) {
        W* w = nullptr;
        if constexpr (requires(W & x) { x.Form_Reset(); }) {
            w = detail::spare<W>().data();
            if (w) {
                detail::spare<W>() = nullptr;
                detail::takeSpare(typeid(W).name());
                w->Form_Reset();
            }
        }
        if (!w) w = new W();
        p = w;
        detail::remember(typeid(W).name(), [] { unload<W>(); });
        if constexpr (requires(W & x) { x.Form_Load(); }) w->Form_Load();
    }
    return *p;
}

// Unloads every loaded window but the one given (shutdown), newest first; the
// windows kept for reuse go too.
void unloadAllExcept(const QWidget* keep = nullptr);
// The same oldest first, in the order the windows were loaded (the end of a run).
void unloadInLoadOrderExcept(const QWidget* keep);
int loadedCount();

} // namespace forms
