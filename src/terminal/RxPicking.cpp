#include "terminal/RxPicking.h"

#include "core/Globals.h"
#include "platform/RichTextPane.h"
#include "terminal/MacroState.h"
#include "terminal/PSK31MAIN.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>

namespace rxpick {

Globals g;

namespace {

constexpr int kCallLimit = 10;
constexpr int kWordLimit = 28;
constexpr int kContestLimit = 50;
constexpr int kHeaderLimit = 50;

const QString kHeader = QStringLiteral("Get->");

QString trimBlanks(const QString& s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

bool holdsDigit(const QString& s) {
    return std::any_of(s.begin(), s.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The selection goes to the clipboard; a plain click leaves it empty.
void selectionToClipboard(const RichTextPane* pane) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString selected = pane->selText();
    if (!selected.isEmpty()) clipboard->setText(selected);
}

void showWordPopup(PSK31MAIN& w, int limit, const QPoint& at) {
    g.PickedWord = g.PickedWord.left(limit);
    w.GETNAIYOU->setText(kHeader + g.PickedWord);
    w.GETDATOTHER->popup(at);
    w.Text1->setFocus();
}

void pickWord(PSK31MAIN& w, int caret, const QPoint& at) {
    const std::optional<QString> word = wordAt(w.RichTextBox1->text(), caret);
    if (!word) {
        QGuiApplication::clipboard()->clear();
        w.Text1->setFocus();
        return;
    }
    g.PickedWord = *word;
    if (core::g.ContestMode != 0) {
        showWordPopup(w, kContestLimit, at);
    } else if (!holdsDigit(g.PickedWord)) {
        showWordPopup(w, kWordLimit, at);
    } else {
        g.PickedWord = g.PickedWord.left(kCallLimit);
        w.Text5->setText(g.PickedWord.toUpper());
        w.GETNAIYOU->setText(kHeader + g.PickedWord);
        w.Text1->setFocus();
    }
}

void offerSelection(PSK31MAIN& w, const QPoint& at) {
    const QString selected = QGuiApplication::clipboard()->text();
    if (selected.isEmpty()) return;
    g.PickedSelection = trimBlanks(selected);
    w.GETNAIYOUMAIN->setText(kHeader + g.PickedSelection.left(kHeaderLimit));
    w.PUPMNU->popup(at);
    w.Text1->setFocus();
}

} // namespace

std::optional<QString> wordAt(const QString& text, int caret) {
    if (caret <= 0) return std::nullopt;
    const qsizetype start = text.left(caret).lastIndexOf(QLatin1Char(' ')) + 1;
    qsizetype end = -1;
    for (QChar stop : {QLatin1Char(' '), QLatin1Char('\r'), QLatin1Char('\n')}) {
        end = text.indexOf(stop, caret);
        if (end >= 0) break;
    }
    if (end < 0) end = text.size();
    QString word = text.mid(start, end - start);
    const qsizetype lf = word.indexOf(QLatin1Char('\n'));
    if (lf >= 0) word = word.mid(lf + 1);
    const qsizetype cr = word.indexOf(QLatin1Char('\r'));
    if (cr >= 0) word = word.left(cr);
    return word;
}

void RichTextBox1_MouseUp(const QPoint& globalPos) {
    if (macros::g.MacroMoveMode == 1) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    selectionToClipboard(w.RichTextBox1);
    const int caret = w.RichTextBox1->selStart();
    w.RichTextBox1->setSelStart(w.RichTextBox1->length());
    if (core::g.DataCaptureOn == 1)
        pickWord(w, caret, globalPos);
    else
        offerSelection(w, globalPos);
}

void RichTextBox2_MouseUp(const QPoint& globalPos) {
    if (macros::g.MacroMoveMode == 1) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    selectionToClipboard(w.RichTextBox2);
    const QString selected = QGuiApplication::clipboard()->text();
    if (selected.isEmpty()) return;
    w.GETNAIYOUMAIN->setText(kHeader + selected.left(kHeaderLimit));
    w.PUPMNU->popup(globalPos);
}

void connectMainWindow(PSK31MAIN& w) {
    // The panes' own edit menus would cover the system's pop-ups.
    w.RichTextBox1->setContextMenuPolicy(Qt::PreventContextMenu);
    w.RichTextBox2->setContextMenuPolicy(Qt::PreventContextMenu);
    QObject::connect(w.RichTextBox1, &RichTextPane::mouseUp, &w, &RichTextBox1_MouseUp);
    QObject::connect(w.RichTextBox2, &RichTextPane::mouseUp, &w, &RichTextBox2_MouseUp);
}

} // namespace rxpick
