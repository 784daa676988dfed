#include "terminal/receive/QsoEntryBoxes.h"

#include "core/Globals.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/text/TextRule.h"
#include "platform/forms/windows/WindowFilter.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace terminal::receive {

namespace {

constexpr int kCallLength = 20;
constexpr int kNameLength = 64;
constexpr int kRstLength = 16;
constexpr int kCallOvertype = 10;
constexpr int kRstOvertype = 1;

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// What the call-sign box makes of a typed character: a to z in upper case.
QChar callChar(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c;
}

// What the RST box takes: digits only; nothing (a null character) for the rest.
QChar rstChar(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c : QChar();
}

// Typed or composed text, character by character as keys would come: each
// character the box takes overtypes the next n.
void typeInto(QLineEdit* box, const QString& text, QChar (*take)(QChar), int n) {
    for (QChar c : text) {
        const QChar taken = take(c);
        if (taken.isNull()) continue;
        ui::selectOvertype(box, n);
        logwindows::TypeIntoQsoBox(box, QString(taken));
    }
}

class EntryKeys : public forms::WindowFilter {
  public:
    explicit EntryKeys(PSK31MAIN& w) : WindowFilter(&w), w_(w) {
        for (QWidget* box : {w.Text5, w.Text6, w.Text7})
            watch(box);
        // A call comes in by typing or through the boxes' door (a pick, GET,
        // a look-up), which asks about the QSO it would drop: a drop would
        // slip past it. A box that takes no drops is given no drag event at
        // all, by the window system or by Qt.
        w.Text5->setAcceptDrops(false);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonDblClick && watched == w_.Text5) {
            lookUp();
            return false;
        }
        if (e->type() == QEvent::FocusOut && watched == w_.Text5) {
            logwindows::SettleTypedCallOnLeaving(w_.Text5, static_cast<QFocusEvent*>(e)->reason());
            return false;
        }
        if (e->type() == QEvent::InputMethod) return composed(watched, *static_cast<QInputMethodEvent*>(e));
        if (e->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (watched == w_.Text5) return callKey(*key);
        if (watched == w_.Text6) return nameKey(*key);
        if (watched == w_.Text7) return rstKey(*key);
        return false;
    }

  private:
    void lookUp() {
        if (macros::g.MacroMoveMode != 1) logwindows::CheckCallSign(core::g.HisCall);
    }

    // An input method's text meets the same rules as typed keys.
    bool composed(QObject* watched, const QInputMethodEvent& e) {
        if (watched == w_.Text5)
            typeInto(w_.Text5, e.commitString(), callChar, kCallOvertype);
        else if (watched == w_.Text7)
            typeInto(w_.Text7, e.commitString(), rstChar, kRstOvertype);
        else
            return false;
        return true;
    }

    static bool typedCharacter(const QKeyEvent& key) {
        const QString text = key.text();
        return !text.isEmpty() && text.at(0).isPrint() && !(key.modifiers() & Qt::ControlModifier);
    }

    bool callKey(const QKeyEvent& key) {
        if (key.key() == Qt::Key_Down) {
            lookUp();
            return false;
        }
        // Return ends the call typed: it is the station's from now on.
        if (isEnter(key.key())) {
            logwindows::SettleTypedCall();
            return false;
        }
        if (key.key() == Qt::Key_Backspace) {
            ui::selectOvertype(w_.Text5, kCallOvertype);
            return false;
        }
        if (!typedCharacter(key)) return false;
        typeInto(w_.Text5, key.text(), callChar, kCallOvertype);
        return true;
    }

    bool nameKey(const QKeyEvent& key) {
        if (isEnter(key.key())) w_.Text7->setFocus();
        return false;
    }

    bool rstKey(const QKeyEvent& key) {
        if (isEnter(key.key())) {
            w_.Text5->setFocus();
            return false;
        }
        if (key.key() == Qt::Key_Backspace) {
            ui::selectOvertype(w_.Text7, kRstOvertype);
            return false;
        }
        if (!typedCharacter(key)) return false;
        // A refused key is dropped silently.
        typeInto(w_.Text7, key.text(), rstChar, kRstOvertype);
        return true;
    }

    PSK31MAIN& w_;
};

} // namespace

void connectQsoEntryBoxes(PSK31MAIN& w) {
    // The lengths hold for text written by program as well.
    ui::setTextLimit(w.Text5, kCallLength);
    ui::setTextLimit(w.Text6, kNameLength);
    ui::setTextLimit(w.Text7, kRstLength);
    // Call signs and reports are typed in plain letters and digits.
    for (QWidget* box : {w.Text5, w.Text7})
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    w.Text7->setAlignment(Qt::AlignCenter);
    new EntryKeys(w);
}

} // namespace terminal::receive
