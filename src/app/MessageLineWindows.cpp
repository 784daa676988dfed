#include "app/WindowInterfaces.h"
#include "core/Globals.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>
#include <QTimer>

namespace app {

void MessageLineWindows::showTimedMessage(const QString& text, int milliseconds) {
    QLineEdit* box = core::g.OpMode == core::ModeSstv ? forms::SSTVForm().Text3 : forms::PSK31MAIN().Text3;
    box->setText(text);
    box->show();
    box->raise();
    QTimer* timer = forms::AboutZORVATEK().Timer3;
    timer->setInterval(milliseconds);
    timer->start();
}

bool MessageLineWindows::shows(const QString& text) const {
    if (!isLoaded() || !forms::AboutZORVATEK().Timer3->isActive()) return false;
    const QLineEdit* box =
        core::g.OpMode == core::ModeSstv ? forms::SSTVForm().Text3 : forms::PSK31MAIN().Text3;
    return box->isVisibleTo(box->window()) && box->text() == text;
}

namespace {
QLineEdit* lineBox() {
    return core::g.OpMode == core::ModeSstv ? forms::SSTVForm().Text3 : forms::PSK31MAIN().Text3;
}
} // namespace

// The message timer stopped: nothing hides the line until the state is over.
void MessageLineWindows::showStanding(const QString& text) {
    showTimedMessage(text, 0);
    forms::AboutZORVATEK().Timer3->stop();
}

bool MessageLineWindows::showsStanding(const QString& text) const {
    if (!isLoaded() || forms::AboutZORVATEK().Timer3->isActive()) return false;
    const QLineEdit* box = lineBox();
    return box->isVisibleTo(box->window()) && box->text() == text;
}

// Ended by the message timer's own tick, which leaves the line as it does
// after any message.
void MessageLineWindows::endStanding(const QString& text) {
    if (!showsStanding(text)) return;
    forms::AboutZORVATEK().Timer3_Timer();
}

bool MessageLineWindows::isLoaded() const {
    const bool window =
        core::g.OpMode == core::ModeSstv ? forms::isLoaded<SSTVForm>() : forms::isLoaded<PSK31MAIN>();
    return window && forms::isLoaded<AboutZORVATEK>();
}

} // namespace app
