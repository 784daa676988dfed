// The sheet's load: every control filled from the configuration and the
// shared variables in a fixed order, through the controls' own handlers.
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFrame.h"
#include "rig/RigGlobals.h"
#include "rig/RigSettings.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "settings/sheet/SheetRules.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <cmath>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");
const QString kRig = QStringLiteral("RIG_CON_CFG");
const QString kHamLog = QStringLiteral("HamLog");
const QString kEqsl = QStringLiteral("E-QSL");

std::optional<QString> stored(const QString& section, const char* key) {
    return core::IniStored(section, QString::fromLatin1(key));
}

// A number of [PSKCFG] in its control's range, or nothing.
std::optional<QString> number(const char* key) {
    return settings::SheetNumber(kCfg, QString::fromLatin1(key));
}

int whole(const QString& text) {
    return core::WholeNumber(text).value_or(0);
}

bool upperHas(const QString& text, const char* part) {
    return text.toUpper().contains(QLatin1String(part));
}

using settings::ConfiguredTip;
using settings::NotConfiguredTip;

} // namespace

void CFGSHEET::Form_Load() {
    loading_ = true;
    try {
        core::IniBatch together;
        loadSteps();
    } catch (...) {
        // A failed load must not leave the rig and engine handlers quiet for good.
        core::g.CfgSheetLoading = 0;
        ui::msgBox(QStringLiteral("ZORVATEK-CFG ERROR"), ui::OkOnly);
    }
    loading_ = false;
}

void CFGSHEET::loadSteps() {
    core::Globals& g = core::g;
    SSTab1->setCurrentIndex(g.OpMode == core::ModeSstv ? 2 : g.LastCfgTab);
    settings::SelectOption(Option3, settings::SoundCardIndex(g.SoundCardNumber));
    // Without the main window (SSTV) nothing has read the centre in use: the
    // stored one is shown, and written back as it was.
    if (!settings::LoadedMain())
        g.AudioCenterFreq = core::WholeNumber(stored(kCfg, "Audio_Center_Freq").value_or(QString()))
                                .value_or(g.AudioCenterFreq);
    Slider4->setValue(g.AudioCenterFreq);
    Label2->setText(QString::number(g.AudioCenterFreq));
    Text2->setText(g.LogModeTextPsk);
    Text6->setText(g.LogModeTextRtty);
    Text7->setText(g.LogModeTextApp1);
    Text8->setText(g.LogModeTextApp2);
    Text15->setText(g.LogModeTextSstv);
    Text4->setText(logbook::g.QslMark);
    Text9->setText(logbook::g.EqslMark);

    g.FftComeback = number("FFT_COMEBACK").value_or(QStringLiteral("50"));
    VScroll1->setValue(whole(g.FftComeback));
    Label27->setText(QString::number(std::nearbyint(VScroll1->value() * 2.54) / 10.0, 'f', 1));

    // The place, in twips, kept on the screen.
    const std::optional<int> top = core::IniWhole(QStringLiteral("CFGPOS"), QStringLiteral("CFGPOSTop"));
    const std::optional<int> left = core::IniWhole(QStringLiteral("CFGPOS"), QStringLiteral("CFGPOSLeft"));
    winframe::placeOnScreen(this, top ? left.value_or(0) : 0, top.value_or(0));

    if (const std::optional<QString> save = number("NENNOTAME")) {
        g.AutoSaveRxOnExit = *save;
        Check2->setChecked(*save == QLatin1String("1"));
    }
    g.HisRstPresetOn = settings::OneZero(number("RST599") == QStringLiteral("1"));
    Check3->setChecked(g.HisRstPresetOn == QLatin1String("1"));

    const bool configuredSystem = stored(kCfg, "COMCONT").has_value();
    g.PttPortNumber = number("COMPORT").value_or(QStringLiteral("0"));
    g.PttPortControl = number("COMCONT").value_or(QStringLiteral("0"));
    const std::optional<QString> call = stored(kCfg, "USERCALL");
    if (call) g.UserCall = *call;
    loadSoundSteps();
    Text1->setText(call ? g.UserCall : QStringLiteral("No Call"));
    loadLogSteps();
    loadRigSteps();
    loadEndSteps(configuredSystem, call.has_value());
}

void CFGSHEET::loadSoundSteps() {
    core::Globals& g = core::g;
    g.FftSmoothing = number("FFT_SMOOTHING").value_or(QStringLiteral("2"));
    VScroll4->setValue(whole(g.FftSmoothing));
    Label8->setText(g.FftSmoothing + QStringLiteral("/10"));

    g.RxSearchRange = number("RX_SearchRange").value_or(QStringLiteral("10"));
    VScroll6->setValue(whole(g.RxSearchRange));
    Label11->setText(g.RxSearchRange);

    // Each key stands on its own: a file that holds only the mode (as earlier
    // runs wrote it) keeps the mode the operator chose.
    g.FftMode = number("FFT_Mode").value_or(QStringLiteral("40"));
    g.FftRoot = number("FFTRoot").value_or(QStringLiteral("0"));
    Check1->setChecked(g.FftRoot == QLatin1String("1"));
    if (Check1->isChecked()) {
        VScroll5->setEnabled(false);
        Label10->clear();
    } else {
        VScroll5->setEnabled(true);
        const settings::FftPosition p = settings::FftFromMode(g.FftMode);
        g.FftMode = p.mode;
        Label10->setText(p.label);
        VScroll5->setValue(p.scroll);
    }

    g.AfcLimit = number("AFC_LIMIT").value_or(QStringLiteral("100"));
    g.SatelliteModeText = stored(kCfg, "SateliteMode").value_or(QStringLiteral("False"));
    const bool satellite = core::SatelliteModeOn(g.SatelliteModeText);
    Label5->setText(satellite ? QStringLiteral("3000") : g.AfcLimit);
    Slider2->setEnabled(!satellite);
    Slider2->setValue(whole(g.AfcLimit));

    g.SquelchSpeed = number("SQ_SPEED").value_or(QStringLiteral("10"));
    g.SquelchLevel = number("SQ_LEVEL").value_or(QStringLiteral("10"));
    g.ClockAdjRxPpm = number("SC_CLKADJRX").value_or(QStringLiteral("0"));
    g.ClockAdjTxPpm = number("SC_CLKADJTX").value_or(QStringLiteral("0"));
    HScroll1->setValue(whole(g.ClockAdjRxPpm));
    HScroll2->setValue(whole(g.ClockAdjTxPpm));
    Label1->setText(g.SquelchSpeed);
    Text13->setText(QString::number(HScroll1->value()));
    Text14->setText(QString::number(HScroll2->value()));
    Slider1->setValue(whole(g.SquelchSpeed));
    Slider4->setValue(g.AudioCenterFreq);
    Label2->setText(QString::number(g.AudioCenterFreq));

    g.CwIdSpeed = number("CWID_SPEED").value_or(QStringLiteral("2"));
    settings::SelectOption(Option6, settings::CwIdSpeedIndex(g.CwIdSpeed));
}

void CFGSHEET::loadLogSteps() {
    logbook::Globals& l = logbook::g;
    hamlogType_ = stored(kHamLog, "HAMLOGtype").value_or(kHamLog);
    if (hamlogType_ == QLatin1String("1")) {
        l.HamlogPath = stored(kHamLog, "HAMLOGPOS").value_or(kHamLog);
        if (upperHas(l.HamlogPath, "HDB")) {
            l.HamlogDataPath = l.HamlogPath.left(l.HamlogPath.size() - 4);
            settings::MarkButton(Command6, settings::kLightGreen,
                                 ConfiguredTip(QStringLiteral("Hamlog-data"), l.HamlogPath));
            settings::SelectOption(Option8, 1);
            l.HamlogLink = 1;
            Command6->setEnabled(true);
            Frame7->setEnabled(true);
        } else {
            settings::MarkButton(Command6, colour::kButtonFace,
                                 NotConfiguredTip(QStringLiteral("Hamlog-data")));
        }
    } else if (hamlogType_ == QLatin1String("2")) {
        l.HamlogPath = stored(kHamLog, "HAMLOGexePOS").value_or(kHamLog);
        if (upperHas(l.HamlogPath, "HAMLOGW.EXE")) {
            settings::MarkButton(Command6, settings::kLightOrange,
                                 ConfiguredTip(QStringLiteral("Hamlog"), l.HamlogPath));
            settings::SelectOption(Option8, 0);
            l.HamlogLink = 2;
            Command6->setEnabled(true);
            Frame7->setEnabled(false);
            forms::unload<TEMP_LOG>();
        } else {
            settings::MarkButton(Command6, colour::kButtonFace, NotConfiguredTip(QStringLiteral("Hamlog")));
        }
    } else {
        // The option's own handler runs first: it makes the button usable,
        // which a stored "no log" must not leave it.
        settings::SelectOption(Option8, 2);
        settings::MarkButton(Command6, colour::kButtonFace, NotConfiguredTip(QStringLiteral("Log-DataBase")));
        l.HamlogLink = 0;
        Command6->setEnabled(false);
        Frame7->setEnabled(true);
    }

    const QString qslProgram = QStringLiteral("QSL印刷ｿﾌﾄ");
    if (upperHas(l.QslPrintProgPath, "HLQSLN.EXE")) {
        settings::MarkButton(Command7, settings::kLightGreen, ConfiguredTip(qslProgram, l.QslPrintProgPath));
        Command18->setEnabled(false);
    } else if (upperHas(l.QslPrintProgPath, "MMQSL.EXE")) {
        settings::MarkButton(Command7, settings::kLightGreen, ConfiguredTip(qslProgram, l.QslPrintProgPath));
        Command18->setEnabled(true);
        const QString mql = QStringLiteral("QSL定義ﾌｧｲﾙ");
        if (upperHas(l.MmqslSetting, ".MQL"))
            settings::MarkButton(Command18, settings::kLightGreen, ConfiguredTip(mql, l.MmqslSetting));
        else
            settings::MarkButton(Command18, colour::kButtonFace, NotConfiguredTip(mql));
    } else {
        settings::MarkButton(Command7, colour::kButtonFace, NotConfiguredTip(qslProgram));
        Command18->setEnabled(false);
    }

    l.HamlogJcaPath = stored(kHamLog, "HLJCA").value_or(kHamLog);
    if (upperHas(l.HamlogJcaPath, "HLJCA"))
        settings::MarkButton(Command9, settings::kLightGreen,
                             ConfiguredTip(QStringLiteral("HLJCA.EXE"), l.HamlogJcaPath));
    else
        settings::MarkButton(Command9, colour::kButtonFace, NotConfiguredTip(QStringLiteral("HLJCA.EXE")));

    l.HamlogConfirmText = stored(kHamLog, "HLYN").value_or(kHamLog);
    Check4->setChecked(l.HamlogConfirmText == QLatin1String("YES"));
    Check4_Click();
    l.HamlogViewerOn = stored(kHamLog, "HLViewer").value_or(QStringLiteral("NO"));
    if (l.HamlogViewerOn == QLatin1String("YES")) Check9->setChecked(true);
    l.QslMark = stored(kHamLog, "QSL_Mark").value_or(l.QslMark);
    Text4->setText(l.QslMark);

    const QString multi = QStringLiteral("MultiDSP");
    Check5->setChecked(stored(multi, "HORZ") == QStringLiteral("YES"));
    Check6->setChecked(stored(multi, "TOPV") == QStringLiteral("YES"));
    core::Globals& g = core::g;
    g.ZenHanConv = settings::YesNo(stored(kCfg, "ZENHAN_CONV") == QStringLiteral("YES"));
    Check7->setChecked(g.ZenHanConv == QLatin1String("YES"));
    g.TrxTimeStampOn = settings::YesNo(stored(kCfg, "TRX_TimeStmp") == QStringLiteral("YES"));
    Check12->setChecked(g.TrxTimeStampOn == QLatin1String("YES"));
    g.UseQuoteMark = stored(kCfg, "UseQuot_Mark").value_or(QStringLiteral("NO"));
    g.QuoteMark = stored(kCfg, "Quot_Mark").value_or(QStringLiteral(">"));
    Check8->setChecked(g.UseQuoteMark == QLatin1String("YES"));
    Text3->setText(g.QuoteMark);
}

void CFGSHEET::loadRigSteps() {
    rig::Globals& r = rig::g;
    const QString check = stored(kRig, "VFOCHECK").value_or(QStringLiteral("NO"));
    r.RigVfoCheck = check;
    settings::SelectOption(Option9, check == QLatin1String("YES")    ? 0
                                    : check == QLatin1String("YesP") ? 1
                                                                     : 2);
    r.RigModeCheck = stored(kRig, "MODECHECK").value_or(QStringLiteral("NO"));
    Check14->setChecked(r.RigModeCheck == QLatin1String("YES"));
    r.InternetAlwaysOn = settings::YesNo(stored(kRig, "INETCHECK") == QStringLiteral("YES"));
    Check13->setChecked(r.InternetAlwaysOn == QLatin1String("YES"));
    r.TransverterUse = settings::YesNo(stored(kRig, "USE_TRV") == QStringLiteral("YES"));
    Check15->setChecked(r.TransverterUse == QLatin1String("YES"));
    // A damaged offset shows the default that is used in its place.
    r.TransverterIfText = rig::TransverterIfTextOf(stored(kRig, "TRVIFfreq").value_or(QStringLiteral("22")));
    r.TransverterIfHz = rig::TransverterIfHzOf(r.TransverterIfText);
    Text16->setText(r.TransverterIfText);

    const QString port = stored(kRig, "RIGCOMCONT").value_or(QStringLiteral("0"));
    r.RigPortName = port == QLatin1String("0") ? QStringLiteral("NONE") : port;
    const int portIndex = settings::RigPortIndex(r.RigPortName);
    if (portIndex == 0) settings::SelectOption(Option9, 2);
    if (portIndex >= 0) {
        settings::SelectOption(Option2, portIndex);
        Frame20->setEnabled(portIndex != 0);
    }
    // A device path selects its own button: the port is kept as stored and used.
    for (const QString& device : settings::RigDeviceChoices(listedSerialPorts(), r.RigPortName)) {
        offerRigDevice(device);
        if (device == r.RigPortName) RigDevice.back()->setChecked(true);
    }

    // Without a stored family the port stays the one shown chosen: the family
    // the operator then picks is opened on it and read at once.
    const std::optional<QString> type = stored(kRig, "RIG_TYPE");
    const int entry = int(Combo1->findText(type.value_or(QStringLiteral("Not Use")), Qt::MatchExactly));
    if (entry >= 0) {
        Combo1->setCurrentIndex(entry);
        Combo1_Click();
    } else {
        r.RigType = *type;
    }

    r.RigBaudRate = settings::SheetNumber(kRig, QStringLiteral("BAUD_RATE")).value_or(QStringLiteral("4800"));
    settings::SelectOption(Option4, settings::BaudIndex(r.RigBaudRate));
    r.RigStopBits = settings::SheetNumber(kRig, QStringLiteral("STOP_BIT")).value_or(QStringLiteral("1"));
    settings::SelectOption(Option5, settings::StopBitsIndex(r.RigStopBits));

    // The sheet's own default interval; a pause that is no number, or a
    // negative one, shows the interval used in its place.
    const std::optional<QString> interval = stored(kRig, "Interval");
    r.RigInterval =
        settings::RigIntervalFor(interval && core::WholeNumber(*interval) ? *interval : QString());
    Text5->setText(r.RigInterval);
    Text5_Change();

    const std::optional<QString> address = stored(kRig, "ICOM_RIGadrs");
    r.IcomAddress = address ? address->left(2) : QStringLiteral("00");
    Text11->setText(r.IcomAddress);
    Text11_Change();

    r.RigPollInterval = rig::PollIntervalOf(stored(kRig, "Poll_Time").value_or(QString()));
    HScroll3->setValue(r.RigPollInterval);
    Label41->setText(QString::number(r.RigPollInterval));
}

void CFGSHEET::loadEndSteps(bool configuredSystem, bool callStored) {
    core::Globals& g = core::g;
    logbook::Globals& l = logbook::g;
    const std::optional<QString> message = stored(kEqsl, "eQSL_Mesg");
    eqslMessage_ = message.value_or(l.EqslMessage);
    settings::MarkButton(Command14, eqslMessage_.isEmpty() ? colour::kButtonFace : settings::kLightGreen,
                         settings::EqslRemarksTip(eqslMessage_));

    l.EqslType = stored(kEqsl, "eQSL_type").value_or(kEqsl);
    if (l.EqslType == QLatin1String("1") || l.EqslType == QLatin1String("0")) {
        settings::SelectOption(Option7, l.EqslType == QLatin1String("1") ? 1 : 0);
        Command13->setEnabled(l.EqslType == QLatin1String("1"));
        l.EqslEnabled = 1;
    } else {
        Command13->setEnabled(true);
        settings::SelectOption(Option7, -1);
        l.EqslEnabled = 0;
    }
    const std::optional<QString> bank = stored(kEqsl, "ComQSOBank");
    if (bank) {
        l.ComQsoBankPath = *bank;
        settings::MarkButton(Command13, settings::kLightGreen,
                             ConfiguredTip(QStringLiteral("電子QSL送信機"), *bank));
    } else {
        settings::MarkButton(Command13, colour::kButtonFace, QStringLiteral("未設定"));
    }
    Command11->setText(g.OtherApp1Name.isEmpty() ? QStringLiteral("OTHER") : g.OtherApp1Name);
    Command12->setText(g.OtherApp2Name.isEmpty() ? QStringLiteral("OTHER") : g.OtherApp2Name);

    if (!configuredSystem) {
        // A first run: the PTT port none and the marks as designed. What a
        // file written by hand already holds (the call, the marks) is kept, and
        // the sheet takes the operator's choices from here on like any other.
        settings::SelectOption(Option1, 0);
        if (!callStored) {
            Text1->setText(QStringLiteral("NO CALL"));
            if (forms::isLoaded<PSK31MAIN>()) forms::PSK31MAIN().Label7->setText(QStringLiteral("NO CALL"));
        }
        if (!stored(kHamLog, "QSL_Mark")) Text4->setText(QStringLiteral("J"));
        if (!stored(QStringLiteral("Other_App"), "MODE_Disp1")) Text6->setText(QStringLiteral("RTTY"));
        g.CfgSheetLoading = 0;
        return;
    }
    Text1->setText(g.UserCall);
    const int ptt = whole(g.PttPortNumber);
    settings::SelectOption(Option1, ptt);
    if (ptt != 0) Option2[std::size_t(ptt)]->setEnabled(false);
    const bool rttyOrCw = g.OpMode == core::ModeRtty || g.OpMode == core::ModeCw;
    const bool sstv = g.OpMode == core::ModeSstv;
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Frame8, Frame9, Frame10, Frame12, Frame18})
        w->setEnabled(!rttyOrCw && !sstv);
    for (QWidget* w : std::initializer_list<QWidget*>{Frame5, Command8, Frame4})
        w->setEnabled(!rttyOrCw);
    Frame19->setEnabled(!sstv);
    if (sstv) Frame13->setEnabled(false);
    Text23->setText(rig::g.RigCwModeIni);
    Text22->setText(rig::g.RigRttyModeIni);
    Text21->setText(rig::g.RigPskModeIni);
    if (g.OpMode > core::ModeQpskLsb) Frame13->setEnabled(false);
    g.CfgSheetLoading = 0;
}
