#pragma once
// What the rig link reads of the rest of the system, and the controls of other
// windows it writes. Gathered here so that the rig link's own logic names
// each of these once.
#include <QString>
#include <optional>

namespace rig::nb {

int opMode();
bool sstvMode();
bool pskMode();
// The RTTY engine's mark frequency, NET indicator and CW use.
int markFreq();
bool mmttyNetOn();
bool mmttyCwOn();
int rxFreqHz();
int txFreqHz();
int ch2RxFreq();
int ch3RxFreq();
int channelDisplay();
QString hisCall();
QString lastModeText();
QString logModeTextPsk();
QString logModeTextRtty();
int hamlogLink();
// True when PTT is keyed by CAT (the PTT port setting "0").
bool pttByCat();
// True while any engine reports that it transmits.
bool anyEngineTransmits();
QString& statusMessage();

// The frequency label of the operating window, the main window's mode label,
// and the log entry window's frequency box and label.
void showFrequencyLabel(const QString& text);
void showModeLabel(const QString& text);
void showLogFrequency(const QString& text);
// The pending status message in the operating window's message line, for 2000 ms.
void showStatusMessage();
// Moves the receive tones after a QSY: the main channel, and channels 2 and 3
// when given. False, with nothing moved, when a value is outside its scroll bar.
bool moveReceiveTones(int mainHz, std::optional<int> ch2Hz, std::optional<int> ch3Hz);

// The spot window's submission boxes, filled by the poll while it wants them.
bool spotBoxesWanted();
void fillSpotBoxes(const std::optional<QString>& freqKhz, const std::optional<QString>& remarks,
                   const QString& call);
QString clusterModeCompSend();
QString clusterModeCompSendPsk();

} // namespace rig::nb
