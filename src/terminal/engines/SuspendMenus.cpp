#include "terminal/engines/SuspendMenus.h"

#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/os/Paths.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/EngineResume.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>

namespace terminal::engines {
namespace {

using core::g;
const QString kCfg = QStringLiteral("PSKCFG");

// Recording, play-back or a transmission keep the sound card: nothing is lent.
bool soundCardBusy() {
    if (g.RecPlayState == 1) {
        ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
        return true;
    }
    return AnyEngineTransmits();
}

void saveFrequencies(PSK31MAIN& w) {
    core::PutIniText(kCfg, "RX1Freq", w.Text4->text());
    core::PutIniText(kCfg, "TX1Freq", w.Text8->text());
    if (g.ChannelDisplay != 3) return;
    // The form of a number with its empty sign position.
    core::PutIniText(kCfg, "RX2Freq", QLatin1Char(' ') + QString::number(g.Ch2RxFreq));
    core::PutIniText(kCfg, "RX3Freq", QLatin1Char(' ') + QString::number(g.Ch3RxFreq));
}

void minimiseMultiChannel() {
    if (g.ChannelDisplay != 3 || !forms::isLoaded<::multi_ch>()) return;
    ::multi_ch& m = forms::multi_ch();
    if (!m.isMinimized()) m.showMinimized();
}

void releasePort() {
    rig::RigLendPort();
}

void reopenPort() {
    if (rig::g.RigPortName != QLatin1String("NONE")) rig::RigOpenPort();
}

// The folder of a program path (everything before its last separator), or
// nothing for a path without one.
std::optional<QString> folderOf(const QString& stored) {
    const qsizetype slash =
        std::max(stored.lastIndexOf(QLatin1Char('\\')), stored.lastIndexOf(QLatin1Char('/')));
    if (slash < 0) return std::nullopt;
    return paths::fromStored(stored.left(slash));
}

void recoverFromFailedStart(PSK31MAIN& w) {
    g.OtherAppRunning = 0;
    if (w.isMinimized()) {
        w.Suspended = 0;
        w.showNormal();
        if (g.ChannelDisplay == 3 && forms::isLoaded<::multi_ch>()) forms::multi_ch().showNormal();
    }
    ResumeEngine();
    w.Suspended = 0;
    ui::msgBox(QStringLiteral("OPEN出来ませんでした"), ui::OkOnly);
    reopenPort();
}

} // namespace

void ZORVAT_SUSP_Click() {
    if (soundCardBusy()) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    if (!w.isMinimized()) {
        saveFrequencies(w);
        w.Suspended = 1;
        w.showMinimized();
    }
    minimiseMultiChannel();
    // A program that does not take the suspend within the limit keeps the
    // engine running; the window stays down, quietly.
    if (!SuspendEngine()) {
        ResumeEngine();
        w.Suspended = 0;
        reopenPort();
        return;
    }
    releasePort();
}

void OPAPP_STRT_Click(int N) {
    if (soundCardBusy()) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    clipboard::empty();
    if (!w.isMinimized()) {
        if (!SuspendEngine()) return recoverFromFailedStart(w);
        // The RTTY program keeps its own frequencies.
        if (g.OpMode != core::ModeRtty && g.OpMode != core::ModeCw) saveFrequencies(w);
        releasePort();
        // Started before the windows go down: a window manager may still be
        // minimising them when a failed start would ask to restore them.
        const QString path = N == 1 ? g.OtherApp1Path : g.OtherApp2Path;
        const std::optional<QString> folder = folderOf(path);
        if (!folder || !QProcess::startDetached(paths::fromStored(path), {}, *folder))
            return recoverFromFailedStart(w);
        w.Suspended = 1;
        w.showMinimized();
        minimiseMultiChannel();
        g.OtherAppRunning = 1;
    }
    core::SetLogModeOnAir(N);
}

void connectSuspendMenus(PSK31MAIN& w) {
    QObject::connect(w.ZORVAT_SUSP, &QAction::triggered, &w, &ZORVAT_SUSP_Click);
    QObject::connect(w.OPAPP1_STRT, &QAction::triggered, &w, [] { OPAPP_STRT_Click(1); });
    QObject::connect(w.OPAPP2_STRT, &QAction::triggered, &w, [] { OPAPP_STRT_Click(2); });
}

} // namespace terminal::engines
