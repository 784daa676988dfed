#include "core/lists/ListFiles.h"

#include "platform/forms/dialogs/Dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace core {

void SayListFileTooLarge(const QString& path) {
    ui::msgBox(QStringLiteral("%1 を読み込めませんでした（ファイルが大きすぎます）。\r\n")
                       .arg(QFileInfo(path).fileName()) +
                   QDir::toNativeSeparators(path),
               ui::OkOnly | ui::Exclamation);
}

} // namespace core
