// The main window's load: settings, place, macros, RST list, then the
// engine of the saved mode (or, on a first run, the settings sheet).
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/os/Paths.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "terminal/engines/MmttyLayout.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/RxPicking.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

const QString kTimedTxNotice = QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。");

} // namespace

void PSK31MAIN::Form_Load() {
    bool firstRun = false;
    loadControlsAndState();
    placeWindowAtStart();
    core::g.EngineMsgHold = 1;
    QDir::setCurrent(paths::programFolder());
    loadSettings(&firstRun);
    loadScalesAndRtty();
    applyColumnAtStart();
    fillRstList();
    if (firstRun) {
        runFirstRun();
        return;
    }
    applyLogLink();
    core::g.MmttyCwOn = 0;
    startEngine();
    logwindows::RefreshChosenLogViewer();
    if (rig::g.RigPortName != QLatin1String("NONE")) rig::RigOpenPort();
}

void PSK31MAIN::loadControlsAndState() {
    core::Globals& g = core::g;
    PMS->menuAction()->setVisible(false);
    MLTSET->menuAction()->setVisible(false);
    QVariant levelData;
    if (MMVARI->get(mmvari::IdLevelData, levelData)) g.MmvariLevelData = levelData.toInt();
    setWindowTitle(QStringLiteral("ZORVATEK (With PSKCore.DLL by QQ9CC)"));
    g.HamlogEntrySent = 0;
    g.HisCall.clear();
    g.HisCallBase.clear();
    g.HisCallSuffix.clear();
    g.DefaultCwId.clear();
    terminal::receive::g = {};
    colour::setForeColor(Label40, 0xC0FFFF);
    SSTab1->setCurrentIndex(0);
    Slider2_Change(); // thresholds of the design level, before the stored one
    Text3->setText(kTimedTxNotice);
    g.FftFirstBin = 51;
    g.FftLastBin = 768;
    g.DrawBinStep1 = 4;
    g.DrawBinStep2 = 4;
    g.WfMagnify = 1;
    // Japanese input may be switched on, as the PSK layout shows it after any
    // mode change: the start shows the same.
    g.ImeState = 2;
    terminal::engines::RestoreImeState(*this);
    g.LayoutReady = 0;
    colour::setBackColor(Command15, 187159);
    g.RecTimeLen = 1;
    g.ChannelDisplay = 1;
    ScanThreshold = 10;
    g.RecAppend = g.MacrosFromFile = g.OtherAppRunning = rig::g.RigQsyRequest = 0;
    g.FirstRunSetup = g.RepeatArmed = g.ImdChannel = g.MacroTxOffPending = g.WfDrawState = 0;
    Suspended = 0;
    Picture4->setBackColor(colour::fromRef(0xFFFFEC));
    Label8->setText(QStringLiteral(" Ch1"));
    const bool transverter = rig::g.TransverterUse == QLatin1String("YES");
    LINE_TRV->setVisible(transverter);
    TRVon->setVisible(transverter);
    TRVon->setChecked(rig::g.TransverterOn == QLatin1String("1"));
    g.MacroRxPskMode = g.Ch2PskMode = g.Ch3PskMode = 0;
    for (int i = 0; i < 6; ++i)
        PSKMODE[i]->setChecked(i == 0);
    g.Transmitting = g.AfcOn = g.NetOn = g.RepeatTxOn = g.BusyCount = g.ShortcutRegistering = 0;
    dxinfo->setEnabled(rig::g.InternetAlwaysOn != QLatin1String("NO"));
}
