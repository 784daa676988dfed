#pragma once
// The macro store and editor: the 36 macros live in its boxes (text Text1(i),
// name Text2(i) whose back colour is the button colour). It stays loaded hidden
// beside the main window; each of its exits unloads it and the next touch loads
// it again from the macro file, so unsaved edits are dropped.
#include "platform/forms/windows/Forms.h"
#include "terminal/macros/MacroState.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <cstdint>

class MACRO_FORM : public QWidget {
    Q_OBJECT
  public:
    MACRO_FORM();

    void Form_Load();
    // A shortcut registration left open ends with the editor: the main
    // windows take their keys again.
    void Form_Unload();

    // Macro i as the rest of the system sees it: the text with CR LF line breaks.
    QString macroText(int i) const;
    // The box's text as typed, line breaks "\n": a no-break space or a line
    // separator stays what it is (the plain text turns them into others).
    QString macroTextAsTyped(int i) const;
    void setMacroText(int i, const QString& crLfText);
    QString macroName(int i) const { return Text2[static_cast<std::size_t>(i)]->text(); }
    void setMacroName(int i, const QString& name) { Text2[static_cast<std::size_t>(i)]->setText(name); }
    // The back colour of Text2(i) as a colour reference (system colours have the high bit set).
    std::uint32_t nameColour(int i) const;
    void setNameColour(int i, std::uint32_t ref);
    // Selects the tab of macro i.
    void showMacro(int i);

    // True while the editor is open on macros or a CW ID list the operator
    // changed and did not store.
    bool holdsTyping() const;
    // The macros alone: what a macro file read into the boxes would replace.
    bool holdsMacroTyping() const;
    // The CW ID list alone, open and changed.
    bool holdsCwIdTyping() const;
    // Asked as its close box asks; Yes lets the edits go with the window
    // that takes the editor away.
    bool mayDropTyping();
    // What the boxes hold now is what is stored (a file read into them).
    void keepAsStored();

    // Handlers.
    void SSTab1_Click();
    void Text2_Change(int i);
    void Text2_DblClick(int i);
    void Text1_DblClick(int i);
    // A key pressed in Text1(i) while a shortcut is being registered; true when taken.
    bool Text1_KeyDown(int i, int key, Qt::KeyboardModifiers mods);
    void MACSAVE_Click();
    void SETCAN_Click();
    void MACCLR_Click();
    void CWIDSET_Click();
    void Command1_Click();
    void Command2_Click();

    QTabWidget* SSTab1;
    std::array<QPlainTextEdit*, terminal::macros::kCount> Text1{};
    std::array<QLineEdit*, terminal::macros::kCount> Text2{};
    QLabel* Label6;
    QLabel* Label3;
    QGroupBox* Frame1;
    // CW ID list boxes: element n-1 edits CWIDn.
    std::array<QLineEdit*, 5> Text3{};
    QPushButton* Command1;
    QPushButton* Command2;
    QAction* MACSAVE;
    QAction* SETCAN;
    QAction* CWIDSET;
    QAction* MACCLR;
    QAction* MCHLP; // the help page at the macro editor's section

  protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void buildMacroTabs();
    void buildCwIdFrame();
    void connectHandlers();
    void endRegistration();
    void assignShortcut(int i, QChar letter);
    void removeShortcut(int i);
    void releaseMarkerLetter(int i);
    QStringList boxTexts() const;

    // The macros' names and texts as the operator was shown them.
    QStringList stored_;
};

namespace forms {
inline ::MACRO_FORM& MACRO_FORM() {
    return get<::MACRO_FORM>();
}
} // namespace forms
