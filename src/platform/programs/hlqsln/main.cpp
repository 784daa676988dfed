// The logging program's QSL card printer, standing in for the outside program.
// Started with the one argument "LINK" it prints the QSO named in WORK2.DAT
// beside itself: it appends the arguments it was given and the file's bytes,
// as they are, to HLQSLN_PRINTED.TXT there. Without the file it prints nothing
// and ends with 1.
#include <QCoreApplication>
#include <QFile>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath();
    QFile work(folder + QStringLiteral("/WORK2.DAT"));
    if (!work.open(QIODevice::ReadOnly)) return 1;
    const QByteArray handedOver = work.readAll();
    QFile record(folder + QStringLiteral("/HLQSLN_PRINTED.TXT"));
    if (!record.open(QIODevice::Append)) return 1;
    record.write("ARGS\t" + app.arguments().mid(1).join(QLatin1Char('|')).toUtf8() + '\n');
    record.write(handedOver);
    return 0;
}
