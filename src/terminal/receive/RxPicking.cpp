#include "terminal/receive/RxPicking.h"

#include "core/Blanks.h"
#include "core/Globals.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/text/Clipboard.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/RxPickItems.h"
#include "terminal/receive/WordPick.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>

namespace terminal::receive {

Globals g;

namespace {

constexpr int kHeaderLimit = 50;

const QString kHeader = QStringLiteral("Get->");

// The selection goes to the clipboard; a plain click leaves it empty.
void selectionToClipboard(const RichTextPane* pane) {
    clipboard::hold(pane->selText());
}

void pickUnderClick(PSK31MAIN& w, int caret, const QPoint& at) {
    const WordPick pick = pickWord(w.RichTextBox1->text(), caret, core::g.ContestMode);
    if (pick.target == PickTarget::Nothing) {
        clipboard::empty();
        w.Text1->setFocus();
        return;
    }
    g.PickedWord = pick.word;
    w.GETNAIYOU->setText(kHeader + g.PickedWord);
    if (pick.target == PickTarget::WordPopup) {
        w.GETDATOTHER->popup(at);
    } else {
        if (logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, g.PickedWord.toUpper()))
            logwindows::CheckCallSign(w.Text5->text());
    }
    w.Text1->setFocus();
}

void offerSelection(PSK31MAIN& w, const QPoint& at) {
    const QString selected = QGuiApplication::clipboard()->text();
    if (selected.isEmpty()) return;
    g.PickedSelection = core::TrimBlanks(selected);
    w.GETNAIYOUMAIN->setText(kHeader + g.PickedSelection.left(kHeaderLimit));
    w.PUPMNU->popup(at);
    w.Text1->setFocus();
}

} // namespace

void RichTextBox1_MouseUp(const QPoint& globalPos) {
    if (macros::g.MacroMoveMode == 1) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    selectionToClipboard(w.RichTextBox1);
    const int caret = w.RichTextBox1->selStart();
    w.RichTextBox1->setSelStart(w.RichTextBox1->length());
    if (core::g.DataCaptureOn == 1)
        pickUnderClick(w, caret, globalPos);
    else
        offerSelection(w, globalPos);
}

void RichTextBox2_MouseUp(const QPoint& globalPos) {
    if (macros::g.MacroMoveMode == 1) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    selectionToClipboard(w.RichTextBox2);
    const QString selected = QGuiApplication::clipboard()->text();
    if (selected.isEmpty()) return;
    // Its contest item acts on what its header shows.
    g.PickedSelection = core::TrimBlanks(selected);
    w.GETNAIYOUMAIN->setText(kHeader + selected.left(kHeaderLimit));
    w.PUPMNU->popup(globalPos);
}

void connectRxPicking(PSK31MAIN& w) {
    // The panes' own edit menus would cover the system's pop-ups.
    w.RichTextBox1->setContextMenuPolicy(Qt::PreventContextMenu);
    w.RichTextBox2->setContextMenuPolicy(Qt::PreventContextMenu);
    // Received text is the engines' alone: no key, paste or cut edits it.
    for (RichTextPane* pane : {w.RichTextBox1, w.RichTextBox2}) {
        pane->setReadOnly(true);
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    QObject::connect(w.RichTextBox1, &RichTextPane::mouseUp, &w, &RichTextBox1_MouseUp);
    QObject::connect(w.RichTextBox2, &RichTextPane::mouseUp, &w, &RichTextBox2_MouseUp);
    connectPickItems(w);
}

} // namespace terminal::receive
