// The receive controls: the engine's receive-control and tuning words, shown
// from what the engine reports and changed position by position; manual
// receive, resync, slant and clock; notch and phase from clicks.
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/sstvengine/SstvEngine.h"
#include "settings/dialogs/SoundClkADJ.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvTitles.h"

#include <QTabBar>

#include <cmath>

namespace {

constexpr int WordWidth = 30;
constexpr std::uint32_t LightGreen = 0xDFFFDF;
constexpr int AfcPos = 29, LmsPos = 28, FskIdPos = 30, SlantModePos = 9, BandPassPos = 1;
constexpr int SensitivityPos = 27, ResponsePos = 21, PersistencePos = 17, MethodPos = 25;

QString digits(int value, int width) {
    return sstv::IntToBitString(value, width).right(width);
}

// The number of a group of digits, or -1 when the text there is not one of
// the values the control shows (0..limit).
int field(const QString& word, int position, int width, int limit) {
    const QString part = word.mid(position - 1, width);
    if (part.size() != width) return -1;
    const int v = int(sstv::BitStringToInt(width, part));
    return v <= limit ? v : -1;
}

void lightButton(QPushButton* b, bool on) {
    colour::setBackColor(b, on ? LightGreen : colour::kButtonFace);
}

} // namespace

void SSTVForm::connectReceive() {
    for (int i : {23, 24, 25, 26, 27, 30})
        connect(Check2[std::size_t(i)], &QCheckBox::clicked, this, [this, i] {
            Check2_Click(i);
            focusBack();
        });
    for (int i = 0; i < 4; ++i)
        connect(Option2[std::size_t(i)], &QRadioButton::clicked, this, [this, i] {
            Option2_Click(i);
            focusBack();
        });
    for (int i = 0; i < 3; ++i) {
        connect(Option1[std::size_t(i)], &QRadioButton::clicked, this, [this, i] {
            Option1_Click(i);
            focusBack();
        });
        connect(Option3[std::size_t(i)], &QRadioButton::clicked, this, [this, i] { Option3_Click(i); });
    }
    connect(Command12, &QPushButton::clicked, this, &SSTVForm::Command12_Click);
    connect(Command13, &QPushButton::clicked, this, &SSTVForm::Command13_Click);
    connect(Command4, &QPushButton::clicked, this, &SSTVForm::Command4_Click);
    connect(Command11, &QPushButton::clicked, this, &SSTVForm::Command11_Click);
    connect(Command15, &QPushButton::clicked, this, &SSTVForm::Command15_Click);
    connect(Command20, &QPushButton::clicked, this, &SSTVForm::Command15_Click);
    connect(Command17, &QPushButton::clicked, this, &SSTVForm::Command17_Click);
    connect(Command21, &QPushButton::clicked, this, &SSTVForm::Command21_Click);
    connect(Command2, &QPushButton::clicked, this, &SSTVForm::Command2_Click);
    connect(Command22, &QPushButton::clicked, this, [] { forms::SoundClkADJ().show(); });
    connect(Command16, &QPushButton::clicked, this, &SSTVForm::Command16_Click);
    connect(Check5, &QCheckBox::clicked, this, &SSTVForm::Check5_Click);
    connect(Combo1, &QComboBox::activated, this, &SSTVForm::Combo1_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &SSTVForm::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &SSTVForm::VScroll2_Change);
    connect(VScroll3, &QScrollBar::valueChanged, this, &SSTVForm::VScroll3_Change);
    connect(HScroll1, &QScrollBar::valueChanged, this, &SSTVForm::HScroll1_Change);
    // The tab bar selects a tab on release, after its press: the handler runs on the change.
    connect(SSTab1, &QTabWidget::currentChanged, this, &SSTVForm::SSTab1_Click);
    connect(Picture4, &PictureBox::mouseDown, this,
            [this](int b, double x, double) { Picture4_MouseDown(b, x); });
    // The waterfall has the spectrum's width: a press there is a press on the spectrum.
    connect(Picture5, &PictureBox::mouseDown, this,
            [this](int b, double x, double) { Picture4_MouseDown(b, x); });
    connect(Picture2, &PictureBox::mouseUp, this,
            [this](int b, double x, double) { Picture2_MouseUp(b, x); });
    connect(Picture1, &PictureBox::mouseUp, this, [this](int b, double, double) { Picture1_MouseUp(b); });
    connect(Picture9, &PictureBox::mouseUp, this, [this](int b, double, double) { Picture9_MouseUp(b); });
    titleClock_ = new QTimer(this);
    titleClock_->setInterval(1000);
    connect(titleClock_, &QTimer::timeout, this, [] { sstv::SstvRefreshTitleBar(); });
    titleClock_->start();
    connect(Timer6, &QTimer::timeout, this, [this] {
        Picture8->update();
        Picture3->update();
        Timer6->stop();
    });
}

void SSTVForm::focusBack() {
    Text1->setFocus();
}

void SSTVForm::ShowRxControl() {
    sstveng::SstvEngine& e = sstveng::lib();
    const int lms = e.mmsSetLMS(-1);
    if (lms >= 0 && lms <= 2) Option1[std::size_t(lms)]->setChecked(true);
    RxControlWord = sstv::IntToBitString(e.mmsSetRxControl(-1), WordWidth);
    SstvAfcOn = RxControlWord.at(AfcPos - 1) == QLatin1Char('1') ? 1 : 0;
    lightButton(Command12, SstvAfcOn == 1);
    SstvLmsOn = RxControlWord.at(LmsPos - 1) == QLatin1Char('1') ? 1 : 0;
    lightButton(Command13, SstvLmsOn == 1);
    for (int p : {23, 24, 25, 26, 27, FskIdPos})
        Check2[std::size_t(p)]->setChecked(RxControlWord.at(p - 1) == QLatin1Char('1'));
    const bool slant = RxControlWord.mid(SlantModePos - 1, 2) != QLatin1String("00");
    for (QWidget* w : {static_cast<QWidget*>(Check2[24]), static_cast<QWidget*>(Command17),
                       static_cast<QWidget*>(Command21)})
        w->setEnabled(slant);
    Option2[std::size_t(field(RxControlWord, BandPassPos, 2, 3))]->setChecked(true);
}

void SSTVForm::ShowTuneControl() {
    TuneControlWord = sstv::IntToBitString(sstveng::lib().mmsSetTuneControl(-1), WordWidth);
    settingFromEngine_ = true;
    const std::pair<int, std::pair<QScrollBar*, QLabel*>> scales[] = {
        {field(TuneControlWord, SensitivityPos, 4, 7), {VScroll1, Label10}},
        {field(TuneControlWord, ResponsePos, 2, 3), {VScroll2, Label13}},
        {field(TuneControlWord, PersistencePos, 2, 3), {VScroll3, Label17}},
    };
    for (const auto& [value, controls] : scales) {
        if (value < 0) continue;
        controls.first->setValue(value);
        controls.second->setText(QString::number(value));
    }
    if (const int method = field(TuneControlWord, MethodPos, 2, 2); method >= 0)
        Option3[std::size_t(method)]->setChecked(true);
    settingFromEngine_ = false;
}

void SSTVForm::sendRxWord(const QString& word) {
    sstveng::lib().mmsSetRxControl(std::int32_t(sstv::BitStringToInt(WordWidth, word)));
    ShowRxControl();
}

void SSTVForm::sendTuneWord(const QString& word) {
    sstveng::lib().mmsSetTuneControl(std::int32_t(sstv::BitStringToInt(WordWidth, word)));
    ShowTuneControl();
}

void SSTVForm::Check2_Click(int Index) {
    const bool on = Check2[std::size_t(Index)]->isChecked();
    sendRxWord(sstv::SetDigits(RxControlWord, Index, on ? QStringLiteral("1") : QStringLiteral("0")));
}

void SSTVForm::Command12_Click() {
    sendRxWord(
        sstv::SetDigits(RxControlWord, AfcPos, SstvAfcOn == 0 ? QStringLiteral("1") : QStringLiteral("0")));
    focusBack();
}

void SSTVForm::Command13_Click() {
    sendRxWord(
        sstv::SetDigits(RxControlWord, LmsPos, SstvLmsOn == 0 ? QStringLiteral("1") : QStringLiteral("0")));
    focusBack();
}

void SSTVForm::Option2_Click(int Index) {
    sendRxWord(sstv::SetDigits(RxControlWord, BandPassPos, digits(Index, 2)));
}

void SSTVForm::Option1_Click(int Index) {
    sstveng::lib().mmsSetLMS(Index);
    Command13->setText(Index == 0 ? QStringLiteral("LMS") : QStringLiteral("ANF"));
}

void SSTVForm::Option3_Click(int Index) {
    sendTuneWord(sstv::SetDigits(TuneControlWord, MethodPos, digits(Index, 2)));
}

void SSTVForm::VScroll1_Change() {
    Label10->setText(QString::number(VScroll1->value()));
    if (!settingFromEngine_)
        sendTuneWord(sstv::SetDigits(TuneControlWord, SensitivityPos, digits(VScroll1->value(), 4)));
}

void SSTVForm::VScroll2_Change() {
    Label13->setText(QString::number(VScroll2->value()));
    if (!settingFromEngine_)
        sendTuneWord(sstv::SetDigits(TuneControlWord, ResponsePos, digits(VScroll2->value(), 2)));
}

void SSTVForm::VScroll3_Change() {
    Label17->setText(QString::number(VScroll3->value()));
    if (!settingFromEngine_)
        sendTuneWord(sstv::SetDigits(TuneControlWord, PersistencePos, digits(VScroll3->value(), 2)));
}

void SSTVForm::Command4_Click() {
    if (TuneFrameOpen == 0) {
        TuneControlWord = sstv::IntToBitString(sstveng::lib().mmsSetTuneControl(-1), WordWidth);
        Command4->setText(QStringLiteral("設定完了"));
        Frame12->adjustSize();
        // Over the receive picture, leaving the spectrum and waterfall in sight.
        Frame12->move(SSTab1->mapTo(this, QPoint(0, SSTab1->tabBar()->height())));
        Frame12->raise();
        Frame12->show();
        TuneFrameOpen = 1;
    } else {
        Command4->setText(QStringLiteral("ﾁｭｰﾆﾝｸﾞｲﾝｼﾞｹｰﾀ設定"));
        Frame12->hide();
        TuneFrameOpen = 0;
    }
}

void SSTVForm::mmsCFG_Click() {
    if (sstveng::lib().mmsOption() == 1) ShowRxControl();
}

void SSTVForm::Combo1_Click() {
    sstv::Globals& s = sstv::g;
    s.RxMode = Combo1->currentIndex();
    const sstv::PictureSize size = sstv::SizeFromWord(sstveng::lib().mmsGetImageSize(s.RxMode));
    s.RxImageWidth = size.width;
    s.RxImageHeight = size.height;
    Picture10->setScale(Picture10->scaleWidth(), s.RxImageHeight);
}

void SSTVForm::Command11_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    if (ManualRxOn == 0) {
        s.RxMode = Combo1->currentIndex();
        s.RxModeName = sstv::SstvEngineString(e.mmsGetModeName(s.RxMode));
        const sstv::PictureSize size = sstv::SizeFromWord(e.mmsGetImageSize(s.RxMode));
        s.RxImageWidth = size.width;
        s.RxImageHeight = size.height;
        s.SstvSrcRect.right = size.width;
        s.SstvSrcRect.bottom = size.height;
        e.mmsStartScan(s.RxMode);
        lightButton(Command11, true);
        ManualRxOn = 1;
        SSTab1->setTabText(0, QStringLiteral("受信 %1x%2").arg(size.width).arg(size.height));
    } else {
        e.mmsStopScan(0);
        e.mmsStopScan(1);
        lightButton(Command11, false);
        ManualRxOn = 0;
    }
    focusBack();
}

void SSTVForm::Command15_Click() {
    sstveng::lib().mmsReSync();
    focusBack();
}

void SSTVForm::Command17_Click() {
    sstveng::lib().mmsCorrectSlant();
    focusBack();
}

void SSTVForm::Command21_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    e.mmsCorrectSlant();
    focusBack();
    const double nominal = e.mmsGetSampleFreq(3);
    const std::int32_t measured = e.mmsGetSampleFreq(2);
    CorrectedSampleFreq = measured;
    const bool differs = nominal > 0 && std::nearbyint((measured / nominal - 1) * 1e6) != 0;
    Command2->setEnabled(differs);
}

void SSTVForm::Command2_Click() {
    sstveng::lib().mmsSetSampleFreq(0, CorrectedSampleFreq);
    Command2->setEnabled(false);
}

void SSTVForm::Check5_Click() {
    sstv::g.SstvAutoPaste = Check5->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    core::PutIniText(QStringLiteral("SSTV_Gen"), "AutoPaste", sstv::g.SstvAutoPaste);
}

void SSTVForm::Picture4_MouseDown(int Button, double X) {
    sstveng::lib().mmsSetNotch(
        sstv::NotchHz(sstv::g.SpecBaseHz, sstv::g.SpecSpanHz, X, Picture4->scaleWidth(), Button));
}

void SSTVForm::Picture2_MouseUp(int, double X) {
    const int width = sstv::g.RxImageWidth;
    sstveng::lib().mmsAdjustPhase(int(std::nearbyint(width - X)), width);
}
