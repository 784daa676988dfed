#include "platform/mmvari/MmvariViews.h"

#include "platform/forms/colour/Colour.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace mmvari {

namespace {

using dispatch::ValueKind;

// Colour entries of the view: background, trace, text, -, -, marker.
constexpr int ColourBack = 0;
constexpr int ColourTrace = 1;
constexpr int ColourText = 2;
constexpr int ColourMarker = 5;
constexpr float FullScaleDb = 60.0f;
constexpr int DragPixels = 4;

std::optional<int> handleArg(const QVariantList& args, int count) {
    if (args.size() != count) return std::nullopt;
    const auto h = dispatch::convert(args[0], ValueKind::Int);
    if (!h || !MmvariControl::fromHandle(h->toInt())) return std::nullopt;
    return h->toInt();
}

QColor waterfallColour(float db) {
    const float v = std::clamp(db / FullScaleDb, 0.0f, 1.0f);
    return QColor::fromHsvF(0.66f * (1.0f - v), 1.0f, 0.3f + 0.7f * v);
}

} // namespace

XMMVView::XMMVView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 60);
}

int XMMVView::freqAt(int x) const {
    return leftFreq_ + int(std::lround(double(x) * span_ / std::max(1, width())));
}

int XMMVView::xOf(int freqHz) const {
    return int(std::lround(double(freqHz - leftFreq_) * width() / span_));
}

bool XMMVView::readMember(int id, std::optional<int> index, QVariant& value) {
    if (index) {
        if (id == ViewColour && *index >= 0 && *index < int(colours_.size()))
            value = colours_[*index];
        else if (id == ViewText && *index >= 0 && *index < int(texts_.size()))
            value = texts_[*index];
        else
            return false;
        return true;
    }
    switch (id) {
    case ViewLeftFreq:
        value = leftFreq_;
        return true;
    case ViewSpan:
        value = span_;
        return true;
    case ViewType:
        value = waterfall_ ? 1 : 0;
        return true;
    default:
        return false;
    }
}

bool XMMVView::writeMember(int id, std::optional<int> index, const QVariant& value) {
    if (index) {
        if (id == ViewColour && *index >= 0 && *index < int(colours_.size())) {
            const auto v = dispatch::convert(value, ValueKind::Int);
            if (!v) return false;
            colours_[*index] = v->toInt();
        } else if (id == ViewText && *index >= 0 && *index < int(texts_.size())) {
            const auto v = dispatch::convert(value, ValueKind::String);
            if (!v) return false;
            texts_[*index] = v->toString();
        } else {
            return false;
        }
        update();
        return true;
    }
    const auto v = dispatch::convert(value, ValueKind::Int);
    if (!v) return false;
    const int n = v->toInt();
    switch (id) {
    case ViewLeftFreq:
        if (n < 0) return false;
        leftFreq_ = n;
        break;
    case ViewSpan:
        if (n <= 0) return false;
        span_ = n;
        break;
    case ViewType:
        if (n != 0 && n != 1) return false;
        waterfall_ = n == 1;
        break;
    default:
        return false;
    }
    waterfallImage_ = QImage();
    update();
    return true;
}

bool XMMVView::callMethod(int id, const QVariantList& args, QVariant&) {
    if (id != ViewDraw) return false;
    const auto handle = handleArg(args, 1);
    return handle && draw(*handle);
}

bool XMMVView::draw(int handle) {
    control_ = MmvariControl::fromHandle(handle);
    spectrum_ = control_->spectrum();
    rxFreq_ = control_->rxFreq(0);
    txFreq_ = control_->txFreq();
    if (waterfall_) addWaterfallLine(spectrum_);
    update();
    return true;
}

void XMMVView::addWaterfallLine(const QVector<float>& spectrum) {
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (waterfallImage_.size() != size) {
        waterfallImage_ = QImage(size, QImage::Format_RGB32);
        waterfallImage_.fill(Qt::black);
    }
    // Older lines move down one pixel; the newest is the top line.
    std::memmove(waterfallImage_.scanLine(1), waterfallImage_.scanLine(0),
                 size_t(waterfallImage_.bytesPerLine()) * size_t(size.height() - 1));
    auto* top = reinterpret_cast<QRgb*>(waterfallImage_.scanLine(0));
    for (int x = 0; x < size.width(); ++x) {
        const int bin = int(freqAt(x) / MmvariControl::SpectrumBinHz);
        top[x] = bin >= 0 && bin < spectrum.size() ? waterfallColour(spectrum[bin]).rgb() : qRgb(0, 0, 0);
    }
}

void XMMVView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colour::fromRef(colours_[ColourBack]));
    if (waterfall_ && !waterfallImage_.isNull()) {
        p.drawImage(0, 0, waterfallImage_);
    } else if (!spectrum_.isEmpty()) {
        QPolygon trace;
        for (int x = 0; x < width(); ++x) {
            const int bin = int(freqAt(x) / MmvariControl::SpectrumBinHz);
            if (bin < 0 || bin >= spectrum_.size()) continue;
            trace << QPoint(x, height() - 1 - int(spectrum_[bin] / FullScaleDb * float(height() - 1)));
        }
        p.setPen(colour::fromRef(colours_[ColourTrace]));
        p.drawPolyline(trace);
    }
    p.setPen(colour::fromRef(colours_[ColourMarker]));
    p.drawLine(xOf(rxFreq_), 0, xOf(rxFreq_), height());
    p.setPen(QPen(colour::fromRef(colours_[ColourMarker]), 1, Qt::DashLine));
    p.drawLine(xOf(txFreq_), 0, xOf(txFreq_), height());
    p.setPen(colour::fromRef(colours_[ColourText]));
    p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignRight, texts_[3]);
}

void XMMVView::mousePressEvent(QMouseEvent* e) {
    pressAt_ = e->position().toPoint();
    dragging_ = false;
    if (e->button() == Qt::RightButton) emit rightClicked(freqAt(pressAt_.x()));
}

void XMMVView::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton) || dragging_) return;
    if ((e->position().toPoint() - pressAt_).manhattanLength() < DragPixels) return;
    dragging_ = true;
    emit dragged();
}

void XMMVView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int freq = freqAt(e->position().toPoint().x());
    if (control_ && !dragging_) control_->set(PRxFreq, 0, freq);
    emit leftClicked(freq);
}

XMMVLvl::XMMVLvl(QWidget* parent) : QWidget(parent) {
    setMinimumSize(12, 60);
}

bool XMMVLvl::readMember(int, std::optional<int>, QVariant&) {
    return false;
}

bool XMMVLvl::writeMember(int, std::optional<int>, const QVariant&) {
    return false;
}

bool XMMVLvl::callMethod(int id, const QVariantList& args, QVariant&) {
    if (id != MeterDraw) return false;
    const auto handle = handleArg(args, 2);
    if (!handle || !dispatch::convert(args[1], ValueKind::Int)) return false;
    control_ = MmvariControl::fromHandle(*handle);
    level_ = control_->meterLevel();
    squelch_ = control_->squelch();
    update();
    return true;
}

void XMMVLvl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int h = height() * level_ / 100;
    p.fillRect(QRect(0, height() - h, width(), h), QColor(0, 200, 0));
    const int sq = height() - 1 - std::clamp(height() * squelch_ / (100 * SquelchPerStep), 0, height() - 1);
    p.setPen(Qt::yellow);
    p.drawLine(0, sq, width(), sq);
}

void XMMVLvl::mouseReleaseEvent(QMouseEvent* e) {
    // A click puts the squelch of the main channel at the clicked height.
    if (control_ && e->button() == Qt::LeftButton) {
        const int step =
            std::clamp(100 * (height() - 1 - int(e->position().y())) / std::max(1, height() - 1), 0, 100);
        squelch_ = step * SquelchPerStep;
        control_->set(PSquelch, 0, squelch_);
        update();
    }
    emit clicked();
}

} // namespace mmvari
