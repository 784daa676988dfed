// What arrives on the logging program's window link: frames, and the copy data
// of the replies inside them.
#include "platform/hamlog/HamlogWindowLink.h"
#include "platform/hamlog/HamlogWindowLinkReplies.h"

#include <cstdint>
#include <cstdlib>

namespace wl = hamlog::window;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray buffer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    bool broken = false;
    while (const auto frame = wl::takeFrame(buffer, broken)) {
        // A frame taken off the wire goes back on it unchanged.
        QByteArray again = wl::encodeFrame(*frame);
        bool brokenAgain = false;
        const auto back = wl::takeFrame(again, brokenAgain);
        if (!back || brokenAgain || !again.isEmpty() || back->kind != frame->kind ||
            back->data.dwData != frame->data.dwData || back->data.cbData != frame->data.cbData ||
            back->data.lpData != frame->data.lpData)
            std::abort();
        if (const auto text = wl::replyText(frame->data)) wl::recordCountOf(*text);
    }
    return 0;
}
