// A click anywhere in whatever a receive pane holds: the first two bytes give
// the insertion point, the third the contest mode, the rest is the text.
#include "terminal/receive/WordPick.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int caret = static_cast<int>(data[0] | (data[1] << 8)) - 8;
    const int contest = data[2] & 1;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 3), static_cast<qsizetype>(size - 3));
    const terminal::receive::WordPick pick = terminal::receive::pickWord(text, caret, contest);
    if ((pick.target == terminal::receive::PickTarget::Nothing) != pick.word.isEmpty()) std::abort();
    if (pick.word.size() > pick.cut) std::abort();
    if (!text.contains(pick.word)) std::abort();
    for (QChar c : pick.word)
        if (c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            std::abort();
    if (contest && pick.target == terminal::receive::PickTarget::CallBox) std::abort();
    return 0;
}
