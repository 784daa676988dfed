#include "terminal/displays/MultiChModes.h"

#include "terminal/receive/WordPick.h"

#include <algorithm>

namespace terminal::displays {
namespace {

constexpr int kCallLimit = 10;
constexpr int kNameLimit = 12;

struct MmvariMode {
    const char* caption;
    const char* name;
    const char* panel;
};

constexpr MmvariMode kModes[] = {
    {"GMSK  (MBCS. for HF)", "GMSK", "GMSK(MBCS)"},
    {"FSK     (MBCS. for V/UHF)", "FSK", "FSK(MBCS)"},
    {"FSK-W (MBCS. for V/UHF/sat)", "FSK-W", "FSK-W(MBCS)"},
    {"BPSK   (MBCS. for HF)", "BPSK", "BPSK(MBCS)"},
    {"bpsk    (STD)", "bpsk", "bpsk(STD)"},
    {"rtty(LSB)", "rtty-L", "rtty-LSB"},
    {"rtty(USB)", "rtty-U", "rtty-USB"},
    {"mfsk(LSB)", "mfsk-L", "mfsk-LSB"},
    {"mfsk(USB)", "mfsk-U", "mfsk-USB"},
};

bool validIndex(int i) {
    return i >= 0 && i < int(std::size(kModes));
}

} // namespace

std::optional<QString> pskPanelText(int n, int mode) {
    static const char* const names[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)"};
    if (mode < 0 || mode > 2 || (n != 1 && n != 2)) return std::nullopt;
    return QStringLiteral("Ch%1=").arg(n + 1) + QString::fromLatin1(names[mode]);
}

std::optional<QString> mmvariPanelText(int n, int index, bool atLoad) {
    if (!validIndex(index) || (n != 1 && n != 2)) return std::nullopt;
    QString mode = QString::fromLatin1(kModes[index].panel);
    if (atLoad && mode.startsWith(QLatin1String("rtty"))) mode.replace(0, 4, QStringLiteral("RTTY"));
    return QStringLiteral("ch%1=").arg(n) + mode;
}

QString mmvariModeName(int index) {
    return validIndex(index) ? QString::fromLatin1(kModes[index].name) : QString();
}

QString mmvariMenuCaption(int index) {
    return validIndex(index) ? QString::fromLatin1(kModes[index].caption) : QString();
}

PanePick panePick(const QString& text, int caret) {
    const receive::WordSpan span = receive::wordAt(text, caret);
    if (span.start == span.end || span.end >= text.size()) return {};
    const QString word = text.mid(span.start, span.end - span.start);
    const bool call = std::any_of(word.begin(), word.end(),
                                  [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    if (call) return {PanePick::CallBox, word.left(kCallLimit).toUpper()};
    return {PanePick::NameBox, word.left(kNameLimit)};
}

} // namespace terminal::displays
