#pragma once
// The mouse at an exact point of a control. QTest places it on whole pixels;
// a picture with a scale of its own reads a fraction of a unit from that, so a
// test that names a point of the scale sends the exact point.
#include <QCheckBox>
#include <QPointF>
#include <QWidget>

namespace zvtest {

// The mouse moves to the point with the buttons held (none by default).
void moveMouseTo(QWidget* control, QPointF at, Qt::MouseButtons held = Qt::NoButton);
// The button goes down at the point, or comes up there.
void pressAt(QWidget* control, Qt::MouseButton button, QPointF at);
void releaseAt(QWidget* control, Qt::MouseButton button, QPointF at);
// A press and a release of the button at the point.
void clickAt(QWidget* control, Qt::MouseButton button, QPointF at);
// A click on a check box's tick, where the box draws it.
void tick(QCheckBox* box);

} // namespace zvtest
