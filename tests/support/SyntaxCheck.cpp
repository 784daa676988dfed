#include "SyntaxCheck.h"

#include <QProcess>
#include <QStringList>

namespace zvtest {

SyntaxCheck checkSyntax(const QString& file) {
    QProcess compiler;
    compiler.setProcessChannelMode(QProcess::MergedChannels);
    compiler.start(QStringLiteral("sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("c++ -std=c++20 -fsyntax-only -fPIC $(pkg-config --cflags Qt6Core) "
                                   "-I\"$1\" \"$2\""),
                    QStringLiteral("sh"), QStringLiteral(ZV_SOURCE_DIR "/src"), file});
    SyntaxCheck c;
    c.finished = compiler.waitForFinished(120'000);
    c.exitCode = compiler.exitCode();
    c.said = QString::fromUtf8(compiler.readAll());
    return c;
}

} // namespace zvtest
