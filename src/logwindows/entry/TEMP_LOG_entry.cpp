// The new-entry button, the band box and the rig's reading in it, the
// end-of-QSO mark and the index rebuild.
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

namespace {

const QString kEndMark = QStringLiteral(" END of QSO=");

QString endTime() {
    if (core::g.LogTimeUtc == 1)
        return sysclock::utcNow().toString(QStringLiteral("HH:mm")) + QLatin1Char('U');
    return sysclock::jstNow().toString(QStringLiteral("HH:mm")) + QLatin1Char('J');
}

// The log's own index files beside it, "<name>.dx*", are rebuilt by the next open.
void deleteIndexFiles(const QString& logPath) {
    const QFileInfo log(paths::fromStored(logPath));
    QDir dir = log.absoluteDir();
    for (const QString& name : dir.entryList({log.completeBaseName() + QStringLiteral(".dx*")}, QDir::Files))
        dir.remove(name);
}

} // namespace

void TEMP_LOG::Command4_Click() {
    // Corrections typed over a stored record go only with the operator's word.
    if (correctionsUnsaved() && !logwindows::AgreesToDropUnsaved()) return;
    logwindows::StartLogEntry();
    Text1->setText(core::g.HisCall);
    Text2->clear();
    Text15->clear();
    Command7->setEnabled(true);
    Text1->setFocus();
}

void TEMP_LOG::Combo1_Click() {
    Label17->setText(Combo1->currentText());
    Text9->setFocus();
    core::PutIniText(QStringLiteral("Hamlog"), "LastBand", QString::number(Combo1->currentIndex()));
}

bool TEMP_LOG::Combo1_KeyPress(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        Label17->setText(Combo1->currentText());
        Text9->setFocus();
        return false;
    }
    if (key.key() == Qt::Key_Backspace) return false;
    // The box's own shortcuts (select all, copy, paste, undo) pass: what a
    // paste brings is held to these keys by the box itself.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
    const QString typed = key.text();
    if (typed.isEmpty() || !typed[0].isPrint()) return true;
    return typed.size() == 1 && logwindows::isBandChar(typed[0]);
}

// The rig's dial belongs to the QSO being made: a record read back from the
// log keeps the band it was stored with.
void TEMP_LOG::showRigFrequency(const QString& text) {
    if (logbook::g.LogEditMode != 0) return;
    Combo1->setEditText(text);
    Label17->setText(text);
}

void TEMP_LOG::QSOEND_Click() {
    if (logbook::g.LogEditMode != 0) return;
    const QString mark = kEndMark + endTime();
    QString rem = Text15->text();
    if (rem.trimmed().isEmpty()) {
        Text15->setText(mark);
        return;
    }
    for (qsizetype at = rem.indexOf(kEndMark); at >= 0; at = rem.indexOf(kEndMark))
        rem.remove(at, 18);
    Text15->setText(rem + mark);
}

void TEMP_LOG::StatusBar1_MouseUp(int button) {
    if (button != 2) return;
    logwindows::CloseLog();
    deleteIndexFiles(logbook::g.HamlogPath);
    logwindows::ReopenLog();
    logwindows::CloseLog();
    core::ShowTimedMessage(QStringLiteral("INDEX再構築中です"), 3000);
}
