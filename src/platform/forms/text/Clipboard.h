#pragma once
// The clipboard as every window uses it. Emptied, it holds an empty text
// rather than nothing: a clipboard that offers no format at all (on X11 one
// that no program owns, as after a plain clear) ends Qt's text boxes when they
// paste from it. So the clipboard is emptied only here, and a guard keeps
// every text box from pasting out of a clipboard that another program left so.
#include <QObject>
#include <QString>

namespace clipboard {

// Empties the clipboard: it then holds an empty text.
void empty();
// Empties it and puts the text on it (an empty text leaves it emptied).
void hold(const QString& text);
// The text on the clipboard; empty when it holds none.
QString text();
// Whether it holds a text to paste (an emptied one holds none).
bool holdsText();

// Refuses a paste into a text box or line (keys or middle button) that would
// bring nothing: from a clipboard or selection that offers no format, or no
// text (an emptied one). Qt's boxes would replace the selection with it; the
// box stays as it was. One lives with the application context and sees every
// object's events.
class PasteGuard : public QObject {
  public:
    PasteGuard();
    ~PasteGuard() override;
    PasteGuard(const PasteGuard&) = delete;
    PasteGuard& operator=(const PasteGuard&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

} // namespace clipboard
