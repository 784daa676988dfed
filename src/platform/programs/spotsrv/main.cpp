// zorvatek-spotsrv: a local DX-spot server for trying the spot window.
//   zorvatek-spotsrv [--every SECONDS] [--primary-fails] [--port PORT] [--fallback-port PORT]
// The four primary pages on 127.0.0.1:PORT (47301), the fallback page on the
// fallback port (47302), a new fictional spot every SECONDS (60), and the spot
// submission form on the fallback port, whose spots are printed and listed first.
#include "SpotPageBuilder.h"
#include "SpotServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Local DX-spot pages for the spot window."));
    options.addHelpOption();
    const QCommandLineOption every(QStringLiteral("every"), QStringLiteral("Seconds between new spots."),
                                   QStringLiteral("SECONDS"), QStringLiteral("60"));
    const QCommandLineOption fails(QStringLiteral("primary-fails"),
                                   QStringLiteral("The primary pages answer 500."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port of the primary pages."),
                                  QStringLiteral("PORT"), QStringLiteral("47301"));
    const QCommandLineOption fallbackPort(
        QStringLiteral("fallback-port"), QStringLiteral("Port of the fallback page and the submission form."),
        QStringLiteral("PORT"), QStringLiteral("47302"));
    options.addOption(every);
    options.addOption(fails);
    options.addOption(port);
    options.addOption(fallbackPort);
    options.process(app);
    bool ok = false;
    const int seconds = options.value(every).toInt(&ok);
    if (!ok || seconds < 1) {
        std::fprintf(stderr, "--every takes a whole number of seconds (1 or more)\n");
        return 2;
    }
    const std::optional<quint16> primary = spotsrv::portOf(options.value(port));
    const std::optional<quint16> fallback = spotsrv::portOf(options.value(fallbackPort));
    if (!primary || !fallback || *primary == *fallback) {
        std::fprintf(stderr, "--port and --fallback-port take two different port numbers (1 to 65535)\n");
        return 2;
    }
    spotsrv::SpotServer server(options.isSet(fails));
    if (!server.listen(*primary, *fallback)) {
        std::fprintf(stderr, "ports %u and %u on 127.0.0.1 are not free\n", unsigned(*primary),
                     unsigned(*fallback));
        return 1;
    }
    std::printf("spot pages on http://127.0.0.1:%u (primary%s) and http://127.0.0.1:%u (fallback)\n",
                unsigned(*primary), options.isSet(fails) ? ", answering 500" : "", unsigned(*fallback));
    std::fflush(stdout);
    QTimer next;
    QObject::connect(&next, &QTimer::timeout, &server, &spotsrv::SpotServer::addSpot);
    next.start(seconds * 1000);
    return app.exec();
}
