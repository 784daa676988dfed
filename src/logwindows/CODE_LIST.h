#pragma once
// The area-code list: the candidate codes for the QSO in hand, one row per code
// with its place name, prefix, area and a worked/confirmed mark per band,
// written by the prefix look-up and the area-code searches. A pick copies the
// row's code and QTH into the log entry and, outside a search result, computes
// the other station's local time from the row's longitude.
#include "logwindows/FlexGrid.h"
#include "platform/Forms.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

class CODE_LIST : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kColumns = 23;
    static constexpr int kColSide = 21, kColLongitude = 22;

    CODE_LIST();
    void Form_Load();
    void Form_Unload();

    logwindows::FlexGrid* MSFlexGrid1;
    QMenuBar* menus;
    QAction* CLSCD; // "閉じる"

    int PickedRow = 0;
    int RowPicked = 0;

    // Empties the grid to one blank data row for a new look-up.
    void clearRows();
    void Pick(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    bool takeLongitude(int row);
    void showLocalTimeOf(int row);
    void completePick();
    void closeByOperator(bool storePlace);
    void storePlace();
    bool closing_ = false;
};

namespace forms {
inline ::CODE_LIST& CODE_LIST() {
    return get<::CODE_LIST>();
}
} // namespace forms
