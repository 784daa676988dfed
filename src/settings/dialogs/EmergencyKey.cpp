#include "settings/dialogs/EmergencyKey.h"

#include "terminal/engines/EngineStop.h"

#include <QKeyEvent>
#include <QWidget>

namespace settings {

EmergencyKey::EmergencyKey(QWidget* dialog) : forms::WindowFilter(dialog) {
    watch(dialog);
    for (QWidget* control : dialog->findChildren<QWidget*>())
        watch(control);
}

bool EmergencyKey::filter(QObject*, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key->key() != Qt::Key_Z || mods != (Qt::ControlModifier | Qt::AltModifier)) return false;
    terminal::engines::EmergencyExit();
    return true;
}

} // namespace settings
