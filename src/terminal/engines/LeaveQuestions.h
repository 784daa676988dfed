#pragma once
// What would be lost when windows go, asked in one place. Every editor that
// holds what the operator typed until a button or key stores it, the settings
// sheet and the QSO in the operating window's boxes are asked here, whoever
// takes their window away: the end (close box, exit item, the SSTV window's
// close), the emergency key and a mode change that swaps the operating
// window. All is asked before anything stops; the first No keeps every
// window, its text and the engine as they were.
#include <span>

namespace terminal::engines {

// How the windows go.
enum class Leaving {
    ProgramEnd,   // the operator's end: every window goes
    EmergencyKey, // Ctrl+Alt+Z: every window goes, nothing is saved
    MainSwapped,  // a mode change into SSTV: the main window and its windows go
    SstvSwapped,  // a mode change out of SSTV: the SSTV window and its windows go
};

// True when nothing typed would be lost, or the operator said Yes to each
// question; false at the first No, with that editor shown again on its text.
bool MayLeave(Leaving how);

// The end by a signal asks nothing: what an editor held unstored goes, and
// the standard error names each such editor, once.
void SayTypingDropped();

// Which windows an editor goes with.
enum GoesWith : unsigned { WithMain = 1, WithSstv = 2, WithEither = 3, OnlyAtTheEnd = 0 };

// One editor of the program: the window, the flags or boxes that mark its
// editing (the check over the code finds every such flag in this table), the
// windows it goes with, whether it holds typing not yet stored, and how it is
// let go (asked, or stored as its own button stores it; true to go on).
struct TypedTextEditor {
    const char* window;
    const char* marks;
    unsigned goesWith;
    bool (*holdsTyping)();
    bool (*mayGo)(Leaving how);
};

std::span<const TypedTextEditor> TypedTextEditors();

} // namespace terminal::engines

class QWidget;
class QString;

namespace terminal::engines {

// The one question of an editor about to lose typing: its window is brought
// up, Yes lets the typing go, No puts the focus back on `box`.
bool AgreesToDropTyping(QWidget* window, QWidget* box, const QString& question);

} // namespace terminal::engines
