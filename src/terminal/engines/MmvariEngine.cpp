#include "terminal/engines/MmvariEngine.h"

#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"
#include "terminal/panels/MmvariPanel.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace terminal::engines {
namespace {

const QString kSection = QStringLiteral("MMVCFG");
constexpr int kFirstMode = 10;
constexpr int kLastMode = 18;
constexpr int kShiftJisCharset = 128;
constexpr int kAnsiCharset = 0;

// A stored key, or nothing when it is missing.
std::optional<QString> stored(const QString& key) {
    return core::IniStored(kSection, key);
}

bool storedIs(const QString& key, const QString& text) {
    return stored(key).value_or(QString()) == text;
}

int storedWholeOr(const QString& key, int missing) {
    return core::IniWholeOr(kSection, key, missing);
}

void arrangeWindow(PSK31MAIN& w) {
    forms::unload<::multi_ch>();
    core::g.ImdChannel = 0;
    mmvstate::g.SubChannelSel = 0;
    QVariant levelData;
    if (w.MMVARI->get(mmvari::IdLevelData, levelData)) core::g.MmvariLevelData = levelData.toInt();
    w.Command15->setText(QStringLiteral("0"));
    w.Command16->setText(QStringLiteral("1"));
    w.Command17->setText(QStringLiteral("2"));
    w.SET2CH->setText(QStringLiteral("ch1へSET"));
    w.SET3CH->setText(QStringLiteral("ch2へSET"));
    for (QWidget* p :
         std::initializer_list<QWidget*>{w.Picture2, w.Picture3, w.Picture5, w.Picture7, w.Frame7})
        p->hide();
    w.Line20->setVisible(false);
    w.Line21->setVisible(false);
    panels::placePanel(w);
    w.Frame6->show();
    w.Label14->setText(QStringLiteral("S/N"));
    w.setWindowTitle(QStringLiteral("ZORVATEK (With MMVARI.OCX by QQ9BBB)"));
    for (mmvari::XMMVView* v : {w.XMMVView1, w.XMMVView2})
        v->set(mmvari::ViewColour, 5, 255);
    w.SETnotch0->setVisible(true);
    mmvstate::g.MmvariBaseSampleFreq = 11025.0;
}

void applyButtonSwitches(PSK31MAIN& w) {
    static constexpr std::pair<int, int> buttons[] = {
        {3, mmvari::IdReqRx}, {4, mmvari::IdStartCr}, {5, mmvari::IdStopCr}, {6, mmvari::IdPlayBack}};
    for (const auto& [k, id] : buttons) {
        const bool on = storedIs(QStringLiteral("SW%1").arg(k), QStringLiteral("True"));
        w.MMVARI->set(id, on);
        panels::showMmvariSwitch(w, k, on);
    }
}

void applyAfc(PSK31MAIN& w) {
    mmvstate::g.MmvariAfcOn = storedWholeOr(QStringLiteral("AFC_SW"), 0);
    const bool on = mmvstate::g.MmvariAfcOn == 1;
    w.MMVARI->set(mmvari::PAfc, 0, on);
    colour::setBackColor(w.Command22, on ? panels::kAfcOnColour : colour::kButtonFace);
}

void applyOffsets(PSK31MAIN& w) {
    mmvstate::Globals& m = mmvstate::g;
    m.MmvariRxOffset = mmvstate::OffsetFromStored(stored(QStringLiteral("RXoffset")).value_or(QString()));
    w.MMVARI->set(mmvari::IdRxSampleFreq, m.MmvariBaseSampleFreq + m.MmvariRxOffset);
    m.MmvariTxOffset = mmvstate::OffsetFromStored(stored(QStringLiteral("TXoffset")).value_or(QString()));
    w.MMVARI->set(mmvari::IdTxOffset, m.MmvariTxOffset);
}

void applyNet(PSK31MAIN& w) {
    mmvstate::g.MmvariNetOn = storedWholeOr(QStringLiteral("NET_SW"), 0);
    const bool on = mmvstate::g.MmvariNetOn == 1;
    w.MMVARI->set(mmvari::IdNet, on);
    colour::setBackColor(w.Command23, on ? panels::kNetOnColour : colour::kButtonFace);
}

void applyOptions(PSK31MAIN& w) {
    mmvari::MmvariControl* m = w.MMVARI;
    auto one = [](const char* key) { return storedIs(QLatin1String(key), QStringLiteral("1")); };
    m->set(mmvari::IdHpf, one("HPF_SW"));
    m->set(mmvari::IdSqMfsk, one("SqMFSK_SW"));
    m->set(mmvari::IdTcMfsk, one("TcMFSK_SW"));
    m->set(mmvari::PUos, 0, one("UOS_SW"));
    m->set(mmvari::IdDiddle, one("Didl_SW") ? 1 : 0);
    m->set(mmvari::IdAfcWidth, storedWholeOr(QStringLiteral("AFC_W"), 50));
    m->set(mmvari::IdCwIdSpeed, storedWholeOr(QStringLiteral("CWIDsp"), 20));
    applyAfc(w);
    if (storedIs(QStringLiteral("extLoop"), QStringLiteral("True"))) m->set(mmvari::IdExtLoop, true);
    applyOffsets(w);
    m->set(mmvari::PAfc, 1, true);
    m->set(mmvari::PAfc, 2, true);
    m->set(mmvari::PSquelch, 0, core::WholeNumber(core::g.SquelchLevel).value_or(0) * 20);
    applyNet(w);
}

void setModeMenus(PSK31MAIN& w) {
    w.XMMVView1->show();
    w.XMMVView2->show();
    w.XMMVLv1->show();
    core::g.LastModeText = QStringLiteral("MMVARI");
    core::PutIniText(QStringLiteral("PSKCFG"), "LastMode", core::g.LastModeText);
    // The speed list opens in front of the panel's other controls.
    w.List2->raise();
    for (int i = 0; i <= core::ModeCw; ++i)
        w.PSKMODE[i]->setChecked(false);
    w.PSKMODE[core::ModeCw]->setEnabled(false);
    w.SATMOD->setEnabled(false);
    w.WFCOLOR->setEnabled(false);
    core::g.MmvariTxOn = 0;
}

// The list's own handler takes the mode to the control when an entry is selected.
void fillModeList(PSK31MAIN& w, int mode) {
    {
        const QSignalBlocker quiet(w.CBMode);
        w.CBMode->clear();
        w.CBMode->setPlaceholderText(QStringLiteral("Mode Select"));
        w.CBMode->addItems({"GMSK(MBCS)", "FSK(MBCS)", "FSK-W(MBCS)", "BPSK(MBCS)", "bpsk(STD)", "rtty(LSB)",
                            "rtty(USB)", "mfsk(LSB)", "mfsk(USB)"});
    }
    panels::SelectModeEntry(mode >= kFirstMode && mode <= kLastMode ? mode - kFirstMode : -1);
}

void checkSubMode(PSK31MAIN& w, int mode) {
    for (int i = kFirstMode; i <= kLastMode; ++i)
        w.mvrMODEsel[i]->setChecked(i == mode);
}

void followMainChannelMode(PSK31MAIN& w) {
    QVariant mode;
    if (!w.MMVARI->get(mmvari::PModeNumber, 0, mode)) return;
    w.MMVARI->set(mmvari::PModeNumber, 1, mode);
    w.MMVARI->set(mmvari::PModeNumber, 2, mode);
}

int paneCharset(const RichTextPane* pane) {
    const bool japanese =
        QFontDatabase::writingSystems(pane->font().family()).contains(QFontDatabase::Japanese);
    return japanese ? kShiftJisCharset : kAnsiCharset;
}

void applyFrequenciesAndRun(PSK31MAIN& w) {
    mmvari::MmvariControl* m = w.MMVARI;
    if (core::g.MmvariActive == 0) {
        m->set(mmvari::PRxFreq, 0, int(std::int16_t(core::g.RxFreqHz & 0xFFFF)));
        m->set(mmvari::IdTxFreq, core::g.TxFreqHz);
    }
    m->set(mmvari::PCharSet, 0, paneCharset(w.RichTextBox1));
    std::uint32_t rx = 0;
    if (colour::parseRef(core::g.RxForeColor, &rx)) w.RichTextBox1->setSelColor(colour::fromRef(rx));
    m->set(mmvari::IdAtc, true);
    panels::showMmvariSwitch(w, 2, true);
    m->set(mmvari::IdAtcReset, false);
    panels::showMmvariSwitch(w, 0, false);
    m->set(mmvari::IdSoundCard, core::g.SoundCardNumber);
    m->set(mmvari::IdPttPort, QString::fromLatin1(core::PttPortName()));
    core::g.MmvariActive = 1;
    m->set(mmvari::IdRun, true);
}

} // namespace

void StartMmvari(int Mode) {
    PSK31MAIN& w = forms::PSK31MAIN();
    arrangeWindow(w);
    applyButtonSwitches(w);
    applyOptions(w);
    setModeMenus(w);
    fillModeList(w, Mode);
    w.XMMVView1->set(mmvari::ViewType, core::g.SpectrumDisplayMode == 0 ? 1 : 0);
    checkSubMode(w, Mode);
    followMainChannelMode(w);
    w.XMMVView1->set(mmvari::ViewSpan, 3000);
    applyFrequenciesAndRun(w);
}

} // namespace terminal::engines
