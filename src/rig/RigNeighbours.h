#pragma once
// What the rig link reads of the rest of the system, and the controls of other
// windows it writes: the rig link names each of these once, here, and the
// application installs the answers at start-up (tests install their own).
#include <QString>
#include <optional>

namespace rig {

class Neighbours {
  public:
    virtual ~Neighbours() = default;

    virtual int opMode() = 0;
    virtual bool sstvMode() = 0;
    virtual bool pskMode() = 0;
    // The RTTY engine's mark frequency, NET indicator and CW use.
    virtual int markFreq() = 0;
    virtual bool mmttyNetOn() = 0;
    virtual bool mmttyCwOn() = 0;
    virtual int rxFreqHz() = 0;
    virtual int txFreqHz() = 0;
    virtual int ch2RxFreq() = 0;
    virtual int ch3RxFreq() = 0;
    virtual int channelDisplay() = 0;
    virtual QString hisCall() = 0;
    virtual QString lastModeText() = 0;
    virtual QString logModeTextPsk() = 0;
    virtual QString logModeTextRtty() = 0;
    virtual int hamlogLink() = 0;
    // True when PTT is keyed by CAT (the PTT port setting "0").
    virtual bool pttByCat() = 0;
    // True while any engine reports that it transmits.
    virtual bool anyEngineTransmits() = 0;
    // True while an engine is sending, asked of the engines themselves rather
    // than of the flags that the stop paths set.
    virtual bool anyEngineSends() = 0;
    // Ends a running transmission at once, as Esc does, whatever holds it.
    virtual void endTransmission() = 0;
    virtual QString& statusMessage() = 0;

    // The frequency label of the operating window, the main window's mode label,
    // and the log entry window's frequency box and label.
    virtual void showFrequencyLabel(const QString& text) = 0;
    virtual void showModeLabel(const QString& text) = 0;
    virtual void showLogFrequency(const QString& text) = 0;
    // The pending status message in the operating window's message line, for
    // 2000 ms from when it was first shown: offered again while it shows, it
    // keeps its first time.
    virtual void showStatusMessage() = 0;
    // Moves the receive tones after a QSY: the main channel, and channels 2 and 3
    // when given. False, with nothing moved, when a value is outside its scroll bar.
    virtual bool moveReceiveTones(int mainHz, std::optional<int> ch2Hz, std::optional<int> ch3Hz) = 0;

    // The spot window's submission boxes, filled by the poll while it wants them.
    virtual bool spotBoxesWanted() = 0;
    virtual void fillSpotBoxes(const std::optional<QString>& freqKhz, const std::optional<QString>& remarks,
                               const QString& call) = 0;
    virtual QString clusterModeCompSend() = 0;
    virtual QString clusterModeCompSendPsk() = 0;
};

// The neighbours installed for the run.
Neighbours& nb();

} // namespace rig
