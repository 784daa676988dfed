#pragma once
// The grid of library names, version numbers and authors that the start-up
// and version windows share.
#include <QGridLayout>
#include <QLabel>

#include <initializer_list>

namespace startup {

// A fixed caption at the given cell.
QLabel* AddCaption(QGridLayout* grid, const QString& caption, int row, int column);
// An empty version label in the version column of the row.
QLabel* AddVersionLabel(QGridLayout* grid, int row);

// One library of the grid: its file name, its author (none when empty) and
// where the window keeps its version label (none when null).
struct VersionRow {
    QString library;
    QString author;
    QLabel** label = nullptr;
};
// The rows one under the other, from firstRow on.
void AddVersionRows(QGridLayout* grid, int firstRow, std::initializer_list<VersionRow> rows);

} // namespace startup
