// The bytes a modem engine hands to a receive pane, one after another.
#include "terminal/engines/ShiftJisJoiner.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    terminal::engines::ShiftJisJoiner joiner;
    for (std::size_t i = 0; i < size; ++i) {
        const terminal::engines::ReceivedStep step = joiner.feed(data[i]);
        if (step.kind == terminal::engines::ReceivedStep::Text &&
            (step.text.isEmpty() || step.text.size() > 2))
            std::abort();
        if (step.kind != terminal::engines::ReceivedStep::Text && !step.text.isEmpty()) std::abort();
        if (step.kind == terminal::engines::ReceivedStep::Backspace) joiner.forget();
    }
    return 0;
}
