#pragma once
// The message line: one line of text on the main window (the SSTV window in
// SSTV mode) that the version window's message timer hides again.
#include <QString>

namespace core {

// Where the message line is shown; the windows install it at start-up.
class MessageLineView {
  public:
    virtual ~MessageLineView() = default;
    // Shows the text and (re)arms the message timer.
    virtual void showTimedMessage(const QString& text, int milliseconds) = 0;
    // True while the window that carries the line is loaded, so that a message
    // from a window's unload does not load it again.
    virtual bool isLoaded() const = 0;
    // True while the line shows this text with its timer still running.
    virtual bool shows(const QString& text) const = 0;
    // Shows the text with no timer: it stays until it is ended or replaced.
    virtual void showStanding(const QString& text) = 0;
    // True while the line shows this text as a standing message.
    virtual bool showsStanding(const QString& text) const = 0;
    // Hides the line as its timer would, if it still shows this standing text.
    virtual void endStanding(const QString& text) = 0;
};

// Shows the text and (re)arms the message timer: a second message replaces
// the first at once and stays for its own time.
void ShowTimedMessage(const QString& text, int milliseconds);
// The same, but only where the line's window is already there; true when shown.
bool ShowTimedMessageIfLoaded(const QString& text, int milliseconds);
// True while the window that carries the line is loaded (not after the end has unloaded it).
bool MessageLineLoaded();
// Shows a pending message unless the line already shows it: the message goes
// when the time it was first shown for runs out, however often it is offered
// again meanwhile.
void ShowPendingMessage(const QString& text, int milliseconds);
// A state that lasts (a lost rig) is said for as long as it lasts: shown
// again if another message took the line meanwhile, and ended when it is over.
void ShowStandingMessage(const QString& text);
void EndStandingMessage(const QString& text);

} // namespace core
