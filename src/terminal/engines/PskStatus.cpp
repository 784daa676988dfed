// The library's status codes: transmit start and end (PTT by CAT, time stamps,
// the repeat cycle), the end of play-back and of a timed recording, and the
// sound-card errors in the message line.
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/SharedRoutines.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/recording/RecordPlay.h"
#include "terminal/transmit/TxInsert.h"

#include <QCoreApplication>

namespace terminal::engines {
namespace {

const QString kRecPlayTitle = QStringLiteral("ZORVATEK Rec & Play");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kChannels = 3;
constexpr std::uint32_t kTransmitColour = 0x0000FF;

const char* const kErrorTexts[] = {
    "Memory Allocation error",                       // 10
    "Tried to read and Soundcard is not open",       // 11
    "Input buffers over-flowed",                     // 12
    "Timed out waiting for input buffers",           // 13
    "Tried to write and Soundcard is not open",      // 14
    "Output buffers under-flowed",                   // 15
    "Timed out waiting for output buffers",          // 16
    "Card doesn't support 16bit,8000Hz,Mono format", // 17
    "Still something playing on soundcard",          // 18
    "Header not prepared",                           // 19
    "Device is synchronous",                         // 20
    "Bad Device ID,Soundcard Not Present",           // 21
    "Driver Failed to enable",                       // 22
    "Device Already allocated",                      // 23
    "Device handle is invalid",                      // 24
    "No device driver present",                      // 25
    "Function isn't supported",                      // 26
    "Error value out of range",                      // 27
    "Invalid flag passed",                           // 28
    "Invalid parameter passed",                      // 29
    "Handle being used",                             // 30
    "Driver does not call DriverCallback",           // 31
    "Registry Error",                                // 32
};

bool pttByCat() {
    return core::g.PttPortControl == QLatin1String("0");
}

void showMessage(const QString& text) {
    core::g.StatusMessage = text;
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
}

void errorMessage(const QString& text) {
    showMessage(text);
    colour::setBackColor(forms::PSK31MAIN().Command1, colour::kButtonFace);
}

void transmissionStarted() {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::g.Transmitting = 1;
    // A stop taken while the key waited for the rig line, or under way, has
    // ended it already.
    if (pttByCat() && !KeyRigForStart()) return;
    if (core::g.TrxTimeStampOn == QLatin1String("YES")) receive::MarkTxStart();
    if (pskcore::lib().fnGetTXCharsRemaining() == 0) pskcore::lib().fnSendTXString(kLineEnd);
    colour::setBackColor(w.Command1, kTransmitColour);
    macros::repeatOnTxStart(macros::TxEngine::PskCore);
    if (rig::g.RigPortName != QLatin1String("NONE") && rig::g.RigPollMode == 1) rig::RigReadStatus();
}

void transmissionEnded() {
    PSK31MAIN& w = forms::PSK31MAIN();
    pskcore::PskCore& lib = pskcore::lib();
    rig::RigPttOff();
    core::g.Transmitting = 0;
    lib.fnSetClockErrorAdjustment(core::WholeNumber(core::g.ClockAdjRxPpm).value_or(0));
    w.RichTextBox4->setText(QString());
    w.RichTextBox4->hide();
    lib.fnSendTXString(kLineEnd);
    lib.fnClearTXBuffer();
    core::g.MacroTxOffPending = 0;
    colour::setBackColor(w.Command1, colour::kButtonFace);
    transmit::EmptyTxBoxAtOverEnd(w);
    if (core::g.TrxTimeStampOn == QLatin1String("YES") && core::g.OpMode != core::ModeSstv)
        receive::MarkRxStart();
    macros::repeatOnTxEnd(macros::TxEngine::PskCore);
}

// The end of a recording or play-back: the items back, the message line at rest.
void menusBack() {
    recording::enableRecordItems(true);
    recording::messageLineAtRest();
}

// The sound card restarts after the box, which ends a transmission; it ends
// before the box, so that the rig is not held keyed while the box waits.
void playbackEnded() {
    EndTransmission();
    ui::msgBox(QStringLiteral("再生が終了しました"), ui::OkOnly | ui::Information, kRecPlayTitle);
    menusBack();
    recording::restartSoundCard();
    core::g.RecPlayState = 0;
}

void playRecording() {
    pskcore::PskCore& lib = pskcore::lib();
    StopPskSound();
    std::int32_t samples = 0;
    const int r = lib.fnSetInputWavePath(core::g.WaveFilePath, &samples, 0);
    forms::letEventsRun();
    if (const QString problem = recording::waveFileMessage(r); !problem.isEmpty()) {
        showMessage(problem);
        core::g.RecPlayState = 0;
        // The file cannot be played: reception goes on instead of staying stopped.
        lib.fnStartSoundCard(core::g.MainHwnd, recording::soundCard(), kChannels);
        return;
    }
    if (lib.fnStartSoundCardEx(core::g.MainHwnd, recording::soundCard(), kChannels,
                               pskcore::SoundFromWaveFile) != pskcore::StartOk) {
        recording::RecStop_Click();
        return;
    }
    // Play-back as from the play item: the items wait for its end.
    recording::showMessageLine(QStringLiteral("Wav File の再生中です"));
    recording::enableRecordItems(false);
    core::g.RecPlayState = 1;
}

void recordingEnded() {
    EndTransmission();
    const QString prompt = QStringLiteral("指定時間( ") + QString::number(core::g.RecTimeLen) +
                           QStringLiteral("分)の録音を終了しました\r\nこのファイルを直ぐ再生してみますか？");
    const ui::MsgResult answer = ui::msgBox(prompt, ui::YesNo | ui::Question, kRecPlayTitle);
    menusBack();
    core::g.RecPlayState = 0;
    if (answer == ui::Yes)
        playRecording();
    else
        recording::restartSoundCard();
}

} // namespace

void PskStatus(int code) {
    switch (code) {
    case pskcore::StatusTxEnded:
        transmissionEnded();
        return;
    case pskcore::StatusTxStarted:
        transmissionStarted();
        return;
    case pskcore::StatusCpuTooSlow:
        errorMessage(QStringLiteral("CPU too Slow or Busy"));
        return;
    case pskcore::StatusPlaybackEnded:
        playbackEnded();
        return;
    case pskcore::StatusRecordingEnded:
        recordingEnded();
        return;
    default:
        break;
    }
    if (code >= 10 && code <= 32)
        errorMessage(QString::fromLatin1(kErrorTexts[code - 10]));
    else if (code == 8 || code == 9 || code > 32)
        errorMessage(QString::number(code));
}

} // namespace terminal::engines
