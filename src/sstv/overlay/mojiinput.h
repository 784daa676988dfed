#pragma once
// The text editor "文字加工" for what is written over the transmit picture:
// the selected title line (text, font, colour, outline) or, in title-bar
// mode, the title bar's text, its colour and the band's gradient. Modeless
// and above every other window while it is shown; the SSTV window opens it.
#include "platform/forms/windows/Forms.h"
#include "sstv/overlay/SstvFonts.h"

#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

#include <array>

class QAction;
class QMenuBar;

class mojiinput : public QWidget {
    Q_OBJECT
  public:
    mojiinput();
    void Form_Load();
    void Form_Unload();

    QGroupBox* Frame1;      // "文字入力"
    QLineEdit* Text1;       // the text being edited
    QPushButton* Command3;  // "マクロ文": stock texts, the right button edits them
    QListWidget* List2;     // stock texts, hidden until Command3
    QPushButton* Command1;  // "フォント 種"
    QPushButton* Command2;  // "フォント 色"
    QPushButton* Command10; // "お気に入りFONT"
    QListWidget* List1;     // favourite fonts, hidden until Command10
    QCheckBox* Check1;      // "太字（bold）"
    QCheckBox* Check2;      // "斜体（Italic）"
    QLabel* Label1;         // "サイズ"
    QScrollBar* VScroll1;   // font size, the top end 32767
    QLabel* Label2;         // font sample: the own call sign
    QLabel* Label3;         // size sample
    QGroupBox* Frame2;      // "縁取り"
    // Outline choices at 0, 1, 10, 11, 13, 15 and 16.
    std::array<QRadioButton*, 17> Option1{};
    QGroupBox* Frame3;                  // the title bar's gradient
    std::array<QScrollBar*, 3> GradBar; // VScroll2, VScroll3, VScroll4: red, green, blue
    std::array<QLabel*, 3> GradLabel;   // Label4, Label5, Label6
    std::array<QRadioButton*, 3> Option2{};
    QLabel* Label7;
    QLabel* Label8; // "水平展開" / "垂直展開"
    QLabel* Label9;
    QMenuBar* menuBar;
    QAction* mojicls; // "閉じる"

    int HorizontalLayout = 0;
    // Each bar's value before its colour became the running one.
    std::array<int, 3> GradKept{};

    void Text1_Change();
    void Command3_MouseDown(int Button);
    void List2_Click(const QString& entry);
    void Label8_Click();
    void Command1_Click();
    void Command2_Click();
    void Command10_MouseDown(int Button);
    void List1_Click(const QString& entry);
    void Check1_Click();
    void Check2_Click();
    void VScroll1_Change();
    void Option1_Click(int Index);
    void GradBar_Change(int Component);
    void Option2_Click(int Index);
    void SyncStyleChecks();
    void UpdateFontSample();

    // The code's own choice of an outline, as a click on it.
    void SelectOutline(int Index);
    // The title-bar layout: only the text, its colour and the gradient.
    void EnterTitleBarMode(const QString& text);
    // The operator's closing (閉じる, the close box): a title bar text the
    // settings cannot hold keeps the editor open on its box.
    void CloseByOperator();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

  private:
    // The title line the editor works on; none while the SSTV window is away.
    QLabel* selectedTitle() const;
    void buildControls();
    void layOut();
    void connectControls();
    void readFavourites();
    void readStockTexts();
    void applyFontTo(QLabel* label, bool withSize) const;
    void setBar(int component, int value);
    // The colour both dialogs leave behind while the window is loaded.
    QColor dialogColour_{Qt::black};
    bool settingBars_ = false;
};

namespace forms {
inline ::mojiinput& mojiinput() {
    return get<::mojiinput>();
}
} // namespace forms
