#include "support/Mouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace zvtest {

namespace {

void send(QWidget* control, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPointF at) {
    QMouseEvent e(type, at, control->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(control, &e);
}

} // namespace

void moveMouseTo(QWidget* control, QPointF at, Qt::MouseButtons held) {
    send(control, QEvent::MouseMove, Qt::NoButton, held, at);
}

void pressAt(QWidget* control, Qt::MouseButton button, QPointF at) {
    send(control, QEvent::MouseButtonPress, button, button, at);
}

void releaseAt(QWidget* control, Qt::MouseButton button, QPointF at) {
    send(control, QEvent::MouseButtonRelease, button, Qt::NoButton, at);
}

void clickAt(QWidget* control, Qt::MouseButton button, QPointF at) {
    pressAt(control, button, at);
    releaseAt(control, button, at);
}

void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

} // namespace zvtest
