// Compiles one file of code against the program's sources, syntax only: the
// checks that a kind of code is refused by the compiler.
#pragma once

#include <QString>

namespace zvtest {

struct SyntaxCheck {
    // False when the compiler did not end within its own limit (two minutes,
    // well inside the test run's), so that a hanging compile is said by its test.
    bool finished = false;
    int exitCode = -1;
    // What the compiler said, errors and notes together.
    QString said;
};

SyntaxCheck checkSyntax(const QString& file);

} // namespace zvtest
