// The SSTV window's load and unload: its settings, the engine and its
// bitmaps, the rig port; and the operator's close, which ends the program.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "core/lists/ListFiles.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"
#include "platform/sstvengine/SstvEngine.h"
#include "platform/sstvengine/SstvModes.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "settings/sheet/CFGSHEET.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/overlay/SSTVMACRO.h"
#include "sstv/overlay/SstvFonts.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/qso/SstvQsoRoutines.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvPlaces.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/window/SstvWindowPlace.h"
#include "sstv/workshop/SstvTitles.h"
#include "sstv/workshop/SstvTxFolder.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>

namespace {

const QString kBmpPos = QStringLiteral("BMP_POS");
const QString kGen = QStringLiteral("SSTV_Gen");
const QString kBack = QStringLiteral("BackColor");
const QString kGrad = QStringLiteral("GradColor");
const QString kRsvFile = QStringLiteral("RSVmenu.DAT");

QString withSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A folder from the settings; missing, it is made under the program folder and
// stored. One the settings cannot name is used as it stands and joins the unkept.
QString pictureFolder(const QString& key, const QString& name, QStringList& unkept) {
    if (const auto stored = core::IniStored(kBmpPos, key); stored && !stored->trimmed().isEmpty())
        return withSeparator(paths::fromStored(stored->trimmed()));
    const QString folder = withSeparator(paths::join(paths::programFolder(), name));
    QDir().mkpath(folder);
    if (!core::PutIniName(kBmpPos, key, QDir::toNativeSeparators(folder)) &&
        !core::IniUncarriedPath(folder).isEmpty())
        unkept << QDir::toNativeSeparators(folder);
    return folder;
}

std::uint32_t colourOr(const QString& section, const QString& key, std::uint32_t fallback) {
    std::uint32_t ref = 0;
    const auto stored = core::IniStored(section, key);
    return stored && colour::parseRef(stored->trimmed(), &ref) ? (ref & 0xFFFFFF) : fallback;
}

int switchOr(const QString& section, const QString& key) {
    const int v = core::IniWholeOr(section, key, 0);
    return v == 0 ? 0 : 1;
}

QStringList readRsvList() {
    const QString path = paths::join(paths::programFolder(), kRsvFile);
    QFile file(path);
    if (!file.exists()) {
        if (file.open(QIODevice::WriteOnly)) file.write("595\r\n");
        return {QStringLiteral("595")};
    }
    QByteArray bytes;
    if (core::ReadListFileBytes(path, bytes) != core::ListFileRead::Read) return {};
    return sstv::RsvEntries(bytes);
}

} // namespace

SSTVForm::~SSTVForm() = default;

void SSTVForm::Form_Load() {
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    sstv::g = {};
    sstv::LoadTitleFont();
    sstv::ClearTitleLabels();
    StatusBar1->setText(2, QStringLiteral("SSTV"));
    for (int i = 0; i < 6; ++i)
        PSKMODE[std::size_t(i)]->setChecked(i == core::ModeSstv);
    Text16->setText(core::g.UserCall);
    dxinfo->setEnabled(rig::g.InternetAlwaysOn != QLatin1String("NO"));
    TRVon->setVisible(rig::g.TransverterUse == QLatin1String("YES"));
    TRVon->setCheckable(true);
    TRVon->setChecked(rig::g.TransverterOn == QLatin1String("1"));
    List4->addItems(readRsvList());
    applyLogLink();
    ContestStateChanged();
    logwindows::PutIntoQsoBox(Text5, core::g.HisRstPresetOn == QLatin1String("1") ? QStringLiteral("595")
                                                                                  : QString());
    readSettings();
    placeWindow();
    Combo1->setCurrentIndex(sstv::g.RxMode);
    Combo2->setCurrentIndex(sstv::g.TxMode);
    SSTab1->setCurrentIndex(0);
    SSTab2->setCurrentIndex(1);
    // The position marker spans the receive half of its bar until a transmission starts.
    Line1->setPoints(0, Line1->y1(), 50, Line1->y2());
    startEngine();
    setWindowTitle(QStringLiteral("ZORVATEK SSTV-mode (With SSTV Engine by QQ9BBB Ver ") +
                   sstv::SstvEngineString(sstveng::lib().mmsGetVersion()) + QLatin1Char(')'));
    if (logbook::g.HamlogViewerOn == QLatin1String("YES") && logbook::g.HamlogLink == 1)
        logwindows::ShowLogViewer();
    if (rig::g.RigPortName != QLatin1String("NONE")) rig::RigOpenPort();
}

void SSTVForm::readSettings() {
    sstv::Globals& s = sstv::g;
    if (const auto red = core::IniWhole(kGrad, QStringLiteral("Grad_R"))) {
        s.GradRed = *red;
        s.GradGreen = core::IniWholeOr(kGrad, QStringLiteral("Grad_G"), 255);
        s.GradBlue = core::IniWholeOr(kGrad, QStringLiteral("Grad_B"), 255);
        s.GradChannel = core::IniWholeOr(kGrad, QStringLiteral("FixPos"), 2);
    }
    const auto inRange = [](int v, int lo, int hi, int fallback) {
        return v >= lo && v <= hi ? v : fallback;
    };
    s.GradRed = inRange(s.GradRed, 0, 255, 155);
    s.GradGreen = inRange(s.GradGreen, 0, 255, 255);
    s.GradBlue = inRange(s.GradBlue, 0, 255, 255);
    s.GradChannel = inRange(s.GradChannel, 0, 2, 2);
    readFolders();
    readBorderAndTitle();
}

void SSTVForm::readFolders() {
    sstv::Globals& s = sstv::g;
    sstv::ReadTxBmpFolder();
    QStringList unkept;
    s.HistoryFolder = pictureFolder(QStringLiteral("History"), QStringLiteral("History"), unkept);
    s.RcvDatFolder = pictureFolder(QStringLiteral("RcvDat"), QStringLiteral("RcvDat"), unkept);
    // Left unstored, each start finds the same folders under the program folder again.
    if (!unkept.isEmpty())
        core::TellNotRemembered(unkept, core::IniUncarriedPath(unkept.join(QString())),
                                QStringLiteral("受信画像はこのフォルダに保存します。"));
    const int stored = core::IniWholeOr(kBmpPos, QStringLiteral("HistoryNum"), 1);
    s.HistoryIndex = sstv::WrapHistoryIndex(stored) == stored ? stored : 1;
    HScroll1->blockSignals(true);
    HScroll1->setValue(s.HistoryIndex);
    HScroll1->blockSignals(false);
    Label15->setText(QString::number(s.HistoryIndex));
}

void SSTVForm::readBorderAndTitle() {
    sstv::Globals& s = sstv::g;
    s.InsetBorderColor = colourOr(kBack, QStringLiteral("PBCcode"), 0xFFFFFF);
    s.InsetBorderOn = switchOr(kBack, QStringLiteral("PBCmode"));
    if (const int option = sstv::BorderOptionFor(s.InsetBorderColor, s.InsetBorderOn); option >= 0)
        Option4[std::size_t(option)]->setChecked(true);
    s.OutlineRgb = colourOr(kBack, QStringLiteral("MBCcode"), 0xFFFFFF);
    s.OutlineOn = switchOr(kBack, QStringLiteral("MBCmode"));
    // New title lines take the stored outline until the operator picks another.
    s.OutlineChoice = sstv::OutlineIndexFor(s.OutlineRgb, s.OutlineOn);
    s.SstvAutoPaste =
        core::IniStored(kGen, QStringLiteral("AutoPaste")).value_or(QStringLiteral("0")) == QLatin1String("0")
            ? QStringLiteral("0")
            : QStringLiteral("1");
    Check5->setChecked(s.SstvAutoPaste == QLatin1String("1"));
    s.SstvTitleBarOn =
        core::IniStored(kGen, QStringLiteral("TitleBar")).value_or(QStringLiteral("0")) == QLatin1String("0")
            ? QStringLiteral("0")
            : QStringLiteral("1");
    s.SstvTitleBarText = sstv::TitleStr();
    Label4->setText(sstv::TitleBarShown(s.SstvTitleBarText));
    if (s.SstvTitleBarOn == QLatin1String("1")) titleBarShown(true);
}

void SSTVForm::placeWindow() {
    sstv::RestorePlace(this, QStringLiteral("CFGPOS"));
}

void SSTVForm::createBitmaps() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Bitmaps& d = sstv::g.dib;
    d.RxDib = e.mmsCreateDIB(sstveng::MaxWidth, sstveng::MaxHeight);
    d.RxPreviewDib = e.mmsCreateDIB(320, 256);
    d.TxDib = e.mmsCreateDIB(sstveng::MaxWidth, sstveng::MaxHeight);
    d.CanvasDib = e.mmsCreateDIB(320, 256);
    d.LastRxPictureDib = e.mmsCreateDIB(320, 256);
    d.PickedPictureDib = e.mmsCreateDIB(320, 256);
    d.HistoryDib = e.mmsCreateDIB(320, 256);
    const PictureBox* tune[] = {Picture4, Picture5, Picture6};
    for (int i = 0; i < 3; ++i)
        d.TuneDibs[std::size_t(i)] = e.mmsCreateDIB(int(tune[i]->scaleWidth()), int(tune[i]->scaleHeight()));
}

void SSTVForm::startEngine() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Bitmaps& d = sstv::g.dib;
    e.mmsCreate(SstvHwnd, sstveng::SstvMsgEngine);
    e.mmsSetSpecRange(sstv::g.SpecBaseHz, sstv::g.SpecSpanHz);
    createBitmaps();
    const sstveng::Rect whole{0, 0, 320, 256};
    e.mmsDrawDIBdc(Picture1, whole, d.RxDib, whole, 4);
    e.mmsDrawDIBdc(Picture3, whole, d.TxDib, whole, 4);
    e.mmsDrawDIBdc(Picture9, whole, d.HistoryDib, whole, 4);
    e.mmsSetSpecColor(0xFFFFEC, 0xFF66FF, 0xFF0000, 0xAE00, 0xFF);
    e.mmsSetWaterColor(0x800000, 0xF1F726);
    e.mmsSetBitmap(d.RxDib, d.RxPreviewDib, d.TxDib);
    e.mmsSetTuneBitmap(d.TuneDibs[0], d.TuneDibs[1], d.TuneDibs[2]);
    e.mmsStart();
    engineRunning_ = true;
    sstv::g.SstvFskId = sstv::SstvEngineString(e.mmsSetFSKID({}));
    // An engine without a CW ID of its own keeps the one the settings give.
    if (const QString cw = sstv::SstvEngineString(e.mmsSetCWID({})); !cw.isEmpty()) core::g.CwIdText = cw;
    e.mmsSetTxControl(-1);
    e.mmsSetTuneControl(-1);
    ShowRxControl();
    ShowTuneControl();
    e.mmsSetPTTPort(core::g.PttPortNumber.trimmed() == QLatin1String("0")
                        ? QStringLiteral("NONE")
                        : QStringLiteral("COM") + core::g.PttPortNumber.trimmed());
    e.mmsSetRadioPort(QStringLiteral("NONE"));
    for (std::int32_t dib : {d.CanvasDib, d.RxDib, d.TxDib})
        e.mmsFillDIB(dib, e.mmsGetClearColor());
    e.mmsDisableOption(99);
    e.subclass(SstvHwnd, this,
               [this](std::int32_t msg, std::int32_t w, std::int32_t l) { SstvEngineWndProc(msg, w, l); });
}

void SSTVForm::releaseBitmaps() {
    sstv::Bitmaps& d = sstv::g.dib;
    for (std::int32_t* h :
         {&d.RxDib, &d.RxPreviewDib, &d.TxDib, &d.CanvasDib, &d.TxRenderDib, &d.LastRxPictureDib,
          &d.PickedPictureDib, &d.InsetDib, &d.TuneDibs[0], &d.TuneDibs[1], &d.TuneDibs[2], &d.HistoryDib})
        sstv::ReleaseBitmap(*h);
}

// Releases what the load took, once: a second run in the same close finds nothing.
void SSTVForm::SstvEngineStop() {
    sstv::ClearTitleLabels();
    Timer6->stop();
    if (engineRunning_) {
        sstveng::SstvEngine& e = sstveng::lib();
        engineRunning_ = false;
        // Should the engine fail to stop, its notices still stop coming here.
        const auto unhook = qScopeGuard([&e] { e.unsubclass(); });
        e.mmsStop();
        e.mmsDelete();
        // A transmission cut short leaves no transmitter keyed.
        if (sstv::g.SstvTxActive == 1) {
            rig::RigPttOff();
            sstv::g.SstvTxActive = 0;
        }
    }
    releaseBitmaps();
    forms::unload<Bigviewer>();
    // The editors work on this window's canvas: they go with it, storing what
    // they hold (the macro list first, as the text editor reads it).
    forms::unload<SSTVMACRO>();
    forms::unload<mojiinput>();
    forms::unload<PiclibForm>();
}

void SSTVForm::Form_Unload() {
    SstvEngineStop();
    sstv::StorePlace(this, QStringLiteral("CFGPOS"));
    // The main window that follows opens the port again.
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
}

void SSTVForm::closeEvent(QCloseEvent* e) {
    // A close from code (the mode change unloads the window) passes straight on.
    if (!e->spontaneous()) return QWidget::closeEvent(e);
    e->ignore();
    pEnd_Click();
}

void SSTVForm::pEnd_Click() {
    // Taken while something waits, the end comes once the wait is over.
    if (!forms::mayActNow(forms::Request::End, [] {
            if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().pEnd_Click();
        }))
        return;
    // The carrier is not left on while a question waits for the operator.
    if (sstv::g.SstvTxActive == 1 || ToneOn == 1 || sstveng::lib().isTransmitting()) stopSending();
    if (!terminal::engines::MayLeave(terminal::engines::Leaving::ProgramEnd)) return;
    endRun();
}

void SSTVForm::endWithoutQuestions() {
    endRun();
}

void SSTVForm::endRun() {
    if (endRunning_) return;
    endRunning_ = true;
    if (rig::g.RigPortOpen == 1) rig::RigClosePort();
    Timer6->stop();
    SstvEngineStop();
    logwindows::EndStartedLoggingProgram();
    core::TellUnsavedSettings();
    forms::unloadInLoadOrderExcept(this);
    forms::unload<SSTVForm>();
    terminal::mainwindow::EndProcess();
}
