// The log tab's buttons that name outside files and texts: the QSL printing
// program and its card definition with the QSL-sent mark, the award program,
// the QSOBank sender and the eQSL remarks, the two outside programs of the
// main window, and what becomes of a received QTH.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/PickerRules.h"
#include "settings/sheet/SheetControls.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCursor>

namespace {

const QString kHamLog = QStringLiteral("HamLog");
const QString kEqsl = QStringLiteral("E-QSL");
const QString kOther = QStringLiteral("Other_App");

// The file the operator picks, starting beside the one the setting holds; the
// empty text when the dialog is cancelled.
// A file whose name the settings file cannot hold is not taken.
QString pick(const QString& title, const QString& filter, const QString& stored) {
    const QString file = ui::openFileName(title, settings::PickerFolder(stored, paths::programFolder()),
                                          settings::DialogFilter(filter));
    return core::IniHoldsPath(file) ? file : QString();
}

void tell(const QString& text) {
    ui::msgBox(text, ui::OkOnly);
}

// What the received-QTH items store, in the order of the menu.
const QStringList kQthOperations{QStringLiteral("Free"), QStringLiteral("QTH"), QStringLiteral("Rem1"),
                                 QStringLiteral("Rem2")};

} // namespace

void CFGSHEET::Command7_Click() {
    logbook::Globals& l = logbook::g;
    const QString file = pick(QStringLiteral("QSL印刷ｿﾌﾄ の場所を指定します"),
                              QStringLiteral("HLQSL(HLQSLN.exe) or MMQSL(MMQSL.exe)|HLQSLN.exe;MMQSL.exe"),
                              l.QslPrintProgPath);
    if (file.isEmpty()) return tell(QStringLiteral("QSL印刷ｿﾌﾄ の指定を中止します"));
    l.QslPrintProgPath = file;
    core::PutIniName(kHamLog, QStringLiteral("HLQSL"), file);
    l.QslPrintProgKind = 1;
    settings::MarkButton(Command7, settings::kLightGreen,
                         settings::ConfiguredTip(QStringLiteral("QSL印刷ｿﾌﾄ"), file));
    Command18->setEnabled(file.toUpper().contains(QLatin1String("MMQSL.EXE")));
}

void CFGSHEET::Command18_Click() {
    logbook::Globals& l = logbook::g;
    const QString file = pick(QStringLiteral("MMQSL定義ﾌｧｲﾙを指定します"),
                              QStringLiteral("MMQSL定義ﾌｧｲﾙ(*.MQL)|*.mql"), l.MmqslSetting);
    if (file.isEmpty()) return tell(QStringLiteral("MMQSL定義ﾌｧｲﾙ の指定を中止します"));
    l.MmqslSetting = file;
    core::PutIniName(kHamLog, QStringLiteral("MMQSL"), file);
    settings::MarkButton(Command18, settings::kLightGreen,
                         settings::ConfiguredTip(QStringLiteral("QSL定義ﾌｧｲﾙ"), file));
    askQslSendMark();
}

void CFGSHEET::askQslSendMark() {
    logbook::Globals& l = logbook::g;
    const std::optional<QString> answer =
        settings::AskHeld(QStringLiteral("QSL発行済みマークを指定して下さい\n半角一文字です（厳守）\n\n"
                                         "これはHAMLOGにQSL発行済みマークを送る為のものです"),
                          QStringLiteral("QSL発行済みマークの指定"), l.QslSendMark);
    // A cancelled box keeps the mark in use.
    if (!answer) return;
    l.QslSendMark = settings::QslSendMarkFor(*answer);
    core::PutIniText(kHamLog, "QSLSendMark", l.QslSendMark);
}

void CFGSHEET::Command9_Click() {
    logbook::Globals& l = logbook::g;
    const QString file = pick(QStringLiteral("HLJCAW.EXE を指定します"),
                              QStringLiteral("HLJCAW(*.EXE)|*.EXE|"), l.HamlogJcaPath);
    if (file.isEmpty()) return tell(QStringLiteral("HLJCAW.EXE の指定を中止します"));
    core::PutIniName(kHamLog, QStringLiteral("HLJCA"), file);
    l.HamlogJcaPath = file;
    l.HamlogJcaOn = 1;
    settings::MarkButton(Command9, settings::kLightGreen,
                         settings::ConfiguredTip(QStringLiteral("HLJCA.EXE"), file));
}

void CFGSHEET::Command13_Click() {
    logbook::Globals& l = logbook::g;
    const QString file = pick(QStringLiteral("QSOBankのComQSOBank.exeを指定します"),
                              QStringLiteral("QSOBank用ComQSOBank.exe|*.exe|"), l.ComQsoBankPath);
    if (file.isEmpty()) {
        tell(QStringLiteral("ComQSOBank.EXEが指定（変更）されませんでした"));
        Text1->setFocus();
        return;
    }
    l.ComQsoBankPath = file;
    core::PutIniName(kEqsl, QStringLiteral("ComQSOBank"), file);
    l.EqslEnabled = 1;
    settings::MarkButton(Command13, settings::kLightGreen,
                         settings::ConfiguredTip(QStringLiteral("電子QSL送信機"), file));
    Text1->setFocus();
}

void CFGSHEET::Command14_Click() {
    logbook::Globals& l = logbook::g;
    eqslMessage_ =
        core::IniStored(kEqsl, QStringLiteral("eQSL_Mesg")).value_or(QStringLiteral("MNY TKS FB QSO."));
    const std::optional<QString> answer =
        settings::AskHeld(QStringLiteral("電子QSL(eQSL)カードに載せるRemarks文を入力して下さい"),
                          QStringLiteral("ZORVATEK eQSLカードのRemarks"), eqslMessage_);
    // A cancelled box changes nothing.
    if (!answer) return;
    if (!answer->isEmpty()) {
        l.EqslMessage = *answer;
        eqslMessage_ = *answer;
        core::PutIniText(kEqsl, "eQSL_Mesg", *answer);
        colour::setBackColor(Command14, settings::kLightGreen);
    }
    Command14->setToolTip(settings::EqslRemarksTip(l.EqslMessage));
    l.EqslEnabled = 1;
}

void CFGSHEET::Command11_Click() {
    chooseOtherProgram(1);
}

void CFGSHEET::Command12_Click() {
    chooseOtherProgram(2);
}

void CFGSHEET::chooseOtherProgram(int n) {
    core::Globals& g = core::g;
    QString& path = n == 1 ? g.OtherApp1Path : g.OtherApp2Path;
    QString& name = n == 1 ? g.OtherApp1Name : g.OtherApp2Name;
    const QString cancelled = QStringLiteral("Other Application の指定を中止します");
    // Programs here carry no ".exe"; the second entry offers every file.
    const QString file = pick(QStringLiteral("Other Application の場所を指定します"),
                              QStringLiteral("Other Application(*.exe)|*.exe|プログラム|*|"), path);
    if (file.isEmpty()) return tell(cancelled);
    const std::optional<QString> answer =
        settings::AskHeld(QStringLiteral("お好きなボタン名を付けて下さい\n６文字以内が美しいですＨｉ"),
                          QStringLiteral("釦名定義"), name);
    // Without a name the program in use and its name stay.
    if (!answer || answer->isEmpty()) return tell(cancelled);
    path = file;
    name = *answer;
    (n == 1 ? Command11 : Command12)->setText(name);
    core::PutIniName(kOther, QStringLiteral("Other_App%1_pos").arg(n), path);
    core::PutIniText(kOther, core::IniKey::built(QStringLiteral("Other_App%1_Name").arg(n)), name);
    PSK31MAIN* main = settings::LoadedMain();
    if (g.OpMode == core::ModeSstv || !main) return;
    QAction* item = n == 1 ? main->OPAPP1_STRT : main->OPAPP2_STRT;
    item->setText(name);
    item->setVisible(true);
}

void CFGSHEET::Command17_Click() {
    if (logbook::g.HamlogLink == 0) return tell(QStringLiteral("先にhamlogの場所設定をお願いします"));
    tickQthItem();
    forms::execMenu(*QTHDATA, QCursor::pos());
}

void CFGSHEET::tickQthItem() {
    core::Globals& g = core::g;
    g.QthOperation = core::IniStored(kHamLog, QStringLiteral("QTHOperation")).value_or(kHamLog);
    // Any other stored text decides on the spot.
    const int chosen = std::max(0, int(kQthOperations.indexOf(g.QthOperation)));
    for (int i = 0; i < int(TOQTH.size()); ++i)
        TOQTH[std::size_t(i)]->setChecked(i == chosen);
}

void CFGSHEET::TOQTH_Click(int index) {
    for (int i = 0; i < int(TOQTH.size()); ++i)
        TOQTH[std::size_t(i)]->setChecked(i == index);
    core::g.QthOperation = kQthOperations[index];
    core::PutIniText(kHamLog, "QTHOperation", core::g.QthOperation);
}
