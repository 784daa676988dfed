#pragma once
// Shared state of the rig link: its settings (section RIG_CON_CFG), the mode
// codes of the chosen family and what the last CAT replies said. One instance,
// rig::g.
#include "rig/KeyState.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace rig {

KeyAction keyEvent(const KeyEvent& e);

// The key's state: one value, read by every part of the program under its
// fields' names, and changed only by keyEvent (the port code), which keeps
// what keyStep gives. A write to a field anywhere else does not compile, nor
// does a whole reset (rig::g = {}): a test starts afresh by building the
// shared values anew.
class KeyStateKept {
  private:
    KeyState state_;

  public:
    KeyStateKept() = default;
    KeyStateKept(const KeyStateKept&) = delete;
    KeyStateKept& operator=(const KeyStateKept&) = delete;

    const KeyState& key() const { return state_; }
    operator const KeyState&() const { return state_; }
    const int& RigPortOpen = state_.RigPortOpen;
    const int& RigLineLost = state_.RigLineLost;
    const KeyLine& RigOpenedLine = state_.RigOpenedLine;
    const int& RigOpenRetry = state_.RigOpenRetry;
    const int& PttKeyedByCat = state_.PttKeyedByCat;
    const int& PttOnLastSent = state_.PttOnLastSent;
    const KeyLine& KeyedLine = state_.KeyedLine;
    const int& ReleaseUnheard = state_.ReleaseUnheard;
    const int& KeyInDoubt = state_.KeyInDoubt;
    const int& ClearKeyAtOpen = state_.ClearKeyAtOpen;

  private:
    friend KeyAction keyEvent(const KeyEvent& e);
    void take(const KeyState& next) { state_ = next; }
};

struct Globals : KeyStateKept {
    // Settings, read at start-up and rewritten by the settings sheet.
    QString RigType = QStringLiteral("Not Use");
    QString RigPortName = QStringLiteral("NONE");
    QString RigBaudRate = QStringLiteral("4800");
    QString RigStopBits = QStringLiteral("1");
    QString RigVfoCheck = QStringLiteral("NO");
    // 0 never read, 1 read at each change between receive and transmit, 2 poll by the timer.
    int RigPollMode = 0;
    int RigPollInterval = 1000;
    // Pause in ms around paced commands, as text.
    QString RigInterval = QStringLiteral("10");
    // A rig may take this much longer to answer than the answer's characters
    // need on the wire; after that the link stops waiting for it.
    int RigReplyMarginMs = 100;
    // CI-V address of an ICOM rig: two hexadecimal characters.
    QString IcomAddress = QStringLiteral("  ");
    QString RigModeCheck = QStringLiteral("NO");
    // 1: the shown and logged frequency is the signal's, not the dial's.
    int RigModeCheckOn = 0;
    QString InternetAlwaysOn = QStringLiteral("NO");
    QString TransverterUse = QStringLiteral("NO");
    QString TransverterOn = QStringLiteral("0");
    QString TransverterIfText = QStringLiteral("22");
    // Hz fields are 64-bit so that microwave transverter offsets cannot overflow.
    qint64 TransverterIfHz = 22000000;

    // Mode codes of the family in use, and the overrides as configured (empty when not set).
    QString RigLsbModeCode;
    QString RigUsbModeCode;
    QString RigCwModeCode;
    QString RigRttyModeCode;
    QString RigPskModeCode;
    QString RigCwModeIni;
    QString RigRttyModeIni;
    QString RigPskModeIni;

    // Run-time state of the port and the exchange, besides the key's (KeyState).
    // 1 once the operator was told that the rig is not keyed by CAT, until
    // the port opens again.
    int PttNotByCatSaid = 0;
    // Key-watch ticks since the rig was keyed with no engine transmitting.
    int KeyIdleTicks = 0;
    // Bytes (or characters) at which the port raises its receive event.
    int RigReplyLength = 0;
    QByteArray RigOutBuffer;
    // Awaited ICOM reply: 0 none, 1 mode, 2 frequency.
    int IcomReplyState = 0;
    int RigQsyRequest = 0;
    QString RigQsyDigits;

    // What the replies said.
    qint64 RigDialHz = 0;
    qint64 RigSignalHz = 0;
    qint64 RigShownHz = 0;
    int RigClarifierSteps = 0;
    QString RigFreqText;
    QString RigModeText;
    QString RigReplyText;
    QByteArray RigReplyBytes;
    // Audio frequency that corresponds to the signal frequency.
    int RigAudioOffsetHz = 0;
    QString RigDataModeText = QStringLiteral("PSK31");

    // Mode for a DX-spot frequency: the spot window sets SpotModeSetting
    // (1 PSK, 2 RTTY, 0 other) and reads the two results.
    int SpotModeSetting = 0;
    QString SpotModeName;
    QString SpotRigModeCode;
};

extern Globals g;

} // namespace rig
