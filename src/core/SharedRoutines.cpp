#include "core/SharedRoutines.h"

#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace core {

QString GeneralDateTime(const QDateTime& t) {
    if (t.time() == QTime(0, 0)) return t.toString(QStringLiteral("yyyy/MM/dd"));
    return t.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

QString FindFileOnPath(const QString& fileName) {
    const QStringList folders = g.SearchFolder.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QDir dir(paths::fromStored(folder));
        if (!dir.exists()) continue;
        const QStringList found = dir.entryList(QDir::Files | QDir::Readable);
        for (const QString& name : found)
            if (name.compare(fileName, Qt::CaseInsensitive) == 0)
                return QFileInfo(dir, name).absoluteFilePath();
    }
    return {};
}

QByteArray PttPortName() {
    if (WholeNumber(g.PttPortNumber).value_or(0) == 0) return QByteArrayLiteral("NONE");
    return QByteArrayLiteral("COM") + g.PttPortNumber.trimmed().toLatin1();
}

namespace {
const QString kNoCall = QStringLiteral("No Call");
} // namespace

bool IsOwnCall(const QString& call) {
    const QString c = call.trimmed();
    return !c.isEmpty() && c.compare(kNoCall, Qt::CaseInsensitive) != 0;
}

QString OwnCwId(const QString& userCall) {
    return IsOwnCall(userCall) ? QStringLiteral("DE ") + userCall.trimmed() : QString();
}

QString CallPrompt() {
    return QStringLiteral("Pse Your Call Setting!");
}

bool CwIdSendable(const QString& text) {
    const QString t = text.trimmed();
    return !t.isEmpty() && t != CallPrompt() && !t.contains(kNoCall, Qt::CaseInsensitive);
}

QString CwIdRefusedText(const QString& cwId, int entry) {
    if (entry >= 1 && entry <= 5 && cwId.trimmed().isEmpty())
        return QStringLiteral("CW ID List の CWID%1 が空のため、CW IDは送信しません").arg(entry);
    return QStringLiteral("自局のコールサインが設定されていないため、CW IDは送信しません");
}

} // namespace core
