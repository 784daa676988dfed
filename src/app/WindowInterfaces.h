#pragma once
// What the layers below the windows need of them, answered by the windows:
// the application context installs these for the run.
#include "core/MessageLine.h"
#include "rig/RigNeighbours.h"

namespace app {

class RigWindows : public rig::Neighbours {
  public:
    int opMode() override;
    bool sstvMode() override;
    bool pskMode() override;
    int markFreq() override;
    bool mmttyNetOn() override;
    bool mmttyCwOn() override;
    int rxFreqHz() override;
    int txFreqHz() override;
    int ch2RxFreq() override;
    int ch3RxFreq() override;
    int channelDisplay() override;
    QString hisCall() override;
    QString lastModeText() override;
    QString logModeTextPsk() override;
    QString logModeTextRtty() override;
    int hamlogLink() override;
    bool pttByCat() override;
    bool anyEngineTransmits() override;
    bool anyEngineSends() override;
    void endTransmission() override;
    QString& statusMessage() override;
    void showFrequencyLabel(const QString& text) override;
    void showModeLabel(const QString& text) override;
    void showLogFrequency(const QString& text) override;
    void showStatusMessage() override;
    bool moveReceiveTones(int mainHz, std::optional<int> ch2Hz, std::optional<int> ch3Hz) override;
    bool spotBoxesWanted() override;
    void fillSpotBoxes(const std::optional<QString>& freqKhz, const std::optional<QString>& remarks,
                       const QString& call) override;
    QString clusterModeCompSend() override;
    QString clusterModeCompSendPsk() override;
};

class MessageLineWindows : public core::MessageLineView {
  public:
    void showTimedMessage(const QString& text, int milliseconds) override;
    bool isLoaded() const override;
    bool shows(const QString& text) const override;
    void showStanding(const QString& text) override;
    bool showsStanding(const QString& text) const override;
    void endStanding(const QString& text) override;
};

} // namespace app
