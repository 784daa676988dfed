// The rig tab: the CAT link's family, port and line settings (a change reopens
// the port), how the rig is read, and the rig's mode codes.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/os/SerialComm.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "rig/RigSettings.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "settings/sheet/SheetRules.h"
#include "spots/ClusterData.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace {

const QString kRig = QStringLiteral("RIG_CON_CFG");

const QStringList kFamilies{QStringLiteral("Not Use"), QStringLiteral("ICOM"),  QStringLiteral("KENWOOD"),
                            QStringLiteral("FT767"),   QStringLiteral("FT817"), QStringLiteral("FT847"),
                            QStringLiteral("FT900"),   QStringLiteral("FT920"), QStringLiteral("FT1000MP"),
                            QStringLiteral("JST-245")};
const QStringList kBauds{QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
                         QStringLiteral("38400"), QStringLiteral("1200")};

constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;

QGroupBox* frame(const QString& caption, QLayout* layout) {
    auto* f = new QGroupBox(caption);
    f->setLayout(layout);
    return f;
}

bool inSstv() {
    return core::g.OpMode == core::ModeSstv;
}

} // namespace

QWidget* CFGSHEET::buildRigTab() {
    Combo1 = new QComboBox;
    Combo1->addItems(kFamilies);
    Combo1->setPlaceholderText(QStringLiteral("Select Rig"));
    Combo1->setCurrentIndex(-1);
    Text11 = new QLineEdit;
    ui::setTextLimit(Text11, 2);
    Text11->setToolTip(QStringLiteral("機種ｱﾄﾞﾚｽをSETして下さい"));
    auto* family = new QHBoxLayout;
    family->addWidget(Combo1);
    family->addWidget(Text11);
    family->addWidget(new QLabel(QStringLiteral(" H")));
    auto* frame15 = frame(QStringLiteral("RIG Select"), family);

    auto* ports = new QHBoxLayout;
    QStringList portCaptions{QStringLiteral("なし")};
    for (int n = 1; n <= 8; ++n)
        portCaptions << QStringLiteral("#%1").arg(n);
    settings::MakeOptions(Option2, portCaptions, ports, [this](int i) { Option2_Click(i); });
    rigDeviceRow_ = new QHBoxLayout;
    auto* portRows = new QVBoxLayout;
    portRows->addLayout(ports);
    portRows->addLayout(rigDeviceRow_);
    auto* frame14 = frame(QStringLiteral("RIG-ComPort"), portRows);

    auto* bauds = new QHBoxLayout;
    settings::MakeOptions(Option4,
                          {QStringLiteral("4800bps"), QStringLiteral("9600bps"), QStringLiteral("19200bps"),
                           QStringLiteral("38400bps"), QStringLiteral("1200bps")},
                          bauds, [this](int i) { Option4_Click(i); });
    auto* frame11 = frame(QStringLiteral("Baud Rate"), bauds);

    auto* stops = new QVBoxLayout;
    settings::MakeOptions(Option5, {QStringLiteral("1bit"), QStringLiteral("2bit")}, stops,
                          [this](int i) { Option5_Click(i); });
    for (const char* advice : {"JST-245 = 1", "CI-V    = 1", "TS-850 = 2", "TS-870 = 1 or 2", "CAT    =  2"})
        stops->addWidget(new QLabel(QString::fromLatin1(advice)));
    auto* frame16 = frame(QStringLiteral("Stop Bit   ( 8bit NoneParity )"), stops);

    Text5 = new QLineEdit;
    Text5->setToolTip(QStringLiteral("リターンで決定します"));
    Text5->installEventFilter(this);

    auto* vfo = new QGridLayout;
    auto* vfoOptions = new QHBoxLayout;
    settings::MakeOptions(
        Option9,
        {QStringLiteral("送受切換時のみ更新"), QStringLiteral("ポーリング"), QStringLiteral("何もしない")},
        vfoOptions, [this](int i) { Option9_Click(i); });
    vfo->addLayout(vfoOptions, 0, 0, 1, 3);
    HScroll3 = new QScrollBar(Qt::Horizontal);
    HScroll3->setRange(settings::RangeLow("RIG_CON_CFG", "Poll_Time"),
                       settings::RangeHigh("RIG_CON_CFG", "Poll_Time"));
    HScroll3->setSingleStep(200);
    HScroll3->setPageStep(200);
    Label41 = new QLabel;
    vfo->addWidget(HScroll3, 1, 0);
    vfo->addWidget(Label41, 1, 1);
    vfo->addWidget(new QLabel(QStringLiteral("ms")), 1, 2);
    Frame20 = frame(QStringLiteral("VFO Check"), vfo);

    Check14 = new QCheckBox(QStringLiteral("周波数データのModeによる補正"));
    Check13 = new QCheckBox(QStringLiteral("ｲﾝﾀｰﾈｯﾄ常時接続環境にある"));
    Check15 = new QCheckBox(QStringLiteral("使用する　　IF freq"));
    Text16 = new QLineEdit;
    auto* trv = new QHBoxLayout;
    trv->addWidget(Check15);
    trv->addWidget(Text16);
    trv->addWidget(new QLabel(QStringLiteral(" MHz")));
    auto* frame21 = frame(QStringLiteral("Transverter"), trv);

    Text21 = new QLineEdit;
    Text22 = new QLineEdit;
    Text23 = new QLineEdit;
    Command19 = new QPushButton(QStringLiteral("SET"));
    auto* codes = new QGridLayout;
    codes->addWidget(new QLabel(QStringLiteral("PSK31")), 0, 0);
    codes->addWidget(new QLabel(QStringLiteral("RTTY")), 0, 1);
    codes->addWidget(new QLabel(QStringLiteral("CW")), 0, 2);
    codes->addWidget(Text21, 1, 0);
    codes->addWidget(Text22, 1, 1);
    codes->addWidget(Text23, 1, 2);
    codes->addWidget(Command19, 1, 3);
    auto* frame22 = frame(QStringLiteral("PSK/RTTY/CW Special Setting"), codes);

    connect(Combo1, &QComboBox::activated, this, &CFGSHEET::Combo1_Click);
    connect(Text11, &QLineEdit::textChanged, this, &CFGSHEET::Text11_Change);
    connect(Text5, &QLineEdit::textChanged, this, &CFGSHEET::Text5_Change);
    connect(HScroll3, &QScrollBar::valueChanged, this, &CFGSHEET::HScroll3_Change);
    connect(Check14, &QCheckBox::toggled, this, &CFGSHEET::Check14_Click);
    connect(Check13, &QCheckBox::toggled, this, &CFGSHEET::Check13_Click);
    connect(Check15, &QCheckBox::toggled, this, &CFGSHEET::Check15_Click);
    connect(Text16, &QLineEdit::editingFinished, this, &CFGSHEET::Text16_Change);
    connect(Command19, &QPushButton::clicked, this, &CFGSHEET::Command19_Click);

    auto* tab = new QWidget;
    auto* layout = new QGridLayout(tab);
    layout->addWidget(frame15, 0, 0);
    auto* interval = new QHBoxLayout;
    interval->addWidget(new QLabel(QStringLiteral("Interval Time ( ms)")));
    interval->addWidget(Text5);
    layout->addLayout(interval, 0, 1);
    layout->addWidget(frame14, 1, 0, 1, 2);
    layout->addWidget(frame11, 2, 0);
    layout->addWidget(frame16, 2, 1, 2, 1);
    layout->addWidget(Frame20, 3, 0);
    layout->addWidget(Check14, 4, 0);
    layout->addWidget(Check13, 4, 1);
    layout->addWidget(frame21, 5, 0);
    layout->addWidget(frame22, 5, 1);
    return tab;
}

QStringList CFGSHEET::listedSerialPorts() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return devices;
}

bool CFGSHEET::rigPortChosen() const {
    return rig::g.RigPortName != QLatin1String("NONE");
}

void CFGSHEET::reopenRigPort() {
    if (core::g.CfgSheetLoading == 0 && rigPortChosen()) rig::RigOpenPort();
}

void CFGSHEET::Combo1_Click() {
    const int entry = Combo1->currentIndex();
    if (entry < 0) return;
    Text11->setEnabled(entry == 1);
    rig::RigLoadModeCodes();
    rig::g.RigType = Combo1->currentText();
    core::PutIniText(kRig, "RIG_TYPE", rig::g.RigType);
    reopenRigPort();
}

void CFGSHEET::Text11_Change() {
    rig::g.IcomAddress = settings::IcomAddressFor(Text11->text());
}

void CFGSHEET::setRigPortLabels(bool open) {
    PSK31MAIN* mainWin = settings::LoadedMain();
    if (!mainWin) return;
    PSK31MAIN& main = *mainWin;
    for (QWidget* label : {static_cast<QWidget*>(main.Label11), static_cast<QWidget*>(main.Label16),
                           static_cast<QWidget*>(main.Label3), static_cast<QWidget*>(main.Label35)})
        colour::setForeColor(label, open ? kRed : kBlue);
}

void CFGSHEET::Option2_Click(int index) {
    chooseRigPort(index == 0 ? QStringLiteral("NONE") : QStringLiteral("COM%1").arg(index), index);
}

void CFGSHEET::RigDevice_Click(const QString& device) {
    chooseRigPort(device, -1);
}

void CFGSHEET::offerRigDevice(const QString& device) {
    auto* b = new QRadioButton(device);
    Option2[0]->group()->addButton(b);
    rigDeviceRow_->addWidget(b);
    connect(b, &QRadioButton::toggled, this, [this, device](bool on) {
        if (on) RigDevice_Click(device);
    });
    RigDevice.push_back(b);
}

// The rig port by its stored name; comNumber is its "#n" (0 for none, -1 for a device path).
void CFGSHEET::chooseRigPort(const QString& name, int comNumber) {
    rig::Globals& r = rig::g;
    const bool none = comNumber == 0;
    r.RigPortName = name;
    if (none) r.RigPollMode = 0;
    for (int n = 1; n <= 8; ++n)
        Option1[std::size_t(n)]->setEnabled(n != comNumber);
    core::PutIniName(kRig, QStringLiteral("RIGCOMCONT"), r.RigPortName);
    if (none) {
        // No rig port: nothing polls a port that is no longer chosen.
        rig::RigStopPolling();
        if (r.RigPortOpen == 1) rig::RigClosePort();
    }
    if (!inSstv()) {
        setRigPortLabels(!none);
        if (none) {
            settings::SelectOption(Option9, 2);
            if (PSK31MAIN* main = settings::LoadedMain()) {
                main->Label40->clear();
                main->Label23->clear();
            }
            forms::unload<ClusterData>();
        }
        Frame20->setEnabled(!none);
    }
    reopenRigPort();
}

void CFGSHEET::Option4_Click(int index) {
    rig::g.RigBaudRate = kBauds[index];
    core::PutIniText(kRig, "BAUD_RATE", rig::g.RigBaudRate);
    reopenRigPort();
}

void CFGSHEET::Option5_Click(int index) {
    rig::g.RigStopBits = QString::number(index + 1);
    core::PutIniText(kRig, "STOP_BIT", rig::g.RigStopBits);
    reopenRigPort();
}

void CFGSHEET::Text5_Change() {
    rig::g.RigInterval = settings::RigIntervalFor(Text5->text());
}

void CFGSHEET::Option9_Click(int index) {
    static const QStringList kChecks{QStringLiteral("YES"), QStringLiteral("YesP"), QStringLiteral("NO")};
    static constexpr int kPollModes[] = {1, 2, 0};
    rig::g.RigVfoCheck = kChecks[index];
    rig::g.RigPollMode = kPollModes[index];
    PSK31MAIN* main = settings::LoadedMain();
    if (index == 2 && !inSstv() && main) main->Label40->clear();
}

void CFGSHEET::HScroll3_Change() {
    rig::g.RigPollInterval = HScroll3->value();
    Label41->setText(QString::number(rig::g.RigPollInterval));
    core::PutIniNumber(kRig, "Poll_Time", rig::g.RigPollInterval);
}

void CFGSHEET::Check14_Click() {
    rig::g.RigModeCheck = settings::YesNo(Check14->isChecked());
    rig::g.RigModeCheckOn = Check14->isChecked() ? 1 : 0;
}

// The spot item of the operating window: the SSTV window's in SSTV mode.
void CFGSHEET::Check13_Click() {
    rig::g.InternetAlwaysOn = settings::YesNo(Check13->isChecked());
    if (inSstv()) {
        if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().dxinfo->setEnabled(Check13->isChecked());
    } else if (PSK31MAIN* main = settings::LoadedMain()) {
        main->dxinfo->setEnabled(Check13->isChecked());
    }
}

void CFGSHEET::Check15_Click() {
    const bool on = Check15->isChecked();
    rig::g.TransverterUse = settings::YesNo(on);
    QAction* item = nullptr;
    if (inSstv()) {
        if (forms::isLoaded<SSTVForm>()) item = forms::SSTVForm().TRVon;
    } else if (PSK31MAIN* main = settings::LoadedMain()) {
        main->LINE_TRV->setVisible(on);
        item = main->TRVon;
    }
    if (item) item->setVisible(on);
    if (!on) {
        // The offset stops whether or not a window shows the item.
        if (item) item->setChecked(false);
        rig::g.TransverterOn = QStringLiteral("0");
    }
    core::PutIniText(kRig, "USE_TRV", rig::g.TransverterUse);
}

// Checked when the operator is done with the box (it is left, or the sheet
// closes), not at every key: the digits on the way to a number are not it.
void CFGSHEET::Text16_Change() {
    rig::Globals& r = rig::g;
    if (loading_ || Text16->text() == r.TransverterIfText) return;
    const std::optional<QString> mhz = settings::TypedWholeNumber(Text16->text());
    if (!mhz) {
        Text16->setText(r.TransverterIfText);
        ui::msgBox(QStringLiteral("Transverter の IF freq は整数 (MHz) で入力して下さい。\n使用中の ") +
                       r.TransverterIfText + QStringLiteral(" MHz に戻します。"),
                   ui::OkOnly + ui::Exclamation);
        return;
    }
    r.TransverterIfText = *mhz;
    r.TransverterIfHz = rig::TransverterIfHzOf(*mhz);
}

void CFGSHEET::Command19_Click() {
    for (QLineEdit* box : {Text21, Text22, Text23}) {
        if (core::IniHolds(box->text(), boxCaption(box))) continue;
        box->setFocus();
        return;
    }
    rig::Globals& r = rig::g;
    r.RigCwModeIni = Text23->text().trimmed();
    r.RigRttyModeIni = Text22->text().trimmed();
    r.RigPskModeIni = Text21->text().trimmed();
    const struct {
        const QString& text;
        QString& inUse;
        core::IniKey key;
    } codes[] = {{r.RigCwModeIni, r.RigCwModeCode, "CWMode"},
                 {r.RigRttyModeIni, r.RigRttyModeCode, "RTTYMode"},
                 {r.RigPskModeIni, r.RigPskModeCode, "PSK31Mode"}};
    for (const auto& c : codes) {
        if (c.text.isEmpty()) continue;
        c.inUse = c.text;
        core::PutIniText(kRig, c.key, c.text);
    }
}
