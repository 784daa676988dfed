#include "app/ProgramRun.h"

#include "app/AppContext.h"
#include "core/Globals.h"
#include "platform/forms/Dialogs.h"
#include "platform/os/EndSignals.h"
#include "platform/os/Paths.h"
#include "platform/os/SingleInstance.h"
#include "sstv/window/SSTVForm.h"
#include "startup/Startup.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QDir>
#include <csignal>

namespace app {

// The rig is unkeyed, the state stored, the logging program closed and, once
// the loop ends, the lock of the program folder removed.
void endBySignal() {
    if (forms::isLoaded<PSK31MAIN>()) return forms::PSK31MAIN().endWithoutQuestions();
    if (forms::isLoaded<SSTVForm>()) return forms::SSTVForm().pEnd_Click();
    QCoreApplication::quit();
}

std::optional<int> refuseUnusableProgramFolder() {
    const QString folder = paths::programFolder();
    const std::optional<QString> problem = paths::programFolderProblem(folder);
    if (!problem) return std::nullopt;
    const QString message = QStringLiteral("プログラムフォルダ %1 が使えません（%2）。\r\n"
                                           "設定を保存できないため ZORVATEK を終了します。")
                                .arg(QDir::toNativeSeparators(folder), *problem);
    // Also on the standard error, for a start from a terminal.
    qCritical("%s", qUtf8Printable(message));
    ui::msgBox(message, ui::OkOnly | ui::Critical);
    return kUnusableProgramFolderExit;
}

void prepareProcess() {
    std::signal(SIGXFSZ, SIG_IGN);
}

int run() {
    // Nothing is started on a folder that would lose every setting.
    if (const std::optional<int> refused = refuseUnusableProgramFolder()) return *refused;
    const instance::Guard guard(paths::programFolder());
    if (!guard.isFirst()) return 0; // a second start ends at once, silently

    AppContext context;
    const endsignals::Watch endSignals;
    QObject::connect(&endSignals, &endsignals::Watch::ended, [](int) { endBySignal(); });
    startup::StartUp();
    if (core::g.ProgramEndRequested) return 0;
    return QApplication::exec();
}

} // namespace app
