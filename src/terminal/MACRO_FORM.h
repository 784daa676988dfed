#pragma once
// The macro store and editor: the 36 macros live in its boxes (text Text1(i),
// name Text2(i) whose back colour is the button colour). It stays loaded hidden
// beside the main window; each of its exits unloads it and the next touch loads
// it again from the macro file.
#include "platform/Forms.h"
#include "terminal/MacroState.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <cstdint>

class MACRO_FORM : public QWidget {
    Q_OBJECT
  public:
    MACRO_FORM();

    void Form_Load();

    // The back colour of Text2(i) as a colour reference (system colours have the high bit set).
    std::uint32_t nameColour(int i) const { return nameColours_[static_cast<std::size_t>(i)]; }
    void setNameColour(int i, std::uint32_t ref);

    QTabWidget* SSTab1;
    std::array<QPlainTextEdit*, macros::kCount> Text1{};
    std::array<QLineEdit*, macros::kCount> Text2{};
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
    QAction* MCHLP;

  private:
    std::array<std::uint32_t, macros::kCount> nameColours_{};
};

namespace forms {
inline ::MACRO_FORM& MACRO_FORM() {
    return get<::MACRO_FORM>();
}
} // namespace forms
