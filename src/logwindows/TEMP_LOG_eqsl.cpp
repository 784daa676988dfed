// The electronic-QSL services' web pages, opened through the shortcut files
// that start-up writes into the program folder.
#include "core/StartupFiles.h"
#include "logwindows/TEMP_LOG.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Shortcut.h"

namespace {

void openServicePage(const QString& shortcutFile) {
    if (!shortcut::open(paths::join(paths::programFolder(), shortcutFile)))
        ui::msgBox(QStringLiteral("ＵＲＬが開けませんでした"), ui::OkOnly);
}

} // namespace

void TEMP_LOG::GOEQSL_Click() {
    openServicePage(core::kEqslShortcutFile);
}

void TEMP_LOG::GOQSOBANK_Click() {
    openServicePage(core::kQsoBankShortcutFile);
}
