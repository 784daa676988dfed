#include "logwindows/lookups/FlexGrid.h"

#include "logwindows/lookups/GridPictures.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace logwindows {

namespace {
constexpr double kTwipsPerPixel = 15.0;
// The digit width of the font the stored widths were made for, and the room
// this grid's cells take beside their text.
constexpr double kDesignDigitPixels = 6.0;
constexpr int kCellPadding = 6;

double fontScale(const QFontMetrics& metrics) {
    return std::max(1.0, metrics.horizontalAdvance(QLatin1Char('0')) / kDesignDigitPixels);
}
} // namespace

FlexGrid::FlexGrid(int cols, QWidget* parent)
    : QTableWidget(0, cols, parent), widths_(static_cast<std::size_t>(cols), 0),
      centred_(static_cast<std::size_t>(cols), false) {
    setHorizontalHeader(new KeptHeader(this));
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    for (int c = 0; c < cols; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    setItemDelegate(new KeptCells(this));
}

void FlexGrid::setRows(int rows) {
    setRowCount(std::max(0, rows - 1));
}

void FlexGrid::clearView() {
    setRows(1);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    show();
}

void clearListWindow(QWidget& window, FlexGrid& grid) {
    window.setWindowState(Qt::WindowNoState);
    if (QWidget* focus = window.focusWidget()) focus->clearFocus();
    grid.clearView();
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

int FlexGrid::pixelsOf(int twips) const {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel * fontScale(fontMetrics()))) + kCellPadding;
}

int FlexGrid::twipsOf(int pixels) const {
    return static_cast<int>(std::lround((pixels - kCellPadding) * kTwipsPerPixel / fontScale(fontMetrics())));
}

void FlexGrid::setColWidth(int col, int twips) {
    widths_[static_cast<std::size_t>(col)] = twips;
    setColumnHidden(col, twips <= 0);
    if (twips > 0) setColumnWidth(col, pixelsOf(twips));
    fitFixedPart();
}

int FlexGrid::colWidth(int col) const {
    if (isColumnHidden(col)) return 0;
    const int kept = widths_[static_cast<std::size_t>(col)];
    // A width the operator dragged is taken from the screen; an unchanged one keeps its twips.
    return columnWidth(col) == pixelsOf(kept) ? kept : twipsOf(columnWidth(col));
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
    QTableWidget::mouseReleaseEvent(e);
    if (onMouseUp) onMouseUp();
}

void FlexGrid::setFixedCols(int cols) {
    fixedCols_ = cols;
    if (!fixed_) {
        fixed_ = new QTableView(this);
        fixed_->setModel(model());
        fixed_->setItemDelegate(itemDelegate());
        fixed_->setHorizontalHeader(new KeptHeader(fixed_));
        fixed_->setSelectionModel(selectionModel());
        fixed_->setFocusPolicy(Qt::NoFocus);
        fixed_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        fixed_->setSelectionBehavior(QAbstractItemView::SelectRows);
        fixed_->setSelectionMode(QAbstractItemView::SingleSelection);
        fixed_->verticalHeader()->hide();
        fixed_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
        fixed_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        fixed_->horizontalHeader()->setMinimumSectionSize(0);
        fixed_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fixed_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fixed_->setFrameShape(QFrame::NoFrame);
        viewport()->stackUnder(fixed_);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, fixed_->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(fixed_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { fitFixedPart(); });
        connect(fixed_, &QTableView::clicked, this,
                [this](const QModelIndex& i) { emit cellClicked(i.row(), i.column()); });
        connect(fixed_, &QTableView::doubleClicked, this,
                [this](const QModelIndex& i) { emit cellDoubleClicked(i.row(), i.column()); });
        fixed_->show();
    }
    fitFixedPart();
}

void FlexGrid::fitFixedPart() {
    if (!fixed_) return;
    int width = 0;
    for (int c = 0; c < columnCount(); ++c) {
        const bool shown = c < fixedCols_ && !isColumnHidden(c);
        fixed_->setColumnHidden(c, !shown);
        if (!shown) continue;
        fixed_->setColumnWidth(c, columnWidth(c));
        width += columnWidth(c);
    }
    fixed_->setGeometry(frameWidth(), frameWidth(), width,
                        viewport()->height() + horizontalHeader()->height());
}

void FlexGrid::resizeEvent(QResizeEvent* e) {
    QTableWidget::resizeEvent(e);
    fitFixedPart();
}

void FlexGrid::setTopRow(int row) {
    if (row < 1 || row > rowCount()) return;
    scrollTo(model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

} // namespace logwindows
