#pragma once
// The settings sheet. On a first run the main window's load opens it with
// FirstRunSetup = 1; closing it then hands over to the main window.
#include "platform/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>
#include <QWidget>

class CFGSHEET : public QWidget {
    Q_OBJECT
  public:
    CFGSHEET();
    void Form_Load();

    QTabWidget* SSTab1;
    QLineEdit* Text1;  // own call sign
    QCheckBox* Check5; // multi-channel panes side by side ([MultiDSP] HORZ)
    QCheckBox* Check6; // multi-channel window on top ([MultiDSP] TOPV)
    QMenuBar* menus;
    QAction* CFGEND;
    QAction* CFGHLP;

    // The multi-channel switches: stored at once; HORZ arranges the window anew.
    void Check5_Click();
    void Check6_Click();

    // The finishing steps, from the menu item (finishItem) or the close box.
    void finish(bool finishItem);

  protected:
    void closeEvent(class QCloseEvent* e) override;

  private:
    bool finished_ = false;
};

namespace forms {
inline ::CFGSHEET& CFGSHEET() {
    return get<::CFGSHEET>();
}
} // namespace forms
