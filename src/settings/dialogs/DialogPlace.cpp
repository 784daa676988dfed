#include "settings/dialogs/DialogPlace.h"
#include "platform/forms/WindowFrame.h"

#include "core/Globals.h"
#include "platform/forms/Colour.h"
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
    winframe::placeFrame(&dialog, winframe::framePlace(&owner) +
                                      QPoint(twips::toPx(kRightOfOwner), twips::toPx(kBelowOwner)));
}

} // namespace settings
