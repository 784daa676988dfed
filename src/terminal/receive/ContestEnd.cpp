#include "terminal/receive/ContestEnd.h"

#include "platform/forms/controls/RichTextPane.h"
#include "settings/dialogs/ContestWindow.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QAction>

namespace terminal::receive {

void SaveContestNo(PSK31MAIN& w) {
    w.GetContestNo->setEnabled(false);
    w.PSTCON_NO->setEnabled(false);
    settings::EndContest({w.Text11, w.VScroll4, w.Text7, w.CONON}, QStringLiteral("599"));
    w.Text1->setFocus();
}

} // namespace terminal::receive
