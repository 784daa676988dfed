#pragma once
// The contest dialog: how a received exchange is taken into the log, the
// serial number and the fixed report, and the start of contest logging.
// The contest menu item of the main window or of the SSTV window opens it
// while no contest runs; its leave item and its close box end contest logging.
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QWidget>

class CFG_Contest : public QWidget {
    Q_OBJECT
  public:
    CFG_Contest();
    void Form_Load();
    void Form_Unload();

    QCheckBox* Check1;     // received number into Code
    QCheckBox* Check2;     // received number into Rem1
    QCheckBox* Check5;     // received number into Rem2
    QCheckBox* Check3;     // serial number
    QCheckBox* Check4;     // fixed report
    QPlainTextEdit* Text1; // how a received number is cut out
    QMenuBar* menus;
    QAction* CON_STRART; // "参戦"
    QAction* CLOSE_CFG;  // "離脱"

    void Check1_Click();
    void Check2_Click();
    void Check5_Click();
    void Check3_Click();
    void Check4_Click();
    void CON_STRART_Click();
    // Leaving: the contest-end routine of the window in use, which unloads the dialog.
    void CLOSE_CFG_Click();

  protected:
    void closeEvent(class QCloseEvent* e) override;

  private:
    void prepareLogEntry();
    void fillLogEntry();
    bool closing_ = false;
};

namespace forms {
inline ::CFG_Contest& CFG_Contest() {
    return get<::CFG_Contest>();
}
} // namespace forms
