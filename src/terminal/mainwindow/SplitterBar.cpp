#include "terminal/mainwindow/SplitterBar.h"

#include "platform/forms/colour/Colour.h"

#include <QMouseEvent>

namespace {
int code(Qt::MouseButtons b) {
    if (b & Qt::LeftButton) return 1;
    if (b & Qt::RightButton) return 2;
    return 0;
}
int yTw(const QMouseEvent* e) {
    return twips::fromPx(static_cast<int>(e->position().y()));
}
} // namespace

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setCursor(Qt::SizeVerCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(code(e->button()), yTw(e));
}

void SplitterBar::mouseMoveEvent(QMouseEvent* e) {
    emit mouseMove(code(e->buttons()), yTw(e));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* e) {
    emit mouseUp(code(e->button()), yTw(e));
}
