#pragma once
// Permission paths tried as an ordinary user also when the suite runs as root,
// as it does in CI: the superuser opens and writes whatever the bits say.
#include <QString>
#include <functional>

namespace zvtest {

// Runs the checks as an ordinary user. Not root: here, as the user the suite
// runs as. Root: the test is run again from its start in a fresh process of
// the test program (a fork of a process with Qt's threads running can hang),
// which gives the folder (and all below it) to the unprivileged user "nobody"
// (65534) and becomes that user for the checks and the rest of the test; its
// failures are reported as this test's, at their own file and line.
void asUnprivilegedUser(const QString& folder, const std::function<void()>& checks);

} // namespace zvtest
