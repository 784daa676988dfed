#pragma once
// What a mouse release in a receive pane takes from the received text. In the
// main pane: with data capture on, the word under the click (a word with a
// digit goes straight into the call-sign box, any other is offered in the word
// pop-up GETDATOTHER); with it off, the selection, offered in the pop-up
// PUPMNU. The play-back pane only offers its selection. Either way the
// selection is left on the clipboard, where the pop-ups' items find it.
// One instance of the state, terminal::receive::g; a test resets it with terminal::receive::g = {}.
#include <QPoint>
#include <QString>

class PSK31MAIN;

namespace terminal::receive {

struct Globals {
    // The last word picked in the main pane, cut to its length limit.
    QString PickedWord;
    // The last selection offered from either pane, without blanks at its ends.
    QString PickedSelection;
    // The QTH last taken from received text.
    QString QthText;
    // Where a received contest exchange goes besides My RST; the contest
    // dialog sets them.
    int ContestNoToCode = 0;
    int ContestNoToRem1 = 0;
    int ContestNoToRem2 = 0;
};

extern Globals g;

// Mouse releases, with the pointer's place on the screen for the pop-up.
void RichTextBox1_MouseUp(const QPoint& globalPos);
void RichTextBox2_MouseUp(const QPoint& globalPos);

void connectRxPicking(PSK31MAIN& w);

} // namespace terminal::receive
