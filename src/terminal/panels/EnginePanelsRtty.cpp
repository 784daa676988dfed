// The RTTY program's panel: the eight switch buttons, the shift menu of
// "AFC", the notch kind of "NOT", the demodulator, FIG, the HAM preset and
// the shift list. Every press starts from the switch word the program last
// reported; its next report shows the outcome on the indicators.
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace terminal::panels {
namespace {

constexpr int kNotchButton = mmtty::FirstIndicatorPosition + mmtty::Notch;
constexpr int kAfcButton = mmtty::FirstIndicatorPosition + mmtty::Afc;
constexpr int kShiftPosition = 8;
constexpr int kDemodulatorPosition = 18;
const char* const kTwoDigits[] = {"00", "01", "10", "11"};

// The word's text with its characters from position (1 = first) on replaced.
QString withDigits(const QString& bits, int position, const QString& digits) {
    return bits.rightJustified(mmtty::SwitchPositions, QLatin1Char('0'))
        .replace(position - 1, digits.size(), digits);
}

void sendSwitches(PSK31MAIN& w) {
    core::PostMmttyCommand(mmtty::CmdSetSwitches, core::BitWord(core::mm.MmttySwitchStates));
    w.Text1->setFocus();
}

// The notch kind goes over to the other one and is kept for the next start.
void changeNotchKind(PSK31MAIN& w) {
    core::MmttyGlobals& mm = core::mm;
    const bool notch = mm.MmttyNotLms != QLatin1String("0");
    mm.MmttySwitchStates = withDigits(mm.MmttySwitchStates, mmtty::NotchKindPosition,
                                      notch ? QStringLiteral("1") : QStringLiteral("0"));
    mm.MmttyNotLms = notch ? QStringLiteral("0") : QStringLiteral("1");
    w.Command13[kNotchButton]->setText(notch ? QStringLiteral("NOT") : QStringLiteral("LMS"));
    core::PutIniText(QStringLiteral("Mmtty"), "NOT_LMS", mm.MmttyNotLms);
}

// The word goes out once the menu has closed, with the shift chosen there
// (the entry's own handler runs before this queued send).
void openShiftMenu(PSK31MAIN& w) {
    const std::array<QAction*, 4> entries = {w.ShiftFree, w.ShiftFix, w.ShiftHAM, w.ShiftFSK};
    for (int m = 0; m < 4; ++m)
        entries[m]->setChecked(m == core::mm.MmttyStatusPair);
    QObject::connect(
        w.AFCSHIFT, &QMenu::aboutToHide, &w,
        [&w] {
            QMetaObject::invokeMethod(
                &w, [&w] { sendSwitches(w); }, Qt::QueuedConnection);
        },
        Qt::SingleShotConnection);
    w.AFCSHIFT->popup(QCursor::pos());
}

} // namespace

QString pressedSwitches(const QString& reported, int k, Qt::MouseButton button,
                        const std::array<int, 8>& indicators) {
    const int element = k - mmtty::FirstIndicatorPosition;
    if (button != Qt::LeftButton || element < 0 || element >= mmtty::IndicatorCount)
        return withDigits(reported, 1, {});
    return withDigits(reported, k, indicators[element] == 1 ? QStringLiteral("0") : QStringLiteral("1"));
}

void Command13_MouseUp(int k, Qt::MouseButton button) {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::mm.MmttySwitchStates =
        pressedSwitches(core::mm.MmttyStatusBits2, k, button, core::g.MmttyIndicators);
    if (button == Qt::RightButton && k == kAfcButton) {
        openShiftMenu(w);
        return;
    }
    if (button == Qt::RightButton && k == kNotchButton) changeNotchKind(w);
    sendSwitches(w);
}

void ShiftMenu_Click(int shiftMode) {
    core::mm.MmttySwitchStates = withDigits(core::mm.MmttySwitchStates, kShiftPosition,
                                            QString::fromLatin1(kTwoDigits[shiftMode & 3]));
}

void Command14_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::MmttyGlobals& mm = core::mm;
    static const char* const captions[] = {"MODEM=IIR", "MODEM=FIR", "MODEM=PLL"};
    mm.MmttyModemType = (mm.MmttyModemType + 1) % 3;
    mm.MmttySwitchStates = withDigits(mm.MmttyStatusBits2, kDemodulatorPosition,
                                      QString::fromLatin1(kTwoDigits[mm.MmttyModemType]));
    w.Label32->setText(QString::fromLatin1(captions[mm.MmttyModemType]));
    sendSwitches(w);
}

// The button shows on only once the program has the change.
void Command12_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const int on = core::mm.MmttyFigOn == 1 ? 0 : 1;
    if (core::PostMmttyCommand(mmtty::CmdSetFig, on)) {
        core::mm.MmttyFigOn = on;
        colour::setBackColor(w.Command12, on == 1 ? kSwitchOnColour : colour::kButtonFace);
    }
    forms::letEventsRun();
    w.Text1->setFocus();
}

void Command21_Click() {
    core::PostMmttyCommand(mmtty::CmdHamPreset, 0);
    forms::PSK31MAIN().Text1->setFocus();
}

void Label36_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.List5->show();
    w.List5->raise();
}

void List5_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (const QListWidgetItem* item = w.List5->currentItem())
        core::PostMmttyCommand(mmtty::CmdSetSpace, core::g.MarkFreq + item->text().toInt());
    w.List5->hide();
}

} // namespace terminal::panels
