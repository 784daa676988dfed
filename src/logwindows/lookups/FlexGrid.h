#pragma once
// The grid of the log's list windows, counted as the system counts it: row 0 is
// the header row, data rows from 1; column widths in twips, 0 hiding the column.
// A width in twips was made for a font whose digits are 6 pixels wide: it
// becomes pixels in proportion to the font in use, so that the text the width
// was made for still shows, and a width read back gives the same twips.
#include <QTableWidget>
#include <functional>
#include <vector>

namespace logwindows {

class FlexGrid : public QTableWidget {
  public:
    FlexGrid(int cols, QWidget* parent = nullptr);

    // Rows with the header row, as the grid's own row count is.
    int rows() const { return rowCount() + 1; }
    void setRows(int rows);
    // Appends a data row whose first cell is `first`.
    void addRow(const QString& first);
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    void setHeader(int col, const QString& text);
    void setCentred(int col, bool centred);
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    // The selected data row, 0 when none.
    int selectedRow() const { return currentRow() + 1; }
    // Back to a new grid's view for a list refilled afresh: no data rows, none
    // current, scrolled to the start, shown.
    void clearView();
    // Shows data row `row` at the top of the view.
    void setTopRow(int row);
    // The first `cols` columns stay in view while the others scroll sideways:
    // a view of their own lies over them, sharing the rows and the selection;
    // a click there is a click on the grid.
    void setFixedCols(int cols);
    QTableView* fixedPart() const { return fixed_; }

    // Runs after a mouse button's release has settled the selection: a plain
    // click inside a selected range reduces it to the clicked row only then.
    std::function<void()> onMouseUp;

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    int pixelsOf(int twips) const;
    int twipsOf(int pixels) const;
    void fitFixedPart();
    QTableView* fixed_ = nullptr;
    int fixedCols_ = 0;
    std::vector<int> widths_;
    std::vector<bool> centred_;
};

// A list window and its grid as a new one stands: not minimised or maximised,
// no focus within, the grid as clearView leaves it.
void clearListWindow(QWidget& window, FlexGrid& grid);

} // namespace logwindows
