#pragma once
// Filling the transmit box from its pop-up menu: the QSO boxes, the own call,
// a time stamp or the clipboard (optionally quoted line by line). Each text is
// appended at the end of the box and handed to the engine at once, as typing is.
#include <QPoint>
#include <QString>

class PSK31MAIN;
class QLineEdit;

namespace terminal::transmit {

// Opens the insert menu at a point of the main window.
void PopupInsertMenu(const QPoint& at);
// The point, in the main window, where the Insert key opens the menu.
QPoint insertKeyMenuPoint();

void InsertIntoTx(const QString& text);

// A start the rig's line refused keeps what was typed for the next F12: back
// in the box if the refusal emptied it, and handed to the engine again once
// the refused over's end has emptied the engine's buffer.
void KeepTypedForNextStart(const QString& text);
// A start asks for the key: nothing is kept from a start refused before.
void ForgetTypedKept();
// The box emptied at an over's end (the engines' end notices), unless it
// holds what a refused start kept.
void EmptyTxBoxAtOverEnd(PSK31MAIN& w);
// The name with its honorific: " Dear Friend " with an empty name box.
QString hisNameText();

// The clipboard text as it is pasted: with quoting on every line gets the
// quote mark in front and the text ends with a line break. Line breaks become CR LF.
QString quotedPasteText(const QString& clip, bool quote, const QString& mark);
// A paste goes on the air whole: a clipboard of more characters than this is
// refused with a message, the box and the clipboard left as they were.
constexpr qsizetype kLongestPaste = 32767;
void PasteClipboardToTx();

// The clipboard text, trimmed, into a remarks box of the log entry window:
// after a "/" when the box holds text already.
void PasteToRemarks(QLineEdit* box);

// The insert items and the paste item of the menu, and the remarks paste items.
void connectInsertMenu(PSK31MAIN& w);

} // namespace terminal::transmit
