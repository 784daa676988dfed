// What arrives on the QSL printing program's automation socket: request and
// answer lines.
#include "platform/qsl/MmqslProtocol.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // A line taken off the socket goes back on it unchanged in meaning.
    if (const auto request = mmqsl::parseRequest(line)) {
        QByteArray again = mmqsl::requestLine(request->member, request->argument);
        again.chop(1);
        const auto back = mmqsl::parseRequest(again);
        if (!back || back->member != request->member || back->argument != request->argument) std::abort();
    }
    if (const auto reply = mmqsl::parseReply(line)) {
        QByteArray again = mmqsl::replyLine(reply->ok, reply->value);
        again.chop(1);
        const auto back = mmqsl::parseReply(again);
        if (!back || back->ok != reply->ok || back->value != reply->value) std::abort();
    }
    return 0;
}
