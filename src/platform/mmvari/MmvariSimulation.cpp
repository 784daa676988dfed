// The control's simulated band: stations, reception per channel, transmission
// with echo, the spectrum, and the errors of the sound card and the PTT port.
#include "platform/mmvari/MmvariControl.h"

#include "platform/engines/Engines.h"

#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mmvari {

namespace {

struct Station {
    int freqHz;
    const char16_t* text;
};

const Station stations[] = {
    {1000, u"CQ CQ CQ de QQ9MVA QQ9MVA pse k\r\n"},
    {1500, u"QQ1AAA de QQ9MVB こんにちは、名前はハナコです。 btu k\r\n"},
    {2000, u"QQ9MVC de QQ9MVD ur rst 599 599 tu sk\r\n"},
};
constexpr int StationCount = int(std::size(stations));
constexpr int PauseTicks = 10;
constexpr int StationDb = 24;
constexpr int NoiseDb = 2;
// A channel squelch above this keeps the stations quiet.
constexpr int StationSquelch = 1200;

bool validSoundCard(const QString& card) {
    bool ok = false;
    const int n = card.toInt(&ok);
    return ok && n >= -1;
}

bool validPttPort(const QString& port) {
    static const QRegularExpression com(QStringLiteral("^COM[1-9][0-9]*$"));
    return port == QLatin1String("NONE") || com.match(port).hasMatch();
}

} // namespace

bool MmvariControl::setRunning(bool on) {
    if (!on) {
        timer_.stop();
        props_[IdRun] = false;
        props_[IdTransmit] = false;
        transmitting_ = false;
        tuneCarrier_ = false;
        return true;
    }
    if (!validSoundCard(props_.value(IdSoundCard).toString())) {
        QMetaObject::invokeMethod(
            this, [this] { emit errorRaised(3); }, Qt::QueuedConnection);
        return true;
    }
    if (!validPttPort(props_.value(IdPttPort).toString()))
        QMetaObject::invokeMethod(
            this, [this] { emit errorRaised(4); }, Qt::QueuedConnection);
    props_[IdRun] = true;
    timer_.start();
    return true;
}

void MmvariControl::soundDropped() {
    if (timer_.isActive()) emit errorRaised(transmitting_ ? 2 : 1);
}

void MmvariControl::stepForTest() {
    if (timer_.isActive()) tick();
}

void MmvariControl::endTransmission() {
    transmitting_ = false;
    tuneCarrier_ = false;
    props_[IdTransmit] = false;
    props_[IdReqRx] = false;
    emit txState(0);
}

void MmvariControl::tick() {
    // A handler of the events below may unload the window that holds the
    // control (a mode change, the end of the run): nothing more after that.
    const QPointer<MmvariControl> alive(this);
    ++tickCount_;
    const bool wanted = props_.value(IdTransmit).toBool();
    if (wanted && !transmitting_) {
        transmitting_ = true;
        emit txState(1);
    } else if (!wanted && transmitting_) {
        endTransmission();
    } else if (transmitting_) {
        transmitTick();
    }
    if (!alive) return;
    if (linePoints_ > 0) emit spectrumLine(lineCount_++);
    for (int ch = 0; ch < Channels && alive && timer_.isActive(); ++ch)
        receiveTick(ch);
    if (alive && timer_.isActive()) emit periodicUpdate();
}

void MmvariControl::transmitTick() {
    if (tuneCarrier_) return;
    if (!txBuffer_.isEmpty()) {
        const QString c = txBuffer_.left(1);
        txBuffer_.remove(0, 1);
        emit receivedText(0, c);
        emit txBufferChanged();
        return;
    }
    if (props_.value(IdReqRx).toBool()) endTransmission();
}

int MmvariControl::stationNear(int channel) const {
    const int freq = channel_[channel].value(PRxFreq).toInt();
    const int capture = channel_[channel].value(PAfc).toBool() ? AfcCaptureHz : CaptureHz;
    for (int s = 0; s < StationCount; ++s)
        if (std::abs(freq - stations[s].freqHz) <= capture) return s;
    return -1;
}

void MmvariControl::followStation(int channel, int station) {
    if (!channel_[channel].value(PAfc).toBool()) return;
    const int freq = channel_[channel].value(PRxFreq).toInt();
    const int step = std::clamp(stations[station].freqHz - freq, -5, 5);
    channel_[channel][PRxFreq] = freq + step;
}

int MmvariControl::signalDb(int channel) const {
    if (channel == 0 && transmitting_) return 0;
    return stationNear(channel) >= 0 ? StationDb : NoiseDb;
}

int MmvariControl::meterLevel() const {
    return std::clamp(signalDb(0) * 3, 0, 100);
}

void MmvariControl::receiveTick(int channel) {
    if (!channel_[channel].value(PRxOn).toBool() || (channel == 0 && transmitting_)) return;
    const int s = stationNear(channel);
    if (s < 0) return;
    followStation(channel, s);
    if (channel_[channel].value(PSquelch).toInt() > StationSquelch) return;
    if (s != stationOf_[channel]) {
        stationOf_[channel] = s;
        stationPos_[channel] = 0;
    }
    if (pauseTicks_[channel] > 0) {
        --pauseTicks_[channel];
        return;
    }
    const QString text = QString::fromUtf16(stations[s].text);
    const QString c = text.mid(stationPos_[channel], 1);
    if (++stationPos_[channel] >= text.size()) {
        stationPos_[channel] = 0;
        pauseTicks_[channel] = PauseTicks;
    }
    emit receivedText(channel, c);
}

QVector<float> MmvariControl::spectrum() const {
    QVector<float> bins(SpectrumBins);
    std::uint32_t seed = 2166136261u ^ tickCount_;
    for (int i = 0; i < SpectrumBins; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bins[i] = 8.0f + float((seed >> 16) % 7);
    }
    auto peak = [&](int freqHz, float height) {
        const int centre = int(std::lround(freqHz / SpectrumBinHz));
        for (int d = -4; d <= 4; ++d)
            if (centre + d >= 0 && centre + d < SpectrumBins)
                bins[centre + d] = std::max(bins[centre + d], height - 7.0f * float(std::abs(d)));
    };
    for (const Station& s : stations)
        peak(s.freqHz, 40.0f);
    if (transmitting_) peak(props_.value(IdTxFreq).toInt(), 55.0f);
    return bins;
}

} // namespace mmvari

namespace mmvari {

QList<int> MmvariControl::lineLevels(int line, int points) const {
    const double assumed = props_.value(IdRxSampleFreq).toDouble();
    const double nominal = std::abs(assumed - 8000.0) < std::abs(assumed - 11025.0) ? 8000.0 : 11025.0;
    const double realRate = nominal * (1.0 + engines::current().soundCardPpm * 1e-6);
    const double unitsPerLine = (realRate - assumed) * points / assumed;
    const int centre = points / 2 + int(std::nearbyint(unitsPerLine * line));
    QList<int> levels(points);
    std::uint32_t seed = 2654435761u * std::uint32_t(line + 1);
    for (int x = 0; x < points; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int d = std::abs(x - ((centre % points) + points) % points);
        levels[x] = d <= 1 ? 100 - 10 * d : int((seed >> 16) % 20);
    }
    return levels;
}

} // namespace mmvari
