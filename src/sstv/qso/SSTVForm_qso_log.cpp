// The SSTV window's way into the log: the log button for either link, the
// clear button that starts the next QSO, the QTH pop-up's items and the
// editor of the RSV pick list.
#include "core/Globals.h"
#include "core/lists/ListBoxes.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/QSODATA.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Paths.h"
#include "sstv/qso/SstvQsoRoutines.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/receive/RxPickItems.h"
#include "terminal/receive/RxPicking.h"

#include <QFile>
#include <QPlainTextEdit>

namespace {

QString rsvPath() {
    return paths::join(paths::programFolder(), QStringLiteral("RSVmenu.DAT"));
}

// The RSV list as its editor shows it: each line whole, so that a line
// longer than the list takes is not cut by being edited.
core::ListBox rsvBox(QPlainTextEdit* box) {
    return {box,
            QStringLiteral("RSVmenu.DAT"),
            rsvPath(),
            core::ShownReport,
            sstv::RsvTaken,
            QStringLiteral("RSV"),
            QStringLiteral("RSVmenu set")};
}

} // namespace

void SSTVForm::applyLogLink() {
    logbook::Globals& lg = logbook::g;
    Command1->setEnabled(lg.HamlogLink == 1 || lg.HamlogLink == 2);
    Label47->setToolTip(
        lg.HamlogLink == 2 ? QStringLiteral("ここをクリックするとHamlogからQTHデータを貰えます") : QString());
    if (lg.HamlogLink == 1)
        lg.HamlogDataPath = lg.HamlogPath.left(lg.HamlogPath.size() - 4);
    else
        forms::unload<::TEMP_LOG>();
    Command7->setEnabled(true);
}

void SSTVForm::Command1_Click() {
    logwindows::LogButtonPress([this] { VScroll4->setValue(VScroll4->value() + 1); });
}

// The boxes empty through their one door, which asks first about a QSO handed
// to the logging program or an unsaved log entry.
void SSTVForm::Command7_Click() {
    if (ClearBusy == 1) return;
    ClearBusy = 1;
    if (logwindows::QsoBoxesDoor(logwindows::DropCause::Clear)) core::g.HisCall.clear();
    ClearBusy = 0;
}

void SSTVForm::ADDQTHUPD_Click() {
    terminal::receive::writeLogField(forms::TEMP_LOG().Text13, terminal::receive::g.QthText);
}

void SSTVForm::ADDREM1_Click() {
    terminal::receive::appendToLogField(forms::TEMP_LOG().Text14, QStringLiteral(","),
                                        QStringLiteral("QTH=") + terminal::receive::g.QthText);
}

void SSTVForm::ADDREM2_Click() {
    terminal::receive::appendToLogField(forms::TEMP_LOG().Text15, QStringLiteral(","),
                                        QStringLiteral("QTH=") + terminal::receive::g.QthText);
}

// A two-state switch: the first press opens the list as text, the second
// writes back what was changed and fills the pick list from the file.
void SSTVForm::Command3_Click() {
    if (RsvEditMode == 0) {
        RsvEditMode = 1;
        placeBesideRsv(Text10);
        Text10->show();
        Text10->raise();
        Command3->setText(QStringLiteral("RST set完了"));
        Text10->setFocus();
        core::OpenListBox(rsvBox(Text10));
        Text10->moveCursor(QTextCursor::End);
        // What the file gave is not the operator's typing.
        Text10->document()->setModified(false);
        return;
    }
    switch (core::StoreListBox(rsvBox(Text10))) {
    case core::ListBoxStore::Refused:
        return;
    case core::ListBoxStore::NotWritten:
        // The list stays as it was and the edited text stays open.
        ui::msgBox(QStringLiteral("RSVmenu.DAT に書き込めませんでした。"), ui::OkOnly | ui::Exclamation);
        return;
    case core::ListBoxStore::Stored:
        break;
    }
    RsvEditMode = 0;
    Command3->setText(QStringLiteral("RSVmenu set"));
    List4->clear();
    QFile file(rsvPath());
    if (file.open(QIODevice::ReadOnly)) List4->addItems(sstv::RsvEntries(file.readAll()));
    Text10->hide();
}

bool SSTVForm::rsvHoldsTyping() const {
    return RsvEditMode == 1 && Text10->document()->isModified();
}

bool SSTVForm::mayDropRsvTyping() {
    return terminal::engines::AgreesToDropTyping(
        this, Text10, QStringLiteral("RSVリストの変更は保存されません\r\n宜しいですか"));
}
