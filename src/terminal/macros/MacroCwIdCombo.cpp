#include "terminal/macros/MacroCwIdCombo.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace terminal::macros {
namespace {

void putCfg(const core::IniKey& key, const QString& value) {
    core::PutIniText(QStringLiteral("PSKCFG"), key, value);
}

void chooseCwId(PSK31MAIN& w, const QString& text) {
    core::g.CwIdText = text;
    w.Command3->setToolTip(text);
}

void closeList(PSK31MAIN& w) {
    w.Frame2->hide();
    w.Text5->setFocus();
}

// The operator's messages follow the own call's entry, which the list has
// only once a CW ID is stored (not on a first run): they are stored as
// MESG1..MESGn whichever index they have in the list.
int firstMessage(const PSK31MAIN& w) {
    return w.Combo1->count() > 0 && w.Combo1->itemData(0) == CwIdOwnCallEntry ? 1 : 0;
}

void rewriteMessages(const PSK31MAIN& w) {
    const int first = firstMessage(w);
    const int n = w.Combo1->count() - first;
    for (int i = 1; i <= n; ++i)
        putCfg(core::IniKey::built(QStringLiteral("MESG%1").arg(i)), w.Combo1->itemText(first + i - 1));
    putCfg("MSG_CNT", QString::number(n));
}

void deleteRemembered(PSK31MAIN& w) {
    const int i = g.CwIdListIndex;
    if (i <= 0 || i >= w.Combo1->count() || w.Combo1->count() <= 1) {
        ui::msgBox(QStringLiteral("これは削除できません"), ui::OkOnly);
        w.Combo1->setEditText(QStringLiteral("DE ") + core::g.UserCall);
        closeList(w);
        return;
    }
    w.Combo1->removeItem(i);
    g.CwIdListIndex = 0;
    rewriteMessages(w);
    closeList(w);
}

// The box's name in the messages about it.
QString cwIdBox() {
    return forms::PSK31MAIN().Frame2->title();
}

bool leftByOperator(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

class EnterFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        // The list's own pop-up, or another window (a message) coming up,
        // takes the focus without the operator leaving the box.
        if (e->type() == QEvent::FocusOut && leftByOperator(static_cast<QFocusEvent*>(e)->reason()))
            Combo1_Leave();
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        Combo1_Enter();
        return true;
    }
};

} // namespace

void Combo1_Click(int index) {
    PSK31MAIN& w = forms::PSK31MAIN();
    chooseCwId(w, w.Combo1->itemText(index).toUpper());
    g.CwIdListIndex = index;
    closeList(w);
}

// Typed letters are upper case, as a CW ID is sent.
void Combo1_Change(const QString& text) {
    PSK31MAIN& w = forms::PSK31MAIN();
    QLineEdit* edit = w.Combo1->lineEdit();
    QString upper = text;
    for (QChar& c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = c.toUpper();
    if (upper != text) {
        const int caret = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(caret);
        edit->setModified(true);
    }
    // CWIDSTR keeps the last text it could hold. A character it cannot hold is
    // said when the operator leaves the box or enters the text, never between
    // two keys: the message would take the next one.
    chooseCwId(w, upper);
    if (core::IniUncarried(upper).isEmpty()) putCfg("CWIDSTR", upper);
}

void Combo1_Leave() {
    QLineEdit* edit = forms::PSK31MAIN().Combo1->lineEdit();
    if (edit->isModified()) core::IniHolds(edit->text().toUpper(), cwIdBox());
    edit->setModified(false);
}

void Combo1_Enter() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const QString text = w.Combo1->currentText();
    if (text.isEmpty()) {
        deleteRemembered(w);
        return;
    }
    // Refused aloud, the text stays in the box to be mended.
    if (!core::IniHolds(text.toUpper(), cwIdBox())) {
        w.Combo1->lineEdit()->setModified(false);
        w.Combo1->setFocus();
        return;
    }
    w.Combo1->addItem(text.toUpper());
    const int n = w.Combo1->count() - firstMessage(w);
    putCfg("MSG_CNT", QString::number(n));
    putCfg(core::IniKey::built(QStringLiteral("MESG%1").arg(n)), text.toUpper());
    closeList(w);
}

void connectCwIdCombo(PSK31MAIN& w) {
    w.Combo1->setInsertPolicy(QComboBox::NoInsert);
    w.Combo1->setCompleter(nullptr);
    // The list takes the keys while it has the focus, its line edit only when
    // it is handed them: Enter and the leaving are watched on both, and handled once.
    auto* enter = new EnterFilter(&w);
    w.Combo1->installEventFilter(enter);
    w.Combo1->lineEdit()->installEventFilter(enter);
    QObject::connect(w.Combo1, &QComboBox::activated, &w, [](int i) { Combo1_Click(i); });
    QObject::connect(w.Combo1->lineEdit(), &QLineEdit::textEdited, &w,
                     [](const QString& t) { Combo1_Change(t); });
}

} // namespace terminal::macros
