#include "platform/sstvengine/SstvModes.h"

namespace sstveng {

const std::array<ModeInfo, ModeCount> Modes{{
    {"B/W 8", 160, 120},     {"B/W 12", 160, 120},   {"Robot 24", 160, 120},  {"Robot 36", 320, 240},
    {"Robot 72", 320, 240},  {"AVT 90", 320, 240},   {"Scottie 1", 320, 256}, {"Scottie 2", 320, 256},
    {"ScottieDX", 320, 256}, {"Martin 1", 320, 256}, {"Martin 2", 320, 256},  {"SC2-180", 320, 256},
    {"SC2-120", 320, 256},   {"SC2- 60", 320, 256},  {"PD-50", 320, 256},     {"PD-90", 320, 256},
    {"PD-120", 640, 496},    {"PD-160", 512, 400},   {"PD-180", 640, 496},    {"PD-240", 640, 496},
    {"PD-290", 800, 616},    {"P-3", 640, 496},      {"P-5", 640, 496},       {"P-7", 640, 496},
    {"MP-73", 320, 256},     {"MP-115", 320, 256},   {"MP-140", 320, 256},    {"MP-170", 320, 256},
    {"MR-73", 320, 256},     {"MR-90", 320, 256},    {"MR-115", 320, 256},    {"MR-140", 320, 256},
    {"MR-175", 320, 256},    {"ML-180", 640, 496},   {"ML-240", 640, 496},    {"ML-280", 640, 496},
    {"ML-320", 640, 496},
}};

QString modeName(int mode) {
    if (mode < 0 || mode >= ModeCount) return {};
    return QString::fromLatin1(Modes[std::size_t(mode)].name);
}

std::int32_t imageSizeWord(int mode) {
    if (mode < 0 || mode >= ModeCount) return 0;
    const ModeInfo& m = Modes[std::size_t(mode)];
    return std::int32_t((std::uint32_t(m.height) << 16) | std::uint32_t(m.width));
}

} // namespace sstveng
