#include "platform/sstvengine/SstvSimulation.h"

#include <QPainter>
#include <QtMath>
#include <cmath>

namespace sstveng {
namespace {

constexpr int CwIdTicks = 40;
// The station's carrier: sync at 1200 Hz, picture from 1500 to 2300 Hz.
constexpr double SyncHz = 1200;
constexpr double BlackHz = 1500;
constexpr double WhiteHz = 2300;

} // namespace

QImage testPicture(int width, int height, const QString& call) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    static const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue};
    const int barHeight = height / 2;
    for (int i = 0; i < 7; ++i) {
        const int left = width * i / 7;
        p.fillRect(left, 0, width * (i + 1) / 7 - left, barHeight, bars[i]);
    }
    for (int x = 0; x < width; ++x) {
        const int grey = 255 * x / std::max(1, width - 1);
        p.fillRect(x, barHeight, 1, height / 8, QColor(grey, grey, grey));
    }
    QFont font = p.font();
    font.setPixelSize(std::max(8, height / 6));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, barHeight + height / 8, width, height - barHeight - height / 8), Qt::AlignCenter,
               call);
    // A band along the bottom shows where the picture ends.
    p.fillRect(0, height - height / 16, width, height / 16, QColor(0x80, 0x40, 0x00));
    return picture;
}

Simulation::Simulation(SstvEngine& engine) : engine_(engine) {
    QObject::connect(&lineTimer_, &QTimer::timeout, &engine_, [this] { lineTick(); });
    QObject::connect(&stationTimer_, &QTimer::timeout, &engine_, [this] { stationTick(); });
}

void Simulation::start() {
    running_ = true;
    lineTimer_.start(engine_.hooks().lineIntervalMs);
    stationTimer_.start(engine_.hooks().pictureIntervalMs);
}

void Simulation::stop() {
    running_ = false;
    lineTimer_.stop();
    stationTimer_.stop();
    rxActive_ = false;
    tx_ = Tx::None;
}

void Simulation::startPicture(int mode) {
    if (!running_ || tx_ != Tx::None) return;
    rxMode_ = mode >= 0 && mode < ModeCount ? mode : Scottie1;
    const ModeInfo& m = Modes[std::size_t(rxMode_)];
    rxPicture_ = testPicture(m.width, m.height, QString::fromLatin1(StationCall));
    rxActive_ = true;
    rxLine_ = 0;
    rxDrawn_ = 0;
    lineTimer_.setInterval(engine_.hooks().lineIntervalMs);
    engine_.post(NtfRxPicture, 1);
}

void Simulation::dropPicture() {
    rxActive_ = false;
}

void Simulation::stationTick() {
    stationTimer_.setInterval(engine_.hooks().pictureIntervalMs);
    if (rxActive_ || tx_ != Tx::None) return;
    // Every third picture of the station comes in Robot 36.
    startPicture(++stationPictures_ % 3 == 0 ? Robot36 : Scottie1);
}

void Simulation::endPicture() {
    rxActive_ = false;
    engine_.post(NtfRxPicture, 0);
    if (engine_.rxWord_ & RxFskId) {
        engine_.decodedFskId_ = engine_.hooks().stationFskId;
        engine_.post(NtfFskId, 0);
    }
}

void Simulation::startTx(Tx kind, int mode) {
    if (!running_) return;
    if (tx_ != Tx::None) stopTx();
    rxActive_ = false;
    tx_ = kind;
    txMode_ = mode >= 0 && mode < ModeCount ? mode : Scottie1;
    if (kind == Tx::Tone) toneHz_ = mode;
    txLine_ = 0;
    txTicks_ = 0;
    lineTimer_.setInterval(engine_.hooks().lineIntervalMs);
    engine_.post(NtfTxState, 1);
}

void Simulation::stopTx() {
    if (tx_ == Tx::None) return;
    tx_ = Tx::None;
    engine_.post(NtfTxState, 0);
}

void Simulation::lineTick() {
    if (!running_) return;
    if (tx_ != Tx::None) {
        ++txTicks_;
        if (tx_ == Tx::Picture) ++txLine_;
        engine_.post(NtfJob, 0);
        const bool done = (tx_ == Tx::Picture && txLine_ >= Modes[std::size_t(txMode_)].height) ||
                          (tx_ == Tx::CwId && txTicks_ >= CwIdTicks);
        if (done) stopTx();
        return;
    }
    if (rxActive_) {
        ++rxLine_;
        engine_.post(NtfJob, 0);
        if (rxLine_ >= rxPicture_.height()) endPicture();
        return;
    }
    engine_.post(NtfJob, 0);
}

void Simulation::doJob() {
    if (QImage* target = engine_.image(rx); target && !rxPicture_.isNull()) {
        const int upTo = std::min(rxLine_, rxPicture_.height());
        if (upTo > rxDrawn_) {
            QPainter p(target);
            p.drawImage(QPoint(0, rxDrawn_), rxPicture_,
                        QRect(0, rxDrawn_, rxPicture_.width(), upTo - rxDrawn_));
            rxDrawn_ = upTo;
        }
    }
    if (tx_ == Tx::Picture) {
        // The lines sent so far come back in the preview.
        const QImage* source = engine_.image(txBitmap);
        QImage* echo = engine_.image(preview);
        const ModeInfo& m = Modes[std::size_t(txMode_)];
        if (source && echo && txLine_ > 0) {
            const Rect src{0, 0, m.width, txLine_};
            const Rect dst{0, 0, echo->width(), echo->height() * txLine_ / m.height};
            stretchInto(*echo, QRectF(0, 0, dst.right, dst.bottom), *source, src, dst);
        }
    }
    drawSpectrum();
    drawWaterfall();
    drawLevel();
}

double Simulation::signalAt(double hz) const {
    double s = 0;
    if (rxActive_) {
        // The picture's tones spread between black and white; sync stands out.
        if (hz >= BlackHz && hz <= WhiteHz) s = 0.55;
        s = std::max(s, 0.9 * std::exp(-std::pow((hz - SyncHz) / 25.0, 2)));
    }
    if (tx_ == Tx::Tone) s = std::max(s, std::exp(-std::pow((hz - toneHz_) / 20.0, 2)));
    if (engine_.notchHz_ > 0) s *= 1.0 - std::exp(-std::pow((hz - engine_.notchHz_) / 30.0, 2));
    return s;
}

void Simulation::drawSpectrum() {
    QImage* image = engine_.image(spectrum);
    if (!image || image->isNull()) return;
    image->fill(specBack);
    QPainter p(image);
    p.setPen(specLine);
    const int w = image->width(), h = image->height();
    QPointF last;
    for (int x = 0; x < w; ++x) {
        const double hz = specBaseHz + double(specSpanHz) * x / w;
        const double noise = 0.08 + 0.06 * random_.generateDouble();
        const QPointF pt(x, h - 1 - (h - 2) * std::min(1.0, noise + signalAt(hz)));
        if (x > 0) p.drawLine(last, pt);
        last = pt;
    }
}

void Simulation::drawWaterfall() {
    QImage* image = engine_.image(waterfall);
    if (!image || image->isNull() || image->height() < 2) return;
    const int w = image->width();
    // One new row on top; the older rows move down.
    for (int y = image->height() - 1; y > 0; --y)
        std::memcpy(image->scanLine(y), image->constScanLine(y - 1), std::size_t(image->bytesPerLine()));
    auto* row = reinterpret_cast<QRgb*>(image->scanLine(0));
    for (int x = 0; x < w; ++x) {
        const double hz = specBaseHz + double(specSpanHz) * x / w;
        const double v = std::min(1.0, 0.1 * random_.generateDouble() + signalAt(hz));
        const auto mix = [v](int a, int b) { return int(a + (b - a) * v); };
        row[x] = qRgb(mix(waterLow.red(), waterHigh.red()), mix(waterLow.green(), waterHigh.green()),
                      mix(waterLow.blue(), waterHigh.blue()));
    }
}

void Simulation::drawLevel() {
    QImage* image = engine_.image(level);
    if (!image || image->isNull()) return;
    image->fill(Qt::black);
    const double v =
        rxActive_ || tx_ != Tx::None ? 0.6 + 0.1 * random_.generateDouble() : 0.1 * random_.generateDouble();
    QPainter p(image);
    p.fillRect(QRectF(0, 0, image->width() * v, image->height()), QColor(0x40, 0xE0, 0x40));
}

} // namespace sstveng
