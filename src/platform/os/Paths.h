#pragma once
// The program folder and path building.
// The program folder holds ZORVATEK.INI, the macro, list and memo files. It is
// $ZORVATEK_HOME when set, otherwise the user's data folder; it is created on
// first use.
#include <QString>
#include <optional>

namespace paths {

QString programFolder();

// Why the folder cannot serve as the program folder, in the operator's words,
// or nothing when it can: it is created when missing, must be a folder the
// program can write into, and its ZORVATEK.INI, when there, a file it can read.
std::optional<QString> programFolderProblem(const QString& folder);

// Joins a folder and a name with exactly one "/" between them. Either part may
// be a path stored by an earlier Windows installation ("C:\HAMLOG\", "LOG\a.dat"):
// its "\" separators are read as "/".
QString join(const QString& folder, const QString& name);

// A stored path made usable here: "\" becomes "/".
QString fromStored(const QString& stored);

// The folder where the program's own executables lie (the stand-ins for the
// outside programs are built there).
QString executableFolder();

} // namespace paths
