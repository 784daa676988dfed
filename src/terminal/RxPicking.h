#pragma once
// What a mouse release in a receive pane takes from the received text. In the
// main pane: with data capture on, the word under the click (a word with a
// digit goes straight into the call-sign box, any other is offered in the word
// pop-up GETDATOTHER); with it off, the selection, offered in the pop-up
// PUPMNU. The play-back pane only offers its selection. Either way the
// selection is left on the clipboard, where the pop-ups' items find it.
// One instance of the state, rxpick::g; a test resets it with rxpick::g = {}.
#include <QPoint>
#include <QString>
#include <optional>

class PSK31MAIN;

namespace rxpick {

struct Globals {
    // The last word picked in the main pane, cut to its length limit.
    QString PickedWord;
    // The last selection offered from the main pane, without blanks at its ends.
    QString PickedSelection;
};

extern Globals g;

// The word around the insertion point, which stands after `caret` characters:
// from behind the last blank before it to the next blank (else line end),
// cut at line ends. Nothing when the caret stands before the first character.
std::optional<QString> wordAt(const QString& text, int caret);

// Mouse releases, with the pointer's place on the screen for the pop-up.
void RichTextBox1_MouseUp(const QPoint& globalPos);
void RichTextBox2_MouseUp(const QPoint& globalPos);

void connectMainWindow(PSK31MAIN& w);

} // namespace rxpick
