#include "startup/VersionLabels.h"

#include "platform/forms/colour/Colour.h"

namespace startup {

QLabel* AddCaption(QGridLayout* grid, const QString& caption, int row, int column) {
    auto* l = new QLabel(caption);
    grid->addWidget(l, row, column);
    return l;
}

QLabel* AddVersionLabel(QGridLayout* grid, int row) {
    auto* l = new QLabel;
    l->setMinimumWidth(twips::toPx(900));
    grid->addWidget(l, row, 1);
    return l;
}

void AddVersionRows(QGridLayout* grid, int firstRow, std::initializer_list<VersionRow> rows) {
    int row = firstRow;
    for (const VersionRow& r : rows) {
        AddCaption(grid, r.library, row, 0);
        if (r.label) *r.label = AddVersionLabel(grid, row);
        if (!r.author.isEmpty()) AddCaption(grid, r.author, row, 2);
        ++row;
    }
}

} // namespace startup
