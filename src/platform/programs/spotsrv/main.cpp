// zorvatek-spotsrv: a local DX-spot server for trying the spot window.
//   zorvatek-spotsrv [--every SECONDS] [--primary-fails]
// The four primary pages on 127.0.0.1:47301, the fallback page on :47302, a new
// fictional spot every SECONDS (60), and the spot submission form on the
// fallback port, whose spots are printed and listed first.
#include "SpotPageBuilder.h"
#include "SpotServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Local DX-spot pages for the spot window."));
    options.addHelpOption();
    const QCommandLineOption every(QStringLiteral("every"), QStringLiteral("Seconds between new spots."),
                                   QStringLiteral("SECONDS"), QStringLiteral("60"));
    const QCommandLineOption fails(QStringLiteral("primary-fails"),
                                   QStringLiteral("The primary pages answer 500."));
    options.addOption(every);
    options.addOption(fails);
    options.process(app);
    bool ok = false;
    const int seconds = options.value(every).toInt(&ok);
    if (!ok || seconds < 1) {
        std::fprintf(stderr, "--every takes a whole number of seconds (1 or more)\n");
        return 2;
    }
    spotsrv::SpotServer server(options.isSet(fails));
    if (!server.listen(47301, 47302)) {
        std::fprintf(stderr, "ports 47301 and 47302 on 127.0.0.1 are not free\n");
        return 1;
    }
    std::printf("spot pages on http://127.0.0.1:47301 (primary%s) and http://127.0.0.1:47302 (fallback)\n",
                options.isSet(fails) ? ", answering 500" : "");
    std::fflush(stdout);
    QTimer next;
    QObject::connect(&next, &QTimer::timeout, &server, &spotsrv::SpotServer::addSpot);
    next.start(seconds * 1000);
    return app.exec();
}
