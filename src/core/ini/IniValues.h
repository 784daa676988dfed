#pragma once
// Typed reads and writes over the configuration store, for callers that keep
// numbers: the missing marker and text that is not a whole number both come
// back as "nothing", so that the caller's default applies.
#include "core/ini/IniKey.h"

#include <QString>
#include <optional>

namespace core {

// The stored text, or nothing when the key is missing.
std::optional<QString> IniStored(const QString& section, const QString& key);
// The stored whole number, or nothing when missing or not a whole number.
std::optional<int> IniWhole(const QString& section, const QString& key);
int IniWholeOr(const QString& section, const QString& key, int defaultValue);

// A whole number of text as the settings hold it (" 12", "-3", "1500.0").
std::optional<int> WholeNumber(const QString& text);
// A number as the system writes it back: a blank before a non-negative number (" 1").
QString NumberText(int n);
bool PutIniNumber(const QString& section, const IniKey& key, int n);
bool PutIniText(const QString& section, const IniKey& key, const QString& value);

// Satellite mode as [PSKCFG] SateliteMode holds it: on for any text but
// "False" (the text a missing key takes), for the main window and the sheet alike.
bool SatelliteModeOn(const QString& stored);

} // namespace core
