#include "sstv/workshop/SstvTxFolder.h"

#include "core/IniValues.h"
#include "platform/os/Paths.h"
#include "sstv/window/SstvGlobals.h"

#include <QDir>

namespace sstv {
namespace {

const QString kBmpPos = QStringLiteral("BMP_POS");
const QString kTxFolderKey = QStringLiteral("TXbmpFol");

} // namespace

QString ReadTxBmpFolder() {
    const auto stored = core::IniStored(kBmpPos, kTxFolderKey);
    g.TxBmpFolder = stored && !stored->trimmed().isEmpty() ? paths::fromStored(stored->trimmed())
                                                           : paths::programFolder();
    return g.TxBmpFolder;
}

void StoreTxBmpFolder(const QString& folder) {
    g.TxBmpFolder = folder;
    core::PutIniText(kBmpPos, kTxFolderKey, QDir::toNativeSeparators(folder));
}

bool SameFolder(const QString& a, const QString& b) {
    return QDir::cleanPath(paths::fromStored(a)) == QDir::cleanPath(paths::fromStored(b));
}

} // namespace sstv
