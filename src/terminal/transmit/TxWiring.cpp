#include "terminal/transmit/TxWiring.h"

#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/windows/WindowFilter.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/StatusSwitches.h"
#include "terminal/transmit/CwId.h"
#include "terminal/transmit/TxControl.h"
#include "terminal/transmit/TxInsert.h"
#include "terminal/transmit/TxState.h"
#include "terminal/transmit/TypedText.h"

#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextCursor>

namespace terminal::transmit {
namespace {

// Hands the typed characters to the engine; what the box then shows is what
// came back (nothing for a swallowed key, the converted character).
QString sendTyped(const QString& typed, bool* changed) {
    QString shown;
    for (QChar c : typed) {
        std::int16_t code = keyAsciiOf(c);
        const std::int16_t before = code;
        SendKey(code);
        if (code != before) *changed = true;
        if (code != 0) shown += code == before ? QString(c) : charOfKeyAscii(code);
    }
    return shown;
}

// Key press in a pane that passes typing to the engine. True when the key is used up.
bool typedKey(RichTextPane* pane, QKeyEvent* e) {
    const QList<std::int16_t> codes = keyAsciisOf(*e);
    if (codes.isEmpty()) return false;
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter ||
        e->key() == Qt::Key_Escape) {
        std::int16_t code = codes.front();
        SendKey(code);
        return code == 0;
    }
    bool changed = false;
    const QString shown = sendTyped(e->text(), &changed);
    if (!changed) return false;
    pane->insertPlainText(shown);
    return true;
}

// The receive and satellite panes never take typed text: each key goes to the engine and
// what it stands for shows in the transmit box.
bool receivePaneKey(PSK31MAIN& w, QKeyEvent* e) {
    const QList<std::int16_t> codes = keyAsciisOf(*e);
    if (codes.isEmpty()) return false;
    for (std::int16_t code : codes) {
        SendKey(code);
        if (code < 0 || code >= 0x20) w.Text1->appendText(charOfKeyAscii(code));
    }
    w.Text1->setSelStart(w.Text1->length());
    return true;
}

void typedCommit(QInputMethodEvent* e) {
    if (e->commitString().isEmpty()) return;
    bool changed = false;
    const QString shown = sendTyped(e->commitString(), &changed);
    if (changed) e->setCommitString(shown, e->replacementStart(), e->replacementLength());
}

bool transmitBoxKey(PSK31MAIN& w, QKeyEvent* e) {
    if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
        PopupInsertMenu(insertKeyMenuPoint());
        return true;
    }
    if (e->matches(QKeySequence::Paste)) {
        PasteClipboardToTx();
        return true;
    }
    return typedKey(w.Text1, e);
}

// The transmit path's mouse, input-method and placement events; its keys come
// through the main window's key preview (controlKey).
class TxFilter : public forms::WindowFilter {
  public:
    explicit TxFilter(PSK31MAIN& w) : WindowFilter(&w), w_(w) {
        for (QObject* o : {static_cast<QObject*>(w.Text1), static_cast<QObject*>(w.Text1->viewport()),
                           static_cast<QObject*>(w.RichTextBox4), static_cast<QObject*>(w.Command1),
                           static_cast<QObject*>(w.Command3), static_cast<QObject*>(w.Frame2)})
            watch(o);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
        case QEvent::InputMethod:
            if (watched == w_.Text1 || watched == w_.RichTextBox4)
                typedCommit(static_cast<QInputMethodEvent*>(e));
            return false;
        case QEvent::MouseButtonPress:
            return mousePress(watched, static_cast<QMouseEvent*>(e));
        case QEvent::MouseButtonRelease:
            if (watched == w_.Command1) buttonRelease(static_cast<QMouseEvent*>(e));
            return false;
        case QEvent::Move:
        case QEvent::Show:
            if (watched == w_.Frame2) placeCwIdButton(w_);
            return false;
        default:
            return false;
        }
    }

  public:
    static void placeCwIdButton(PSK31MAIN& w) {
        w.Command3->move(w.Frame2->pos() + QPoint(twips::toPx(60), twips::toPx(630)));
        w.Command3->raise();
    }

  private:
    void buttonRelease(const QMouseEvent* e) {
        if (w_.Command1->isEnabled() && w_.Command1->rect().contains(e->position().toPoint()))
            mainwindow::Command1_MouseUp(e->button());
    }

    bool mousePress(QObject* watched, QMouseEvent* e) {
        if (watched == w_.Command3 && w_.Command3->isEnabled()) {
            Command3_MouseDown(e->button());
            return false;
        }
        if (watched == w_.Text1->viewport() && e->button() == Qt::RightButton) {
            PopupInsertMenu(w_.mapFromGlobal(e->globalPosition().toPoint()));
            return true;
        }
        // Text the box took in by itself would never reach the engine.
        if (watched == w_.Text1->viewport() && e->button() == Qt::MiddleButton) return true;
        return false;
    }

    PSK31MAIN& w_;
};

void connectItems(PSK31MAIN& w) {
    QObject::connect(w.TXBC, &QAction::triggered, &w, [] { TXBC_Click(); });
    QObject::connect(w.GOZOR, &QAction::triggered, &w, [] { mainwindow::GOZOR_Click(); });
    QObject::connect(w.dxinfo, &QAction::triggered, &w, [] { mainwindow::dxinfo_Click(); });
    QObject::connect(w.Check1, &QCheckBox::clicked, &w, [] { mainwindow::Check1_Click(); });
    QObject::connect(w.Check2, &QCheckBox::toggled, &w, [] { mainwindow::Check2_Click(); });
    QObject::connect(w.Check5, &QCheckBox::clicked, &w, [] { mainwindow::Check5_Click(); });
    QObject::connect(w.StatusBar1, &StatusPanels::panelClicked, &w,
                     [](int panel, int) { mainwindow::StatusBar1_PanelClick(panel, QCursor::pos()); });
    connectInsertMenu(w);
}

} // namespace

bool controlKey(PSK31MAIN& w, QObject* watched, QKeyEvent* e) {
    if (watched == w.Text1) return transmitBoxKey(w, e);
    if (watched == w.RichTextBox4) return receivePaneKey(w, e);
    if (watched == w.RichTextBox1) {
        // The main pane never keeps the keyboard: typing carries on in the transmit box.
        w.Text1->setFocus();
        return receivePaneKey(w, e);
    }
    return false;
}

void connectTransmit(PSK31MAIN& w) {
    new TxFilter(w);
    w.Text1->setContextMenuPolicy(Qt::PreventContextMenu);
    w.Text1->setAcceptDrops(false);
    w.Command1->setToolTip(QStringLiteral("右クリックでTUNE"));
    w.Label4->setText(QStringLiteral("\"*\" -> SK   \"+\" -> AR    \"=\" -> BT "));
    w.Label4->setWordWrap(true);
    w.tw.setHeight(w.Label4, 400);
    // The CW ID button stays at hand when its frame is hidden.
    w.Command3->setParent(w.Frame2->parentWidget());
    TxFilter::placeCwIdButton(w);
    w.Command3->show();
    connectItems(w);
    // An emptied box holds nothing the RTTY program was given ahead.
    QObject::connect(w.Text1, &QPlainTextEdit::textChanged, &w, [&w] {
        if (w.Text1->length() == 0) g.RttyTypedAhead.clear();
    });
}

} // namespace terminal::transmit
