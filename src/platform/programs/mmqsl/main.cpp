// The QSL card printing program MMQSL, standing in for the outside program.
// Command line: -Automation <socket name>: it connects to the automation
// object there and ends when the object releases it.
#include "QslPrinter.h"

#include <QCoreApplication>
#include <QLocalSocket>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("-Automation"));
    if (at < 0 || at + 1 >= args.size()) {
        qWarning("mmqsl: started without -Automation <socket name>");
        return 2;
    }
    QLocalSocket socket;
    socket.connectToServer(args[at + 1]);
    if (!socket.waitForConnected(10000)) return 1;
    QslPrinter printer(socket, QCoreApplication::applicationDirPath());
    QObject::connect(&printer, &QslPrinter::released, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (socket.state() != QLocalSocket::ConnectedState) return 0;
    return app.exec();
}
