// A simulated rig to try the rig link by hand: it prints the pseudo-terminal
// to put in the rig settings (RIGCOMCONT) and then answers as a rig of the
// given family would, at the line speed the program set on its port, and says
// so when a command comes in while it is still answering. Lines on standard
// input turn its dial and switch its mode:
//   f 7035000   dial in Hz        m 1   mode value of the family's status reply
//   q           end
#include "rig/RigFamily.h"
#include "support/RigSimulator.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || !rig::familyOf(args[1])) {
        std::fprintf(stderr, "usage: zorvatek-rigsim FAMILY [DIAL_HZ] [ICOM_ADDRESS]\n"
                             "  FAMILY: ICOM KENWOOD FT767 FT817 FT847 FT900 FT920 FT1000MP JST-245\n");
        return 2;
    }
    const unsigned char address =
        args.size() > 3 ? static_cast<unsigned char>(args[3].toUInt(nullptr, 16)) : 0x58;
    zvtest::RigSimulator rig(args[1], address);
    if (!rig.isOpen()) {
        std::fprintf(stderr, "zorvatek-rigsim: no pseudo-terminal\n");
        return 1;
    }
    if (args.size() > 2) rig.dialHz = args[2].toLongLong();
    rig.pacedAtLineRate = true;

    QTextStream out(stdout);
    out << "rig " << rig.family() << " on " << rig.ptyPath() << Qt::endl;
    out << "put RIGCOMCONT=" << rig.ptyPath() << " and RIG_TYPE=" << rig.family()
        << " in [RIG_CON_CFG] of ZORVATEK.INI" << Qt::endl;

    // Every PTT command, a repeated one too: a release sent to a rig that
    // came back unkeyed shows as well.
    QObject::connect(&rig, &zvtest::RigSimulator::pttHeard,
                     [&](bool on) { out << (on ? "PTT on" : "PTT off") << Qt::endl; });

    QObject::connect(&rig, &zvtest::RigSimulator::overlapHeard, [&](const QByteArray& command) {
        out << "overlap: " << command.toHex(' ') << " came in while the rig was answering"
            << (rig.family() == QLatin1String("ICOM") ? " (a collision on the CI-V bus)" : "") << Qt::endl;
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QTextStream in(stdin);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        const QString line = in.readLine().trimmed();
        if (in.atEnd() && line.isEmpty()) return input.setEnabled(false); // no more input: keep answering
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.value(0) == QLatin1String("q")) return app.quit();
        if (words.value(0) == QLatin1String("f")) rig.dialHz = words.value(1).toLongLong();
        if (words.value(0) == QLatin1String("m")) rig.mode = words.value(1).toInt();
        // The cable pulled at the rig's end (the port stays open), and plugged back.
        if (words.value(0) == QLatin1String("u")) rig.pullCable();
        if (words.value(0) == QLatin1String("p")) rig.plugCableBack();
        out << "dial " << rig.dialHz << " Hz, mode " << rig.mode << (rig.cableIn() ? "" : ", cable pulled")
            << Qt::endl;
    });
    return app.exec();
}
