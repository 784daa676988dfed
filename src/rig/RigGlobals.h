#pragma once
// Shared state of the rig link: its settings (section RIG_CON_CFG), the mode
// codes of the chosen family and what the last CAT replies said. One instance,
// rig::g; a test resets it with rig::g = {}.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace rig {

struct Globals {
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

    // Run-time state of the port and the exchange.
    int RigPortOpen = 0;
    // 1 from the hang-up of the rig's line (its device went) until the port
    // opens on it again; the port counts as open meanwhile.
    int RigLineLost = 0;
    // The family and port name the port was last opened with.
    QString RigOpenedLine;
    // 1 from an opening that failed until the port opens or is closed on
    // purpose: the port is tried again meanwhile, its failure said once.
    int RigOpenRetry = 0;
    // 1 from a PTT-on command this program sent until its PTT-off: the key is
    // released by CAT even when the PTT setting has changed since.
    int PttKeyedByCat = 0;
    // 1 while the last PTT command that went out on the line was a key-on:
    // what the rig was last told, whatever the count above says.
    int PttOnLastSent = 0;
    // The family and ICOM address the key was put on with: it is taken off
    // with them, whatever the settings say by then (on the port it was put on,
    // which stays open until the key is off).
    QString KeyedRigType;
    QString KeyedIcomAddress;
    // 1 once the operator was told that the rig is not keyed by CAT, until
    // the port opens again.
    int PttNotByCatSaid = 0;
    // Key-watch ticks since the rig was keyed with no engine transmitting.
    int KeyIdleTicks = 0;
    // 1 from the start's reading of the settings to the first opening of the
    // port, which clears a key an earlier run may have left on the rig.
    int ClearKeyAtOpen = 0;
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
