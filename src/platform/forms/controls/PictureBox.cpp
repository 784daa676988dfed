#include "platform/forms/controls/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
int buttonCode(Qt::MouseButtons b) {
    if (b & Qt::LeftButton) return 1;
    if (b & Qt::RightButton) return 2;
    if (b & Qt::MiddleButton) return 4;
    return 0;
}
} // namespace

LineShape::LineShape(PictureBox* owner, const QColor& colour) : owner_(owner), colour_(colour) {}

void LineShape::setPoints(double x1, double y1, double x2, double y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    owner_->update();
}

void LineShape::setVisible(bool on) {
    visible_ = on;
    owner_->update();
}

void LineShape::setColour(const QColor& c) {
    colour_ = c;
    owner_->update();
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox::~PictureBox() {
    qDeleteAll(lines_);
}

void PictureBox::setScale(double width, double height) {
    if (width != 0) scaleW_ = width;
    if (height != 0) scaleH_ = height;
    update();
}

void PictureBox::setBackColor(const QColor& c) {
    back_ = c;
    clear();
}

void PictureBox::ensureCanvas() {
    if (width() <= 0 || height() <= 0 || canvas_.size() == size()) return;
    // A hidden box gets its resize only when shown: its picture follows its size now.
    fitCanvas();
}

void PictureBox::clear() {
    erase();
    update();
}

void PictureBox::erase() {
    if (!canvas_.isNull()) canvas_.fill(back_);
    topRow_ = 0;
}

QRgb* PictureBox::scrollDownOneRow() {
    if (canvas_.isNull()) return nullptr;
    topRow_ = (topRow_ + canvas_.height() - 1) % canvas_.height();
    update();
    return reinterpret_cast<QRgb*>(canvas_.scanLine(topRow_));
}

void PictureBox::drawCanvas(QPainter& p) const {
    const int w = canvas_.width();
    const int below = canvas_.height() - topRow_;
    p.drawImage(QPoint(0, 0), canvas_, QRect(0, topRow_, w, below));
    if (topRow_ > 0) p.drawImage(QPoint(0, below), canvas_, QRect(0, 0, w, topRow_));
}

QPointF PictureBox::toPixels(double x, double y) const {
    return {x * width() / scaleW_, y * height() / scaleH_};
}

QPointF PictureBox::toScale(const QPointF& px) const {
    const double h = height() > 0 ? height() : 1;
    return {toScaleX(px.x()), px.y() * scaleH_ / h};
}

LineShape* PictureBox::addLine(const QColor& colour) {
    auto* line = new LineShape(this, colour);
    lines_.append(line);
    return line;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (canvas_.isNull())
        p.fillRect(rect(), back_);
    else
        drawCanvas(p);
    for (const LineShape* l : lines_) {
        if (!l->isVisible()) continue;
        p.setPen(l->colour());
        p.drawLine(toPixels(l->x1(), l->y1()), toPixels(l->x2(), l->y2()));
    }
}

void PictureBox::resizeEvent(QResizeEvent*) {
    fitCanvas();
}

void PictureBox::fitCanvas() {
    if (width() <= 0 || height() <= 0) return;
    QImage next(size(), QImage::Format_RGB32);
    next.fill(back_);
    if (!canvas_.isNull()) {
        QPainter p(&next);
        drawCanvas(p);
    }
    canvas_ = next;
    topRow_ = 0;
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    const QPointF s = toScale(e->position());
    emit mouseDown(buttonCode(e->button()), s.x(), s.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    const QPointF s = toScale(e->position());
    emit mouseMove(buttonCode(e->buttons()), s.x(), s.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e) {
    const QPointF s = toScale(e->position());
    emit mouseUp(buttonCode(e->button()), s.x(), s.y());
}
