#include "terminal/transmit/TxState.h"

#include <algorithm>

namespace terminal::transmit {

Globals g;

void recordKind(int kind) {
    auto& k = g.TxCharKinds;
    if (g.TxCharCount >= kHistorySlots) {
        std::move(k.begin() + 2, k.end(), k.begin() + 1);
        g.TxCharCount = kHistorySlots - 1;
    }
    ++g.TxCharCount;
    k[static_cast<std::size_t>(g.TxCharCount)] = kind;
}

void dropNewestKind() {
    g.TxCharCount = std::max(0, g.TxCharCount - 1);
}

int newestKind() {
    return g.TxCharKinds[static_cast<std::size_t>(std::clamp(g.TxCharCount, 0, kHistorySlots))];
}

void clearKinds() {
    g.TxCharCount = 0;
    g.TxCharKinds[0] = 0;
}

} // namespace terminal::transmit
