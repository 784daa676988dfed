// The end of a run: the operator's close of the main window and the exit item
// release the rig port and the engine, store what the next start reads back,
// keep a copy of the received text, remove the run's memo file, close the
// logging program the system started, unload every window and end the process.
// A failure on the way takes a shorter path that still releases the engine and
// the rig port.
#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "settings/dialogs/ContestWindow.h"
#include "settings/sheet/CFGSHEET.h"
#include "startup/AboutZORVATEK.h"
#include "terminal/displays/MultiChPos.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/rxtext/RxTextFiles.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <stdexcept>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");

// The operator's end, by the close box or the exit item, asks before typing
// or a pending QSO goes and closes an open settings sheet as its close box
// does; a box the file cannot hold, or No, keeps the program running. The
// carrier is not left on while they wait.
bool operatorMayEnd() {
    terminal::engines::EndTransmission();
    return terminal::engines::MayLeave(terminal::engines::Leaving::ProgramEnd);
}

std::function<void()>& processEndForTest() {
    static std::function<void()> end;
    return end;
}

// A step of the shutdown that could not be done.
struct StepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool isRtty(int mode) {
    return mode == core::ModeRtty || mode == core::ModeCw;
}

QString lastModeName(int mode) {
    if (mode == core::ModeMmvari) return QStringLiteral("MMVARI");
    if (isRtty(mode)) return QStringLiteral("RTTY");
    return QStringLiteral("PSK31");
}

// "ZORVAT_20061231235958.LOG" when the copy is dated, else the one kept copy.
QString receiveCopyName(bool dated) {
    if (!dated) return QStringLiteral("NENNOTAMELOG.TXT");
    return QStringLiteral("ZORVAT_") + sysclock::jstNow().toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(".LOG");
}

void clearClipboard() {
    clipboard::empty();
}

// The waits of a shutdown let events run: a second end meanwhile is refused.
bool& shutdownRunning() {
    static bool running = false;
    return running;
}

// The operator's end taken while something waits comes once the wait is
// over; during a scan or the end itself it is refused instead.
bool endHeld(void (*again)(PSK31MAIN&)) {
    if (core::g.WfDrawState == 1 || shutdownRunning()) return false;
    return !forms::mayActNow(forms::Request::End, [again] {
        if (forms::isLoaded<PSK31MAIN>()) again(forms::PSK31MAIN());
    });
}

// Runs one step of the failure path; a failure there must not keep the rest
// (the engine, the rig port) from being released.
template <class Step> void regardless(Step step) {
    try {
        step();
    } catch (const std::exception& e) {
        qWarning("shutdown: %s", e.what());
    }
}

} // namespace

namespace terminal::mainwindow {

void EndProcess() {
    // A release the rig never took (its line lost): the operator checks the
    // rig. An end by a signal answers the box at once and writes it, once, on
    // the standard error.
    const QString keyLeft = rig::RigKeyLeftText();
    if (!keyLeft.isEmpty()) ui::msgBox(keyLeft, ui::OkOnly | ui::Exclamation);
    // Every end comes here, the short ones too: nothing this run started outlives it.
    logwindows::EndStartedLoggingProgram();
    if (processEndForTest()) {
        processEndForTest()();
        return;
    }
    // Every window has had its say: none may hold the end back now.
    QCoreApplication::exit(0);
}

void setProcessEndForTest(std::function<void()> end) {
    processEndForTest() = std::move(end);
}

} // namespace terminal::mainwindow

void PSK31MAIN::closeEvent(QCloseEvent* e) {
    // Only a close the window system brings (the operator's) is spontaneous.
    bool cancel = false;
    Form_QueryUnload(cancel, e->spontaneous() ? terminal::mainwindow::FromControlMenu
                                              : terminal::mainwindow::FromCode);
    if (cancel)
        e->ignore();
    else
        e->accept();
}

void PSK31MAIN::Form_QueryUnload(bool& cancel, int unloadMode) {
    if (unloadMode != terminal::mainwindow::FromControlMenu) return;
    cancel = endHeld([](PSK31MAIN& w) {
        bool again = false;
        w.Form_QueryUnload(again, terminal::mainwindow::FromControlMenu);
    });
    if (cancel) return;
    cancel = !operatorMayEnd() || !runShutdown(false);
}

void PSK31MAIN::pEnd_Click() {
    if (endHeld([](PSK31MAIN& w) { w.pEnd_Click(); })) return;
    if (operatorMayEnd()) runShutdown(true);
}

bool PSK31MAIN::runShutdown(bool exitMenu) {
    if (shutdownRunning()) return false;
    // WfDrawState is 1 while a signal scan runs.
    if (core::g.WfDrawState == 1) {
        ui::msgBox(QStringLiteral("Scan 動作を止めてからにしてください"), ui::OkOnly);
        return false;
    }
    endRun(exitMenu);
    return true;
}

void PSK31MAIN::endWithoutQuestions() {
    if (shutdownRunning()) return;
    if (core::g.WfDrawState == 1) endScan();
    endRun(false);
}

void PSK31MAIN::endRun(bool exitMenu) {
    shutdownRunning() = true;
    try {
        normalPath(exitMenu);
    } catch (const std::exception& e) {
        qWarning("shutdown: %s", e.what());
        emergencyPath(exitMenu);
    }
    closeLoggingProgram();
    core::TellUnsavedSettings();
    shutdownRunning() = false;
    unloadEverything();
}

void PSK31MAIN::normalPath(bool exitMenu) {
    terminal::engines::UnkeyForStop();
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    if (exitMenu) forms::AboutZORVATEK().Timer3->stop();
    Timer5->stop();
    core::g.LayoutReady = 0;
    saveFrequencies(exitMenu);
    savePlace();
    saveReceiveCopy();
    if (core::g.ChannelDisplay == 3) {
        const ::multi_ch& m = forms::multi_ch();
        if (!(m.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            terminal::displays::SaveMultiChPos();
    }
    core::g.SearchFolder = paths::programFolder();
    const QString memo = core::FindFileOnPath(QStringLiteral("PSKMEMO.DAT"));
    if (!memo.isEmpty() && !QFile::remove(memo)) throw StepFailed("the memo file cannot be deleted");
    clearClipboard();
    // The exit item stores the last mode before the engine goes, the close box after it.
    if (exitMenu) core::PutIniText(kCfg, "LastMode", lastModeName(core::g.OpMode));
    releaseEngine(exitMenu, false);
    if (!exitMenu) core::PutIniText(kCfg, "LastMode", lastModeName(core::g.OpMode));
}

void PSK31MAIN::saveFrequencies(bool exitMenu) {
    // The exit item takes the multi-mode control's own boxes in its mode.
    const bool panel = exitMenu && core::g.OpMode == core::ModeMmvari;
    settings::StoreContestNo(Text11->text());
    core::PutIniText(kCfg, "RX1Freq", (panel ? Text2 : Text4)->text());
    core::PutIniText(kCfg, "TX1Freq", (panel ? Text9 : Text8)->text());
}

void PSK31MAIN::saveReceiveCopy() {
    ReceiveFolder = core::IniStored(kCfg, QStringLiteral("RCVDFOL")).value_or(paths::programFolder());
    // A setting that is no number asks for no dated copy rather than for none at all.
    const bool dated = core::WholeNumber(core::g.AutoSaveRxOnExit).value_or(0) == 1;
    const QString name = receiveCopyName(dated);
    const QByteArray bytes = terminal::rxtext::fileBytes(RichTextBox1->fileText());
    // A received-data folder that is gone or full gets the copy in the program
    // folder instead, and the operator is told where to find it.
    QString path = paths::join(ReceiveFolder, name);
    if (!QDir(paths::fromStored(ReceiveFolder)).exists() || !files::replaceWhole(path, bytes)) {
        const QString meant = path;
        path = paths::join(paths::programFolder(), name);
        if (!files::replaceWhole(path, bytes)) {
            ui::msgBox(QStringLiteral("受信データを保存できませんでした。\r\n") + path,
                       ui::OkOnly | ui::Exclamation);
            throw StepFailed("the received text cannot be written");
        }
        if (path != meant)
            ui::msgBox(QStringLiteral(
                           "受信データフォルダに保存できなかったため、受信データを次に保存しました。\r\n") +
                           path,
                       ui::OkOnly | ui::Exclamation);
    }
}

void PSK31MAIN::releaseEngine(bool exitMenu, bool emergency) {
    terminal::engines::UnkeyForStop();
    const int mode = core::g.OpMode;
    if (mode == core::ModeMmvari) {
        // The exit item leaves the control's run switch as it is; its failure path does not.
        if ((!exitMenu || emergency) && !MMVARI->set(mmvari::IdRun, false))
            throw StepFailed("the multi-mode control does not stop");
        return;
    }
    if (isRtty(mode)) {
        mmtty::MmttyLink& program = core::MmttyProgram();
        // Its end is expected from here on: the handlers go before the close
        // is asked, or a quick end would be taken for one on its own (BPSK).
        terminal::engines::RestoreMmttyWndProc();
        QObject::disconnect(&program, &mmtty::MmttyLink::notice, nullptr, nullptr);
        program.postCommand(mmtty::CmdClose, 0);
        if (emergency) return;
        // The program is given a while to leave; one that stays is ended.
        program.waitForExit(terminal::mainwindow::MmttyExitWaitMsecs);
        program.close(0);
        return;
    }
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnSetComPort(0, 0);
    lib.fnStopSoundCard();
    lib.unsubclass();
}

void PSK31MAIN::emergencyPath(bool exitMenu) {
    if (exitMenu) regardless(clearClipboard);
    regardless([&] { releaseEngine(exitMenu, true); });
    regardless([] {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    });
    if (exitMenu) return;
    regardless(clearClipboard);
    forms::unload<TEMP_LOG>();
    forms::unload<MACRO_FORM>();
}

void PSK31MAIN::closeLoggingProgram() {
    logwindows::EndStartedLoggingProgram();
}

void PSK31MAIN::unloadEverything() {
    forms::unloadInLoadOrderExcept(this);
    forms::unload<PSK31MAIN>();
    terminal::mainwindow::EndProcess();
}
