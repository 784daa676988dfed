#include "settings/dialogs/DialogPlace.h"
#include "platform/forms/windows/WindowFrame.h"

#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

namespace settings {

namespace {
constexpr int kBelowOwner = 650;
constexpr int kRightOfOwner = 5100;
} // namespace

QWidget& dialogOwner() {
    if (core::g.OpMode == core::ModeSstv) return forms::SSTVForm();
    return forms::PSK31MAIN();
}

void placeBesideOwner(QWidget& dialog, QWidget& owner) {
    // Owned, it stays in front of the window that opened it when that one is clicked.
    if (dialog.parentWidget() != &owner) dialog.setParent(&owner, dialog.windowFlags() | Qt::Window);
    placeBeside(dialog, owner);
}

void placeBeside(QWidget& dialog, const QWidget& window) {
    const QPoint from = winframe::framePlace(&window) - winframe::screenPx().topLeft();
    winframe::placeOnScreen(&dialog, twips::fromPx(from.x()) + kRightOfOwner,
                            twips::fromPx(from.y()) + kBelowOwner);
}

} // namespace settings
