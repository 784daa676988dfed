// The end of the main window's load: scales, RTTY availability, the RST list,
// the first run, the log-link items and the engine start by mode.
#include "core/Globals.h"
#include "core/LogMode.h"
#include "core/SharedRoutines.h"
#include "core/ini/IniValues.h"
#include "core/lists/ListFiles.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Paths.h"
#include "rig/RigGlobals.h"
#include "settings/sheet/CFGSHEET.h"
#include "startup/STUPZORVATEK.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/engines/MmvariEngine.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/engines/SuspendMenus.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/MainLabels.h"
#include "terminal/mainwindow/ModeMenus.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/SplitterBar.h"
#include "terminal/panels/EnginePanels.h"
#include "terminal/panels/MmvariPanel.h"
#include "terminal/receive/GetCall.h"
#include "terminal/receive/QsoClear.h"
#include "terminal/receive/QsoEntryBoxes.h"
#include "terminal/receive/RxPicking.h"
#include "terminal/recording/RecordPlay.h"
#include "terminal/rxtext/ReceiveTextItems.h"
#include "terminal/transmit/TxWiring.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QScrollBar>

#include <cmath>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");

QString folderOf(const QString& path) {
    const int slash =
        static_cast<int>(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    return path.left(slash + 1);
}

} // namespace

void PSK31MAIN::loadScalesAndRtty() {
    core::Globals& g = core::g;
    // Without a rig port the frequency labels are blue, with one red.
    const QString& port = rig::g.RigPortName;
    const bool noRig = port == QLatin1String("NONE") || port == QLatin1String("0");
    for (QLabel* l : {Label11, Label16, Label3, Label35})
        colour::setForeColor(l, noRig ? 0xFF0000 : 0x0000FF);
    VScroll1->setValue(g.RxFreqHz);
    Text4->setText(QString::number(g.RxFreqHz));
    VScroll2->setValue(g.TxFreqHz);
    Text8->setText(QString::number(g.TxFreqHz));

    Picture3->setScale(g.FftLastBin - g.FftFirstBin, 100);
    Picture9->setScale(g.FftLastBin - g.FftFirstBin, 100);
    Picture2->setScale(1275, 1275);
    ProgressBar1->setMaximum(100);
    Picture5->setScale(717, 10);
    Picture7->setScale(717, 10);
    Picture1->setScale(16, 1000);
    HScroll1->setValue(100);
    Label24->setText(QString::number(HScroll1->value() / 8));
    Label26->setText(QString::number(std::round(1.0 / (HScroll1->value() / 8000.0) * 1000.0) / 1000.0));
    g.SpectrumScaleDiv1 = VScroll5->value();
    g.SpectrumScaleDiv2 = 2 * g.SpectrumScaleDiv1;
    g.PpmShowBoth = QStringLiteral("NO");
    const double x = g.RxFreqBin - g.FftFirstBin;
    Line5->setPoints(x, 0, x, 100);
    Line5->setVisible(true);

    g.FftComeback = core::IniStored(kCfg, QStringLiteral("FFT_COMEBACK")).value_or(QStringLiteral("50"));
    core::SetLogModeOnAir();
    logwindows::FollowModeOnNewPage(g.ModeDisplayText);
    g.QthOperation =
        core::IniStored(QStringLiteral("HamLog"), QStringLiteral("QTHOperation")).value_or("Free");
    g.TempLogFileName = QStringLiteral("\\PSK31_TMPLOG.TXT");
    if (logbook::g.HamlogLink == 1)
        forms::TEMP_LOG().setWindowTitle(QStringLiteral("PSKログ LogData=>") + paths::programFolder() +
                                         g.TempLogFileName);

    g.SearchFolder = folderOf(g.MmttyExePath);
    PSKMODE[core::ModeRtty]->setEnabled(!core::FindFileOnPath(QStringLiteral("Mmtty.exe")).isEmpty());

    const QString app = QStringLiteral("Other_App");
    g.OtherApp1Path = core::IniStored(app, QStringLiteral("Other_App1_pos")).value_or(app);
    g.OtherApp2Path = core::IniStored(app, QStringLiteral("Other_App2_pos")).value_or(app);
    OPAPP1_STRT->setVisible(g.OtherApp1Path != app);
    OPAPP2_STRT->setVisible(g.OtherApp2Path != app);
    g.OtherApp1Name =
        core::IniStored(app, QStringLiteral("Other_App1_Name")).value_or(QStringLiteral("OTHER"));
    g.OtherApp2Name =
        core::IniStored(app, QStringLiteral("Other_App2_Name")).value_or(QStringLiteral("OTHER"));
    OPAPP1_STRT->setText(g.OtherApp1Name);
    OPAPP2_STRT->setText(g.OtherApp2Name);
    ScanThreshold = core::IniWholeOr(kCfg, QStringLiteral("ScanLevel"), 15);
    g.ScanLevelText = SSTab1->tabText(SSTab1->currentIndex());
    MACRO_FORM& store = forms::MACRO_FORM();
    for (int i = 1; i <= 5; ++i) {
        g.CwIdList[i] =
            core::IniStored(QStringLiteral("PG_CWID"), QStringLiteral("CWID%1").arg(i)).value_or(QString());
        store.Text3[i - 1]->setText(g.CwIdList[i]);
    }
}

void PSK31MAIN::fillRstList() {
    core::g.SearchFolder = paths::programFolder();
    List4->clear();
    const QString found = core::FindFileOnPath(QStringLiteral("RSTmenu.DAT"));
    if (found.isEmpty()) {
        QFile f(paths::join(paths::programFolder(), QStringLiteral("RSTmenu.DAT")));
        if (f.open(QIODevice::WriteOnly)) f.write("599\r\n");
        List4->addItem(QStringLiteral("599"));
        return;
    }
    QByteArray bytes;
    if (core::ReadListFileBytes(found, bytes) != core::ListFileRead::Read) return;
    List4->addItems(core::RstMenuEntries(bytes));
}

void PSK31MAIN::runFirstRun() {
    Timer2->stop();
    ui::msgBox(QStringLiteral("ようこそ、ZORVATEK へ、環境の設定をお願いします"), ui::OkOnly);
    core::g.FirstRunSetup = 1;
    hide();
    forms::unload<STUPZORVATEK>();
    forms::CFGSHEET().show();
}

// The controls of a start in BPSK; the PSK library starts on the next tick.
void PSK31MAIN::showPskStart() {
    StatusBar1->setText(2, QStringLiteral("BPSK"));
    for (int i = 0; i < 5; ++i)
        PSKMODE[i]->setChecked(i == 0);
    PSKMODE[core::ModeCw]->setEnabled(false);
    Command3->setEnabled(true);
    Line5->setVisible(true);
    Line16->setVisible(false);
    Line17->setVisible(false);
    core::SetLogModeOnAir();
    Label15->setText(QStringLiteral("No Data"));
}

void PSK31MAIN::finishFirstRun() {
    // The engine of the last mode starts as after any start, with its own
    // controls, and the log items follow the link now set.
    applyLogLink();
    core::g.MmttyCwOn = 0;
    startEngine();
    show();
}

void PSK31MAIN::PSKCFG_Click() {
    if (core::g.RecPlayState == 1) {
        ui::msgBox(QStringLiteral("録音再生モード中は変更できません"), ui::OkOnly);
        return;
    }
    CFGSHEET::openFrom(this, true);
}

void PSK31MAIN::applyLogLink() {
    const int link = logbook::g.HamlogLink;
    const QList<QAction*> logItems = {INSAISATU, CALLSR,   QTHPST->menuAction(), PSTREM1, PSTREM2,
                                      PSTTOREM1, PSTTOREM2};
    if (link == 1) {
        logbook::g.HamlogDataPath = logbook::g.HamlogPath.left(logbook::g.HamlogPath.size() - 4);
        INSAISATU->setEnabled(true);
        Label47->setToolTip(QString());
        return;
    }
    for (QAction* a : logItems)
        a->setEnabled(false);
    Command5->setEnabled(link == 2);
    if (link == 2) {
        Label47->setToolTip(QStringLiteral("ここをクリックするとHamlogからQTHデータを貰えます"));
        forms::unload<TEMP_LOG>();
    } else {
        Label47->setToolTip(QString());
    }
}

void PSK31MAIN::startEngine() {
    core::Globals& g = core::g;
    switch (g.OpMode) {
    case core::ModeBpsk:
    case core::ModeQpskUsb:
    case core::ModeQpskLsb:
        showPskStart();
        Timer2->setInterval(10);
        Timer2->start();
        break;
    case core::ModeRtty:
    case core::ModeCw:
        StatusBar1->setText(2, QStringLiteral("RTTY"));
        for (int i = 0; i < 5; ++i)
            PSKMODE[i]->setChecked(i == core::ModeRtty);
        PSKMODE[core::ModeCw]->setEnabled(true);
        for (LineShape* l : {Line5, Line11, Line12})
            l->setVisible(false);
        Command3->setEnabled(false);
        colour::setBackColor(Command15, 0x02DB17);
        colour::setBackColor(Command16, 0xC0C0C0);
        colour::setBackColor(Command17, 0xC0C0C0);
        for (QPushButton* b : {Command15, Command16, Command17})
            b->setEnabled(false);
        Label15->clear();
        terminal::engines::StartMmtty();
        // A failed start has put BPSK in place; its markers stay hidden.
        if (g.OpMode != core::ModeRtty) break;
        Line16->setVisible(true);
        Line17->setVisible(true);
        break;
    case core::ModeMmvari:
        for (int i = 0; i < 5; ++i)
            PSKMODE[i]->setChecked(false);
        PSKMODE[core::ModeCw]->setEnabled(false);
        terminal::engines::StartMmvari(
            core::IniWholeOr(QStringLiteral("MMVCFG"), QStringLiteral("LastMode"), 14));
        break;
    default:
        break;
    }
}

void PSK31MAIN::Timer2_Timer() {
    // Stopped first: a message box inside the start lets timer ticks run.
    Timer2->stop();
    core::g.MainHwnd = terminal::engines::MainWindowHandle;
    terminal::engines::InstallPskCoreWndProc();
    terminal::engines::StartPskCore();
    core::g.EngineMsgHold = 0;
}

void PSK31MAIN::connectHandlers() {
    connect(Timer2, &QTimer::timeout, this, &PSK31MAIN::Timer2_Timer);
    connectTuning();
    connect(Image1, &SplitterBar::mouseDown, this, &PSK31MAIN::Image1_MouseDown);
    connect(Image1, &SplitterBar::mouseMove, this, &PSK31MAIN::Image1_MouseMove);
    connect(Image1, &SplitterBar::mouseUp, this, &PSK31MAIN::Image1_MouseUp);
    connect(pEnd, &QAction::triggered, this, &PSK31MAIN::pEnd_Click);
    terminal::macros::connectMacroButtons(*this);
    terminal::macros::connectRepeat(*this);
    terminal::transmit::connectTransmit(*this);
    terminal::receive::connectRxPicking(*this);
    terminal::rxtext::connectReceiveTextItems(*this);
    terminal::recording::connectRecording(*this);
    terminal::receive::connectClearButton(*this);
    terminal::receive::connectGetCall(*this);
    terminal::receive::connectQsoEntryBoxes(*this);
    terminal::mainwindow::connectMainLabels(*this);
    terminal::panels::connectEnginePanels(*this);
    terminal::panels::connectMmvariPanel(*this);
    terminal::mainwindow::connectModeMenus(*this);
    terminal::engines::connectSuspendMenus(*this);
    connectLogHandlers();
    connectKeys();
}
