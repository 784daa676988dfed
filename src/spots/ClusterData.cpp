#include "spots/ClusterData.h"

#include <QVBoxLayout>

ClusterData::ClusterData() : grid(new QTableWidget(0, 5)) {
    setWindowTitle(QStringLiteral("DX Cluster"));
    grid->setHorizontalHeaderLabels({QStringLiteral("DX"), QStringLiteral("Freq"), QStringLiteral("Time"),
                                     QStringLiteral("Spotter"), QStringLiteral("Info")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    resize(640, 360);
}
