#pragma once
// The simulated modem behind our SSTV engine (private to the SstvEngine files).
// It runs on Qt timers in the user-interface thread and posts its notices
// through SstvEngine::post.
#include "platform/sstvengine/SstvEngine.h"
#include "platform/sstvengine/SstvModes.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTimer>

namespace sstveng {

// The station's test picture at a mode's size: colour bars, a grey ramp and its call.
QImage testPicture(int width, int height, const QString& call);

class Simulation {
  public:
    explicit Simulation(SstvEngine& engine);

    void start();
    void stop();
    bool running() const { return running_; }

    // Receiving.
    void startPicture(int mode);
    void dropPicture();
    bool receiving() const { return rxActive_; }
    int rxMode() const { return rxMode_; }
    int rxLine() const { return rxLine_; }

    // Sending: a picture of the transmit bitmap, a tone until stopped, or the CW ID.
    enum class Tx { None, Picture, Tone, CwId };
    void startTx(Tx kind, int mode);
    void stopTx();
    bool transmitting() const { return tx_ != Tx::None; }
    int txLine() const { return txLine_; }

    // The pending work of a job: lines into the receive bitmap, the echo into
    // the preview, the tuning displays.
    void doJob();

    std::int32_t rx = 0, preview = 0, txBitmap = 0;
    std::int32_t spectrum = 0, waterfall = 0, level = 0;
    std::int32_t specBaseHz = 500, specSpanHz = 2500;
    QColor specBack = Qt::black, specLine = Qt::green, waterLow = Qt::darkBlue, waterHigh = Qt::yellow;

  private:
    void lineTick();
    void stationTick();
    void endPicture();
    void drawSpectrum();
    void drawWaterfall();
    void drawLevel();
    double signalAt(double hz) const;

    SstvEngine& engine_;
    QTimer lineTimer_;
    QTimer stationTimer_;
    bool running_ = false;
    bool rxActive_ = false;
    int rxMode_ = Scottie1;
    int rxLine_ = 0;
    int rxDrawn_ = 0;
    QImage rxPicture_;
    int stationPictures_ = 0;
    Tx tx_ = Tx::None;
    int txMode_ = Scottie1;
    int txLine_ = 0;
    int txTicks_ = 0;
    int toneHz_ = 1750;
    QRandomGenerator random_{0x5D};
};

} // namespace sstveng
