#include "startup/Startup.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MessageLine.h"
#include "core/StartupFiles.h"
#include "core/Version.h"
#include "log/LogGlobals.h"
#include "platform/Dialogs.h"
#include "platform/Hamlog.h"
#include "platform/Paths.h"
#include "platform/PskCore.h"
#include "rig/RigSettings.h"
#include "sstv/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "startup/STUPZORVATEK.h"
#include "startup/StartupSettings.h"
#include "terminal/MACRO_FORM.h"
#include "terminal/PSK31MAIN.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

namespace core {
namespace {

void setFirstValues() {
    g.MmttyCwOn = 0;
    g.StatusMessage.clear();
}

void showSplash() {
    STUPZORVATEK& splash = forms::STUPZORVATEK();
    splash.Label2->setText(DllVersionText(pskcore::lib().fnGetDLLVersion()));
    splash.Label6->setText(ProgramVersionText());
    splash.Label9->setText(HamlogVersionText(static_cast<unsigned>(hamlog::GetThdllVersion())));
    splash.Label11->setText(ScopeLibraryVersionText(false));
    splash.show();
    QCoreApplication::processEvents();
}

int screenHeightPx() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

void loadMainWindow(bool recordingItems) {
    PSK31MAIN& main = forms::PSK31MAIN();
    for (QAction* a : {main.RecPsk, main.PlayPsk, main.RecStop})
        a->setEnabled(recordingItems);
    forms::MACRO_FORM();
}

void showMainWindow() {
    forms::unload<STUPZORVATEK>();
    forms::PSK31MAIN().show();
}

// Returns false when a first run stopped the sequence (the settings sheet is open).
bool openWindowsOfLastMode() {
    g.LastModeText =
        IniStored(QStringLiteral("PSKCFG"), QStringLiteral("LastMode")).value_or(QStringLiteral("PSK31"));
    forms::AboutZORVATEK();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (g.LastModeText == QLatin1String("PSK31")) {
        g.OpMode = ModeBpsk;
        LoadGeneralSettings();
        SetupQslOptions();
        loadMainWindow(true);
        clipboard->clear();
        if (g.FirstRunSetup == 1) return false;
        showMainWindow();
    } else if (g.LastModeText == QLatin1String("MMVARI") || g.LastModeText == QLatin1String("RTTY")) {
        const bool rtty = g.LastModeText == QLatin1String("RTTY");
        g.OpMode = rtty ? ModeRtty : ModeMmvari;
        LoadGeneralSettings();
        g.ModeDisplayText = rtty ? g.LogModeTextRtty : g.LogModeTextPsk;
        SetupQslOptions();
        loadMainWindow(false);
        clipboard->clear();
        // A first run leaves the settings sheet open whatever the mode.
        if (g.FirstRunSetup == 1) return false;
        showMainWindow();
    } else {
        g.OpMode = ModeSstv;
        LoadGeneralSettings();
        g.ModeDisplayText = g.LogModeTextSstv;
        SetupQslOptions();
        forms::SSTVForm();
        clipboard->clear();
        forms::unload<STUPZORVATEK>();
        forms::SSTVForm().show();
    }
    return true;
}

void checkLibraryLink() {
    CheckLoggingLibraryVersion(static_cast<unsigned>(hamlog::GetThdllVersion()));
    hamlog::HamlogHandle handle;
    const int result = hamlog::HamlogOpen(0, handle, logbook::g.HamlogDataPath, 0);
    if (result == 0) hamlog::HamlogClose(handle, 0);
    TakeLoggingTestOpenResult(result);
}

void startWindowLink() {
    logbook::Globals& lg = logbook::g;
    const QString upper = lg.HamlogPath.toUpper();
    const bool named =
        upper.contains(QLatin1String("\\HAMLOGW.EXE")) || upper.contains(QLatin1String("/HAMLOGW.EXE"));
    if (!named || lg.HamlogLink != 2) return;
    qint64 pid = 0;
    const bool started = QProcess::startDetached(paths::fromStored(lg.HamlogPath),
                                                 {QStringLiteral("-iforZORVAT")}, QString(), &pid);
    lg.HamlogStartResult = started ? 1 : 0;
    lg.HamlogProcessId = started ? pid : 0;
}

} // namespace

bool PskCoreVersionAccepted(int version) {
    if (version >= 114) return true;
    ui::msgBox(QStringLiteral("PSKCore.DLL Ver") + DllVersionText(version) +
                   QStringLiteral("は版数が古いです。版数アップをお願いします。\r\n"
                                  "最新版はZORVATEK x.xx(Basic or Full)で同梱されております。"),
               ui::OkOnly);
    return false;
}

void StartUp() {
    setFirstValues();
    showSplash();
    if (!PskCoreVersionAccepted(pskcore::lib().fnGetDLLVersion())) {
        forms::unload<STUPZORVATEK>();
        g.ProgramEndRequested = true;
        return;
    }
    g.ScreenMetric = screenHeightPx();
    WriteShortcutFiles();
    ReadLoggingLink();
    if (logbook::g.HamlogLink == 1) checkLibraryLink();
    rig::ReadRigSettings();
    if (!openWindowsOfLastMode()) return;
    QCoreApplication::processEvents();
    ReadSpotSettings();
    startWindowLink();
    if (!g.StatusMessage.isEmpty()) ShowTimedMessage(g.StatusMessage, 5000);
}

} // namespace core
