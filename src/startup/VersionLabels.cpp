#include "startup/VersionLabels.h"

#include "platform/Colour.h"

namespace core {

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

} // namespace core
