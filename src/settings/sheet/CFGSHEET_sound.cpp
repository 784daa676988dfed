// The sound tab: the PSK core library's settings, the sound card and the PTT
// port, each applied to the running engine at once.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/engines/Engines.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"
#include "settings/dialogs/CLKadj.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "settings/sheet/SheetRules.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kCfg = QStringLiteral("PSKCFG");

int num(const QString& text) {
    return core::WholeNumber(text).value_or(0);
}

bool inSstv() {
    return core::g.OpMode == core::ModeSstv;
}

// The three receive channels of the PSK core library.
constexpr int kChannels = 3;

void setRange(QAbstractSlider* s, const char* key, int step) {
    s->setRange(settings::RangeLow("PSKCFG", key), settings::RangeHigh("PSKCFG", key));
    s->setSingleStep(step);
    s->setPageStep(step);
}

QGroupBox* frame(const QString& caption, QLayout* layout) {
    auto* f = new QGroupBox(caption);
    f->setLayout(layout);
    return f;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* r = new QHBoxLayout;
    for (QWidget* w : widgets)
        r->addWidget(w);
    return r;
}

// The engine's PTT port text: "NONE" for no port, else "COMn".
QString portText(const QString& number) {
    return number == QLatin1String("0") ? QStringLiteral("NONE") : QStringLiteral("COM") + number;
}

} // namespace

QWidget* CFGSHEET::buildSoundTab() {
    HScroll1 = new QScrollBar(Qt::Horizontal);
    HScroll2 = new QScrollBar(Qt::Horizontal);
    setRange(HScroll1, "SC_CLKADJRX", 1);
    setRange(HScroll2, "SC_CLKADJTX", 1);
    Text13 = new QLineEdit;
    Text14 = new QLineEdit;
    ui::setTextLimit(Text13, 6);
    ui::setTextLimit(Text14, 6);
    Command20 = new QPushButton(QStringLiteral("RX ｸﾛｯｸ補正"));
    auto* clock = new QGridLayout;
    clock->addWidget(new QLabel(QStringLiteral("RX")), 0, 0);
    clock->addWidget(HScroll1, 0, 1);
    clock->addWidget(Text13, 0, 2);
    clock->addWidget(new QLabel(QStringLiteral("ppm")), 0, 3);
    clock->addWidget(new QLabel(QStringLiteral("TX")), 1, 0);
    clock->addWidget(HScroll2, 1, 1);
    clock->addWidget(Text14, 1, 2);
    clock->addWidget(new QLabel(QStringLiteral("ppm")), 1, 3);
    clock->addWidget(Command20, 2, 1);
    Frame12 = frame(QStringLiteral("SoundCard Clock"), clock);

    Slider1 = new QSlider(Qt::Horizontal);
    setRange(Slider1, "SQ_SPEED", 10);
    Label1 = new QLabel;
    Frame10 =
        frame(QStringLiteral("Squelch Response"),
              row({new QLabel(QStringLiteral("Fast")), Slider1, new QLabel(QStringLiteral("Slow")), Label1}));

    VScroll1 = new QScrollBar(Qt::Vertical);
    setRange(VScroll1, "FFT_COMEBACK", 10);
    VScroll1->setToolTip(QStringLiteral("巻き戻し時間の設定をします"));
    Label27 = new QLabel;
    Frame18 = frame(QStringLiteral("Rewind Range"),
                    row({VScroll1, Label27, new QLabel(QStringLiteral("Sec分戻す"))}));

    VScroll4 = new QScrollBar(Qt::Vertical);
    setRange(VScroll4, "FFT_SMOOTHING", 1);
    Label8 = new QLabel;
    VScroll5 = new QScrollBar(Qt::Vertical);
    setRange(VScroll5, "FFT_Mode", 10);
    Label10 = new QLabel;
    Check1 = new QCheckBox(QStringLiteral("Root Mode"));
    Frame8 =
        frame(QStringLiteral("FFT"), row({new QLabel(QStringLiteral("Smoothing")), VScroll4, Label8,
                                          new QLabel(QStringLiteral("Mode")), VScroll5, Label10, Check1}));

    VScroll6 = new QScrollBar(Qt::Vertical);
    setRange(VScroll6, "RX_SearchRange", 10);
    VScroll6->setToolTip(QStringLiteral("推奨値は 10 です"));
    Label11 = new QLabel;
    Frame9 = frame(QStringLiteral("Frequency"), row({new QLabel(QStringLiteral("RX Search Range")), VScroll6,
                                                     Label11, new QLabel(QStringLiteral("+/-Hz"))}));

    Slider4 = new QSlider(Qt::Horizontal);
    setRange(Slider4, "Audio_Center_Freq", 100);
    Slider4->setTickInterval(100);
    Slider4->setTickPosition(QSlider::TicksBelow);
    Label2 = new QLabel;
    Slider2 = new QSlider(Qt::Horizontal);
    Slider2->setRange(settings::RangeLow("PSKCFG", "AFC_LIMIT"), settings::RangeHigh("PSKCFG", "AFC_LIMIT"));
    Slider2->setSingleStep(10);
    Slider2->setPageStep(100);
    Label5 = new QLabel;

    auto* psk = new QGridLayout;
    psk->addWidget(Frame12, 0, 0, 1, 2);
    psk->addWidget(Frame10, 1, 0);
    psk->addWidget(Frame18, 1, 1);
    psk->addWidget(Frame8, 2, 0);
    psk->addWidget(Frame9, 2, 1);
    psk->addLayout(row({new QLabel(QStringLiteral("Audio Center Frequency")), Slider4, Label2}), 3, 0, 1, 2);
    psk->addLayout(
        row({new QLabel(QStringLiteral("AFC Limit")), Slider2, Label5, new QLabel(QStringLiteral("+/- Hz"))}),
        4, 0, 1, 2);
    auto* cwId = new QHBoxLayout;
    Frame3 = frame(QStringLiteral("CW ID-Speed"), cwId);
    settings::MakeOptions(Option6,
                          {QStringLiteral("37.5wpm"), QStringLiteral("18.75wpm"), QStringLiteral("12.5wpm"),
                           QStringLiteral("9.375wpm")},
                          cwId, [this](int i) { Option6_Click(i); });
    psk->addWidget(Frame3, 5, 0, 1, 2);
    Frame13 = frame(QStringLiteral("  PSKCore 使用時の設定項目"), psk);

    auto* cards = new QHBoxLayout;
    Frame4 = frame(QStringLiteral("Sound Card No"), cards);
    settings::MakeOptions(
        Option3, {QStringLiteral("System(-1)"), QStringLiteral("Primary(0)"), QStringLiteral("Second.(1)")},
        cards, [this](int i) { Option3_Click(i); });
    auto* ptt = new QHBoxLayout;
    Frame1 = frame(QStringLiteral("PTT制御 Com"), ptt);
    Frame1->setToolTip(QStringLiteral("送信中は変更できません"));
    QStringList ports{QStringLiteral("なし")};
    for (int n = 1; n <= 8; ++n)
        ports << QStringLiteral("#%1").arg(n);
    settings::MakeOptions(Option1, ports, ptt, [this](int i) { Option1_Click(i); });

    connect(HScroll1, &QScrollBar::valueChanged, this, &CFGSHEET::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &CFGSHEET::HScroll2_Change);
    connect(Text13, &QLineEdit::textChanged, this, &CFGSHEET::Text13_Change);
    connect(Text14, &QLineEdit::textChanged, this, &CFGSHEET::Text14_Change);
    // The range is applied when the operator is done with a box, not on the way.
    for (QLineEdit* box : {Text13, Text14})
        connect(box, &QLineEdit::editingFinished, this, &CFGSHEET::clockBoxesDone);
    connect(Slider1, &QSlider::valueChanged, this, &CFGSHEET::Slider1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &CFGSHEET::VScroll1_Change);
    connect(VScroll4, &QScrollBar::valueChanged, this, &CFGSHEET::VScroll4_Change);
    connect(VScroll5, &QScrollBar::valueChanged, this, &CFGSHEET::VScroll5_Change);
    connect(Check1, &QCheckBox::toggled, this, &CFGSHEET::Check1_Click);
    connect(VScroll6, &QScrollBar::valueChanged, this, &CFGSHEET::VScroll6_Change);
    connect(Slider4, &QSlider::valueChanged, this, &CFGSHEET::Slider4_Change);
    connect(Slider2, &QSlider::valueChanged, this, &CFGSHEET::Slider2_Change);
    // The calibration takes the sound card: the PSK library lets it go first.
    connect(Command20, &QPushButton::clicked, this, [] {
        terminal::engines::StopPskSound();
        settings::OpenClockAdjust();
    });

    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Frame13);
    layout->addWidget(Frame4);
    layout->addWidget(Frame1);
    layout->addStretch();
    return tab;
}

namespace {
// A clock box shows its scroll bar's value, unless what the operator is
// typing already reads as that value ("-", "-0", a number past the range).
void showClock(QLineEdit* box, int value) {
    if (settings::ClockBoxValue(box->text()).value != value) box->setText(QString::number(value));
}

// A clock box's change: what it holds moves its scroll bar, and text that is
// replaced runs the change again.
void clockBoxChanged(QLineEdit* box, QScrollBar* bar, settings::Typing typing) {
    const settings::ClockBox v = settings::ClockBoxValue(box->text(), typing);
    if (v.value) bar->setValue(*v.value);
    if (v.replaced && *v.replaced != box->text()) box->setText(*v.replaced);
}
} // namespace

void CFGSHEET::HScroll1_Change() {
    if (inSstv()) return;
    core::g.ClockAdjRxPpm = QString::number(HScroll1->value());
    showClock(Text13, HScroll1->value());
    pskcore::lib().fnSetClockErrorAdjustment(HScroll1->value());
}

void CFGSHEET::HScroll2_Change() {
    core::g.ClockAdjTxPpm = QString::number(HScroll2->value());
    showClock(Text14, HScroll2->value());
}

void CFGSHEET::Text13_Change() {
    clockBoxChanged(Text13, HScroll1, settings::Typing::Going);
}

void CFGSHEET::Text14_Change() {
    clockBoxChanged(Text14, HScroll2, settings::Typing::Going);
}

void CFGSHEET::clockBoxesDone() {
    clockBoxChanged(Text13, HScroll1, settings::Typing::Done);
    clockBoxChanged(Text14, HScroll2, settings::Typing::Done);
}

void CFGSHEET::Slider1_Change() {
    if (inSstv()) return;
    Label1->setText(QString::number(Slider1->value()));
    core::g.SquelchSpeed = Label1->text();
    for (int ch = 0; ch < kChannels; ++ch)
        pskcore::lib().fnSetSquelchThreshold(num(core::g.SquelchLevel), num(core::g.SquelchSpeed), ch);
}

void CFGSHEET::VScroll1_Change() {
    Label27->setText(QString::number(std::nearbyint(VScroll1->value() * 2.54) / 10.0, 'f', 1));
    core::g.FftComeback = QString::number(VScroll1->value());
    core::PutIniText(kCfg, "FFT_COMEBACK", core::g.FftComeback);
}

namespace {
void applyFftMode() {
    pskcore::lib().fnSetFFTMode(num(core::g.FftSmoothing), 100, num(core::g.FftMode));
}
} // namespace

void CFGSHEET::VScroll4_Change() {
    if (inSstv()) return;
    Label8->setText(QString::number(VScroll4->value()) + QStringLiteral("/10"));
    core::g.FftSmoothing = QString::number(VScroll4->value());
    applyFftMode();
    core::PutIniText(kCfg, "FFT_SMOOTHING", core::g.FftSmoothing);
}

void CFGSHEET::VScroll5_Change() {
    if (inSstv()) return;
    const settings::FftDisplay d = settings::FftFromScroll(VScroll5->value());
    core::g.FftMode = d.mode;
    Label10->setText(d.label);
    applyFftMode();
    core::PutIniText(kCfg, "FFT_Mode", core::g.FftMode);
}

void CFGSHEET::Check1_Click() {
    if (inSstv()) return;
    if (Check1->isChecked()) {
        core::g.FftMode = QStringLiteral("0");
        Label10->clear();
        VScroll5->setEnabled(false);
    } else {
        VScroll5->setEnabled(true);
        const settings::FftPosition p = settings::FftFromMode(core::g.FftMode);
        core::g.FftMode = p.mode;
        Label10->setText(p.label);
        VScroll5->setValue(p.scroll);
    }
    applyFftMode();
    core::PutIniText(kCfg, "FFTRoot", settings::OneZero(Check1->isChecked()));
}

void CFGSHEET::VScroll6_Change() {
    if (inSstv()) return;
    Label11->setText(QString::number(VScroll6->value()));
    core::g.RxSearchRange = Label11->text();
    pskcore::lib().fnSetRXFrequency(core::g.AudioCenterFreq, num(core::g.RxSearchRange), 0);
    core::PutIniText(kCfg, "RX_SearchRange", core::g.RxSearchRange);
}

void CFGSHEET::Slider4_Change() {
    if (core::g.CfgSheetLoading == 1) return;
    core::Globals& g = core::g;
    g.AudioCenterFreq = Slider4->value();
    Label2->setText(QString::number(g.AudioCenterFreq));
    const settings::CentreSpan s = settings::SpanForCentre(g.AudioCenterFreq, g.SpectrumZoom);
    g.TxFreqBin = s.txBin;
    g.SpectrumLowHz = s.lowHz;
    g.SpectrumHighHz = s.highHz;
    g.SpectrumLowBin = s.lowBin;
    g.SpectrumHighBin = s.highBin;
    g.TxBinFromLow = s.binsFromLow;
    g.TxBinToHigh = s.binsToHigh;
    g.RxFreqHz = g.AudioCenterFreq;
    g.RxFreqBin = s.rxBin;
    g.TxFreqHz = g.RxFreqHz;
    PSK31MAIN* mainWin = settings::LoadedMain();
    if (inSstv() || !mainWin) return;
    PSK31MAIN& main = *mainWin;
    main.Picture4->setScale(g.TxBinToHigh + g.TxBinFromLow - 1, 100);
    main.Text4->setText(QString::number(g.RxFreqHz));
    main.Text8->setText(QString::number(g.TxFreqHz));
    main.VScroll1->setValue(g.AudioCenterFreq);
    main.VScroll2->setValue(g.AudioCenterFreq);
    main.Label13->setText(QStringLiteral("%1 to %2Hz").arg(g.SpectrumLowHz).arg(g.SpectrumHighHz));
    pskcore::lib().fnSetRXFrequency(g.AudioCenterFreq, num(g.RxSearchRange), 0);
    core::PutIniNumber(kCfg, "Audio_Center_Freq", g.AudioCenterFreq);
}

void CFGSHEET::Slider2_Change() {
    if (inSstv() || core::SatelliteModeOn(core::g.SatelliteModeText)) return;
    Label5->setText(QString::number(Slider2->value()));
    core::g.AfcLimit = Label5->text();
    for (int ch = 0; ch < kChannels; ++ch)
        pskcore::lib().fnSetAFCLimit(num(core::g.AfcLimit), ch);
}

void CFGSHEET::Option6_Click(int index) {
    core::g.CwIdSpeed = QString::number(index + 1);
    core::PutIniText(kCfg, "CWID_SPEED", core::g.CwIdSpeed);
}

void CFGSHEET::Option3_Click(int index) {
    static const QStringList kCards{QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("1")};
    core::Globals& g = core::g;
    g.SoundCardNumber = kCards[index];
    // The load's selection of the stored card restarts nothing; a change by the
    // operator restarts the engine that uses the card.
    if (!loading_) {
        if (g.OpMode <= core::ModeQpskLsb) {
            terminal::engines::StopPskSound();
            terminal::engines::ReportSoundCardStart(
                pskcore::lib().fnStartSoundCard(g.MainHwnd, num(g.SoundCardNumber), kChannels));
        } else if (PSK31MAIN* m = settings::LoadedMain(); m && g.OpMode == core::ModeMmvari) {
            m->MMVARI->set(mmvari::IdSoundCard, g.SoundCardNumber);
        }
    }
    core::PutIniText(kCfg, "SOUNDCARDnum", g.SoundCardNumber);
}

void CFGSHEET::Option1_Click(int index) {
    core::Globals& g = core::g;
    if (g.CfgSheetLoading == 1) return;
    // The key is released by the means that put it on: the choice waits for receive.
    if (!loading_ && terminal::engines::TransmissionRuns()) {
        const int inForce = core::WholeNumber(g.PttPortNumber).value_or(0);
        if (index == inForce) return;
        // Put back once the click that chose it is over.
        QMetaObject::invokeMethod(
            this, [this, inForce] { settings::SelectOption(Option1, inForce); }, Qt::QueuedConnection);
        ui::msgBox(QStringLiteral("送信中は変更できません"), ui::OkOnly);
        return;
    }
    // The load showing the stored port keeps how it is keyed (CAT or the port).
    if (!loading_ || QString::number(index) != g.PttPortNumber)
        g.PttPortControl = index == 0 ? QStringLiteral("0") : QStringLiteral("3");
    g.PttPortNumber = QString::number(index);
    for (int n = 1; n <= 8; ++n)
        Option2[std::size_t(n)]->setEnabled(n != index);
    core::PutIniText(kCfg, "COMPORT", g.PttPortNumber);
    core::PutIniText(kCfg, "COMCONT", g.PttPortControl);
    const QString port = portText(g.PttPortNumber);
    switch (g.OpMode) {
    case core::ModeRtty:
    case core::ModeCw: {
        std::int32_t handle = 0;
        bobmako::lib().fnBOBMAKOInit(handle, "MMTTY/ZORVAT", port.toLatin1(), "NONE");
        engines::current().mmtty.postCommand(21, 0);
        break;
    }
    case core::ModeSstv:
        sstveng::lib().mmsSetPTTPort(port);
        break;
    case core::ModeMmvari:
        if (PSK31MAIN* m = settings::LoadedMain()) m->MMVARI->set(mmvari::IdPttPort, port);
        break;
    default:
        if (pskcore::lib().fnSetComPort(num(g.PttPortNumber), num(g.PttPortControl)) == 0 &&
            num(g.PttPortControl) > 0)
            ui::msgBox(QStringLiteral("COMport Can Not Open Port=") + g.PttPortNumber +
                           QStringLiteral("が使えません。CFGOP1P"),
                       ui::OkOnly);
        break;
    }
}
