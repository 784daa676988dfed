#include "spots/ClusterData.h"

#include <QVBoxLayout>

ClusterData::ClusterData()
    : grid(new QTableWidget(0, 5)), Text5(new QLineEdit), Text6(new QLineEdit), Text7(new QLineEdit) {
    setWindowTitle(QStringLiteral("DX Cluster"));
    grid->setHorizontalHeaderLabels({QStringLiteral("DX"), QStringLiteral("Freq"), QStringLiteral("Time"),
                                     QStringLiteral("Spotter"), QStringLiteral("Info")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    for (QLineEdit* box : {Text5, Text6, Text7})
        layout->addWidget(box);
    resize(640, 360);
}
