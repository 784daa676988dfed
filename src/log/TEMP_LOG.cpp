#include "log/TEMP_LOG.h"

#include <QVBoxLayout>

TEMP_LOG::TEMP_LOG() : Text1(new QLineEdit) {
    setWindowTitle(QStringLiteral("LOG"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
}
