#pragma once
// The grid of the log's list windows, counted as the system counts it: row 0 is
// the header row, data rows from 1; column widths in twips, 0 hiding the column.
#include <QTableWidget>
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
    // Shows data row `row` at the top of the view.
    void setTopRow(int row);

  private:
    std::vector<int> widths_;
    std::vector<bool> centred_;
};

} // namespace logwindows
