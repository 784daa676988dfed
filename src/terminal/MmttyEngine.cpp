#include "terminal/MmttyEngine.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MessageLine.h"
#include "core/MmttyCommand.h"
#include "core/MmttySettings.h"
#include "core/MmttyState.h"
#include "core/SharedRoutines.h"
#include "log/LogGlobals.h"
#include "logwindows/TEMP_LOG.h"
#include "platform/BobMako.h"
#include "platform/Dialogs.h"
#include "platform/MmttyLink.h"
#include "platform/PictureBox.h"
#include "platform/PskCore.h"
#include "platform/StatusPanels.h"
#include "rig/RigGlobals.h"
#include "terminal/MmttyLayout.h"
#include "terminal/MmttyWndProc.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/PskEngine.h"
#include "terminal/multi_ch.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace core {
namespace {

// A step of the start that failed, by the label the operator reads. The
// notices handled meanwhile have tags of their own, so the label is carried.
struct StartFailed {
    QString label;
};

// Names the step under way for the failure message.
QString step(const char* label) {
    g.EngineErrorTag = QString::fromUtf8(label);
    return g.EngineErrorTag;
}

const QString kRttyCaption = QStringLiteral("ZORVATEK (With MMTTY.EXE by QQ9BBB)");
const QString kPskCaption = QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)");
const QString kScopeName = QStringLiteral("MMTTY/ZORVAT");
constexpr int kStartTickMs = 10;

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
    g.SearchFolder = folderOf(g.MmttyExePath);
    return FindFileOnPath(fileName);
}

void setLogMode(const QString& text) {
    g.ModeDisplayText = text;
    if (logbook::g.HamlogLink == 1) forms::TEMP_LOG().Text8->setText(text);
}

void stopPskLibrary(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnSetComPort(0, 0);
    lib.fnStopSoundCard();
    RestoreMainWndProc();
    w.Picture2->clear();
}

void prepareWindow(PSK31MAIN& w) {
    if (g.LastModeText == QLatin1String("PSK31")) stopPskLibrary(w);
    setLogMode(g.LogModeTextRtty);
    w.Picture9->clear();
    w.Picture2->clear();
    if (g.WfDrawState == 1) {
        g.WfDrawState = 0;
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
    const QByteArray port = WholeNumber(g.PttPortNumber).value_or(0) == 0
                                ? QByteArrayLiteral("NONE")
                                : QByteArrayLiteral("COM") + g.PttPortNumber.trimmed().toLatin1();
    std::int32_t handle = 0;
    if (bobmako::lib().fnBOBMAKOInit(handle, kScopeName.toLatin1(), port, QByteArrayLiteral("NONE")) == 0)
        throw StartFailed{label};
}

// Starts the program and waits for its start-up notice, which brings its window.
void startProgram() {
    QString label = step("MMTTY起動時のｴﾗｰで");
    const QString program = besideProgram(QString::fromLatin1(mmtty::ProgramFileName));
    if (program.isEmpty()) throw StartFailed{label};
    mm.MmttyPid = MmttyProgram().start(program, std::uint32_t(g.MainHwnd));
    if (mm.MmttyPid == 0) throw StartFailed{label};
    label = step("hwnd er");
    InstallMmttyWndProc();
    if (!MmttyProgram().waitForWindow(MmttyWindowWaitMsecs)) throw StartFailed{label};
    mm.MmttyHwnd = MmttyProgram().programWindow();
}

// A program that has gone or does not take commands ends the start.
void post(std::int32_t code, std::int32_t value) {
    if (!MmttyProgram().postCommand(code, value)) throw StartFailed{QStringLiteral("MMTTY Wndpro-Error")};
}

void sendSettings(PSK31MAIN& w) {
    post(mmtty::CmdSetWindow, g.MainHwnd);
    post(mmtty::CmdAfterHandle, 0);
    const bool notch = mm.MmttyNotLms == QLatin1String("0");
    w.Command13[10 + mmtty::Notch]->setText(notch ? QStringLiteral("NOT") : QStringLiteral("LMS"));
    BuildMmttyStartWords(!besideProgram(QStringLiteral("Mmtty.INI")).isEmpty());
    post(mmtty::CmdSetView, BitWord(mm.MmttyViewBits));
    post(mmtty::CmdSetSwitches, BitWord(mm.MmttySwitchStates));
    post(mmtty::CmdSetSquelch, MmttySquelchValue(g.SquelchLevel));
    post(mmtty::CmdHamPreset, 0);
    post(mmtty::CmdSetTxDelay, mm.MmttyTxDelay);
}

void armPskStart(PSK31MAIN& w) {
    w.Timer2->setInterval(kStartTickMs);
    w.Timer2->start();
}

// Back to BPSK with the PSK library: nothing of the failed start is left
// running, and the operator reads which step failed.
void failedStart(PSK31MAIN& w, const QString& label) {
    RestoreMmttyWndProc();
    MmttyProgram().close(0);
    mm.MmttyPid = 0;
    mm.MmttyHwnd = 0;
    setLogMode(g.LogModeTextPsk);
    w.setWindowTitle(kPskCaption);
    ApplyPskLayout(w, PskLayoutAfter::FailedStart);
    g.OpMode = ModeBpsk;
    g.LastModeText = QStringLiteral("PSK31");
    w.StatusBar1->setText(2, QStringLiteral("BPSK"));
    for (int i = 0; i <= ModeCw; ++i)
        w.PSKMODE[i]->setChecked(i == ModeBpsk);
    w.PSKMODE[ModeCw]->setEnabled(false);
    RestoreImeState(w);
    armPskStart(w);
    ui::msgBox(label + QStringLiteral(" MMTTYがOPEN出来ませんでした"), ui::OkOnly);
}

// The program ended on its own while it was the engine: the rig is not left
// keyed behind it, and the operator is told. Once the handler is gone (a stop,
// the shutdown) its end is expected.
void programEnded() {
    if (!noticeConnection()) return;
    RestoreMmttyWndProc();
    if (g.MmttyTxOn == 1) MmttyWndProc(mmtty::NtfTxState, 0);
    mm.MmttyPid = 0;
    mm.MmttyHwnd = 0;
    g.StatusMessage = QStringLiteral("MMTTYが終了しました");
    ShowTimedMessage(g.StatusMessage, 3000);
}

} // namespace

void StartMmtty() {
    PSK31MAIN& w = forms::PSK31MAIN();
    prepareWindow(w);
    ReadMmttySettings();
    g.MainHwnd = MainWindowHandle;
    try {
        initScope();
        startProgram();
        sendSettings(w);
    } catch (const StartFailed& f) {
        failedStart(w, f.label);
        return;
    }
    w.setWindowTitle(kRttyCaption);
    g.OpMode = ModeRtty;
    setLogMode(g.LogModeTextRtty);
}

void StopMmtty() {
    PSK31MAIN& w = forms::PSK31MAIN();
    RestoreMmttyWndProc();
    mm.MmttyExitCode = MmttyProgram().close(MmttyCloseWaitMsecs);
    mm.MmttyPid = 0;
    mm.MmttyHwnd = 0;
    g.MmttyTxOn = 0;
    w.Picture2->clear();
    w.Picture9->clear();
    setLogMode(g.LogModeTextPsk);
    w.setWindowTitle(kPskCaption);
    ApplyPskLayout(w, PskLayoutAfter::Stop);
    RestoreImeState(w);
    if (g.OpMode < ModeSstv) armPskStart(w);
}

bool InstallMmttyWndProc() {
    if (noticeConnection()) return false;
    mmtty::MmttyLink& link = MmttyProgram();
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

} // namespace core
