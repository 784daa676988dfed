#pragma once
// What the multi-channel window shows of its channels and takes from their
// text: the panels' mode texts, the multi-mode control's mode names and the
// word a click in a pane picks. Pure.
#include <QString>
#include <optional>

namespace terminal::displays {

// Panel text of PSK mode 0..2 for the first (n 1) or second (n 2) channel:
// "Ch2=BPSK" .. "Ch3=QPSK(LSB)"; nothing for another mode.
std::optional<QString> pskPanelText(int n, int mode);
// Panel text of multi-mode index 0..8 for sub-channel n: "ch1=GMSK(MBCS)" ..;
// the load writes the RTTY modes "RTTY-LSB", the menus "rtty-LSB".
std::optional<QString> mmvariPanelText(int n, int index, bool atLoad);
// The mode name the control takes for index 0..8 ("GMSK" .. "mfsk-U"); empty otherwise.
QString mmvariModeName(int index);
// The caption of the mode menu's item index 0..8.
QString mmvariMenuCaption(int index);

// A click in a pane: a word with a digit goes, cut to 10 and in upper case, to
// the call-sign box; any other, cut to 12, to the name box. Blanks and line
// ends bound a word; a word that runs to the end of the text is still being
// received and is not taken, nor is anything before the first character.
struct PanePick {
    enum Target { Nothing, CallBox, NameBox } target = Nothing;
    QString text;
};
PanePick panePick(const QString& text, int caret);

} // namespace terminal::displays
