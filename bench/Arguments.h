#pragma once
// The benchmark filter as the benchmark library reads it (a POSIX extended
// pattern, or one led by "-" that chooses every benchmark it does not match),
// in plain functions the tests reach without the library.
#include <string>
#include <vector>

namespace bench {

// What is wrong with the filter as a pattern, in the pattern library's words;
// empty when it is a pattern.
std::string filterFault(const std::string& filter);

// The parts of the filter's alternation at its top level ("A|B(C|D)" has "A"
// and "B(C|D)"): each chooses benchmarks of its own. None for a filter led by
// "-", which chooses by what it does not match, or for no filter at all.
std::vector<std::string> filterParts(const std::string& filter);

// Whether the filter chooses a benchmark of this name, as the library chooses.
bool filterChooses(const std::string& filter, const std::string& name);

// Why the benchmarks refuse their command line, as said once: the arguments
// the library left (a misspelt flag, a bare word), else a filter that is no
// pattern; empty when they take it.
std::string argumentsFault(const std::vector<std::string>& left, const std::string& filter);

// Of a filter of several alternatives, a line for each part: whether it chose
// one of the benchmarks that ran ("FILTER PART CHOSE: ..." or "FILTER PART
// CHOSE NOTHING: ..."). None for a filter of one part.
std::vector<std::string> filterPartLines(const std::string& filter, const std::vector<std::string>& ran);

} // namespace bench
