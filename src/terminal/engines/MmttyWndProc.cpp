#include "terminal/engines/MmttyWndProc.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/BobMako.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/os/Cp932.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "terminal/displays/MmttyDisplay.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/EnginePanels.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/transmit/TxInsert.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <QScopeGuard>
#include <array>

namespace terminal::engines {
namespace {

// A notice that cannot be handled; EngineErrorTag names it.
struct NoticeFailed {};

constexpr int kCarriageReturn = 13;
constexpr int kLineFeed = 10;
// The line of 2125 Hz, where the mark stands without NET.
constexpr double kHamMarkLineX = 1925;
constexpr int kMarkerOffsetHz = 200;
constexpr double kTxScopeScale = 510000;
constexpr double kRxScopeScale = 51000;
constexpr int kTxScopeOffset = 252000;
constexpr int kRxScopeOffset = 25200;
constexpr int kLevelMax = 500;

std::array<std::int32_t, bobmako::XyPoints> XyX{};
std::array<std::int32_t, bobmako::XyPoints> XyY{};
std::array<std::int32_t, bobmako::FftPoints> Spectrum{};
bool keyingForOver = false;

bool pttByCat() {
    return core::g.PttPortControl == QLatin1String("0");
}

bool stampsOn() {
    return core::g.TrxTimeStampOn == QLatin1String("YES");
}

void setColour(RichTextPane* pane, const QString& text) {
    std::uint32_t ref = 0;
    if (colour::parseRef(text, &ref)) pane->setSelColor(colour::fromRef(ref));
}

// The character of a code in the system's code page: one byte, or a
// double-byte character sent as one code.
QString characterOf(std::int32_t code) {
    const int c = code & 0xFFFF;
    if (c > 0xFF) return cp932::decode(QByteArray{char(c >> 8), char(c & 0xFF)});
    return cp932::decode(QByteArray(1, char(c)));
}

void receivedChar(std::int32_t code) {
    RichTextPane* pane = forms::PSK31MAIN().RichTextBox1;
    core::g.RxMarkPos = pane->length();
    setColour(pane, core::g.MmttyTxOn != 0 ? core::g.TxAreaBackColor : core::g.RxForeColor);
    if (code == kCarriageReturn) return;
    pane->appendText(code == kLineFeed ? QStringLiteral("\n") : characterOf(code));
}

void setScope(PSK31MAIN& w, double scale, int offset) {
    w.Picture2->setScale(scale, scale);
    core::mm.XyScopeOffset = offset;
}

// The program sends as the engine of RTTY or CW, outside a mode change.
bool theEngine() {
    const int mode = core::g.OpMode;
    return (mode == core::ModeRtty || mode == core::ModeCw) && !forms::modeChangeRuns();
}

// The program sends on its own: stopped at once, and nothing keyed for it.
void refuseTransmission() {
    core::MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxOffNow);
}

// It sends for the system once the key is granted and it is still the
// engine after the wait for the rig's line.
void transmitStarted(PSK31MAIN& w) {
    // A start a stop dropped: that stop follows it to the program already,
    // and one more would end the operator's next start, posted behind it.
    if (!core::MmttyStartWanted()) return;
    if (!theEngine()) return refuseTransmission();
    if (pttByCat()) {
        keyingForOver = true;
        const auto keyedOrNot = qScopeGuard([] { keyingForOver = false; });
        if (!KeyRigForStart()) return refuseTransmission();
    }
    if (!theEngine()) {
        rig::RigPttOff();
        return refuseTransmission();
    }
    core::g.MmttyTxOn = 1;
    if (stampsOn()) receive::MarkTxStart();
    macros::repeatOnTxStart(macros::TxEngine::Mmtty);
    setScope(w, kTxScopeScale, kTxScopeOffset);
    if (rig::g.RigPortName != QLatin1String("NONE") && rig::g.RigPollMode == 1) rig::RigReadStatus();
}

void receiveAgain(PSK31MAIN& w) {
    rig::RigPttOff();
    transmit::EmptyTxBoxAtOverEnd(w);
    colour::setBackColor(w.Command1, colour::kButtonFace);
    core::g.MmttyTxOn = 0;
    if (stampsOn()) receive::MarkRxStart();
    setScope(w, kRxScopeScale, kRxScopeOffset);
    macros::repeatOnTxEnd(macros::TxEngine::Mmtty);
}

void placeVertical(LineShape* line, double x) {
    line->setPoints(x, 0, x, 100);
}

void placeNetLine(PSK31MAIN& w) {
    placeVertical(w.Line21, core::g.MmttyIndicators[mmtty::Net] != 0 ? core::mm.MarkLineX : kHamMarkLineX);
}

void showMarkAndSpace(PSK31MAIN& w) {
    placeVertical(w.Line16, core::mm.MarkLineX);
    placeVertical(w.Line17, core::mm.SpaceLineX);
    w.Label33->setText(QString::number(core::g.MarkFreq) + QStringLiteral("Hz"));
    w.Label34->setText(QString::number(core::mm.SpaceFreq - core::g.MarkFreq) + QStringLiteral("Hz"));
}

void markReported(PSK31MAIN& w, std::int32_t hz) {
    core::g.MarkFreq = hz;
    core::mm.MarkLineX = hz - kMarkerOffsetHz;
    showMarkAndSpace(w);
    placeNetLine(w);
}

void spaceReported(PSK31MAIN& w, std::int32_t hz) {
    core::mm.SpaceFreq = hz;
    core::mm.SpaceLineX = hz - kMarkerOffsetHz;
    showMarkAndSpace(w);
}

// The switch word by the one layout both directions use: indicators at 10-17,
// the AFC shift mode at 8-9, the demodulator at 18-19.
void switchesReported(PSK31MAIN& w, std::int32_t word) {
    const std::optional<QString> bits = core::BitText(word, mmtty::SwitchPositions);
    if (!bits) throw NoticeFailed{};
    core::mm.MmttyStatusBits2 = *bits;
    for (int e = 0; e < mmtty::IndicatorCount; ++e) {
        const bool on = mmtty::indicatorOn(std::uint32_t(word), e);
        colour::setBackColor(w.Command13[mmtty::FirstIndicatorPosition + e],
                             on ? panels::kSwitchOnColour : colour::kButtonFace);
        core::g.MmttyIndicators[e] = on ? 1 : 0;
    }
    static const char* const kModems[] = {"MODEM=IIR", "MODEM=FIR", "MODEM=PLL"};
    const int modem = mmtty::demodulator(std::uint32_t(word));
    if (modem <= mmtty::Pll) {
        core::mm.MmttyModemType = modem;
        w.Label32->setText(QString::fromLatin1(kModems[modem]));
    } else {
        w.Label32->clear();
    }
    core::mm.MmttyStatusPair = mmtty::shiftMode(std::uint32_t(word));
    placeNetLine(w);
}

void viewReported(std::int32_t word) {
    const std::optional<QString> bits = core::BitText(word, mmtty::ViewPositions);
    if (!bits) throw NoticeFailed{};
    core::mm.MmttyStatusBits = *bits;
}

void drawScope(PSK31MAIN& w) {
    bobmako::BobMako& lib = bobmako::lib();
    if (core::mm.XyScopeQuality != bobmako::ScopeOff &&
        lib.fnBOBMAKOGetXYEx(core::mm.XyScopeQuality, XyX.data(), XyY.data()))
        displays::drawXyScope(*w.Picture2, XyX.data(), XyY.data(), core::mm.XyScopeMask,
                              core::mm.XyScopeOffset);
    if (lib.fnBOBMAKOGetFFT(Spectrum.data()) == 0) return;
    const int last = std::min(core::g.FftLastBin, bobmako::FftPoints - 1);
    if (core::g.SpectrumDisplayMode == 1) {
        w.Picture3->clear();
        displays::drawSpectrum(*w.Picture3, Spectrum.data(), core::g.FftFirstBin, last);
    } else {
        displays::drawWaterfallRow(*w.Picture3, Spectrum.data(), core::g.FftFirstBin, last,
                                   core::g.WfLevelSteps);
    }
}

void scopeReady(PSK31MAIN& w, std::int32_t value) {
    drawScope(w);
    const int level = value & 0xFFFF;
    core::g.EngineErrorTag = QStringLiteral("level error") + QString::number(level);
    w.ProgressBar1->setValue(std::min(level, kLevelMax));
}

void figReported(PSK31MAIN& w, std::int32_t value) {
    core::mm.MmttyFigOn = value == 1 ? 1 : 0;
    colour::setBackColor(w.Command12, value == 1 ? panels::kSwitchOnColour : colour::kButtonFace);
}

void handle(PSK31MAIN& w, std::int32_t code, std::int32_t value) {
    switch (code) {
    case mmtty::NtfWindow:
        core::mm.MmttyHwnd = value;
        core::PostMmttyCommand(mmtty::CmdSetWindow, core::g.MainHwnd);
        break;
    case mmtty::NtfRxChar:
        receivedChar(value);
        break;
    case mmtty::NtfTxState:
        if (value == 1)
            transmitStarted(w);
        else
            receiveAgain(w);
        break;
    case mmtty::NtfBaud:
        w.Label15->setText(QString::number(value / 100.0));
        break;
    case mmtty::NtfMark:
        markReported(w, value);
        break;
    case mmtty::NtfSpace:
        spaceReported(w, value);
        break;
    case mmtty::NtfSwitches:
        switchesReported(w, value);
        break;
    case mmtty::NtfView:
        viewReported(value);
        break;
    case mmtty::NtfScope:
        scopeReady(w, value);
        break;
    case mmtty::NtfFig:
        figReported(w, value);
        break;
    default:
        break;
    }
}

} // namespace

bool MmttyOverBeingKeyed() {
    return keyingForOver;
}

void EndMmttyTx() {
    if (core::g.MmttyTxOn != 1) return;
    rig::RigPttOff();
    core::g.MmttyTxOn = 0;
}

void MmttyWndProc(std::int32_t code, std::int32_t value) {
    core::g.EngineErrorTag = QStringLiteral("MMTTY Wndpro-Error");
    try {
        handle(forms::PSK31MAIN(), code, value);
    } catch (const NoticeFailed&) {
        core::g.StatusMessage = core::g.EngineErrorTag;
        core::ShowTimedMessage(core::g.StatusMessage, 3000);
    }
}

} // namespace terminal::engines
