#include "sstv/SstvWindowPlace.h"

#include "core/IniValues.h"
#include "platform/Colour.h"
#include "sstv/SstvPlaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace sstv {
namespace {

const QString kTop = QStringLiteral("TopPos");
const QString kLeft = QStringLiteral("LeftPos");

QSize screenTwips() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const QSize px = s ? s->geometry().size() : QSize(1024, 768);
    return {twips::fromPx(px.width()), twips::fromPx(px.height())};
}

} // namespace

void RestorePlace(QWidget* window, const QString& section) {
    const QSize screen = screenTwips();
    const Place p = WindowPlace(core::IniWhole(section, kTop), core::IniWhole(section, kLeft),
                                screen.height(), screen.width());
    window->move(twips::toPx(p.left), twips::toPx(p.top));
}

void StorePlace(const QWidget* window, const QString& section) {
    core::PutIniText(section, kTop, QString::number(twips::fromPx(window->y())));
    core::PutIniText(section, kLeft, QString::number(twips::fromPx(window->x())));
}

void SetTopmost(QWidget* window, bool on) {
    const bool shown = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing a window's flags hides it; it keeps its place and size.
    if (shown) window->show();
}

} // namespace sstv
