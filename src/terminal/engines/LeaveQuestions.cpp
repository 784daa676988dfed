#include "terminal/engines/LeaveQuestions.h"

#include "logwindows/entry/QsoDoor.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/Forms.h"
#include "settings/sheet/CFGSHEET.h"
#include "sstv/overlay/SSTVMACRO.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/rxtext/RCVDAT.h"

#include <array>

namespace terminal::engines {
namespace {

bool nothingHeld() {
    return false;
}

bool macroEditorHolds() {
    return forms::isLoaded<MACRO_FORM>() && forms::MACRO_FORM().holdsTyping();
}

bool macroEditorMayGo(Leaving) {
    return !macroEditorHolds() || forms::MACRO_FORM().mayDropTyping();
}

bool rsvEditorHolds() {
    return forms::isLoaded<SSTVForm>() && forms::SSTVForm().rsvHoldsTyping();
}

bool rsvEditorMayGo(Leaving) {
    return !rsvEditorHolds() || forms::SSTVForm().mayDropRsvTyping();
}

bool viewerHolds() {
    return forms::isLoaded<RCVDAT>() && forms::RCVDAT().holdsTyping();
}

bool viewerMayGo(Leaving) {
    return !viewerHolds() || forms::RCVDAT().mayDropTyping();
}

// Its own Form_Unload stores a text the list file can hold; asked otherwise.
bool sstvMacroListMayGo(Leaving) {
    return sstv::MayCloseMacroEditor();
}

// The title bar's text is stored as typed; only characters the settings
// cannot hold are asked about.
bool titleEditorMayGo(Leaving) {
    return sstv::MayCloseTitleEditor();
}

// The text of a title line is on the canvas as it is typed.
bool overlayTextMayGo(Leaving) {
    return true;
}

// The sheet closes as its close box closes it: its list editors store what
// they hold, and a text the file cannot hold keeps it open on its box.
bool sheetMayGo(Leaving) {
    return settings::MayCloseSheet();
}

bool entryMayGo(Leaving how) {
    const bool end = how == Leaving::ProgramEnd || how == Leaving::EmergencyKey;
    return logwindows::MayDropHandedOverQso(end ? logwindows::DropCause::ProgramEnd
                                                : logwindows::DropCause::ModeChange);
}

// Questions first, whose No changes nothing; the sheet, which stores as it
// closes, after them; the QSO last, as its question names the end.
constexpr std::array<TypedTextEditor, 8> kEditors{{
    {"MACRO_FORM", "Text1 Text2 Text3", WithMain, macroEditorHolds, macroEditorMayGo},
    {"SSTVForm", "RsvEditMode", WithSstv, rsvEditorHolds, rsvEditorMayGo},
    {"RCVDAT", "Text1", OnlyAtTheEnd, viewerHolds, viewerMayGo},
    {"SSTVMACRO", "Text1", WithSstv, nothingHeld, sstvMacroListMayGo},
    {"mojiinput", "TitleBarEditing", WithSstv, nothingHeld, titleEditorMayGo},
    {"mojiinput", "TitleEditOpen", WithSstv, nothingHeld, overlayTextMayGo},
    {"CFGSHEET", "rstEditorOpen_ modeEditorOpen_", WithEither, nothingHeld, sheetMayGo},
    {"TEMP_LOG", "LogEditMode", WithEither, nothingHeld, entryMayGo},
}};

bool goesNow(const TypedTextEditor& e, Leaving how) {
    switch (how) {
    case Leaving::MainSwapped:
        return (e.goesWith & WithMain) != 0;
    case Leaving::SstvSwapped:
        return (e.goesWith & WithSstv) != 0;
    default:
        return true;
    }
}

} // namespace

std::span<const TypedTextEditor> TypedTextEditors() {
    return kEditors;
}

bool MayLeave(Leaving how) {
    for (const TypedTextEditor& e : kEditors)
        if (goesNow(e, how) && !e.mayGo(how)) return false;
    return true;
}

void SayTypingDropped() {
    for (const TypedTextEditor& e : kEditors)
        if (e.holdsTyping()) qWarning("end by a signal: what was typed in %s is not stored", e.window);
}

} // namespace terminal::engines

namespace terminal::engines {

bool AgreesToDropTyping(QWidget* window, QWidget* box, const QString& question) {
    window->show();
    window->raise();
    if (ui::msgBox(question, ui::YesNo | ui::Question) == ui::Yes) return true;
    window->activateWindow();
    box->setFocus();
    return false;
}

} // namespace terminal::engines
