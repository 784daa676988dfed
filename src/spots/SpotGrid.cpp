#include "spots/SpotGrid.h"

#include "platform/forms/colour/Colour.h"

#include <QHeaderView>

namespace spots {

namespace {

struct ColumnSpec {
    const char* header;
    int widthTwips;
};
constexpr ColumnSpec columns[GridColumns] = {
    {"Time", 1000}, {"Frequency", 1200}, {"CALL", 1300},      {"CODE", 0},
    {"Ent", 0},     {"Remarks", 4320},   {"Posted by", 1200},
};

void setCell(QTableWidget& grid, int row, int column, const QString& text) {
    QTableWidgetItem* item = grid.item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(column == ColTime ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        grid.setItem(row, column, item);
    }
    item->setText(text);
}

} // namespace

void InitSpotGrid(QTableWidget& grid) {
    grid.setColumnCount(GridColumns);
    grid.setRowCount(SpotRowCount);
    QStringList headers;
    for (int c = 0; c < GridColumns; ++c) {
        headers << QString::fromLatin1(columns[c].header);
        grid.setColumnWidth(c, twips::toPx(columns[c].widthTwips));
        grid.setColumnHidden(c, columns[c].widthTwips == 0);
    }
    grid.setHorizontalHeaderLabels(headers);
    grid.verticalHeader()->hide();
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionMode(QAbstractItemView::ContiguousSelection);
    QPalette palette = grid.palette();
    palette.setColor(QPalette::Highlight, QColor(221, 255, 255));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    grid.setPalette(palette);
    for (int r = 0; r < SpotRowCount; ++r)
        for (int c = 0; c < GridColumns; ++c)
            setCell(grid, r, c, QString());
}

void FillSpotGrid(QTableWidget& grid, const SpotRows& rows) {
    for (int r = 0; r < SpotRowCount; ++r) {
        const SpotRow& s = rows[r];
        setCell(grid, r, ColTime, s.time);
        setCell(grid, r, ColFreq, s.freq);
        setCell(grid, r, ColCall, s.call);
        setCell(grid, r, ColCode, QString());
        setCell(grid, r, ColEnt, QString());
        setCell(grid, r, ColRemarks, s.remarks);
        setCell(grid, r, ColPostedBy, s.spotter.trimmed());
    }
    grid.scrollToTop();
}

} // namespace spots
