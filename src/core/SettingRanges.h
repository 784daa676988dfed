#pragma once
// The numbers in ZORVATEK.INI that a start reads, each with the range of the
// control or variable it sets, in one table. A start brings every stored one
// into its range before any window reads it, and writes the correction back,
// so that a file edited by hand cannot paint the waterfall solid, hold the
// squelch shut or tune below the receive box's floor.
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

// Reads every key of the table that is stored and writes back those that
// are out of range, as one write of the file.
void BringStoredNumbersIntoRange();

} // namespace core
