#include "settings/dialogs/CFG_MMVARI.h"

#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmvari/MmvariControl.h"
#include "settings/dialogs/CLKadj.h"
#include "settings/dialogs/ClockValues.h"
#include "settings/dialogs/DialogPlace.h"
#include "settings/dialogs/EmergencyKey.h"
#include "settings/dialogs/MmvariDialogValues.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("MMVCFG");
constexpr std::uint32_t kMeasuringColour = 0x80C0FF; // light orange
constexpr int kSettledAfter = 50;
constexpr int kAtcButton = 2;

mmvari::MmvariControl& control() {
    return *forms::PSK31MAIN().MMVARI;
}

QString oneZero(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A switch key: "1" ticks the box, anything else (or nothing) leaves it clear.
bool storedOn(const char* key) {
    return core::IniStored(kSection, QString::fromLatin1(key)) == QStringLiteral("1");
}

QScrollBar* verticalBar(int lowest, int highest) {
    auto* bar = new QScrollBar(Qt::Vertical);
    bar->setRange(lowest, highest);
    return bar;
}

} // namespace

CFG_MMVARI::CFG_MMVARI()
    : Frame1(new QGroupBox(QStringLiteral("サウンド関係"))),
      Frame2(new QGroupBox(QStringLiteral("MFSK固有の設定"))),
      Frame3(new QGroupBox(QStringLiteral("RTTY固有の設定"))),
      Check1(new QCheckBox(QStringLiteral("HighPassFilter"))),
      Check2(new QCheckBox(QStringLiteral("MetricSqMFSK"))),
      Check3(new QCheckBox(QStringLiteral("TreatCenterMFSK"))),
      Check4(new QCheckBox(QStringLiteral("RTTY-UOS"))),
      Check5(new QCheckBox(QStringLiteral("RTTY-Diddle = LTR"))),
      Check6(new QCheckBox(QStringLiteral("外部ループバック"))), VScroll1(verticalBar(10, 200)),
      Label1(new QLabel), VScroll2(verticalBar(10, 60)), Label2(new QLabel),
      Label6(new QLabel(QStringLiteral("TXoffset(Hz)"))), VScroll3(verticalBar(-9999, 9999)),
      Label7(new QLabel(QStringLiteral("0.00"))), Label3(new QLabel(QStringLiteral("0ppm"))),
      Label4(new QLabel(QStringLiteral("受信ｻﾝﾌﾟﾘﾝｸﾞ周波数 "))), VScroll4(verticalBar(-9999, 9999)),
      Label5(new QLabel), Option1{new QRadioButton(QStringLiteral("x0.01")),
                                  new QRadioButton(QStringLiteral("x0.10")),
                                  new QRadioButton(QStringLiteral("x1.00"))},
      Command2(new QPushButton(QStringLiteral("TXoffset計測"))), Label8(new QLabel), Label9(new QLabel),
      Command1(new QPushButton(QStringLiteral("サウンドクロックの補正(RX)"))), menus(new QMenuBar) {
    setWindowTitle(QStringLiteral("MMVARI 動作設定"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    CLOSE_CFG = menus->addAction(QStringLiteral("閉じる"));
    Option1[0]->setChecked(true);
    Label9->hide();
    auto* mfsk = new QVBoxLayout(Frame2);
    mfsk->addWidget(Check2);
    mfsk->addWidget(Check3);
    auto* rtty = new QVBoxLayout(Frame3);
    rtty->addWidget(Check4);
    rtty->addWidget(Check5);
    auto* sound = new QGridLayout(Frame1);
    sound->addWidget(Check6, 0, 0, 1, 3);
    sound->addWidget(Label6, 1, 0);
    sound->addWidget(Label7, 1, 1);
    sound->addWidget(Label3, 1, 2);
    sound->addWidget(VScroll3, 1, 3);
    sound->addWidget(Label4, 2, 0);
    sound->addWidget(Label5, 2, 1, 1, 2);
    sound->addWidget(VScroll4, 2, 3);
    auto* steps = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        steps->addButton(Option1[std::size_t(i)], i);
        sound->addWidget(Option1[std::size_t(i)], 3, i);
    }
    sound->addWidget(Command2, 4, 0, 1, 2);
    sound->addWidget(Label8, 4, 2);
    sound->addWidget(Label9, 5, 0, 1, 3);
    sound->addWidget(Command1, 6, 0, 1, 3);
    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menus);
    grid->addWidget(Check1, 0, 0, 1, 2);
    grid->addWidget(Frame2, 1, 0);
    grid->addWidget(Frame3, 1, 1);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(VScroll1, 2, 1);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(VScroll2, 3, 1);
    grid->addWidget(Frame1, 4, 0, 1, 2);

    connect(Check1, &QCheckBox::toggled, this, &CFG_MMVARI::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &CFG_MMVARI::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &CFG_MMVARI::Check3_Click);
    connect(Check4, &QCheckBox::toggled, this, &CFG_MMVARI::Check4_Click);
    connect(Check5, &QCheckBox::toggled, this, &CFG_MMVARI::Check5_Click);
    connect(Check6, &QCheckBox::toggled, this, &CFG_MMVARI::Check6_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &CFG_MMVARI::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &CFG_MMVARI::VScroll2_Change);
    connect(VScroll3, &QScrollBar::valueChanged, this, &CFG_MMVARI::VScroll3_Change);
    connect(VScroll4, &QScrollBar::valueChanged, this, &CFG_MMVARI::VScroll4_Change);
    connect(steps, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) Option1_Click(id);
    });
    connect(Command1, &QPushButton::clicked, this, &CFG_MMVARI::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CFG_MMVARI::Command2_Click);
    connect(CLOSE_CFG, &QAction::triggered, this, &CFG_MMVARI::CloseMmvariDialog);
    new settings::EmergencyKey(this);
}

void CFG_MMVARI::Form_Load() {
    mmvstate::Globals& g = mmvstate::g;
    settings::placeBesideOwner(*this, forms::PSK31MAIN());
    setSteps();
    Check1->setChecked(storedOn("HPF_SW"));
    Check2->setChecked(storedOn("SqMFSK_SW"));
    Check3->setChecked(storedOn("TcMFSK_SW"));
    Check4->setChecked(storedOn("UOS_SW"));
    Check5->setChecked(storedOn("Didl_SW"));
    // Each bar's handler runs once, also for a value the bar already holds
    // (its minimum), so that its label always shows the value.
    {
        const QSignalBlocker quiet1(VScroll1);
        const QSignalBlocker quiet2(VScroll2);
        VScroll1->setValue(core::IniWholeOr(kSection, QStringLiteral("AFC_W"), 50));
        VScroll2->setValue(core::IniWholeOr(kSection, QStringLiteral("CWIDsp"), 20));
    }
    VScroll1_Change();
    VScroll2_Change();
    const int tx = settings::offsetScrollValue(core::IniStored(kSection, QStringLiteral("TXoffset")));
    VScroll3->setValue(tx);
    if (tx == 0) {
        g.MmvariTxOffset = 0;
        Label3->setText(QStringLiteral("0ppm"));
    }
    const int rx = settings::offsetScrollValue(core::IniStored(kSection, QStringLiteral("RXoffset")));
    VScroll4->setValue(rx);
    if (rx == 0) {
        g.MmvariRxOffset = 0;
        Label5->setText(settings::hzText(g.MmvariBaseSampleFreq));
    }
    Check6->setChecked(core::IniStored(kSection, QStringLiteral("extLoop")) == QStringLiteral("True"));
}

void CFG_MMVARI::Form_Unload() {
    closing_ = true;
    mmvstate::g.MmvariTxOffsetMeasuring = 0;
    core::PutIniNumber(kSection, "AFC_W", VScroll1->value());
    core::PutIniNumber(kSection, "CWIDsp", VScroll2->value());
    core::PutIniText(kSection, "TXoffset", Label7->text());
    core::PutIniText(kSection, "RXoffset", settings::offsetText(mmvstate::g.MmvariRxOffset));
    QVariant loop;
    const bool looped =
        forms::isLoaded<PSK31MAIN>() && control().get(mmvari::IdExtLoop, loop) && loop.toBool();
    core::PutIniText(kSection, "extLoop", looped ? QStringLiteral("True") : QStringLiteral("False"));
}

void CFG_MMVARI::Check1_Click() {
    control().set(mmvari::IdHpf, Check1->isChecked());
    core::PutIniText(kSection, "HPF_SW", oneZero(Check1->isChecked()));
}

void CFG_MMVARI::Check2_Click() {
    control().set(mmvari::IdSqMfsk, Check2->isChecked());
    core::PutIniText(kSection, "SqMFSK_SW", oneZero(Check2->isChecked()));
}

void CFG_MMVARI::Check3_Click() {
    control().set(mmvari::IdTcMfsk, Check3->isChecked());
    core::PutIniText(kSection, "TcMFSK_SW", oneZero(Check3->isChecked()));
}

void CFG_MMVARI::Check4_Click() {
    control().set(mmvari::PUos, 0, Check4->isChecked());
    core::PutIniText(kSection, "UOS_SW", oneZero(Check4->isChecked()));
}

void CFG_MMVARI::Check5_Click() {
    const bool brk = Check5->isChecked();
    Check5->setText(brk ? QStringLiteral("RTTY-Diddle = BRK") : QStringLiteral("RTTY-Diddle = LTR"));
    control().set(mmvari::IdDiddle, brk ? 1 : 0);
    core::PutIniText(kSection, "Didl_SW", oneZero(brk));
}

// Stored with the others when the dialog unloads, from the control.
void CFG_MMVARI::Check6_Click() {
    control().set(mmvari::IdExtLoop, Check6->isChecked());
}

void CFG_MMVARI::VScroll1_Change() {
    Label1->setText(QStringLiteral("AFC ") + QString::number(VScroll1->value()) + QStringLiteral("Hz"));
    control().set(mmvari::IdAfcWidth, VScroll1->value());
}

void CFG_MMVARI::VScroll2_Change() {
    Label2->setText(QStringLiteral("CWIDspeed= ") + QString::number(VScroll2->value()));
    control().set(mmvari::IdCwIdSpeed, VScroll2->value());
}

void CFG_MMVARI::setSteps() {
    for (QScrollBar* bar : {VScroll3, VScroll4}) {
        bar->setSingleStep(MmvariScrollStep);
        bar->setPageStep(MmvariScrollStep);
    }
}

void CFG_MMVARI::VScroll3_Change() {
    setSteps();
    mmvstate::Globals& g = mmvstate::g;
    g.MmvariTxOffset = VScroll3->value() / 100.0;
    Label7->setText(settings::offsetText(g.MmvariTxOffset));
    Label3->setText(settings::mmvariPpmText(g.MmvariTxOffset));
    control().set(mmvari::IdTxOffset, g.MmvariTxOffset);
}

void CFG_MMVARI::VScroll4_Change() {
    setSteps();
    mmvstate::Globals& g = mmvstate::g;
    g.MmvariRxOffset = VScroll4->value() / 100.0;
    Label5->setText(settings::hzText(g.MmvariBaseSampleFreq + g.MmvariRxOffset));
    control().set(mmvari::IdRxSampleFreq, g.MmvariBaseSampleFreq + g.MmvariRxOffset);
}

void CFG_MMVARI::Option1_Click(int Index) {
    MmvariScrollStep = settings::offsetStep(Index);
    setSteps();
}

void CFG_MMVARI::Command1_Click() {
    settings::OpenClockAdjust();
}

void CFG_MMVARI::Command2_Click() {
    if (mmvstate::g.MmvariTxOffsetMeasuring == 1)
        finishMeasurement();
    else
        startMeasurement();
}

// NET off, AFC and ATC on, as the measurement needs them; the main window's
// buttons and switch states follow.
void CFG_MMVARI::startMeasurement() {
    PSK31MAIN& w = forms::PSK31MAIN();
    mmvstate::Globals& g = mmvstate::g;
    w.MMVARI->set(mmvari::IdNet, false);
    g.MmvariNetOn = 0;
    colour::setBackColor(w.Command23, colour::kButtonFace);
    w.MMVARI->set(mmvari::PAfc, 0, true);
    g.MmvariAfcOn = 1;
    colour::setBackColor(w.Command22, terminal::panels::kAfcOnColour);
    w.MMVARI->set(mmvari::IdAtc, true);
    core::g.MmvariSwitches[kAtcButton] = 1;
    colour::setBackColor(w.Command19[kAtcButton], terminal::panels::kSwitchOnColour);
    g.MmvariTxOffsetMeasuring = 1;
    sameReadings_ = 0;
    colour::setBackColor(Command2, kMeasuringColour);
    Command2->setText(QStringLiteral("TXoffset計測中"));
}

void CFG_MMVARI::finishMeasurement() {
    mmvstate::g.MmvariTxOffsetMeasuring = 0;
    VScroll3->setValue(settings::measuredOffsetScrollValue(mmvstate::g.MmvariTxOffset, Label8->text()));
    colour::setBackColor(Command2, colour::kButtonFace);
    Command2->setText(QStringLiteral("TXoffset計測"));
}

void CFG_MMVARI::showMeasurement(int reading) {
    if (mmvstate::g.MmvariTxOffsetMeasuring != 1) {
        Label9->clear();
        Label9->hide();
        return;
    }
    sameReadings_ = reading == lastReading_ && sameReadings_ > 0 ? sameReadings_ + 1 : 1;
    lastReading_ = reading;
    Label8->setText(QString::number(reading));
    if (sameReadings_ <= kSettledAfter) return;
    Label9->setText(QStringLiteral("そろそろ確定どきかも"));
    Label9->show();
    colour::setBackColor(Command2, terminal::panels::kSwitchOnColour);
    Command2->setText(QStringLiteral("TXoffset計測確定"));
}

void CFG_MMVARI::CloseMmvariDialog() {
    if (mmvstate::g.MmvariTxOffsetMeasuring == 1 &&
        ui::msgBox(QStringLiteral("まだTXoffset計測が終了していませんが閉じますか？"), ui::YesNo) != ui::Yes)
        return;
    mmvstate::g.MmvariTxOffsetMeasuring = 0;
    forms::unload<CFG_MMVARI>();
    forms::PSK31MAIN().Text1->setFocus();
}

void CFG_MMVARI::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (!closing_) CloseMmvariDialog();
}
