#pragma once
// One object of a kind for the whole run, installed by its owner (the
// application context, or a test's own context) and reached by the code
// below it. A lower layer reaches a window through an interface installed
// this way, never by including the window.
#include <QtGlobal>
#include <typeinfo>

namespace installed {
namespace detail {
template <class T> T*& slot() {
    static T* p = nullptr;
    return p;
}
} // namespace detail

template <class T> bool has() {
    return detail::slot<T>() != nullptr;
}

// The installed object; asking for one that nobody installed is a fault of
// the program's set-up, not something to carry on from.
template <class T> T& get() {
    T* p = detail::slot<T>();
    if (!p) qFatal("%s is used before it is installed", typeid(T).name());
    return *p;
}

// Installs an object for the lifetime of this guard and puts back the one
// installed before it when the guard goes.
template <class T> class Guard {
  public:
    explicit Guard(T& object) : previous_(detail::slot<T>()) { detail::slot<T>() = &object; }
    ~Guard() { detail::slot<T>() = previous_; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  private:
    T* previous_;
};

} // namespace installed
