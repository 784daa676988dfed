// ComQSOBank.exe <upload file>: reads the QSOBank upload file and records what
// it would upload in "ComQSOBank.log" beside the file (UTF-8, one line for the
// file, then one line per QSO, fields separated by tabs). A file that cannot be
// read or is no upload file is recorded as refused; the exit code is then 1.
#include "platform/programs/comqsobank/QsoBankUpload.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void record(const QString& uploadPath, const QString& text) {
    const QString folder = uploadPath.isEmpty() ? QDir::currentPath() : QFileInfo(uploadPath).absolutePath();
    QFile log(QDir(folder).filePath(QStringLiteral("ComQSOBank.log")));
    if (log.open(QIODevice::Append)) log.write(text.toUtf8());
}

QString qsoLine(const qsobank::UploadQso& q) {
    return QStringList{q.daytime, q.callsign, q.frequency, q.mode, q.hisRpt, q.myRpt, q.qslRemarks}.join(
               QLatin1Char('\t')) +
           QLatin1Char('\n');
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        record({}, QStringLiteral("refused: %1 arguments\n").arg(args.size() - 1));
        return 1;
    }
    const QString path = args[1];
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        record(path, QStringLiteral("refused ") + path + QStringLiteral(": cannot read\n"));
        return 1;
    }
    const qsobank::Upload upload = qsobank::parseUpload(file.readAll());
    if (!upload.ok()) {
        record(path,
               QStringLiteral("refused ") + path + QStringLiteral(": ") + upload.error + QLatin1Char('\n'));
        return 1;
    }
    QString text = QStringLiteral("upload ") + path + QStringLiteral(": %1 QSOs\n").arg(upload.qsos.size());
    for (const qsobank::UploadQso& q : upload.qsos)
        text += qsoLine(q);
    record(path, text);
    return 0;
}
