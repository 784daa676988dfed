#pragma once
// The settings that name something: a file, a folder or a font family. Such a
// value is kept only when the file gives back the very same name; a character
// of the same look under another code point (the wave dash read back as the
// full-width tilde) would name another file, folder or font.
#include <QString>
#include <array>
#include <span>

namespace core {

struct NameKey {
    const char* section;
    const char* key;
};

// Every key of ZORVATEK.INI whose value is a name. Known as the code is
// compiled, so that a text writer's key naming one of them does not compile
// (IniKey).
inline constexpr std::array<NameKey, 24> kNameKeys{{
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

std::span<const NameKey> NameKeys();
bool IsNameKey(const QString& section, const QString& key);

// The one writer of a name: stores it only when it reads back as itself (or
// the key already holds it); otherwise stores nothing and says nothing, as the
// chooser that took the name says it (IniHoldsName, IniHeldChoice) or keeps it
// for the run (RememberFolder).
bool PutIniName(const QString& section, const QString& key, const QString& name);

} // namespace core
