// The RTTY program's panel: the eight switch buttons, the shift menu of
// "AFC", the notch kind of "NOT", the demodulator, FIG, the HAM preset and
// the shift list. Every press starts from the switch word the program last
// reported; its next report shows the outcome on the indicators.
#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MmttyCommand.h"
#include "platform/Colour.h"
#include "platform/ControlColour.h"
#include "platform/MmttyProtocol.h"
#include "platform/RichTextPane.h"
#include "terminal/EnginePanels.h"
#include "terminal/PSK31MAIN.h"

#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace panels {
namespace {

constexpr int kNotchButton = mmtty::FirstIndicatorPosition + mmtty::Notch;
constexpr int kAfcButton = mmtty::FirstIndicatorPosition + mmtty::Afc;
constexpr std::uint32_t kOnColour = 0xC0FFC0;

std::uint32_t withPosition(std::uint32_t word, int position, bool on) {
    const std::uint32_t bit = mmtty::positionBit(position);
    return on ? (word | bit) : (word & ~bit);
}

void sendSwitches(PSK31MAIN& w) {
    core::PostMmttyCommand(mmtty::CmdSetSwitches, std::int32_t(core::g.MmttySwitchStates));
    w.Text1->setFocus();
}

// The notch kind goes over to the other one and is kept for the next start.
void changeNotchKind(PSK31MAIN& w) {
    core::Globals& g = core::g;
    const bool notch = g.MmttyNotLms != QLatin1String("0");
    g.MmttySwitchStates = withPosition(g.MmttySwitchStates, mmtty::NotchKindPosition, notch);
    g.MmttyNotLms = notch ? QStringLiteral("0") : QStringLiteral("1");
    w.Command13[kNotchButton]->setText(notch ? QStringLiteral("NOT") : QStringLiteral("LMS"));
    core::PutIniText(QStringLiteral("Mmtty"), QStringLiteral("NOT_LMS"), g.MmttyNotLms);
}

// The word goes out once the menu has closed, with the shift chosen there
// (the entry's own handler runs before this queued send).
void openShiftMenu(PSK31MAIN& w) {
    const std::array<QAction*, 4> entries = {w.ShiftFree, w.ShiftFix, w.ShiftHAM, w.ShiftFSK};
    for (int m = 0; m < 4; ++m)
        entries[m]->setChecked(m == core::g.MmttyStatusPair);
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

std::uint32_t pressedSwitchWord(std::uint32_t reported, int k, Qt::MouseButton button,
                                const std::array<int, 8>& indicators) {
    if (button != Qt::LeftButton) return reported;
    const int element = k - mmtty::FirstIndicatorPosition;
    if (element < 0 || element >= mmtty::IndicatorCount) return reported;
    return mmtty::withIndicator(reported, element, indicators[element] != 1);
}

void Command13_MouseUp(int k, Qt::MouseButton button) {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::Globals& g = core::g;
    g.MmttySwitchStates = pressedSwitchWord(g.MmttyStatusBits2, k, button, g.MmttyIndicators);
    if (button == Qt::RightButton && k == kAfcButton) {
        openShiftMenu(w);
        return;
    }
    if (button == Qt::RightButton && k == kNotchButton) changeNotchKind(w);
    sendSwitches(w);
}

void ShiftMenu_Click(int shiftMode) {
    core::g.MmttySwitchStates = mmtty::withShiftMode(core::g.MmttySwitchStates, shiftMode);
}

void Command14_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::Globals& g = core::g;
    static const char* const captions[] = {"MODEM=IIR", "MODEM=FIR", "MODEM=PLL"};
    g.MmttyModemType = (g.MmttyModemType + 1) % 3;
    g.MmttySwitchStates = mmtty::withDemodulator(g.MmttyStatusBits2, g.MmttyModemType);
    w.Label32->setText(QString::fromLatin1(captions[g.MmttyModemType]));
    sendSwitches(w);
}

// The button shows on only once the program has the change.
void Command12_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const int on = core::g.MmttyFigOn == 1 ? 0 : 1;
    if (core::PostMmttyCommand(mmtty::CmdSetFig, on)) {
        core::g.MmttyFigOn = on;
        colour::setBackColor(w.Command12, on == 1 ? kOnColour : colour::kButtonFace);
    }
    QCoreApplication::processEvents();
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

} // namespace panels
