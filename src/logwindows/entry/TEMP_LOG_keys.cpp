// The log entry window's keys, its activation and its closing.
#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace {

void focusOperatingCallBox() {
    if (core::g.OpMode != core::ModeSstv && forms::isLoaded<PSK31MAIN>())
        forms::PSK31MAIN().Text5->setFocus();
}

} // namespace

bool TEMP_LOG::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, e);
    // A list or menu open over the window (the band box's list) keeps its
    // keys: Esc there closes the list, not the entry, and a key passing on
    // from the list to its frame is not taken twice.
    if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() != this)
        return QWidget::eventFilter(watched, e);
    auto* key = static_cast<QKeyEvent*>(e);
    Form_KeyDown(key->key());
    if (!forms::isLoaded<TEMP_LOG>()) return true;
    // The band box keeps the focus and hands its keys to its line edit
    // itself, past any filter of the line edit's: they are sorted here.
    if (watched == Combo1 || watched == Combo1->lineEdit()) return !Combo1_KeyPress(*key);
    return QWidget::eventFilter(watched, e);
}

void TEMP_LOG::Form_KeyDown(int key) {
    logbook::Globals& g = logbook::g;
    switch (key) {
    case Qt::Key_Escape:
        // Asked as the close box asks: only when typing would be lost.
        if (holdsUnsavedTyping() && !logwindows::AgreesToDropUnsaved()) return;
        logwindows::SaveLogWindowPos();
        g.LogEntrySaved = 0;
        forms::unload<TEMP_LOG>();
        return;
    case Qt::Key_PageUp:
        focusPreviousChild();
        break;
    case Qt::Key_PageDown:
        focusNextChild();
        break;
    case Qt::Key_Home:
        if (core::g.OpMode != core::ModeSstv) {
            PSK31MAIN& main = forms::PSK31MAIN();
            main.activateWindow();
            main.Text1->setFocus();
        }
        break;
    case Qt::Key_F1:
        // The key saves as the item does; once the new QSO is stored ("保存完了",
        // disabled) the window shows its record, and the key stores the
        // operator's corrections to it. A contest hides the item: its own item saves.
        if (LSave->isEnabled() || (LSave->isVisible() && logbook::g.LogEditMode == 1)) LSave_Click();
        if (!forms::isLoaded<TEMP_LOG>()) return;
        break;
    case Qt::Key_F3:
        Text4->setFocus();
        break;
    case Qt::Key_F8:
        Text12->setFocus();
        break;
    default:
        break;
    }
    logwindows::SaveLogWindowPos();
}

void TEMP_LOG::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        logbook::g.LogWindowOpen = 1;
    }
    QWidget::changeEvent(e);
}

// The operator's close box asks as the close item does: it would drop the
// typed QSO as surely.
void TEMP_LOG::closeEvent(QCloseEvent* e) {
    if (e->spontaneous() && holdsUnsavedTyping() && !logwindows::AgreesToDropUnsaved()) {
        e->ignore();
        return;
    }
    closeByOperator();
    e->accept();
    forms::unload<TEMP_LOG>();
}

void TEMP_LOG::closeByOperator() {
    logbook::Globals& g = logbook::g;
    logwindows::CloseLog();
    clipboard::empty();
    QSOEND->setEnabled(true);
    Command4->hide();
    Command8->setEnabled(false);
    Command9->setEnabled(false);
    logwindows::SaveLogWindowPos();
    logwindows::BringWindowToFront();
    g.LogWindowOpen = 0;
    g.LogEditMode = 0;
    Text8->setText(core::g.ModeDisplayText);
    g.LogEntrySaved = 0;
    focusOperatingCallBox();
}

QStringList TEMP_LOG::boxTexts() const {
    QStringList texts{Combo1->currentText()};
    for (const QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text8, Text9, Text10, Text11,
                                 Text16, Text17, Text12, Text13, Text14, Text15})
        texts << box->text();
    return texts;
}

bool TEMP_LOG::correctionsUnsaved() const {
    return logbook::g.LogEditMode == 1 && !shownBoxes_.isEmpty() && boxTexts() != shownBoxes_;
}

bool TEMP_LOG::unsavedNewEntry() const {
    const logbook::Globals& g = logbook::g;
    return g.LogEditMode != 1 && g.LogEntrySaved == 0 && !Text1->text().trimmed().isEmpty();
}

bool TEMP_LOG::holdsUnsavedTyping() const {
    return unsavedNewEntry() || correctionsUnsaved();
}

// The question comes first: a No leaves the window, its buttons and the
// clipboard as they were.
void TEMP_LOG::LCan_Click() {
    logbook::Globals& g = logbook::g;
    if (holdsUnsavedTyping() && !logwindows::AgreesToDropUnsaved()) return;
    clipboard::empty();
    Command4->hide();
    Command8->setEnabled(false);
    Command9->setEnabled(false);
    const bool unsavedNew = unsavedNewEntry();
    logwindows::CloseLog();
    g.LogWindowOpen = 0;
    QSOEND->setEnabled(true);
    if (!unsavedNew) {
        g.LogEditMode = 0;
        g.LogEntrySaved = 0;
        focusOperatingCallBox();
    }
    logwindows::BringWindowToFront();
    logwindows::SaveLogWindowPos();
    Text8->setText(core::g.ModeDisplayText);
    forms::unload<TEMP_LOG>();
}
