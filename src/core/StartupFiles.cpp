#include "core/StartupFiles.h"

#include "platform/os/AtomicFile.h"
#include "platform/os/Paths.h"

namespace core {
namespace {

bool writeShortcut(const QString& name, const QString& url) {
    const QByteArray bytes = "[InternetShortcut]\r\nURL=" + url.toLatin1() + "\r\n";
    return files::replaceWhole(paths::join(paths::programFolder(), name), bytes);
}

} // namespace

bool WriteShortcutFiles() {
    bool ok = writeShortcut(kHomePageShortcutFile, kHomePageUrl);
    ok = writeShortcut(kEqslShortcutFile, kEqslUrl) && ok;
    ok = writeShortcut(kQsoBankShortcutFile, kQsoBankUrl) && ok;
    return ok;
}

} // namespace core
