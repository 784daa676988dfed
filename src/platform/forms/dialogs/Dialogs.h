#pragma once
// The one way the system asks the operator something: message boxes, input
// boxes, file, colour and font dialogs. Nothing else opens these dialogs, so a
// test can script the operator's answers (ui::script) and read what was asked.
#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <optional>

namespace ui {

// Button sets and icons combine as in the message boxes the operator knows.
enum MsgStyle : int {
    OkOnly = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
};
enum MsgResult : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

inline const QString kProgramTitle = QStringLiteral("ZORVATEK");

MsgResult msgBox(const QString& prompt, int style = OkOnly, const QString& title = kProgramTitle);
// A message with only an OK button that asks for no decision: shown without
// waiting and without taking the focus, so that the key the operator typed
// next still reaches the box they type in. A notice still on show is not shown
// a second time. A script records it as a message box with the OK button.
void notice(const QString& prompt, const QString& title = kProgramTitle);
// The notice, when it is on show, goes: what it said no longer holds.
void withdrawNotice(const QString& prompt, const QString& title = kProgramTitle);
// The text entered, or nothing when the operator cancels.
std::optional<QString> inputBox(const QString& prompt, const QString& title = kProgramTitle,
                                const QString& defaultText = {});
// The chosen path, or the empty text when cancelled. filter as in "Macro (*.MAC)".
// The dialogs are Qt's own: a filter reads as it is written and matches names
// of either case, as on the station's file system.
QString openFileName(const QString& title, const QString& folder, const QString& filter);
QString saveFileName(const QString& title, const QString& suggested, const QString& filter);
// The options the file dialogs are shown with.
int fileDialogOptions();
std::optional<QColor> chooseColour(const QColor& initial);
std::optional<QFont> chooseFont(const QFont& initial);
// The font dialog "with effects": a font and its text colour. A script answers
// a QFont (the colour stays) or a list of a QFont and a QColor.
struct FontChoice {
    QFont font;
    QColor colour;
};
std::optional<FontChoice> chooseFontWithColour(const QFont& initial, const QColor& colour);

// While one lives, every dialog is shown over the window that was active as
// it was made (a dialog that stays above the others included), not over
// whatever window the window system has made active meanwhile.
class AskOver {
  public:
    AskOver();
    ~AskOver();
    AskOver(const AskOver&) = delete;
    AskOver& operator=(const AskOver&) = delete;

  private:
    QPointer<QWidget> window_;
};

// Tells the operator that the characters cannot be stored in the settings
// (the file or the engine keeping them lacks them), to be mended where typed.
void sayUnstorable(const QString& characters);

// What a dialog asked, as a test reads it back.
struct Asked {
    QString kind; // "msgBox", "inputBox", "openFile", "saveFile", "colour", "font"
    QString prompt;
    QString title;
    int style = 0;
};

// While the program ends by a signal nobody is there to answer: from then on
// no dialog is shown, each is answered at once as Esc answers it (the Cancel
// or No button, or the only one; every other dialog cancelled) and a message
// box's text goes to the standard error instead.
void answerAtOnce(bool on);

namespace script {
// From begin() until end() no dialog is shown: each takes the next queued
// answer. With the queue empty a message box answers its first button and
// every other dialog is cancelled.
void begin();
void end();
bool active();
// MsgResult for a message box, a QString for input and file dialogs, a QColor
// or QFont, or an invalid QVariant for Cancel.
void push(const QVariant& answer);
// With the queue empty, the answer comes from this function of the question
// instead (as push takes it); an empty function gives back the default.
void answerBy(std::function<QVariant(const Asked&)> chooser);
const QList<Asked>& asked();
void clearAsked();
// Called with each question as it is asked, before it is answered: what a
// test reads of the system at the moment the dialog would show.
void whenAsked(std::function<void(const Asked&)> look);
} // namespace script

} // namespace ui
