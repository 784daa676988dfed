#include "app/ProgramRun.h"

#include "app/AppContext.h"
#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/EndSignals.h"
#include "platform/os/Paths.h"
#include "platform/os/SingleInstance.h"
#include "sstv/window/SSTVForm.h"
#include "startup/Startup.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <csignal>

namespace app {

namespace {

// Before the event loop runs a quit is lost: a signal during the start waits
// for the loop, and the start goes on to its end meanwhile.
bool startingUp = false;
bool endAsked = false;
int questionsAnswered = 0;

// Each modal box or dialog open is answered as Esc answers it: the code that
// waits on it goes on, and no question holds the end.
bool answerOpenQuestions() {
    bool any = false;
    for (int i = 0; i < 20; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        any = true;
    }
    return any;
}

void endNow() {
    terminal::engines::SayTypingDropped();
    if (forms::isLoaded<PSK31MAIN>()) return forms::PSK31MAIN().endWithoutQuestions();
    if (forms::isLoaded<SSTVForm>()) return forms::SSTVForm().endWithoutQuestions();
    QCoreApplication::quit();
}

} // namespace

// The rig is unkeyed, the state stored, the logging program closed and, once
// the loop ends, the lock of the program folder removed. The windows go only
// once no modal wait is left that would come back to them.
void endBySignal() {
    endAsked = true;
    // A box the end itself raises (a file it cannot store) holds nothing up.
    ui::answerAtOnce(true);
    const bool answered = answerOpenQuestions();
    if (startingUp) {
        // A question the start asks later is answered too, until the loop runs.
        QTimer::singleShot(20, qApp, [] {
            if (startingUp) endBySignal();
        });
        return;
    }
    if (answered && ++questionsAnswered < 50) {
        QTimer::singleShot(0, qApp, [] { endBySignal(); });
        return;
    }
    // Taken inside a wait, the end comes once the waits have given way to it.
    if (!forms::mayActNow(forms::Request::End, [] { endBySignal(); })) return;
    endNow();
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
    endsignals::holdUntilWatched();
}

int run() {
    // Nothing is started on a folder that would lose every setting.
    if (const std::optional<int> refused = refuseUnusableProgramFolder()) return *refused;
    const instance::Guard guard(paths::programFolder());
    if (!guard.isFirst()) return 0; // a second start ends at once, silently

    AppContext context;
    const endsignals::Watch endSignals;
    QObject::connect(&endSignals, &endsignals::Watch::ended, [](int) { endBySignal(); });
    startingUp = true;
    startup::StartUp();
    startingUp = false;
    if (core::g.ProgramEndRequested) return 0;
    if (endAsked) QTimer::singleShot(0, qApp, [] { endBySignal(); });
    return QApplication::exec();
}

} // namespace app
