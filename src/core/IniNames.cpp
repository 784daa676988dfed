#include "core/IniNames.h"

#include "core/Globals.h"
#include "core/IniStore.h"

#include <algorithm>
#include <array>

namespace core {
namespace {

constexpr std::array<NameKey, 24> kNameKeys{{
    {"PSKCFG", "RCVDFOL"},
    {"PSKCFG", "RecFOL"},
    {"PSKCFG", "RecFname"},
    {"PSKCFG", "MacroFile"},
    {"PSKCFG", "RCVFNAME"},
    {"PSKCFG", "TXFNAME"},
    {"PSKCFG", "MLTRCVFNAME"},
    {"HamLog", "HAMLOGPOS"},
    {"HamLog", "HAMLOGexePOS"},
    {"HamLog", "HLQSL"},
    {"HamLog", "MMQSL"},
    {"HamLog", "HLJCA"},
    {"E-QSL", "ComQSOBank"},
    {"E-QSL", "eQSLFOL"},
    {"E-QSL", "eQSLQFOL"},
    {"E-LOG", "eLOGFOL"},
    {"Other_App", "Other_App1_pos"},
    {"Other_App", "Other_App2_pos"},
    {"BMP_POS", "TXbmpFol"},
    {"BMP_POS", "History"},
    {"BMP_POS", "RcvDat"},
    {"FontCFG", "FntNAME"},
    {"WAVPOS", "WAVFPOS"},
    // A serial port may be kept as the path of its device.
    {"RIG_CON_CFG", "RIGCOMCONT"},
}};

} // namespace

std::span<const NameKey> NameKeys() {
    return kNameKeys;
}

bool IsNameKey(const QString& section, const QString& key) {
    return std::any_of(kNameKeys.begin(), kNameKeys.end(), [&](const NameKey& k) {
        return section.compare(QLatin1String(k.section), Qt::CaseInsensitive) == 0 &&
               key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0;
    });
}

bool PutIniName(const QString& section, const QString& key, const QString& name) {
    g.IniSection = section;
    return PutIniString(key, name);
}

} // namespace core
