#include "support/Transmit.h"

#include "core/Globals.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/pskcore/PskCore.h"
#include "support/ProgramFolder.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QTest>

namespace zvtest {

bool transmitByF12(PSK31MAIN& w) {
    if (!pskcore::lib().isRunning()) w.Timer2_Timer();
    QTest::keyClick(w.Text1, Qt::Key_F12);
    return waitUntil([] { return core::g.Transmitting == 1; });
}

bool endByEscape(PSK31MAIN& w) {
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    return waitUntil([] { return core::g.Transmitting == 0; });
}

void sendMacro(PSK31MAIN& w, int i, const QString& text) {
    MACRO_FORM& f = forms::MACRO_FORM();
    terminal::macros::putInStore(f, i, {QStringLiteral("m%1").arg(i), 0xC0FFC0, text});
    terminal::macros::rebuildShortcuts(f);
    QTest::mousePress(w.Command8[static_cast<std::size_t>(i)], Qt::LeftButton);
}

} // namespace zvtest
