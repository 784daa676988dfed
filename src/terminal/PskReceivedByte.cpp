// A received byte from the library, into the pane of its channel. Shift-JIS
// pairs are joined before they are shown; each pane keeps its own lead byte.
#include "core/Globals.h"
#include "platform/Colour.h"
#include "platform/Cp932.h"
#include "platform/PskCore.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/PskCoreWndProc.h"
#include "terminal/multi_ch.h"

#include <optional>

namespace core {
namespace {

constexpr int kBackspace = 8;
constexpr int kCarriageReturn = 13;

struct PendingLead {
    char lead = 0;
    bool pending = false;
};

// Channel 0 and the echo outside satellite mode share the main pane's lead byte.
PendingLead mainLead, satelliteLead, multiLead1, multiLead2;

struct Target {
    RichTextPane* pane;
    PendingLead* lead;
    QString colour;
    // The multi-channel panes write a broken pair's blank in the colour they have.
    bool colourForBlank;
    bool mainPane;
};

std::optional<Target> targetOf(int channel) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (channel == 0) return Target{w.RichTextBox1, &mainLead, g.RxForeColor, true, true};
    if (channel == pskcore::EchoChannel) {
        if (g.SatelliteMode != 0)
            return Target{w.RichTextBox4, &satelliteLead, g.TxAreaBackColor, true, false};
        return Target{w.RichTextBox1, &mainLead, g.TxAreaBackColor, true, true};
    }
    if (channel == 1)
        return Target{forms::multi_ch().RichTextBox1, &multiLead1, g.MultiForeColor, false, false};
    if (channel == 2)
        return Target{forms::multi_ch().RichTextBox2, &multiLead2, g.MultiForeColor, false, false};
    return std::nullopt;
}

bool printable(int c) {
    return (c >= 0x20 && c <= 0x7F) || (c >= 0xA1 && c <= 0xDF);
}

bool leadByte(int c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
}

bool trailByte(int c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

void setColour(const Target& t) {
    std::uint32_t ref = 0;
    if (colour::parseRef(t.colour, &ref)) t.pane->setSelColor(colour::fromRef(ref));
}

void appendAtEnd(const Target& t, int length, const QString& text) {
    t.pane->setSelStart(length);
    t.pane->setSelText(text);
}

void backspace(const Target& t, int length) {
    if (length <= 0) return;
    t.pane->setSelStart(length - 1);
    t.pane->setSelLength(2);
    t.pane->setSelText(QString());
    t.lead->pending = false;
}

void secondByte(const Target& t, int length, int c) {
    t.lead->pending = false;
    if (trailByte(c)) {
        QByteArray pair(1, t.lead->lead);
        pair.append(char(c));
        setColour(t);
        appendAtEnd(t, length, cp932::decode(pair));
        return;
    }
    // A broken pair: its lead byte is lost and a blank stands in its place.
    if (t.colourForBlank) setColour(t);
    appendAtEnd(t, length, QStringLiteral(" "));
}

} // namespace

void PskReceivedByte(int c, int channel) {
    const std::optional<Target> target = targetOf(channel);
    if (!target) return;
    const Target& t = *target;
    const int length = t.pane->length();
    if (t.mainPane) g.RxMarkPos = length;
    if (c == kBackspace) {
        backspace(t, length);
    } else if (c == kCarriageReturn) {
        t.pane->setSelText(QStringLiteral("\r\n"));
        t.lead->pending = false;
    } else if (t.lead->pending) {
        secondByte(t, length, c);
    } else if (printable(c)) {
        setColour(t);
        appendAtEnd(t, length, cp932::decode(QByteArray(1, char(c))));
    } else if (leadByte(c)) {
        t.lead->lead = char(c);
        t.lead->pending = true;
    }
}

} // namespace core
