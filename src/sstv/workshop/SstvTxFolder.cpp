#include "sstv/workshop/SstvTxFolder.h"

#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/os/Paths.h"
#include "sstv/window/SstvGlobals.h"

#include <QDir>

namespace sstv {
namespace {

const QString kBmpPos = QStringLiteral("BMP_POS");
const QString kTxFolderKey = QStringLiteral("TXbmpFol");

} // namespace

QString ReadTxBmpFolder() {
    if (!g.TxBmpFolderUnkept.isEmpty()) return g.TxBmpFolder = g.TxBmpFolderUnkept;
    const auto stored = core::IniStored(kBmpPos, kTxFolderKey);
    g.TxBmpFolder = stored && !stored->trimmed().isEmpty() ? paths::fromStored(stored->trimmed())
                                                           : paths::programFolder();
    return g.TxBmpFolder;
}

void StoreTxBmpFolder(const QString& folder) {
    g.TxBmpFolder = folder;
    const bool kept = core::RememberFolder(kBmpPos, kTxFolderKey, QDir::toNativeSeparators(folder),
                                           QStringLiteral("画像はこのフォルダから読み込みました。"));
    g.TxBmpFolderUnkept = kept ? QString() : folder;
}

bool SameFolder(const QString& a, const QString& b) {
    return QDir::cleanPath(paths::fromStored(a)) == QDir::cleanPath(paths::fromStored(b));
}

} // namespace sstv
