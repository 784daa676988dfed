#include "sstv/window/SstvWindowPlace.h"

#include "core/IniValues.h"
#include "platform/forms/Colour.h"
#include "platform/forms/WindowFrame.h"
#include "sstv/window/SstvPlaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace sstv {
namespace {

// The keys of each window's stored place. The SSTV window shares the main
// window's; any other section keeps TopPos and LeftPos.
struct PlaceKeys {
    const char* section;
    const char* top;
    const char* left;
};
constexpr PlaceKeys kPlaces[] = {
    {"CFGPOS", "PMPOSTop", "PMPOSLeft"},         {"Picture_BigViewer_POS", "TopPos", "LeftPos"},
    {"Picture_Viewer_POS", "TopPos", "LeftPos"}, {"MojiInput_POS", "TopPos", "LeftPos"},
    {"SSTVMARO_POS", "TopPos", "LeftPos"},
};

PlaceKeys keysOf(const QString& section) {
    for (const PlaceKeys& k : kPlaces)
        if (section == QLatin1String(k.section)) return k;
    return {nullptr, "TopPos", "LeftPos"};
}

QRect screenPx() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

void RestorePlace(QWidget* window, const QString& section) {
    const PlaceKeys keys = keysOf(section);
    const QRect screen = screenPx();
    const Place p = WindowPlace(core::IniWhole(section, QString::fromLatin1(keys.top)),
                                core::IniWhole(section, QString::fromLatin1(keys.left)),
                                twips::fromPx(screen.height()), twips::fromPx(screen.width()));
    window->move(twips::toPx(p.left), twips::toPx(p.top));
    KeepWindowOnScreen(window);
    winframe::placeFrame(window, window->pos());
}

void KeepWindowOnScreen(QWidget* window) {
    // A window not shown yet has no size of its own: its layout's wish stands for it.
    const QSize size = window->isVisible() ? window->size() : window->size().expandedTo(window->sizeHint());
    const QRect kept = KeepOnScreen(QRect(window->pos(), size), screenPx());
    if (kept.size() != size) window->resize(kept.size());
    if (kept.topLeft() != window->pos()) window->move(kept.topLeft());
}

void StorePlace(const QWidget* window, const QString& section) {
    const PlaceKeys keys = keysOf(section);
    const QPoint frame = winframe::framePlace(window);
    core::PutIniText(section, QString::fromLatin1(keys.top), QString::number(twips::fromPx(frame.y())));
    core::PutIniText(section, QString::fromLatin1(keys.left), QString::number(twips::fromPx(frame.x())));
}

void SetTopmost(QWidget* window, bool on) {
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing a window's flags hides it; it keeps its place and size.
    if (shown) window->show();
}

} // namespace sstv
