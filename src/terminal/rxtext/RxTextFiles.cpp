#include "terminal/rxtext/RxTextFiles.h"

#include "core/ini/IniValues.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFile>

namespace terminal::rxtext {

QString existingFolderOr(const std::optional<QString>& stored) {
    if (stored && !stored->isEmpty() && QDir(paths::fromStored(*stored)).exists()) return *stored;
    return paths::programFolder();
}

QString receiveFolder() {
    return existingFolderOr(core::IniStored(QStringLiteral("PSKCFG"), QStringLiteral("RCVDFOL")));
}

bool appendMemoLine(const QString& line) {
    QFile f(paths::join(paths::programFolder(), kMemoFile));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QByteArray bytes = fileBytes(line);
    return f.write(bytes) == bytes.size() && f.flush();
}

std::optional<QString> readViewerFile(const QString& path, ViewerFileProblem* problem, QString* unreadable) {
    ViewerFileProblem none;
    ViewerFileProblem& why = problem ? *problem : none;
    why = ViewerFileProblem::CannotRead;
    QFile f(paths::fromStored(path));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    if (f.size() > kLargestViewedFile) {
        why = ViewerFileProblem::TooLarge;
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    std::optional<QString> text = viewerText(bytes);
    why = text ? ViewerFileProblem::None : ViewerFileProblem::NotText;
    if (text && text->count(QLatin1Char('\n')) > kMostViewedLines) {
        why = ViewerFileProblem::TooLarge;
        return std::nullopt;
    }
    if (unreadable && text && text->contains(QChar::ReplacementCharacter) &&
        !bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE"))
        *unreadable = cp932::undecodable(bytes);
    return text;
}

} // namespace terminal::rxtext
