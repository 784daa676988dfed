// The bytes a modem engine hands to a receive pane, one after another.
#include "terminal/ShiftJisJoiner.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    core::ShiftJisJoiner joiner;
    for (std::size_t i = 0; i < size; ++i) {
        const core::ReceivedStep step = joiner.feed(data[i]);
        if (step.kind == core::ReceivedStep::Text && (step.text.isEmpty() || step.text.size() > 2))
            std::abort();
        if (step.kind != core::ReceivedStep::Text && !step.text.isEmpty()) std::abort();
        if (step.kind == core::ReceivedStep::Backspace) joiner.forget();
    }
    return 0;
}
