#include "startup/Startup.h"

#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/MessageLine.h"
#include "core/StartupFiles.h"
#include "core/Version.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "core/ini/SettingRanges.h"
#include "log/LogGlobals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/waits/Waits.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"
#include "rig/RigSettings.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvRoutines.h"
#include "startup/AboutZORVATEK.h"
#include "startup/STUPZORVATEK.h"
#include "startup/StartupSettings.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

namespace startup {
namespace {

void setFirstValues() {
    core::g.MmttyCwOn = 0;
    core::g.StatusMessage.clear();
}

void showSplash() {
    STUPZORVATEK& splash = forms::STUPZORVATEK();
    splash.Label2->setText(core::DllVersionText(pskcore::lib().fnGetDLLVersion()));
    splash.Label6->setText(core::ProgramVersionText());
    splash.Label9->setText(core::HamlogVersionText(static_cast<unsigned>(hamlog::GetThdllVersion())));
    splash.Label11->setText(core::ScopeLibraryVersionText(false));
    splash.Label16->setText(sstv::SstvEngineString(sstveng::lib().mmsGetVersion()));
    splash.show();
    forms::letEventsRun();
}

int screenHeightPx() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

void loadMainWindow() {
    PSK31MAIN& main = forms::PSK31MAIN();
    // Recording belongs to the PSK engine: the items follow the engine running
    // after the load, which falls back to BPSK when the saved one cannot start.
    const bool psk = core::g.OpMode == core::ModeBpsk || core::g.OpMode == core::ModeQpskUsb ||
                     core::g.OpMode == core::ModeQpskLsb;
    for (QAction* a : {main.RecPsk, main.PlayPsk, main.RecStop})
        a->setEnabled(psk);
    forms::MACRO_FORM();
}

void showMainWindow() {
    forms::unload<STUPZORVATEK>();
    forms::PSK31MAIN().show();
}

// Returns false when a first run stopped the sequence (the settings sheet is open).
bool openWindowsOfLastMode() {
    core::g.LastModeText = core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("LastMode"))
                               .value_or(QStringLiteral("PSK31"));
    forms::AboutZORVATEK();
    if (core::g.LastModeText == QLatin1String("PSK31")) {
        core::g.OpMode = core::ModeBpsk;
        LoadGeneralSettings();
        SetupQslOptions();
        loadMainWindow();
        clipboard::empty();
        if (core::g.FirstRunSetup == 1) return false;
        showMainWindow();
    } else if (core::g.LastModeText == QLatin1String("MMVARI") ||
               core::g.LastModeText == QLatin1String("RTTY")) {
        const bool rtty = core::g.LastModeText == QLatin1String("RTTY");
        core::g.OpMode = rtty ? core::ModeRtty : core::ModeMmvari;
        LoadGeneralSettings();
        core::SetLogModeOnAir();
        SetupQslOptions();
        loadMainWindow();
        clipboard::empty();
        // A first run leaves the settings sheet open whatever the mode.
        if (core::g.FirstRunSetup == 1) return false;
        showMainWindow();
    } else {
        core::g.OpMode = core::ModeSstv;
        LoadGeneralSettings();
        core::SetLogModeOnAir();
        SetupQslOptions();
        forms::SSTVForm();
        clipboard::empty();
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

// The settings file is read once for all the loads and written at most once,
// before the window shows, whatever the loads store (the column layout and
// the corrections of stored numbers among them).
bool readSettingsAndOpenWindows() {
    core::IniBatch settings;
    core::BringStoredNumbersIntoRange();
    ReadLoggingLink();
    if (logbook::g.HamlogLink == 1) checkLibraryLink();
    rig::ReadRigSettings();
    return openWindowsOfLastMode();
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
    ui::msgBox(QStringLiteral("PSKCore.DLL Ver") + core::DllVersionText(version) +
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
        core::g.ProgramEndRequested = true;
        return;
    }
    core::g.ScreenMetric = screenHeightPx();
    core::WriteShortcutFiles();
    if (!readSettingsAndOpenWindows()) return;
    forms::letEventsRun();
    ReadSpotSettings();
    startWindowLink();
    if (!core::g.StatusMessage.isEmpty()) core::ShowTimedMessage(core::g.StatusMessage, 5000);
}

} // namespace startup
