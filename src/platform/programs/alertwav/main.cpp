// zorvatek-alertwav FILE: writes the spot window's alert tone as a wave file.
#include "platform/os/AlertSound.h"
#include "platform/os/WavFile.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        qWarning("usage: zorvatek-alertwav FILE");
        return 2;
    }
    const std::vector<std::int16_t> tone = alertsound::alertTone();
    wavfile::Writer writer;
    if (!writer.open(args[1], false)) {
        qWarning("zorvatek-alertwav: cannot write %s", qPrintable(args[1]));
        return 1;
    }
    writer.write(tone.data(), static_cast<int>(tone.size()));
    writer.close();
    return 0;
}
