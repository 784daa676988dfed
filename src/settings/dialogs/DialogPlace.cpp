#include "settings/dialogs/DialogPlace.h"

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

void placeBesideOwner(QWidget& dialog, const QWidget& owner) {
    dialog.move(owner.pos() + QPoint(twips::toPx(kRightOfOwner), twips::toPx(kBelowOwner)));
}

} // namespace settings
