#pragma once
// A window's body that scrolls where the screen is too small for it, so that a
// window made to fit a small screen keeps every control within reach.
#include <QScrollArea>

namespace ui {

// The body in a frameless scroll area that asks for the body's whole size (a
// window opens whole where the screen has room for it) and takes as little as
// a few lines, showing scroll bars only while the body does not fit.
QScrollArea* scrolledBody(QWidget* body);

} // namespace ui
