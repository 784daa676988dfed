#pragma once
// The system's own version, as the start-up and version windows show it.
#include <QString>

namespace core {

constexpr int kVersionMajor = 4;
constexpr int kVersionMinor = 93;
// The build's revision, shown in hexadecimal after the minor number.
constexpr int kVersionRevision = 0;

// Major number, ".", the minor number with two digits, then "β" (4.93β).
QString ProgramVersionText(int major = kVersionMajor, int minor = kVersionMinor);
// A library version number such as 114 shown as "1.14": the first digit, ".",
// and the last two digits.
QString DllVersionText(int version);
// The logging library's version word (0x50300): its hexadecimal text read as
// a decimal number (50300).
int HexTextAsDecimal(unsigned version);
// That number divided by 10000, as the shortest text (5.03).
QString HamlogVersionText(unsigned version);

// The scope library's version text (the first or the second of its two), with
// every "Ver" removed and blanks trimmed.
QString ScopeLibraryVersionText(bool second);

} // namespace core
