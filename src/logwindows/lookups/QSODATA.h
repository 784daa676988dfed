#pragma once
// The earlier-QSO list: one row per earlier QSO with the station just looked
// up (filled by LookupHamlogCall). A click on a row copies its name, code, grid
// locator and QTH into the current QSO; a double click closes the list. The
// column widths and the place are kept in the settings.
#include "logwindows/lookups/FlexGrid.h"
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

class QSODATA : public QWidget {
    Q_OBJECT
  public:
    QSODATA();
    void Form_Load();
    void Form_Unload();
    // Every look-up lists afresh: the list unloaded is kept and comes back
    // as a new one would.
    void Form_Reset();
    void SetupQsoGrid();

    logwindows::FlexGrid* MSFlexGrid1;
    QMenuBar* menus;
    QAction* LOGCL;    // "閉じる"
    QAction* eQSLmode; // "電子QSLモードへ"
    QMenu* eQSLselhou; // "選択方法"
    QAction* eQSLsel;  // "個別選択"
    QAction* eQSLall;  // "全件選択"
    QAction* eQSLsend; // "電子QSL送信"
    QAction* eQSLtype; // "QSOBank"
    QAction* QSODat_HELP;

    // 1 while rows are being marked for the electronic-QSL export.
    int EqslMode = 0;

    void MSFlexGrid1_Click();
    void MSFlexGrid1_DblClick();
    void LOGCL_Click();
    void eQSLmode_Click();
    void eQSLall_Click();
    void eQSLsel_Click();
    void eQSLtype_Click();
    void eQSLsend_Click();

  private:
    // The menus as the electronic-QSL mode gives them.
    void showEqslMenus();
    // Unmarks the row: its running number again.
    void unmarkRow(int row);
    // Column 0 of the data rows; a marked row reads "eQSL".
    int dataRows() const { return MSFlexGrid1->rows() - 1; }

  protected:
    void closeEvent(QCloseEvent* e) override;
};

namespace forms {
inline ::QSODATA& QSODATA() {
    return get<::QSODATA>();
}
} // namespace forms
