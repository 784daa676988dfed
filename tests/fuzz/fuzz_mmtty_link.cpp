// The (code, value) pairs on the RTTY program's socket, taken as the program
// takes the system's commands; every notice it answers must fit its word.
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/programs/mmtty/RttyModem.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkNotices(const QList<mmtty::Pair>& notices) {
    for (const mmtty::Pair& n : notices) {
        if (n.code < mmtty::NtfWindow) std::abort();
        if (n.code == mmtty::NtfSwitches && !mmtty::fitsSwitchWord(n.value)) std::abort();
        if (n.code == mmtty::NtfView && !mmtty::fitsViewWord(n.value)) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray buffer(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    mmtty::RttyModem modem;
    while (const auto pair = mmtty::takePair(buffer)) {
        if (mmtty::encode(*pair) !=
            QByteArray(reinterpret_cast<const char*>(data) + (size - buffer.size() - 8), 8))
            std::abort();
        checkNotices(modem.command(*pair));
        checkNotices(modem.tick());
        if (modem.closeRequested()) break;
    }
    checkNotices(modem.status());
    return 0;
}
