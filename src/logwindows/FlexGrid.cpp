#include "logwindows/FlexGrid.h"

#include <QHeaderView>

namespace logwindows {

namespace {
constexpr int kTwipsPerPixel = 15;
}

FlexGrid::FlexGrid(int cols, QWidget* parent)
    : QTableWidget(0, cols, parent), widths_(static_cast<std::size_t>(cols), 0),
      centred_(static_cast<std::size_t>(cols), false) {
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    for (int c = 0; c < cols; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
}

void FlexGrid::setRows(int rows) {
    setRowCount(std::max(0, rows - 1));
}

void FlexGrid::addRow(const QString& first) {
    setRowCount(rowCount() + 1);
    setText(rows() - 1, 0, first);
}

QString FlexGrid::text(int row, int col) const {
    if (row == 0) return horizontalHeaderItem(col) ? horizontalHeaderItem(col)->text() : QString();
    const QTableWidgetItem* cell = item(row - 1, col);
    return cell ? cell->text() : QString();
}

void FlexGrid::setText(int row, int col, const QString& text) {
    if (row == 0) {
        setHeader(col, text);
        return;
    }
    QTableWidgetItem* cell = item(row - 1, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row - 1, col, cell);
    }
    cell->setText(text);
    cell->setTextAlignment(centred_[static_cast<std::size_t>(col)] ? Qt::AlignHCenter | Qt::AlignTop
                                                                   : Qt::AlignLeft | Qt::AlignVCenter);
}

void FlexGrid::setHeader(int col, const QString& text) {
    horizontalHeaderItem(col)->setText(text);
}

void FlexGrid::setCentred(int col, bool centred) {
    centred_[static_cast<std::size_t>(col)] = centred;
}

void FlexGrid::setColWidth(int col, int twips) {
    widths_[static_cast<std::size_t>(col)] = twips;
    setColumnHidden(col, twips <= 0);
    if (twips > 0) setColumnWidth(col, twips / kTwipsPerPixel);
}

int FlexGrid::colWidth(int col) const {
    if (isColumnHidden(col)) return 0;
    const int kept = widths_[static_cast<std::size_t>(col)];
    // A width the operator dragged is taken from the screen; an unchanged one keeps its twips.
    return columnWidth(col) == kept / kTwipsPerPixel ? kept : columnWidth(col) * kTwipsPerPixel;
}

void FlexGrid::setTopRow(int row) {
    if (row < 1 || row > rowCount()) return;
    scrollTo(model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

} // namespace logwindows
