// The sheet's closing, from "設定完了" or the close box: the keys the controls
// leave to it, the own call on the operating window, the logging program, the
// rig port and, after a first run, the hand-over to the main window.
#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/SharedRoutines.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/os/Paths.h"
#include "platform/os/ProcessStop.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/macros/MacroCwIdCombo.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QFileInfo>
#include <QProcess>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");
const QString kHamLog = QStringLiteral("HamLog");
const QString kOther = QStringLiteral("Other_App");
const QString kRig = QStringLiteral("RIG_CON_CFG");

// How long the logging program has to end before it is killed.
constexpr int kStopWaitMs = 2000;

struct Key {
    QString section;
    core::IniKey key;
    QString value;
};

bool putAll(const QList<Key>& keys) {
    bool ok = true;
    for (const Key& k : keys)
        ok = core::PutIniText(k.section, k.key, k.value) && ok;
    return ok;
}

} // namespace

bool CFGSHEET::writeClosingKeys(bool finishItem) {
    core::Globals& g = core::g;
    logbook::Globals& l = logbook::g;
    const QString pos = QStringLiteral("CFGPOS");
    const QPoint frame = winframe::framePlace(this);
    QList<Key> keys{{pos, "CFGPOSTop", QString::number(frame.y() * 15)},
                    {pos, "CFGPOSLeft", QString::number(frame.x() * 15)},
                    {kCfg, "USERCALL", Text1->text()},
                    {kCfg, "RST599", settings::OneZero(Check3->isChecked())},
                    {kHamLog, "MODE_Disp", Text2->text()},
                    {kHamLog, "HLYN", l.HamlogConfirmText},
                    {kHamLog, "HLViewer", l.HamlogViewerOn},
                    {kHamLog, "QSL_Mark", Text4->text()}};
    if (finishItem) keys.append({QStringLiteral("E-QSL"), "eQSL_Mark", Text9->text()});
    // "設定完了" ends a first run: the PTT port is stored, so the next opening
    // shows the settings as configured.
    if (finishItem && !core::IniStored(kCfg, QStringLiteral("COMCONT")))
        keys += QList<Key>{{kCfg, "COMPORT", g.PttPortNumber}, {kCfg, "COMCONT", g.PttPortControl}};
    keys += QList<Key>{{kOther, "MODE_Disp1", Text6->text()},
                       {kOther, "MODE_Disp2", Text7->text()},
                       {kOther, "MODE_Disp3", Text8->text()},
                       {kOther, "MODE_Disp4", Text15->text()}};
    g.LogModeTextPsk = Text2->text();
    g.LogModeTextRtty = Text6->text();
    g.LogModeTextApp1 = Text7->text();
    g.LogModeTextApp2 = Text8->text();
    g.LogModeTextSstv = Text15->text();
    g.UserCall = Text1->text();
    keys += QList<Key>{{kCfg, "Audio_Center_Freq", QString::number(g.AudioCenterFreq)},
                       {kCfg, "AFC_LIMIT", g.AfcLimit},
                       {kCfg, "SQ_SPEED", g.SquelchSpeed},
                       {kCfg, "SC_CLKADJRX", g.ClockAdjRxPpm},
                       {kCfg, "SC_CLKADJTX", g.ClockAdjTxPpm},
                       {kCfg, "NENNOTAME", settings::OneZero(Check2->isChecked())},
                       {kCfg, "TRX_TimeStmp", g.TrxTimeStampOn}};
    const rig::Globals& r = rig::g;
    keys += QList<Key>{{kRig, "Interval", r.RigInterval},       {kRig, "ICOM_RIGadrs", r.IcomAddress},
                       {kRig, "VFOCHECK", r.RigVfoCheck},       {kRig, "MODECHECK", r.RigModeCheck},
                       {kRig, "INETCHECK", r.InternetAlwaysOn}, {kRig, "TRVIFfreq", r.TransverterIfText}};
    return putAll(keys);
}

void CFGSHEET::finish(bool finishItem) {
    // The IF and clock boxes may still be in the operator's hands: they are done with now.
    Text16_Change();
    clockBoxesDone();
    if (!writeClosingKeys(finishItem)) {
        // Said once; the settings still hold for this run and the sheet hands
        // over as after a good write, so a file that cannot be written never
        // keeps the operator from the main window.
        ui::msgBox(QStringLiteral("設定を保存できません。ZORVATEK.INI に書き込めません:\n") +
                       core::IniFilePath() + QStringLiteral("\n設定はこの実行の間だけ使われます。"),
                   ui::OkOnly + ui::Exclamation);
    }
    finished_ = true;
    // The log's mode names take effect now, not at the next mode change.
    core::RenameLogModeOnAir();
    logwindows::FollowModeOnNewPage(core::g.ModeDisplayText);
    core::Globals& g = core::g;
    if (g.OpMode == core::ModeSstv) {
        forms::SSTVForm().Text16->setText(g.UserCall);
    } else {
        PSK31MAIN& main = forms::PSK31MAIN();
        main.Label7->setText(g.UserCall);
        main.showOwnCwId();
        // Shown in the list as if typed there, it is the CW ID chosen and
        // stored (CWIDSTR), so that the next start lists it again.
        if (!core::OwnCwId(g.UserCall).isEmpty()) terminal::macros::Combo1_Change(g.DefaultCwId);
    }
    if (g.FirstRunSetup == 1) {
        PSK31MAIN& main = forms::PSK31MAIN();
        main.finishFirstRun();
        if (finishItem) main.Text5->setFocus();
        g.FirstRunSetup = 0;
    }
    g.LastCfgTab = SSTab1->currentIndex();
    startLoggingProgram();
    stopLoggingProgram();
    // The rig and port named now are chosen for good: a release owed to
    // another is given up here, not at any opening while the sheet was open.
    rig::RigLineNamedForGood();
    if (rigPortChosen()) rig::RigOpenPort();
}

void CFGSHEET::startLoggingProgram() {
    logbook::Globals& l = logbook::g;
    if (l.HamlogLink != 2 || l.HamlogStartResult != 0) return;
    const QString program = paths::fromStored(l.HamlogPath);
    if (QFileInfo(program).fileName().compare(QLatin1String("HAMLOGW.EXE"), Qt::CaseInsensitive) != 0) return;
    // Both closings record the program, so that a second closing starts no second copy.
    qint64 pid = 0;
    const bool started = QProcess::startDetached(program, {QStringLiteral("-iforZORVAT")}, QString(), &pid);
    l.HamlogStartResult = started ? 1 : 0;
    l.HamlogProcessId = started ? pid : 0;
}

void CFGSHEET::stopLoggingProgram() {
    logbook::Globals& l = logbook::g;
    if (l.HamlogLink == 2 || l.HamlogStartResult != 1) return;
    if (!process::stop(l.HamlogProcessId, kStopWaitMs)) {
        ui::msgBox(QStringLiteral("HAMLOGの終了に失敗しました、後で終了させて下さい。"), ui::OkOnly);
        return;
    }
    l.HamlogStartResult = 0;
    l.HamlogProcessId = 0;
}
