// A received byte from the library, into the pane of its channel. Shift-JIS
// pairs are joined before they are shown; each pane keeps its own lead byte.
// The pane takes what arrives within a tenth of a second as one edit.
#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/engines/ShiftJisJoiner.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <optional>

namespace terminal::engines {
namespace {

// Channel 0 and the echo outside satellite mode share the main pane's joiner.
ShiftJisJoiner mainJoiner, satelliteJoiner, multiJoiner1, multiJoiner2;

struct Target {
    RichTextPane* pane;
    ShiftJisJoiner* joiner;
    QString colour;
    // The multi-channel panes write a broken pair's blank in the colour they have.
    bool colourForBlank;
    bool mainPane;
};

std::optional<Target> targetOf(int channel) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (channel == 0) return Target{w.RichTextBox1, &mainJoiner, core::g.RxForeColor, true, true};
    if (channel == pskcore::EchoChannel) {
        if (core::g.SatelliteMode != 0)
            return Target{w.RichTextBox4, &satelliteJoiner, core::g.TxAreaBackColor, true, false};
        return Target{w.RichTextBox1, &mainJoiner, core::g.TxAreaBackColor, true, true};
    }
    if (channel != 1 && channel != 2) return std::nullopt;
    RichTextPane* pane = forms::openMultiChannelPane(channel);
    if (!pane) return std::nullopt;
    return Target{pane, channel == 1 ? &multiJoiner1 : &multiJoiner2, core::g.MultiForeColor, false, false};
}

void setColour(const Target& t) {
    std::uint32_t ref = 0;
    if (colour::parseRef(t.colour, &ref)) t.pane->setSelColor(colour::fromRef(ref));
}

void backspace(const Target& t, int length) {
    if (length <= 0) return;
    t.pane->chopLater();
    t.joiner->forget();
}

} // namespace

void PskReceivedByte(int c, int channel) {
    const std::optional<Target> target = targetOf(channel);
    if (!target) return;
    const Target& t = *target;
    const int length = t.pane->length();
    if (t.mainPane) core::g.RxMarkPos = length;
    const ReceivedStep step = t.joiner->feed(c);
    switch (step.kind) {
    case ReceivedStep::Backspace:
        backspace(t, length);
        break;
    case ReceivedStep::NewLine:
        t.pane->insertLater(QStringLiteral("\r\n"));
        break;
    case ReceivedStep::Text:
        setColour(t);
        t.pane->appendLater(step.text);
        break;
    case ReceivedStep::BrokenPair:
        if (t.colourForBlank) setColour(t);
        t.pane->appendLater(QStringLiteral(" "));
        break;
    case ReceivedStep::Nothing:
        break;
    }
}

} // namespace terminal::engines
