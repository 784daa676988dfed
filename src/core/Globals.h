#pragma once
// Shared state of start-up, the configuration store and the engines: the
// variables every subsystem reads. One instance, core::g; a test resets it
// with core::g = {}.
#include <QString>
#include <array>

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
    // 1 once the message line has said that the settings cannot be saved,
    // until a write succeeds again.
    int SettingsNotSavedShown = 0;
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

    // Start-up: what the start-up sequence establishes for the whole run.
    QString LastModeText;
    QString ModeDisplayText;
    int ScreenMetric = 0;
    int MmttyCwOn = 0;
    // The RTTY program's last reported mark frequency (Hz) and indicator
    // states; element 6 is the NET indicator, 1 = on.
    int MarkFreq = 2125;
    std::array<int, 8> MmttyIndicators{};
    // 1 while the RTTY program, respectively the multi-mode control, transmits.
    int MmttyTxOn = 0;
    int MmvariTxOn = 0;
    // Set when start-up refuses to go on: the program ends.
    bool ProgramEndRequested = false;

    // General settings read at start-up.
    QString MmttyExePath;
    int RecPlayState = 0;
    int LogTimeMacroUsed = 0;
    int ContestMode = 0;
    // Contest dialog: the sent report fixed at 599 (595 in SSTV); a serial number in the exchange.
    int ContestRst599 = 0;
    int ContestSerialNo = 0;
    int Longitude = 135;
    QString LongitudeSide = QStringLiteral("東経");
    QString UserCall;
    QString SoundCardNumber;
    QString PttPortControl;
    QString PttPortNumber;
    QString LogModeTextPsk;
    QString LogModeTextRtty;
    QString LogModeTextApp1;
    QString LogModeTextApp2;
    QString LogModeTextSstv;
    QString HisRstPresetOn;

    // The main window's load and its engine start.
    int EngineMsgHold = 0;
    // The multi-mode control's display-data handle, for its views and meter.
    int MmvariLevelData = 0;
    // 1 while the multi-mode control is the engine.
    int MmvariActive = 0;
    // The eight switches of the multi-mode button row ("Notch", "Speed", "ATC",
    // "ReqRX", "strtCR", "stopCR", "PlyBack", "CFG"); 1 = on.
    std::array<int, 8> MmvariSwitches{};
    int LayoutReady = 0;
    int FirstRunSetup = 0;
    // 1 while the settings sheet opened from the main window's menu loads: the
    // handlers that would reopen the rig port or restart an engine keep quiet.
    int CfgSheetLoading = 0;
    // The settings sheet's tab selected when it was last closed.
    int LastCfgTab = 0;
    int AudioCenterFreq = 1500;
    int RxFreqHz = 1500;
    int TxFreqHz = 1500;
    int RxFreqBin = 384;
    int TxFreqBin = 384;
    int Ch2RxFreq = 1400;
    int Ch3RxFreq = 1600;
    int FftFirstBin = 51;
    int FftLastBin = 768;
    int DrawBinStep1 = 4;
    int DrawBinStep2 = 4;
    int WfMagnify = 1;
    int ImeState = 2;
    int SpectrumDisplayMode = 0;
    int SpectrumZoom = 1;
    int RewindStep = 1;
    int AfcOn = 0;
    int NetOn = 0;
    int SatelliteMode = 0;
    int Transmitting = 0;
    int RepeatTxOn = 0;
    int BusyCount = 0;
    int ShortcutRegistering = 0;
    int ChannelDisplay = 1;
    int ImdChannel = 0;
    int WfDrawState = 0;
    int RecTimeLen = 1;
    int RecAppend = 0;
    int MacrosFromFile = 0;
    int OtherAppRunning = 0;
    int RepeatArmed = 0;
    int MacroTxOffPending = 0;
    int Ch2PskMode = 0;
    int Ch3PskMode = 0;
    int LogTimeUtc = 0;
    int DataCaptureOn = 0;
    int HamlogEntrySent = 0;
    int SpectrumScaleDiv1 = 0;
    int SpectrumScaleDiv2 = 0;
    std::array<int, 8> WfLevelSteps{};
    QString AutoSaveRxOnExit;
    QString AfcLimit;
    QString ClockAdjRxPpm;
    QString ClockAdjTxPpm;
    QString SquelchSpeed;
    QString SquelchLevel;
    QString WfLevelPsk;
    QString WfLevelRtty;
    QString FftSmoothing;
    QString FftMode;
    QString FftRoot;
    QString SatelliteModeText;
    QString RxSearchRange;
    QString MacroFilePath;
    QString ZenHanConv;
    QString TrxTimeStampOn;
    QString UseQuoteMark;
    QString QuoteMark;
    QString FftComeback;
    QString PpmShowBoth;
    QString QthOperation;
    QString TempLogFileName;
    QString ScanLevelText;
    QString DefaultCwId;
    QString HisCall;
    QString HisCallBase;
    QString HisCallSuffix;
    QString OtherApp1Path;
    QString OtherApp2Path;
    QString OtherApp1Name;
    QString OtherApp2Name;
    std::array<QString, 6> CwIdList;
    std::array<int, 36> MacroShortcutKeys{};
    // Kept texts of the receive, transmit and multi-channel pane fonts and colours.
    QString RxFontSize, RxFontName, RxFontBold, RxFontItalic;
    QString RxBackColor, PlaybackBackColor;
    QString TxFontSize, TxFontName, TxFontBold, TxFontItalic;
    QString TxBackColor, TxForeColor;
    QString MultiForeColor, MultiFontSize, MultiFontName, MultiFontBold, MultiFontItalic;

    // The PSK engine: the handle its notices are posted to, the step under way
    // for the failure message, and the zoomed spectrum's span.
    int MainHwnd = 0;
    QString EngineErrorTag;
    int SpectrumLowHz = 0;
    int SpectrumHighHz = 0;
    int SpectrumLowBin = 0;
    int SpectrumHighBin = 0;
    int TxBinFromLow = 0;
    int TxBinToHigh = 0;
    // The wave file that recording writes and play-back reads.
    QString WaveFilePath;
    // Recording: "1" when the transmitted signal is recorded too, and the
    // engine's recording mode for it (6, else 2); 1 once a file is chosen.
    QString RecSpecText;
    int RecSpecCode = 2;
    int RecFileReady = 0;
    // The folder of the last wave file chosen or played.
    QString RecFolder;
};

extern Globals g;

} // namespace core
