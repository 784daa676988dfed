#include "platform/forms/windows/Forms.h"

#include <QList>
#include <algorithm>
#include <utility>

namespace forms {
namespace {
struct Entry {
    const char* key;
    std::function<void()> unloader;
};
QList<Entry>& entries() {
    static QList<Entry> list;
    return list;
}
// Windows kept after their unload, for the next load of their kind.
QList<Entry>& spares() {
    static QList<Entry> list;
    return list;
}
void dropSpares() {
    const QList<Entry> kept = std::exchange(spares(), {});
    for (const Entry& e : kept)
        e.unloader();
}
} // namespace

namespace detail {
void remember(const char* key, std::function<void()> unloader) {
    forget(key);
    entries().append({key, std::move(unloader)});
}
void forget(const char* key) {
    entries().removeIf([key](const Entry& e) { return qstrcmp(e.key, key) == 0; });
}

void keepSpare(const char* key, std::function<void()> drop) {
    takeSpare(key);
    spares().append({key, std::move(drop)});
}
void takeSpare(const char* key) {
    spares().removeIf([key](const Entry& e) { return qstrcmp(e.key, key) == 0; });
}

bool mayKeep() {
    return !waitsRun();
}
} // namespace detail

namespace {

template <class Begin, class End> void unloadOneByOne(const QWidget* keep, Begin begin, End end) {
    detail::dropHeld();
    const char* keepKey = keep ? typeid(*keep).name() : nullptr;
    // Each unload may load or unload others: take them one at a time.
    for (;;) {
        const QList<Entry>& list = entries();
        auto it = std::find_if(begin(list), end(list), [keepKey](const Entry& e) {
            return !keepKey || qstrcmp(e.key, keepKey) != 0;
        });
        if (it == end(list)) return;
        const std::function<void()> unloader = it->unloader;
        unloader();
    }
}

} // namespace

void unloadAllExcept(const QWidget* keep) {
    unloadOneByOne(
        keep, [](const QList<Entry>& l) { return l.rbegin(); },
        [](const QList<Entry>& l) { return l.rend(); });
    dropSpares();
}

void unloadInLoadOrderExcept(const QWidget* keep) {
    unloadOneByOne(
        keep, [](const QList<Entry>& l) { return l.begin(); }, [](const QList<Entry>& l) { return l.end(); });
    dropSpares();
}

int loadedCount() {
    return static_cast<int>(entries().size());
}

} // namespace forms
