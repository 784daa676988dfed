#include "terminal/engines/ModeChange.h"

#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/MessageLine.h"
#include "core/SharedRoutines.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogEntry.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "settings/dialogs/ContestWindow.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/EngineResume.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/engines/MmttyLayout.h"
#include "terminal/engines/MmvariEngine.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <stdexcept>

namespace terminal::engines {
namespace {

const QString kCfg = QStringLiteral("PSKCFG");
const char* const kPskPanel[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)"};

bool isRtty(int mode) {
    return mode == core::ModeRtty || mode == core::ModeCw;
}

// The common ending: the log entry's mode box follows, a running contest
// shows in the window now in use and the engine's name is kept for the next start.
void recordMode() {
    logwindows::FollowModeOnNewPage(core::g.ModeDisplayText);
    settings::CarryContestToWindowInUse();
    core::PutIniText(kCfg, "LastMode", core::g.LastModeText);
}

void initScope(const QByteArray& port) {
    std::int32_t handle = 0;
    bobmako::lib().fnBOBMAKOInit(handle, QByteArrayLiteral("MMTTY/ZORVAT"), port, QByteArrayLiteral("NONE"));
}

void stopPskLibrary() {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnSetComPort(0, 0);
    StopPskSound();
    RestoreMainWndProc();
}

void setRecordItems(PSK31MAIN& w, bool on) {
    for (QAction* a : {w.RecPsk, w.RecStop, w.PlayPsk})
        a->setEnabled(on);
}

void setPskControls(PSK31MAIN& w, int n) {
    w.StatusBar1->setText(2, QString::fromLatin1(kPskPanel[n]));
    w.PSKMODE[core::ModeCw]->setEnabled(false);
    ShowModeMenus(w);
    RestoreImeState(w);
    w.Command3->setEnabled(true);
    w.Line5->setVisible(true);
    w.Line16->setVisible(false);
    w.Line17->setVisible(false);
    core::SetLogModeOnAir();
    core::g.LastModeText = QStringLiteral("PSK31");
    w.Label15->setText(QStringLiteral("No Data"));
    setRecordItems(w, true);
}

void setRttyControls(PSK31MAIN& w) {
    w.StatusBar1->setText(2, QStringLiteral("RTTY"));
    ShowModeMenus(w);
    w.PSKMODE[core::ModeCw]->setEnabled(true);
    w.SSTab1->setCurrentIndex(0);
    for (LineShape* l : {w.Line5, w.Line11, w.Line12})
        l->setVisible(false);
    w.Label39->hide();
    core::g.FftFirstBin = 51;
    core::g.FftLastBin = 768;
    core::g.DrawBinStep1 = 4;
    core::g.DrawBinStep2 = 4;
    core::g.WfMagnify = 1;
    w.Command3->setEnabled(false);
    colour::setBackColor(w.Command15, 0x02DB17);
    colour::setBackColor(w.Command16, 0xC0C0C0);
    colour::setBackColor(w.Command17, 0xC0C0C0);
    for (QPushButton* b : {w.Command15, w.Command16, w.Command17})
        b->setEnabled(false);
    core::g.TrxTimeStampOn =
        core::IniStored(kCfg, QStringLiteral("TRX_TimeStmp")).value_or(core::g.TrxTimeStampOn);
    core::SetLogModeOnAir();
    core::g.LastModeText = QStringLiteral("RTTY");
    w.Line16->setVisible(true);
    w.Line17->setVisible(true);
    setRecordItems(w, false);
}

// Back from the SSTV window: the main window's load starts the engine of OpMode.
// The mode changes before any waiting event runs, so that a late rig reply
// writes to the main window and does not load the SSTV window again.
void unloadSstvWindow(int nextMode) {
    forms::unload<::SSTVForm>();
    core::g.OpMode = nextMode;
    forms::letEventsRun();
}

void loadMainWindows() {
    forms::PSK31MAIN();
    forms::MACRO_FORM();
}

void toMmvari(int index) {
    if (core::g.OpMode != core::ModeSstv) {
        rig::RigStartPolling();
        recordMode();
        return;
    }
    unloadSstvWindow(core::ModeMmvari);
    loadMainWindows();
    StartMmvari(index);
    forms::PSK31MAIN().show();
    core::PutIniText(QStringLiteral("MMVCFG"), "LastMode", QString::number(index));
    rig::RigStartPolling();
    recordMode();
}

// The PSK library runs in mode n: the window, the rig and the record follow.
void pskRuns(PSK31MAIN& w, int n, bool fromSstv) {
    setPskControls(w, n);
    ApplyPskMode();
    if (fromSstv)
        w.show();
    else // QPSK decodes on the sideband it names only: the rig follows, as at the port's opening.
        rig::RigSetMode(rig::RigModeCodeFor(n));
    rig::RigStartPolling();
    recordMode();
}

void toPsk(int n) {
    core::g.MmttyCwOn = 0;
    const bool fromSstv = core::g.OpMode == core::ModeSstv;
    if (isRtty(core::g.OpMode)) {
        StopMmtty();
    } else if (fromSstv) {
        unloadSstvWindow(n);
    } else if (core::g.OpMode == core::ModeMmvari) {
        // The multi-mode control has been stopped by the caller.
        core::g.MainHwnd = MainWindowHandle;
        InstallPskCoreWndProc();
        StartPskCore();
    }
    core::g.OpMode = n;
    if (fromSstv) loadMainWindows();
    PSK31MAIN& w = forms::PSK31MAIN();
    // The main window's load holds the library's notices until a PSK start;
    // the way from the multi-mode control has no start-up tick to free them.
    core::g.EngineMsgHold = 0;
    pskRuns(w, n, fromSstv);
}

// The RTTY program did not start and BPSK runs in its place: that is the mode recorded.
void rttyRefused(PSK31MAIN& w, bool fromSstv) {
    pskRuns(w, core::ModeBpsk, fromSstv);
}

void toRtty() {
    if (core::g.OpMode == core::ModeRtty) {
        rig::RigStartPolling();
        return;
    }
    const bool fromSstv = core::g.OpMode == core::ModeSstv;
    if (core::g.OpMode == core::ModeCw) {
        initScope(core::PttPortName());
        core::MmttyProgram().postCommand(mmtty::CmdPortUpdate, 0);
        core::g.MmttyCwOn = 0;
    } else if (fromSstv) {
        unloadSstvWindow(core::ModeRtty);
    } else {
        PSK31MAIN& w = forms::PSK31MAIN();
        w.Label15->clear();
        StartMmtty();
        if (core::g.OpMode != core::ModeRtty) return rttyRefused(w, false);
    }
    core::g.OpMode = core::ModeRtty;
    // From SSTV the main window's load starts the program.
    PSK31MAIN& w = forms::PSK31MAIN();
    if (fromSstv) forms::MACRO_FORM();
    if (core::g.OpMode != core::ModeRtty) return rttyRefused(w, true);
    ApplyPskMode();
    if (!fromSstv) rig::RigSetMode(rig::g.RigRttyModeCode);
    setRttyControls(w);
    w.show();
    rig::RigStartPolling();
    recordMode();
}

QString besideProgram(const QString& fileName) {
    const QString& exe = core::g.MmttyExePath;
    const qsizetype slash = std::max(exe.lastIndexOf(QLatin1Char('/')), exe.lastIndexOf(QLatin1Char('\\')));
    core::g.SearchFolder = exe.left(slash + 1);
    return core::FindFileOnPath(fileName);
}

void toCw() {
    // CW is keyed by the running RTTY program, so it is offered from RTTY only.
    if (core::g.OpMode != core::ModeRtty) {
        rig::RigStartPolling();
        return;
    }
    PSK31MAIN& w = forms::PSK31MAIN();
    if (!besideProgram(QStringLiteral("EXTFSK.DLL")).isEmpty()) initScope(QByteArrayLiteral("EXTFSK"));
    // A program that no longer takes the port word keeps RTTY as it was.
    if (!core::PostMmttyCommand(mmtty::CmdPortUpdate, 0)) {
        rig::RigStartPolling();
        return;
    }
    core::g.MmttyCwOn = 1;
    core::g.OpMode = core::ModeCw;
    w.StatusBar1->setText(2, QStringLiteral("CW"));
    ShowModeMenus(w);
    rig::RigSetMode(rig::g.RigCwModeCode);
    rig::RigStartPolling();
    recordMode();
}

void saveFrequencies(PSK31MAIN& w) {
    core::PutIniText(kCfg, "RX1Freq", w.Text4->text());
    core::PutIniText(kCfg, "TX1Freq", w.Text8->text());
    if (core::g.ChannelDisplay != 3) return;
    core::PutIniText(kCfg, "RX2Freq", QString::number(core::g.Ch2RxFreq));
    core::PutIniText(kCfg, "RX3Freq", QString::number(core::g.Ch3RxFreq));
}

std::function<void(SstvStep)>& sstvHook() {
    static std::function<void(SstvStep)> hook;
    return hook;
}

void reached(SstvStep step) {
    if (sstvHook()) sstvHook()(step);
}

QString engineName(int mode) {
    if (mode == core::ModeMmvari) return QStringLiteral("MMVARI");
    return isRtty(mode) ? QStringLiteral("RTTY") : QStringLiteral("PSK31");
}

// The way into SSTV failed: the main window comes back with an engine that
// runs (one that was stopped on the way is started again) and the operator
// is told.
void sstvFailed(int oldMode, bool portWasOpen) {
    forms::unload<::SSTVForm>();
    core::g.OpMode = oldMode;
    core::g.LastModeText = engineName(oldMode);
    // A fresh load of the main window starts the engine of OpMode itself.
    const bool fresh = !forms::isLoaded<PSK31MAIN>();
    PSK31MAIN& w = forms::PSK31MAIN();
    forms::MACRO_FORM();
    w.show();
    // The RTTY program's stop armed the PSK library's start: RTTY comes back instead.
    if (isRtty(oldMode)) w.Timer2->stop();
    if (!fresh) ResumeEngine();
    core::SetLogModeOnAir();
    core::g.StatusMessage = QStringLiteral("OPEN出来ませんでした");
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    if (portWasOpen && rig::g.RigPortOpen == 0)
        rig::RigOpenPort();
    else
        rig::RigStartPolling();
}

void intoSstv() {
    clipboard::empty();
    reached(SstvStep::ClipboardEmptied);
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    PSK31MAIN& w = forms::PSK31MAIN();
    if (isRtty(core::g.OpMode)) {
        StopMmtty();
    } else {
        stopPskLibrary();
        saveFrequencies(w);
    }
    reached(SstvStep::EngineStopped);
    // Under SSTV the PSK library stays stopped.
    w.Timer2->stop();
    core::g.OpMode = core::ModeSstv;
    core::SetLogModeOnAir();
    core::g.LastModeText = QStringLiteral("SSTV");
    forms::unload<::multi_ch>();
    forms::unload<MACRO_FORM>();
    w.Timer5->stop();
    forms::unload<PSK31MAIN>();
    forms::letEventsRun();
    reached(SstvStep::MainWindowUnloaded);
    forms::SSTVForm().show();
    core::g.MmttyCwOn = 0;
    recordMode();
}

void toSstv() {
    if (core::g.OpMode == core::ModeSstv) {
        rig::RigStartPolling();
        return;
    }
    const int oldMode = core::g.OpMode;
    const bool portWasOpen = rig::g.RigPortOpen == 1;
    try {
        intoSstv();
    } catch (const std::exception& e) {
        qWarning("mode change to SSTV: %s", e.what());
        sstvFailed(oldMode, portWasOpen);
    }
}

// Into SSTV or out of it: the operating window, and with it the QSO's boxes, changes.
bool swapsWindows(int index) {
    if (core::g.OpMode != core::ModeSstv) return index == core::ModeSstv;
    return (index >= 10 && index <= 18) || (index >= core::ModeBpsk && index <= core::ModeRtty);
}

} // namespace

void setSstvFailureHookForTest(std::function<void(SstvStep)> hook) {
    sstvHook() = std::move(hook);
}

bool AnyEngineTransmits() {
    return core::g.Transmitting == 1 || core::g.MmttyTxOn == 1 || core::g.MmvariTxOn == 1;
}

bool RefusedWhileSending() {
    if (!AnyEngineTransmits() && sstv::g.SstvTxActive != 1) return false;
    core::g.StatusMessage = QStringLiteral("送信中は変更できません");
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
    return true;
}

bool RefusedWhileRecording() {
    if (core::g.RecPlayState != 1) return false;
    ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
    return true;
}

bool MayChangeMode(int Index) {
    // During an over the menu says why it does nothing, as other refused presses do.
    if (forms::modeChangeRuns() || (AnyEngineTransmits() && RefusedWhileSending()) || RefusedWhileRecording())
        return false;
    if (!swapsWindows(Index)) return true;
    return MayLeave(core::g.OpMode == core::ModeSstv ? Leaving::SstvSwapped : Leaving::MainSwapped);
}

bool ChangeMode(int Index) {
    if (!MayChangeMode(Index)) {
        if (forms::isLoaded<PSK31MAIN>()) ShowModeMenus(forms::PSK31MAIN());
        return false;
    }
    MakeModeChange(Index);
    return true;
}

void MakeModeChange(int Index) {
    const forms::EventsRunScope underWay(forms::EventsRunScope::ModeChange);
    // What was asked of the old engine does not go out through the new one.
    forms::engineChanges();
    // A repeat does not go on in the new mode.
    EndTransmission();
    rig::RigStopPolling();
    if (Index >= 10 && Index <= 18)
        toMmvari(Index);
    else if (Index >= core::ModeBpsk && Index <= core::ModeQpskLsb)
        toPsk(Index);
    else if (Index == core::ModeRtty)
        toRtty();
    else if (Index == core::ModeCw)
        toCw();
    else if (Index == core::ModeSstv)
        toSstv();
    else {
        rig::RigStartPolling();
        recordMode();
    }
}

void ShowModeMenus(PSK31MAIN& w) {
    for (int i = 0; i < int(w.PSKMODE.size()); ++i)
        w.PSKMODE[std::size_t(i)]->setChecked(i == core::g.OpMode);
    const int subMode = core::g.OpMode == core::ModeMmvari ? w.CBMode->currentIndex() + 10 : -1;
    for (int i = 10; i <= 18; ++i)
        w.mvrMODEsel[std::size_t(i)]->setChecked(i == subMode);
}

} // namespace terminal::engines
