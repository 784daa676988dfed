#include "sstv/window/SstvWindowPlace.h"

#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/windows/WindowFrame.h"

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

} // namespace

void RestorePlace(QWidget* window, const QString& section) {
    const PlaceKeys keys = keysOf(section);
    const std::optional<int> top = core::IniWhole(section, QString::fromLatin1(keys.top));
    const std::optional<int> left = core::IniWhole(section, QString::fromLatin1(keys.left));
    // Without a stored top the window goes to the top left corner.
    winframe::placeOnScreen(window, top ? left.value_or(0) : 0, top.value_or(0));
}

void StorePlace(const QWidget* window, const QString& section) {
    const PlaceKeys keys = keysOf(section);
    const QPoint frame = winframe::framePlace(window);
    core::PutIniText(section, core::IniKey::built(QString::fromLatin1(keys.top)),
                     QString::number(twips::fromPx(frame.y())));
    core::PutIniText(section, core::IniKey::built(QString::fromLatin1(keys.left)),
                     QString::number(twips::fromPx(frame.x())));
}

void SetTopmost(QWidget* window, bool on) {
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing a window's flags hides it; it keeps its place and size.
    if (shown) window->show();
}

} // namespace sstv
