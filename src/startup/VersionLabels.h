#pragma once
// The grid of library names, version numbers and authors that the start-up
// and version windows share.
#include <QGridLayout>
#include <QLabel>

namespace core {

// A fixed caption at the given cell.
QLabel* AddCaption(QGridLayout* grid, const QString& caption, int row, int column);
// An empty version label in the version column of the row.
QLabel* AddVersionLabel(QGridLayout* grid, int row);

} // namespace core
