#pragma once
// "マクロ文作成": the stock texts of the title editor as one text, with the
// legend of the %-variables. Closing it writes the file back and refills the
// editor's list.
#include "platform/forms/Forms.h"

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

  private:
    bool WriteText();
    bool TextWritten = false;

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
