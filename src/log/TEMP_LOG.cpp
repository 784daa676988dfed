#include "log/TEMP_LOG.h"

#include <QVBoxLayout>

TEMP_LOG::TEMP_LOG()
    : Text1(new QLineEdit), Text8(new QLineEdit), Text11(new QLineEdit),
      Command7(new QPushButton(QStringLiteral("eQSL"))), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("LOG"));
    HLQ = menus->addAction(QStringLiteral("QSL印刷"));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(Text1);
    layout->addWidget(Text8);
    layout->addWidget(Text11);
    layout->addWidget(Command7);
}
