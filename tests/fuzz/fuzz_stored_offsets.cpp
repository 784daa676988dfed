// Whatever the settings file holds for the dialogs' stored values: the clock
// offsets, the contest number and the typed transmit delay. The first byte
// chooses the reader; the rest is the stored text.
#include "settings/dialogs/ContestValues.h"
#include "settings/dialogs/MmttyDialogValues.h"
#include "settings/dialogs/MmvariDialogValues.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    switch (data[0] % 4) {
    case 0: {
        const int v = settings::offsetScrollValue(text);
        if (v < -9999 || v > 9999) std::abort();
        break;
    }
    case 1: {
        const int v = settings::measuredOffsetScrollValue(0.0, text);
        if (v < -9999 || v > 9999) std::abort();
        break;
    }
    case 2: {
        const QString shown = settings::contestNumberText(text);
        const int v = settings::contestNumberValue(shown, 0, 32766);
        if (shown.isEmpty() || v < 0 || v > 32766) std::abort();
        break;
    }
    default:
        if (const auto delay = settings::txDelayValue(text); delay && *delay < 0) std::abort();
        if (const auto word = settings::viewWordWith(text, settings::ViewField::Gain, 1);
            word && *word >= (1 << 14))
            std::abort();
    }
    return 0;
}
