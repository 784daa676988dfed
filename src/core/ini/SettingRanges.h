#pragma once
// The numbers in ZORVATEK.INI that a start reads, each with the range of the
// control or variable it sets, in one table. A start brings every stored one
// into its range before any window reads it, so that a file edited by hand
// cannot paint the waterfall solid, hold the squelch shut or tune below the
// receive box's floor. The correction is not written back: a value the
// operator did not change is never rewritten.
//
// A stored value outside its range, or one that is no whole number (an empty
// "Key=" among them), is damage rather than a wish for the nearest end (-7 for
// a level that runs 0 to 250), so it takes the value that a missing key gives.
// A missing key stays missing: its absence means something to its reader
// (a missing Audio_Center_Freq is a first start).
#include <QString>
#include <optional>
#include <span>

namespace core {

struct StoredRange {
    const char* section;
    const char* key; // with "%1" for a numbered run of keys, 0 to count - 1
    int lowest;
    int highest;
    int fallback;                      // the value of a missing key
    const char* fallbackKey = nullptr; // or the (corrected) value of this key of the section, when stored
    std::span<const int> choices = {}; // when not empty, only these values, between lowest and highest
    int count = 0;
    // A positive value outside the range is a wish for the nearer end (a poll
    // time asked faster or slower than offered); 0, negatives and text still
    // take the fallback.
    bool toNearerEnd = false;
};

std::span<const StoredRange> StoredRanges();
// The row of a key (a numbered key matches its run), or nothing.
const StoredRange* StoredRangeOf(const QString& section, const QString& key);
// The n-th key of a row (its only key when the row is no run).
QString StoredRangeKey(const StoredRange& row, int n);

// Whether the value may stand, and what replaces it when it may not.
bool InStoredRange(const StoredRange& row, int value);
std::optional<int> CorrectedNumber(const StoredRange& row, const QString& stored, int fallback);

// Reads every key of the table that is stored and brings those that are out
// of range into it for the run: they read back corrected, and the file keeps
// what it holds until the operator stores that setting (the sheet, a slider).
void BringStoredNumbersIntoRange();

// The store's side of that, for the settings file at path: a number put in
// use for the run; what is in use for a key, when anything is; whether a
// write of value is only the number in use again (no change to store),
// forgetting it when the key is stored with another; all forgotten.
void UseForRun(const QString& path, const QString& section, const QString& key, const QString& value);
std::optional<QString> NumberInUse(const QString& path, const QString& section, const QString& key);
bool StoredAsInUse(const QString& path, const QString& section, const QString& key, const QString& value);
void ForgetNumbersInUse(const QString& path);

} // namespace core
