#include "terminal/receive/QsoEntryBoxes.h"

#include "core/Globals.h"
#include "logwindows/CheckCallSign.h"
#include "platform/WindowFilter.h"
#include "terminal/macros/MacroState.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

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

// The selection runs from its start over the next n characters, so that the
// key replaces them (Backspace removes them).
void overtype(QLineEdit* box, int n) {
    const int from = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const int count = std::min(n, static_cast<int>(box->text().size()) - from);
    if (count > 0) box->setSelection(from, count);
}

class EntryKeys : public forms::WindowFilter {
  public:
    explicit EntryKeys(PSK31MAIN& w) : WindowFilter(&w), w_(w) {
        for (QLineEdit* box : {w.Text5, w.Text6, w.Text7})
            watch(box);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonDblClick && watched == w_.Text5) {
            lookUp();
            return false;
        }
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

    bool callKey(const QKeyEvent& key) {
        if (key.key() == Qt::Key_Down) {
            lookUp();
            return false;
        }
        if (key.key() == Qt::Key_Backspace) {
            overtype(w_.Text5, kCallOvertype);
            return false;
        }
        const QString text = key.text();
        if (text.isEmpty() || !text.at(0).isPrint() || key.modifiers() & Qt::ControlModifier) return false;
        overtype(w_.Text5, kCallOvertype);
        QString typed = text;
        for (QChar& c : typed)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
        w_.Text5->insert(typed);
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
            overtype(w_.Text7, kRstOvertype);
            return false;
        }
        const QString text = key.text();
        if (text.isEmpty() || !text.at(0).isPrint() || key.modifiers() & Qt::ControlModifier) return false;
        const QChar c = text.at(0);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return true; // refused silently
        overtype(w_.Text7, kRstOvertype);
        return false;
    }

    PSK31MAIN& w_;
};

} // namespace

void connectQsoEntryBoxes(PSK31MAIN& w) {
    // The lengths hold for text written by program as well.
    w.Text5->setMaxLength(kCallLength);
    w.Text6->setMaxLength(kNameLength);
    w.Text7->setMaxLength(kRstLength);
    new EntryKeys(w);
}

} // namespace terminal::receive
