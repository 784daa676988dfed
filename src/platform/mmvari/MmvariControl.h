#pragma once
// The multi-mode modem control (MMVARI). Reached only by dispatch id, as the
// system reaches the real one; members are tabled in MmvariIds.h. It raises its
// events as signals on the user-interface thread, and only while it runs (id 4
// True): every PeriodMsecs the periodic update (event 10), one received
// character per channel tuned to a simulated station (event 22), one sent
// character while transmitting, echoed on channel 0 with the transmit-buffer
// event (11), the transmit start and end (event 13) and errors 1 to 4 (event 23).
//
// Simulated band: three stations at 1000, 1500 and 2000 Hz; a channel within
// CaptureHz of one (AFC widens it and pulls the channel onto the station)
// receives its call. Channel 0 always listens, channels 1 and 2 once P81 is
// True. The spectrum the views draw shows the stations over noise, and the own
// carrier at the transmit frequency while transmitting.
//
// Transmitting: method 59 buffers text (also while receiving); id 11 True
// starts; id 17 True ends once the buffer is sent; id 11 False ends at once and
// drops what is left; method 56 keys a tune carrier until id 11 goes False.
// Errors: 3 when the run switch finds no usable sound card (id 19), 4 when the
// PTT port (id 33) is neither "NONE" nor "COMn"; 1 and 2 by soundDropped().
// Clock measurement: method 62 with a point count raises event 16 every period;
// method 65 then gives that line's levels.
#include "platform/mmvari/Dispatch.h"
#include "platform/mmvari/MmvariIds.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <QVector>
#include <array>

namespace mmvari {

class MmvariControl : public QObject, public dispatch::Target {
    Q_OBJECT
  public:
    explicit MmvariControl(QObject* parent = nullptr);
    ~MmvariControl() override;

    static constexpr int Channels = 3;
    static constexpr int PeriodMsecs = 100;
    static constexpr int CaptureHz = 15;
    static constexpr int AfcCaptureHz = 50;

    // The control behind a display-data handle (id 24), or null.
    static MmvariControl* fromHandle(int handle);
    // Spectrum in dB, bin i covering i * SpectrumBinHz; with noise.
    QVector<float> spectrum() const;
    static constexpr double SpectrumBinHz = 5.0;
    static constexpr int SpectrumBins = 800;
    // Signal level of channel 0 for the level meter, 0..100.
    int meterLevel() const;

    // What the views and the meter draw besides the spectrum.
    int rxFreq(int channel) const { return channel_[channel].value(PRxFreq).toInt(); }
    int txFreq() const { return props_.value(IdTxFreq).toInt(); }
    int squelch() const { return channel_[0].value(PSquelch).toInt(); }
    bool transmitting() const { return transmitting_; }

    // The levels of one spectrum line of the clock measurement. The sound card
    // runs at the nominal rate nearest the sample frequency assumed (id 12):
    // 8000 Hz (the PSK library's) or 11025 Hz, too fast by the run's sound-card
    // ppm (engines::Engines::soundCardPpm). The carrier, in the middle at line
    // 0, moves (real - assumed rate) x points / assumed rate units a line, so
    // it goes straight down once the assumed rate is the real one.
    QList<int> lineLevels(int line, int points) const;
    // The other station's transmit clock offset that the transmit-offset
    // measurement (id 3, read while ATC runs) finds: it reads the transmit
    // offset's distance from it in ppm (x 90 a hertz).
    static constexpr double StationTxOffsetHz = -10.0;

    // The sound dropped out while receiving (code 1) or transmitting (code 2).
    void soundDropped();

    // One period of the simulation now, as the timer runs it while the control
    // runs, so that a test need not wait for it.
    void stepForTest();

  signals:
    void periodicUpdate();                               // event 10
    void txBufferChanged();                              // event 11
    void txState(int state);                             // event 13: 1 started, 0 ended
    void receivedText(int channel, const QString& text); // event 22
    void errorRaised(int code);                          // event 23
    void spectrumLine(int line);                         // event 16

  protected:
    bool readMember(int id, std::optional<int> index, QVariant& value) override;
    bool writeMember(int id, std::optional<int> index, const QVariant& value) override;
    bool callMethod(int id, const QVariantList& args, QVariant& result) override;

  private:
    bool setRunning(bool on);
    int txOffsetReading() const;
    void endTransmission();
    void tick();
    void receiveTick(int channel);
    void transmitTick();
    int stationNear(int channel) const;
    void followStation(int channel, int station);
    int signalDb(int channel) const;
    bool writeIndexed(int id, int channel, const QVariant& value);
    bool writeModeName(int channel, const QString& name);

    QHash<int, QVariant> props_;
    std::array<QHash<int, QVariant>, Channels> channel_;
    std::array<int, Channels> stationOf_{-1, -1, -1};
    std::array<int, Channels> stationPos_{};
    std::array<int, Channels> pauseTicks_{};
    QString txBuffer_;
    bool transmitting_ = false;
    bool tuneCarrier_ = false;
    int linePoints_ = 0;
    int lineCount_ = 0;
    int clockCarrierHz_ = 1000;
    int handle_ = 0;
    unsigned tickCount_ = 0;
    // A child, so that unloading the window that holds the control stops it.
    QTimer timer_{this};
};

} // namespace mmvari
