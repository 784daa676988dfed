#pragma once
// The area-code list: the candidate codes for the QSO in hand, one row per code
// with its place name, prefix, area and a worked/confirmed mark per band,
// written by the prefix look-up and the area-code searches. A pick copies the
// row's code and QTH into the log entry and, outside a search result, computes
// the other station's local time from the row's longitude.
#include "logwindows/lookups/FlexGrid.h"
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

class CODE_LIST : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kColumns = 23;
    static constexpr int kColSide = 21, kColLongitude = 22;
    // Count, code, QTH, prefix and area stay in view while the band columns scroll.
    static constexpr int kFixedCols = 5;

    CODE_LIST();
    void Form_Load();
    void Form_Unload();
    // Every check lists afresh: the list unloaded is kept and comes back as a
    // new one would.
    void Form_Reset();

    logwindows::FlexGrid* MSFlexGrid1;
    QMenuBar* menus;
    QAction* CLSCD; // "閉じる"

    int PickedRow = 0;
    int RowPicked = 0;

    // Empties the grid to one blank data row for a new look-up.
    void clearRows();
    void Pick(int row);
    // Enter closes the list after completing the pick (with the library link only).
    void Form_KeyPress(int key);
    // Longitude and side from a row; false (nothing taken) when the row has no number there.
    bool takeLongitude(int row);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
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
