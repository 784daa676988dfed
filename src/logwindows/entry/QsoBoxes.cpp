#include "logwindows/entry/QsoBoxes.h"

#include "core/Globals.h"
#include "platform/forms/controls/RichTextPane.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCheckBox>
#include <QLineEdit>

namespace logwindows {

QsoBoxes operatingBoxes() {
    // A window that is not loaded has empty boxes; reading them must not load
    // it (the SSTV window would start its engine, the main window run ahead
    // of the start-up).
    if (core::g.OpMode == core::ModeSstv) {
        if (!forms::isLoaded<SSTVForm>()) return {};
        SSTVForm& s = forms::SSTVForm();
        return {s.Text1, s.Text7, s.Text5, s.Text14, s.Text11, s.StatusBar1, s.Check1, s.Text1, s.Command1};
    }
    if (!forms::isLoaded<PSK31MAIN>()) return {};
    PSK31MAIN& m = forms::PSK31MAIN();
    return {m.Text5, m.Text6, m.Text7, m.Text14, m.Text11, m.StatusBar1, m.Check2, m.Text1, m.Command5};
}

QString textOf(const QLineEdit* box) {
    return box ? box->text() : QString();
}

} // namespace logwindows
