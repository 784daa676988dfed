#pragma once
// "マクロ文作成": the stock texts of the title editor as one text, with the
// legend of the %-variables. Closing it writes the file back and refills the
// editor's list.
#include "core/lists/ListBoxes.h"
#include "platform/forms/windows/Forms.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include <array>

class QAction;
class QMenuBar;

class SSTVMACRO : public QWidget {
    Q_OBJECT
  public:
    SSTVMACRO();
    void Form_Load();
    void Form_Unload();

    QPlainTextEdit* Text1;
    QGroupBox* Frame1;               // "マクロ変数"
    std::array<QLabel*, 5> Legend{}; // Label1 .. Label5
    QMenuBar* menuBar;
    QAction* MACcls; // "閉じる"

    // Before the window goes with a mode change or the program's end: the
    // text is stored, or the operator says to drop what could not be stored.
    // False keeps the window, its text and what was about to happen undone.
    bool MayUnload();

  private:
    // The text as the list file MACmenu.DAT, one stock text a line.
    core::ListBox box() const;
    // The lines typed into the file; a character it cannot hold, or a file
    // that cannot be written, is said and nothing is written.
    bool WriteText();
    static QString notStored();
    bool TextWritten = false;
    bool TextDropped = false;

  protected:
    // The close box and "閉じる": the window closes once its text is stored.
    void CloseByOperator();
    void closeEvent(QCloseEvent* e) override;
};

namespace forms {
inline ::SSTVMACRO& SSTVMACRO() {
    return get<::SSTVMACRO>();
}
} // namespace forms

namespace sstv {
// True when no macro editor is open or its text may go (see MayUnload).
bool MayCloseMacroEditor();
} // namespace sstv
