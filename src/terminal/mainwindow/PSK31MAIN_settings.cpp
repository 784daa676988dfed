// The settings the main window's load reads, with their defaults and the
// controls they set.
#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/QsoDoor.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/os/Paths.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/macros/MacroCwIdCombo.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include <cmath>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");

QString cfg(const char* key, const QString& fallback) {
    return core::IniStored(kCfg, QString::fromLatin1(key)).value_or(fallback);
}

// Keys without a default keep the missing marker, the section's name.
QString cfgOrMarker(const char* key) {
    return cfg(key, kCfg);
}

int wholeOr(const QString& text, int fallback) {
    return core::WholeNumber(text).value_or(fallback);
}

int bin(int hz) {
    return static_cast<int>(std::lround(hz / 3.90625));
}

void check(QCheckBox* box, const QString& text) {
    box->setChecked(wholeOr(text, 0) != 0);
}

} // namespace

void PSK31MAIN::loadSettings(bool* firstRun) {
    core::Globals& g = core::g;
    const QString inhibit = cfg("TXinhibt", QStringLiteral("True"));
    TxInhibited = inhibit == QLatin1String("True") ? 0 : 1;
    Command1->setEnabled(TxInhibited == 0);
    StatusBar1->setText(4, TxInhibited ? QStringLiteral("送信禁止") : QStringLiteral("送信可能"));
    g.SpectrumDisplayMode = wholeOr(cfg("SPCDSP", QStringLiteral("0")), 0);

    const std::optional<QString> centre = core::IniStored(kCfg, QStringLiteral("Audio_Center_Freq"));
    *firstRun = !centre.has_value();
    g.AudioCenterFreq = centre ? wholeOr(*centre, 1500) : 1500;
    auto inBand = [&](const char* key) {
        const int hz = wholeOr(cfg(key, QString()), -1);
        return hz >= 200 && hz <= 3000 ? hz : g.AudioCenterFreq;
    };
    g.RxFreqHz = inBand("RX1Freq");
    g.TxFreqHz = inBand("TX1Freq");
    // The extra channels' bars run 100 to 3500 Hz.
    g.Ch2RxFreq = terminal::displays::clampHz(wholeOr(cfg("RX2Freq", QStringLiteral("1400")), 1400));
    g.Ch3RxFreq = terminal::displays::clampHz(wholeOr(cfg("RX3Freq", QStringLiteral("1600")), 1600));
    g.TxFreqBin = bin(g.AudioCenterFreq);
    g.RxFreqBin = bin(g.RxFreqHz);

    check(Check1, cfg("San", QStringLiteral("0")));
    check(Check2, cfg("TIME_STAMP", QStringLiteral("0")));
    g.LogTimeUtc = Check2->isChecked() ? 1 : 0;
    g.DataCaptureOn = wholeOr(cfg("Data_Get", QStringLiteral("0")), 0);
    Check5->setChecked(g.DataCaptureOn != 0);
    g.AutoSaveRxOnExit = cfgOrMarker("NENNOTAME");
    if (g.HisRstPresetOn != QLatin1String("1")) g.HisRstPresetOn = QStringLiteral("0");
    logwindows::PutIntoQsoBox(Text7,
                              g.HisRstPresetOn == QLatin1String("1") ? QStringLiteral("599") : QString());

    g.SoundCardNumber = cfg("SOUNDCARDnum", QStringLiteral("-1"));
    g.PttPortControl = cfgOrMarker("COMCONT");
    g.PttPortNumber = cfgOrMarker("COMPORT");
    g.CwIdSpeed = cfgOrMarker("CWID_SPEED");
    g.AfcLimit = cfg("AFC_LIMIT", QStringLiteral("100"));
    g.ClockAdjRxPpm = cfg("SC_CLKADJRX", QStringLiteral("0"));
    g.ClockAdjTxPpm = cfg("SC_CLKADJTX", QStringLiteral("0"));
    g.SquelchSpeed = cfgOrMarker("SQ_SPEED");
    g.SquelchLevel = cfg("SQ_LEVEL", QStringLiteral("0"));
    g.WfLevelPsk = cfg("WF_LEVEL", QStringLiteral("90"));
    g.WfLevelRtty = cfg("WFRT_LEVEL", QStringLiteral("90"));
    g.SpectrumZoom = wholeOr(cfg("F_Range", QStringLiteral("1")), 1);
    VScroll3->setValue(g.SpectrumZoom);
    g.RewindStep = terminal::displays::drawStep(g.SpectrumZoom);
    g.AfcOn = wholeOr(cfg("AFC_SW", QStringLiteral("0")), 0);
    colour::setBackColor(Command7, g.AfcOn == 1 ? terminal::panels::kAfcOnColour : colour::kButtonFace);
    g.NetOn = wholeOr(cfg("NET_SW", QStringLiteral("0")), 0);
    colour::setBackColor(Command9, g.NetOn == 1 ? terminal::panels::kNetOnColour : colour::kButtonFace);
    g.FftSmoothing = cfg("FFT_SMOOTHING", QStringLiteral("2"));
    // Each key stands on its own: a file that holds only the mode keeps it.
    g.FftMode = cfg("FFT_Mode", QStringLiteral("40"));
    g.FftRoot = cfg("FFTRoot", QStringLiteral("0"));
    if (g.FftRoot == QLatin1String("1"))
        g.FftMode = QStringLiteral("0");
    else if (wholeOr(g.FftMode, 0) < 10)
        g.FftMode = QStringLiteral("1");
    g.SatelliteModeText = cfg("SateliteMode", QStringLiteral("False"));
    g.SatelliteMode = core::SatelliteModeOn(g.SatelliteModeText) ? 1 : 0;
    SATMOD->setChecked(g.SatelliteMode == 1);
    Label30->setVisible(g.SatelliteMode == 1);
    g.RxSearchRange = cfg("RX_SearchRange", QStringLiteral("10"));

    loadCwIdAndMessages();
    Slider1->setValue(wholeOr(g.SquelchLevel, 0) / 10);
    const bool rtty = g.OpMode == core::ModeRtty || g.OpMode == core::ModeCw;
    Slider2->setValue(wholeOr(rtty ? g.WfLevelRtty : g.WfLevelPsk, 90));
    loadMacroButtons();
    Label7->setText(g.UserCall);

    ReceiveFolder = cfg("RCVDFOL", paths::programFolder());
    g.ZenHanConv = cfgOrMarker("ZENHAN_CONV");
    g.TrxTimeStampOn = cfg("TRX_TimeStmp", QStringLiteral("NO"));
    g.UseQuoteMark = cfgOrMarker("UseQuot_Mark");
    g.QuoteMark = cfg("Quot_Mark", QStringLiteral(">"));
    colour::setForeColor(RichTextBox4, 255);
    loadFontsAndColours();
}

void PSK31MAIN::loadCwIdAndMessages() {
    core::Globals& g = core::g;
    Combo1->clear();
    g.CwIdText = core::IniStored(kCfg, QStringLiteral("CWIDSTR")).value_or(core::OwnCwId(g.UserCall));
    showOwnCwId();
    const int count = wholeOr(cfg("MSG_CNT", QStringLiteral("0")), 0);
    for (int n = 1; n <= count; ++n) {
        // A counted message that was never stored adds nothing.
        const std::optional<QString> m = core::IniStored(kCfg, QStringLiteral("MESG%1").arg(n));
        if (m) Combo1->addItem(*m);
    }
    Combo1->setEditText(g.DefaultCwId);
}

// The list's first entry names the station, with an own call stored; with
// none, the list shows the prompt for it and has no such entry, and the CW ID
// button sends nothing.
void PSK31MAIN::showOwnCwId() {
    core::Globals& g = core::g;
    const QString own = core::OwnCwId(g.UserCall);
    const bool listed = Combo1->count() > 0 && Combo1->itemData(0) == terminal::macros::CwIdOwnCallEntry;
    if (own.isEmpty() && listed)
        Combo1->removeItem(0);
    else if (!own.isEmpty() && listed)
        Combo1->setItemText(0, own);
    else if (!own.isEmpty())
        Combo1->insertItem(0, own, terminal::macros::CwIdOwnCallEntry);
    g.DefaultCwId = own.isEmpty() ? core::CallPrompt() : own;
    if (own.isEmpty()) g.CwIdText.clear();
    Combo1->setEditText(g.DefaultCwId);
    Command3->setToolTip(g.DefaultCwId);
}
