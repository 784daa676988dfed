#include "logwindows/QsoBoxes.h"

#include "core/Globals.h"
#include "sstv/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLineEdit>

namespace logwindows {

QsoBoxes operatingBoxes() {
    if (core::g.OpMode == core::ModeSstv) {
        if (!forms::isLoaded<SSTVForm>()) return {};
        SSTVForm& f = forms::SSTVForm();
        return {f.Text1, f.Text7, f.Text5, f.Text14, f.Text11, f.StatusBar1};
    }
    // A main window that is not loaded has empty boxes; reading them must not
    // load it ahead of the start-up.
    if (!forms::isLoaded<PSK31MAIN>()) return {};
    PSK31MAIN& m = forms::PSK31MAIN();
    return {m.Text5, m.Text6, m.Text7, m.Text14, m.Text11, m.StatusBar1};
}

QString textOf(const QLineEdit* box) {
    return box ? box->text() : QString();
}

} // namespace logwindows
