#pragma once
// The SSTV engine's own settings dialog: band-pass filter, FSK-ID reception,
// and the FSK and CW IDs the engine sends.
#include <QByteArray>
#include <cstdint>

namespace sstveng {

struct OptionValues {
    std::int32_t rxWord;
    QByteArray fskId; // Shift-JIS, as the engine keeps them
    QByteArray cwId;
};

// Shows the dialog modally; true with the values changed when the operator accepts.
bool runOptionDialog(OptionValues& values);

} // namespace sstveng
