#include "terminal/engines/MmttyEngine.h"

#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/SharedRoutines.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttySettings.h"
#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/LogEntry.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/MmttyLayout.h"
#include "terminal/engines/MmttyWndProc.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace terminal::engines {
namespace {

// A step of the start that failed, by the label the operator reads. The
// notices handled meanwhile have tags of their own, so the label is carried.
struct StartFailed {
    QString label;
};

// Names the step under way for the failure message.
QString step(const char* label) {
    core::g.EngineErrorTag = QString::fromUtf8(label);
    return core::g.EngineErrorTag;
}

const QString kRttyCaption = QStringLiteral("ZORVATEK (With MMTTY.EXE by QQ9BBB)");
const QString kPskCaption = QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)");
const QString kScopeName = QStringLiteral("MMTTY/ZORVAT");
constexpr int kStartTickMs = 10;
const QString kStartDropped = QStringLiteral("\r\n送信は取り消しました");

QMetaObject::Connection& noticeConnection() {
    static QMetaObject::Connection c;
    return c;
}
QMetaObject::Connection& exitConnection() {
    static QMetaObject::Connection c;
    return c;
}

QString folderOf(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.left(slash + 1);
}

// The file in the folder of the RTTY program, or the empty text.
QString besideProgram(const QString& fileName) {
    core::g.SearchFolder = folderOf(core::g.MmttyExePath);
    return core::FindFileOnPath(fileName);
}

// Said after OpMode names the engine on the air.
void followLogMode() {
    core::SetLogModeOnAir();
    logwindows::FollowModeOnNewPage(core::g.ModeDisplayText);
}

void stopPskLibrary(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnSetComPort(0, 0);
    StopPskSound();
    RestoreMainWndProc();
    w.Picture2->clear();
}

void prepareWindow(PSK31MAIN& w) {
    if (core::g.LastModeText == QLatin1String("PSK31")) stopPskLibrary(w);
    w.Picture9->clear();
    w.Picture2->clear();
    // A scan under way ends, and the display shows what it showed before the scan.
    if (core::g.WfDrawState == 1) {
        core::g.WfDrawState = 0;
        core::g.SpectrumDisplayMode = w.WfDrawState2;
        w.Line15->setVisible(false);
        w.Timer5->stop();
    }
    // The rig's dial is read against the amateur-radio mark.
    rig::g.RigAudioOffsetHz = mmtty::HamMarkHz;
    ApplyRttyLayout(w);
    forms::unload<::multi_ch>();
}

void initScope() {
    const QString label = step("fnBOBMAKOInitのｴﾗｰで");
    const QByteArray port = core::PttPortName();
    std::int32_t handle = 0;
    if (bobmako::lib().fnBOBMAKOInit(handle, kScopeName.toLatin1(), port, QByteArrayLiteral("NONE")) == 0)
        throw StartFailed{label};
}

// Starts the program and waits for its start-up notice, which brings its window.
void startProgram() {
    QString label = step("MMTTY起動時のｴﾗｰで");
    const QString program = besideProgram(QString::fromLatin1(mmtty::ProgramFileName));
    if (program.isEmpty()) throw StartFailed{label};
    core::mm.MmttyPid = core::MmttyProgram().start(program, std::uint32_t(core::g.MainHwnd));
    if (core::mm.MmttyPid == 0) throw StartFailed{label};
    label = step("hwnd er");
    InstallMmttyWndProc();
    if (!core::MmttyProgram().waitForWindow(MmttyWindowWaitMsecs)) throw StartFailed{label};
    core::mm.MmttyHwnd = core::MmttyProgram().programWindow();
}

// A program that has gone or does not take commands ends the start.
void post(std::int32_t code, std::int32_t value) {
    if (!core::MmttyProgram().postCommand(code, value))
        throw StartFailed{QStringLiteral("MMTTY Wndpro-Error")};
}

void sendSettings(PSK31MAIN& w) {
    post(mmtty::CmdSetWindow, core::g.MainHwnd);
    post(mmtty::CmdAfterHandle, 0);
    const bool notch = core::mm.MmttyNotLms == QLatin1String("0");
    w.Command13[10 + mmtty::Notch]->setText(notch ? QStringLiteral("NOT") : QStringLiteral("LMS"));
    core::BuildMmttyStartWords(!besideProgram(QStringLiteral("Mmtty.INI")).isEmpty());
    post(mmtty::CmdSetView, core::BitWord(core::mm.MmttyViewBits));
    post(mmtty::CmdSetSwitches, core::BitWord(core::mm.MmttySwitchStates));
    post(mmtty::CmdSetSquelch, core::MmttySquelchValue(core::g.SquelchLevel));
    post(mmtty::CmdHamPreset, 0);
    post(mmtty::CmdSetTxDelay, core::mm.MmttyTxDelay);
}

void armPskStart(PSK31MAIN& w) {
    w.Timer2->setInterval(kStartTickMs);
    w.Timer2->start();
}

// Back to BPSK with the PSK library: nothing of the failed start is left
// running, and the operator reads which step failed.
void failedStart(PSK31MAIN& w, const QString& label) {
    forms::engineChanges();
    RestoreMmttyWndProc();
    core::MmttyProgram().close(0);
    core::mm.MmttyPid = 0;
    core::mm.MmttyHwnd = 0;
    w.setWindowTitle(kPskCaption);
    ApplyPskLayout(w, PskLayoutAfter::FailedStart);
    core::g.OpMode = core::ModeBpsk;
    followLogMode();
    core::g.LastModeText = QStringLiteral("PSK31");
    w.StatusBar1->setText(2, QStringLiteral("BPSK"));
    for (int i = 0; i <= core::ModeCw; ++i)
        w.PSKMODE[i]->setChecked(i == core::ModeBpsk);
    w.PSKMODE[core::ModeCw]->setEnabled(false);
    // BPSK comes with its own controls, whichever way RTTY was asked for.
    w.Command11->setEnabled(true);
    for (QAction* a : {w.RecPsk, w.RecStop, w.PlayPsk})
        a->setEnabled(true);
    RestoreImeState(w);
    armPskStart(w);
    ui::msgBox(label + QStringLiteral(" MMTTYがOPEN出来ませんでした"), ui::OkOnly);
}

// BPSK in place of the program that ended, asked of the owner of the waits
// as the operator's own change is: held while anything waits, so that a wait
// in the middle of a macro or a spot's retune never finds the engine changed
// under it.
bool replacementDue = false;

void replaceEndedProgram(bool startDropped) {
    if (!forms::mayActNow(forms::Request::EngineEnded, [startDropped] {
            if (forms::isLoaded<PSK31MAIN>()) replaceEndedProgram(startDropped);
        }))
        return;
    replacementDue = false;
    const int mode = core::g.OpMode;
    if ((mode != core::ModeRtty && mode != core::ModeCw) || core::MmttyProgram().isRunning()) return;
    MakeModeChange(core::ModeBpsk);
    ui::msgBox(QStringLiteral("MMTTYが終了しました") + (startDropped ? kStartDropped : QString()),
               ui::OkOnly);
}

// The program ended on its own while it was the engine: the rig is not left
// keyed behind it, a start made for it goes nowhere else, and BPSK runs in
// its place as after a start that failed, with the operator told the same
// way. Once the handler is gone (a stop, the shutdown, a start that fails and
// says so itself) its end is expected.
void programEnded() {
    if (!noticeConnection()) return;
    RestoreMmttyWndProc();
    if (core::g.MmttyTxOn == 1) MmttyWndProc(mmtty::NtfTxState, 0);
    // The flags of a macro it had not begun to send go with it: the next
    // transmission, in this engine or another, is the operator's own.
    core::g.MacroTxOn = core::g.MacroTxOff = core::g.MacroTxOffPending = core::g.MacroCwId = 0;
    core::ForgetMmttyStarts();
    core::mm.MmttyPid = 0;
    core::mm.MmttyHwnd = 0;
    // Dropped whether the program's notice came inside F12's start or after it.
    const bool startDropped = forms::engineChanges() || MmttyOverBeingKeyed();
    replacementDue = true;
    // Out of the process's own notice: the change lets events run and closes the link.
    QTimer::singleShot(0, &forms::PSK31MAIN(), [startDropped] { replaceEndedProgram(startDropped); });
}
} // namespace

bool MmttyReplacementDue() {
    return replacementDue;
}

void StartMmtty() {
    replacementDue = false;
    core::ForgetMmttyStarts();
    PSK31MAIN& w = forms::PSK31MAIN();
    prepareWindow(w);
    core::ReadMmttySettings();
    core::g.MainHwnd = MainWindowHandle;
    try {
        initScope();
        startProgram();
        sendSettings(w);
    } catch (const StartFailed& f) {
        failedStart(w, f.label);
        return;
    }
    w.setWindowTitle(kRttyCaption);
    core::g.OpMode = core::ModeRtty;
    followLogMode();
}

void StopMmtty() {
    PSK31MAIN& w = forms::PSK31MAIN();
    RestoreMmttyWndProc();
    // Not keyed for a program on its way out.
    EndMmttyTx();
    core::mm.MmttyExitCode = core::MmttyProgram().close(MmttyCloseWaitMsecs);
    core::mm.MmttyPid = 0;
    core::mm.MmttyHwnd = 0;
    w.Picture2->clear();
    w.Picture9->clear();
    followLogMode();
    w.setWindowTitle(kPskCaption);
    ApplyPskLayout(w, PskLayoutAfter::Stop);
    RestoreImeState(w);
    if (core::g.OpMode < core::ModeSstv) armPskStart(w);
}

bool InstallMmttyWndProc() {
    if (noticeConnection()) return false;
    mmtty::MmttyLink& link = core::MmttyProgram();
    PSK31MAIN* w = &forms::PSK31MAIN();
    noticeConnection() = QObject::connect(&link, &mmtty::MmttyLink::notice, w, &MmttyWndProc);
    exitConnection() = QObject::connect(&link, &mmtty::MmttyLink::programExited, w, &programEnded);
    return true;
}

void RestoreMmttyWndProc() {
    QObject::disconnect(noticeConnection());
    QObject::disconnect(exitConnection());
    noticeConnection() = {};
    exitConnection() = {};
}

} // namespace terminal::engines
