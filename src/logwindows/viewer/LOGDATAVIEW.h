#pragma once
// The log viewer: the log page by page, 100 records at a time read straight
// from the log, newest page first; "<<", ">>" and JUMP choose the page. Rows
// are marked for the electronic-QSL export in its eQSL mode, and the page can
// be written as an ADIF log file. Paging in LOGDATAVIEW.cpp, the marking and
// the exports in LOGDATAVIEW_export.cpp.
#include "logwindows/lookups/FlexGrid.h"
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

class LOGDATAVIEW : public QWidget {
    Q_OBJECT
  public:
    LOGDATAVIEW();
    void Form_Load();
    void SetupLogGrid();
    // Appends the page ending at record `endRecNo` of the open log.
    void ShowLogPage(int endRecNo);

    logwindows::FlexGrid* MSFlexGrid1;
    QMenuBar* menus;
    QAction* LOGCL;     // "閉じる"
    QAction* GOBACK;    // "<<"
    QAction* LOG_JUMP;  // "JUMP"
    QAction* GOFOWARD;  // ">>"
    QAction* eQSLmode;  // "電子QSLモードへ"
    QAction* eQSLsend;  // "電子QSL送信"
    QAction* eQSLtype;  // "QSOBank"
    QAction* LOGtoADIF; // "ADIF化"
    QAction* QSODat_HELP;

    // The record that ends the page shown.
    int PageEnd = 0;
    // 1 while rows are being marked for the electronic-QSL export.
    int EqslMode = 0;
    // False when the load could not open the log: the opener unloads the window.
    bool loaded() const { return loaded_; }

    void LOGCL_Click();
    void GOBACK_Click();
    void GOFOWARD_Click();
    void LOG_JUMP_Click();
    void eQSLmode_Click();
    void eQSLtype_Click();
    void eQSLsend_Click();
    void LOGtoADIF_Click();
    void MSFlexGrid1_MouseUp();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void placeFromSettings();
    void storeLayout();
    // Shows the page ending at PageEnd through a freshly opened log; false
    // when the log did not open (the window is then unloaded).
    bool showPage();
    void showOpenFailure();
    void toggleRow(int row);
    void unmarkAll();
    QString eqslTypeCaption() const;
    // The page's rows 1 to 100 with their 19 cells.
    std::vector<QStringList> pageRows() const;

    bool loaded_ = false;
};

namespace forms {
inline ::LOGDATAVIEW& LOGDATAVIEW() {
    return get<::LOGDATAVIEW>();
}
} // namespace forms

namespace logwindows {
// Opens the viewer afresh (unloaded, then loaded and shown), so that it shows
// the newest page. A viewer whose log does not open says so and stays closed.
void ShowLogViewer();
// The viewer shown anew after a log change, when the operator chose it
// (HLViewer) and the log is reached through the libraries: without that link
// there is no log for it to open.
void RefreshChosenLogViewer();
} // namespace logwindows
