#pragma once
// Shared state of start-up, the configuration store and the engines: the
// variables every subsystem reads. One instance, core::g; a test resets it
// with core::g = {}.
#include <QString>

namespace core {

// Operating modes, by engine.
enum OpModes : int {
    ModeBpsk = 0,
    ModeQpskUsb = 1,
    ModeQpskLsb = 2,
    ModeRtty = 3,
    ModeCw = 4,
    ModeSstv = 5,
    ModeMmvari = 99,
};

struct Globals {
    int OpMode = ModeBpsk;
    // Section of the next GetIniString / PutIniString call; callers set it just before.
    QString IniSection;
    // Text left for the message line.
    QString StatusMessage;

    // Receive-pane time stamps and marks.
    QString TimeStampText;
    int TimeZoneOffsetH = 0;
    int RxMarkPos = 0;
    QString TxAreaBackColor = QStringLiteral("8421504");
    QString RxForeColor = QStringLiteral("0");

    // Folder searched by FindFileOnPath; the caller sets it before the call.
    QString SearchFolder;

    // The pending transmission that the macro sender leaves for TxSend.
    QString MacroText;
    int MacroTxOn = 0;
    int MacroTxOff = 0;
    int MacroCwId = 0;
    int MacroRxPskMode = 0;
    QString CwIdText;
    QString CwIdSpeed = QStringLiteral("2");
};

extern Globals g;

} // namespace core
