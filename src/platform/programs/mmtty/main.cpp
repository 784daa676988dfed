// The RTTY/CW program. Started by the system as
//   MMTTY.EXE -m -d -p -h<window handle in hexadecimal>
// it connects to the system's local server, announces its own window handle and
// then answers the system's commands and reports its simulated modem's notices
// until it is told to close or the system's end of the connection goes away.
// For tests only (not the real program's): ZV_MMTTY_WITHHOLD_WINDOW=1 in the
// environment keeps the window notice back (see MmttyProtocol.h).
#include "RttyLink.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The handle after "-h", either joined ("-h1A2B") or as the next argument.
std::uint32_t windowArgument(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("-h"))) continue;
        QString hex = args[i].mid(2);
        if (hex.isEmpty() && i + 1 < args.size()) hex = args[i + 1];
        return hex.toUInt(nullptr, 16);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QByteArray server = qgetenv(mmtty::ServerEnvironment);
    if (server.isEmpty()) server = mmtty::defaultServerName(windowArgument(app.arguments()));
    mmtty::RttyLink link(QString::fromLocal8Bit(server));
    if (!link.connectToSystem()) return 1;
    return app.exec();
}
