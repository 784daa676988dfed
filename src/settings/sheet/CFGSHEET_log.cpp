// The log tab: how the system reaches the logging program, the log's mode
// names and QSL marks, and the switches of the log entry.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/os/Paths.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/PickerRules.h"
#include "settings/sheet/SheetControls.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString kHamLog = QStringLiteral("HamLog");

bool inSstv() {
    return core::g.OpMode == core::ModeSstv;
}

QGroupBox* frame(const QString& caption, QLayout* layout) {
    auto* f = new QGroupBox(caption);
    f->setLayout(layout);
    return f;
}

QLineEdit* box(const QString& designText, int maxLength, const QString& tip = {}) {
    auto* b = new QLineEdit(designText);
    ui::setTextLimit(b, maxLength, ui::PastLimit::Refuse);
    b->setToolTip(tip);
    return b;
}

// The log button of the window in use.
QPushButton* logButton() {
    if (inSstv()) return forms::SSTVForm().Command1;
    PSK31MAIN* main = settings::LoadedMain();
    return main ? main->Command5 : nullptr;
}

void enableLogButton(bool on) {
    if (QPushButton* b = logButton()) b->setEnabled(on);
}

// The main window's pop-up items that hand words to the log entry.
QList<QAction*> logItems() {
    PSK31MAIN& m = forms::PSK31MAIN();
    return {m.INSAISATU, m.CALLSR, m.QTHPST->menuAction(), m.PSTREM1, m.PSTREM2, m.PSTTOREM1, m.PSTTOREM2};
}

void setLogItems(bool on) {
    if (inSstv() || !settings::LoadedMain()) return;
    for (QAction* a : logItems())
        a->setEnabled(on);
}

// The log entry window as the library link shows it: its caption names the
// database and its browse buttons are shown.
void showLibraryEntry() {
    TEMP_LOG& t = forms::TEMP_LOG();
    t.setWindowTitle(QStringLiteral("PSKログ LogData=>") + logbook::g.HamlogPath);
    for (QPushButton* b : {t.Command2, t.Command3, t.Command5, t.Command6})
        b->show();
}

} // namespace

QWidget* CFGSHEET::buildLogTab() {
    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(new QLabel(QStringLiteral("Hamlog を 並行起動")));
    settings::MakeOptions(
        Option8, {QStringLiteral("する"), QStringLiteral("しない"), QStringLiteral("ＬＯＧ機能は使用しない")},
        linkRow, [this](int i) { Option8_Click(i); });
    Command6 = new QPushButton(QStringLiteral("HamLog の場所"));
    Command6->setToolTip(QStringLiteral("HAMLOGの場所を指定します"));
    linkRow->addWidget(Command6);

    Check4 = new QCheckBox(QStringLiteral("HamLogへ登録時確認有"));
    Check9 = new QCheckBox(QStringLiteral("起動時HamLog Dataを表示"));
    Command9 = new QPushButton(QStringLiteral("HLJCAW"));
    auto* library = new QHBoxLayout;
    library->addWidget(Check4);
    library->addWidget(Check9);
    library->addWidget(Command9);
    Frame7 = frame(QStringLiteral("Hamlogを並行起動しない場合の設定"), library);

    Check3 = new QCheckBox(QStringLiteral("His RSTに初期値"));
    Check2 =
        new QCheckBox(QStringLiteral("終了時受信記録を自動保存する(File Name=ZORVAT_yyyymmddhhnnss.LOG）"));
    const QString modeTip = QStringLiteral("LOGに記帳するMODEを書いてください");
    Text2 = box(QStringLiteral("PSK31"), 16, modeTip);
    Text6 = box(QStringLiteral("RTTY"), 16, modeTip);
    Text15 = box(QStringLiteral("SSTV"), 16, modeTip);
    Text7 = box(QString(), 3, modeTip);
    Text8 = box(QString(), 3, modeTip);
    Text4 = box(QStringLiteral("J"), 1);
    Text9 = box(QStringLiteral("N"), 1);
    for (QLineEdit* b : {Text4, Text6, Text7, Text8, Text9, Text15})
        b->installEventFilter(this);

    Command7 = new QPushButton(QStringLiteral("QSL印刷"));
    Command7->setToolTip(QStringLiteral("QSL印刷ｿﾌﾄの場所を指定します"));
    Command18 = new QPushButton(QStringLiteral("MQL?"));
    Command11 = new QPushButton(QStringLiteral("OTHER"));
    Command12 = new QPushButton(QStringLiteral("OTHER"));
    for (QPushButton* b : {Command11, Command12})
        b->setToolTip(QStringLiteral("このボタンで他のｱﾌﾟﾘｹｰｼｮﾝを登録します"));
    Command13 = new QPushButton(QStringLiteral("ComQSOBank.exe"));
    Command14 = new QPushButton(QStringLiteral("QSL Remks"));
    Command17 = new QPushButton(QStringLiteral("QTH Data"));
    Command17->setToolTip(QStringLiteral("受信したQTHﾃﾞｰﾀをどうするかを決めます"));
    auto* eqsl = new QHBoxLayout;
    Frame17 = frame(QStringLiteral("電子ＱＳＬシステム"), eqsl);
    settings::MakeOptions(Option7, {QStringLiteral("eQSL"), QStringLiteral("QSOBank")}, eqsl,
                          [this](int i) { Option7_Click(i); });
    eqsl->addWidget(Command13);
    eqsl->addWidget(Command14);
    Command15 = new QPushButton(QStringLiteral("RSTmenu set"));
    Command15->setToolTip(QStringLiteral("RSTの種類を登録します"));
    Command16 = new QPushButton(QStringLiteral("Log表記用other MODE"));
    Command16->setToolTip(QStringLiteral("LOG機能上でのModeの種類を登録します"));
    Text10 = new QPlainTextEdit(QStringLiteral("599"));
    Text12 = new QPlainTextEdit;
    Text12->installEventFilter(this);
    Text10->hide();
    Text12->hide();

    auto* grid = new QGridLayout;
    grid->addLayout(linkRow, 0, 0, 1, 4);
    grid->addWidget(Frame7, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Mode表記 =")), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Log上の　　　   　PSK31            RTTY             SSTV")), 2,
                    1, 1, 3);
    grid->addWidget(Text2, 3, 1);
    grid->addWidget(Text6, 3, 2);
    grid->addWidget(Text15, 3, 3);
    auto* marks = new QHBoxLayout;
    marks->addWidget(new QLabel(QStringLiteral("QSL区分=")));
    marks->addWidget(Text4);
    marks->addWidget(new QLabel(QStringLiteral("QSL除外区分")));
    marks->addWidget(Text9);
    marks->addWidget(Command7);
    marks->addWidget(Command18);
    grid->addLayout(marks, 4, 0, 1, 4);
    grid->addWidget(Frame17, 5, 0, 1, 4);
    auto* others = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Command11, Text7, Command12, Text8, Command17})
        others->addWidget(w);
    grid->addLayout(others, 6, 0, 1, 4);
    grid->addWidget(Check3, 7, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("599を使用する")), 7, 2);
    grid->addWidget(Check2, 8, 0, 1, 4);
    grid->addWidget(Command15, 9, 0);
    grid->addWidget(Command16, 9, 1);
    grid->addWidget(Text10, 10, 0);
    grid->addWidget(Text12, 10, 1);

    connect(Check4, &QCheckBox::toggled, this, &CFGSHEET::Check4_Click);
    connect(Check9, &QCheckBox::toggled, this, &CFGSHEET::Check9_Click);
    connect(Check3, &QCheckBox::toggled, this, &CFGSHEET::Check3_Click);
    connect(Check2, &QCheckBox::toggled, this, &CFGSHEET::Check2_Click);
    connect(Text4, &QLineEdit::textChanged, this, &CFGSHEET::Text4_Change);
    connect(Text9, &QLineEdit::textChanged, this, &CFGSHEET::Text9_Change);
    connect(Text2, &QLineEdit::textChanged, this, &CFGSHEET::Text2_Change);
    connect(Text6, &QLineEdit::textChanged, this, &CFGSHEET::Text6_Change);
    connect(Text15, &QLineEdit::textChanged, this, &CFGSHEET::Text15_Change);
    const std::pair<QPushButton*, void (CFGSHEET::*)()> buttons[] = {
        {Command6, &CFGSHEET::Command6_Click},   {Command7, &CFGSHEET::Command7_Click},
        {Command18, &CFGSHEET::Command18_Click}, {Command9, &CFGSHEET::Command9_Click},
        {Command11, &CFGSHEET::Command11_Click}, {Command12, &CFGSHEET::Command12_Click},
        {Command13, &CFGSHEET::Command13_Click}, {Command14, &CFGSHEET::Command14_Click},
        {Command17, &CFGSHEET::Command17_Click}, {Command15, &CFGSHEET::Command15_Click},
        {Command16, &CFGSHEET::Command16_Click}};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);

    auto* tab = new QWidget;
    tab->setLayout(grid);
    return tab;
}

// Leaving the library link takes the log entry away, leaving the window link
// the QSO handed to the logging program: what is not stored there goes only
// with the operator's word, and a No keeps the link as it was.
bool CFGSHEET::entryMayGo(int index) {
    const int link = logbook::g.HamlogLink;
    const bool entryGoes =
        link == 1 && index != 1 &&
        (index == 2 || (index == 0 && core::IniStored(kHamLog, QStringLiteral("HAMLOGexePOS"))
                                          .value_or(QString())
                                          .toUpper()
                                          .contains(QLatin1String("HAMLOGW.EXE"))));
    const bool handedOverGoes = link == 2 && index != 0;
    if (entryGoes && (!logwindows::EntryUnsaved() || logwindows::AgreesToDropUnsaved())) return true;
    if (handedOverGoes && logwindows::MayDropHandedOverQso(logwindows::DropCause::LinkChange)) return true;
    if (!entryGoes && !handedOverGoes) return true;
    const QSignalBlocker b0(Option8[0]), b1(Option8[1]), b2(Option8[2]);
    settings::SelectOption(Option8, link == 1 ? 1 : 0);
    return false;
}

void CFGSHEET::Option8_Click(int index) {
    logbook::Globals& l = logbook::g;
    if (!entryMayGo(index)) return;
    Command6->setEnabled(true);
    if (index == 1) {
        // The load greys the frame for a stored window link; the library link uses it.
        Frame7->setEnabled(true);
        Frame7->show();
        l.HamlogLink = 1;
        l.HamlogPath = core::IniStored(kHamLog, QStringLiteral("HAMLOGPOS")).value_or(kHamLog);
        l.HamlogDataPath = l.HamlogPath.left(l.HamlogPath.size() - 4);
        // Stored without its database the link would open nothing at the next
        // start: until one is chosen below, no log is what is stored.
        const bool database = l.HamlogPath.toUpper().contains(QLatin1String("HDB"));
        core::PutIniText(kHamLog, "HAMLOGtype", database ? QStringLiteral("1") : QStringLiteral("0"));
        if (!database) return;
        settings::MarkButton(Command6, settings::kLightGreen,
                             QStringLiteral("Hamlog-dataは現在　") + l.HamlogPath +
                                 QStringLiteral(" が設定されています。"));
        enableLogButton(true);
        setLogItems(true);
        showLibraryEntry();
        return;
    }
    if (index == 0) {
        Frame7->hide();
        l.HamlogLink = 2;
        core::PutIniText(kHamLog, "HAMLOGtype", QStringLiteral("2"));
        l.HamlogPath = core::IniStored(kHamLog, QStringLiteral("HAMLOGexePOS")).value_or(kHamLog);
        if (!l.HamlogPath.toUpper().contains(QLatin1String("HAMLOGW.EXE"))) return;
        settings::MarkButton(Command6, settings::kLightOrange,
                             QStringLiteral("Hamlogは現在　") + l.HamlogPath +
                                 QStringLiteral(" が設定されています。"));
        enableLogButton(true);
        setLogItems(false);
        forms::unload<TEMP_LOG>();
        return;
    }
    settings::MarkButton(Command6, colour::kButtonFace, QString());
    core::PutIniText(kHamLog, "HAMLOGtype", QStringLiteral("0"));
    l.HamlogLink = 0;
    enableLogButton(false);
    setLogItems(false);
    forms::unload<TEMP_LOG>();
}

void CFGSHEET::Check4_Click() {
    logbook::g.HamlogConfirmText = settings::YesNo(Check4->isChecked());
    logbook::g.HamlogConfirmOn = Check4->isChecked() ? 1 : 0;
}

void CFGSHEET::Check9_Click() {
    logbook::g.HamlogViewerOn = settings::YesNo(Check9->isChecked());
}

void CFGSHEET::Check3_Click() {
    const bool on = Check3->isChecked();
    core::g.HisRstPresetOn = settings::OneZero(on);
    PSK31MAIN* main = settings::LoadedMain();
    const QString preset = on ? (inSstv() ? QStringLiteral("595") : QStringLiteral("599")) : QString();
    logwindows::PutIntoQsoBox(inSstv() ? forms::SSTVForm().Text5 : main ? main->Text7 : nullptr, preset);
}

void CFGSHEET::Check2_Click() {
    core::g.AutoSaveRxOnExit = settings::OneZero(Check2->isChecked());
}

void CFGSHEET::Text4_Change() {
    logwindows::ChangeQslMark(Text4->text());
}

void CFGSHEET::Text9_Change() {
    logbook::g.EqslMark = Text9->text();
}

void CFGSHEET::Text2_Change() {
    core::g.LogModeTextPsk = Text2->text();
}

void CFGSHEET::Text6_Change() {
    core::g.LogModeTextRtty = Text6->text();
}

void CFGSHEET::Text15_Change() {
    core::g.LogModeTextSstv = Text15->text();
}

void CFGSHEET::Option7_Click(int index) {
    logbook::g.EqslType = QString::number(index);
    Command13->setEnabled(index == 1);
    core::PutIniText(QStringLiteral("E-QSL"), "eQSL_type", logbook::g.EqslType);
}

void CFGSHEET::Command6_Click() {
    logbook::Globals& l = logbook::g;
    if (l.HamlogLink == 0) {
        ui::msgBox(QStringLiteral("先に上の設定でHAMLOGの使用方法を決めて下さい。"), ui::OkOnly);
        return;
    }
    const bool library = l.HamlogLink == 1;
    const QString file =
        library
            ? ui::openFileName(QStringLiteral("Hamlog データベースを指定します"),
                               settings::PickerFolder(l.HamlogPath, paths::programFolder()),
                               settings::DialogFilter(QStringLiteral("hamlog データベース(*.HDB)|*.HDB|")))
            : ui::openFileName(
                  QStringLiteral("Hamlogw.exe の場所を指定します"),
                  settings::PickerFolder(l.HamlogPath, paths::programFolder()),
                  settings::DialogFilter(QStringLiteral("hamlog データベース(HAMLOGW.EXE)|HAMLOGW.EXE|")));
    if (file.isEmpty() || !core::IniHoldsPath(file)) {
        ui::msgBox(QStringLiteral("log データベースが指定（変更）されませんでした"), ui::OkOnly);
        return;
    }
    l.HamlogPath = file;
    if (!library) {
        core::PutIniName(kHamLog, QStringLiteral("HAMLOGexePOS"), file);
        l.HamlogLink = 2;
        settings::MarkButton(Command6, settings::kLightOrange,
                             settings::ConfiguredTip(QStringLiteral("Hamlog"), file));
        return;
    }
    l.HamlogDataPath = file.left(file.size() - 4);
    core::PutIniName(kHamLog, QStringLiteral("HAMLOGPOS"), file);
    core::PutIniText(kHamLog, "HAMLOGtype", QStringLiteral("1"));
    l.HamlogLink = 1;
    if (PSK31MAIN* main = settings::LoadedMain(); main && !inSstv()) {
        for (QAction* item : {main->CALLSR, main->PSTREM1, main->PSTREM2})
            item->setEnabled(true);
        main->Command5->setEnabled(true);
    }
    showLibraryEntry();
    settings::MarkButton(Command6, settings::kLightGreen,
                         settings::ConfiguredTip(QStringLiteral("Hamlog-data"), file));
}
