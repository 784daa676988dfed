#include "rig/RigFamily.h"

#include <array>

namespace rig {
namespace {

// clang-format off
constexpr std::array<FamilyTraits, 9> kFamilies{{
    //  family            name        LSB   USB   CW    RTTY  PSK   reply text   qsy dec  mode   rtty-low
    {Family::Ft1000mp, "FT1000MP", "00", "01", "02", "00", "00", 16, false,  9, 5, true,  false},
    {Family::Ft920,    "FT920",    "00", "01", "02", "00", "00", 28, false,  9, 5, false, false},
    {Family::Ft900,    "FT900",    "00", "01", "02", "00", "00", 10, false,  9, 5, false, false},
    {Family::Ft847,    "FT847",    "00", "01", "02", "00", "00",  5, false,  9, 5, false, false},
    {Family::Ft817,    "FT817",    "00", "01", "02", "00", "00",  5, false,  9, 5, true,  false},
    {Family::Ft767,    "FT767",    "10", "11", "12", "10", "10", 86, false,  9, 6, true,  false},
    {Family::Kenwood,  "KENWOOD",  "1",  "2",  "7",  "1",  "1",  38, true,  11, 6, false, true},
    {Family::Icom,     "ICOM",     "00", "01", "03", "00", "00", 14, false, 10, 6, false, true},
    {Family::Jst245,   "JST-245",  "1",  "2",  "7",  "1",  "1",  13, true,   8, 6, true,  false},
}};
// clang-format on

} // namespace

std::optional<Family> familyOf(const QString& rigType) {
    for (const FamilyTraits& t : kFamilies)
        if (rigType == QLatin1String(t.name)) return t.family;
    return std::nullopt;
}

const FamilyTraits& traits(Family f) {
    return kFamilies[static_cast<std::size_t>(f)];
}

} // namespace rig
