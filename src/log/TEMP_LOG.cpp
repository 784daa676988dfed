#include "log/TEMP_LOG.h"

#include <QVBoxLayout>

TEMP_LOG::TEMP_LOG()
    : Text1(new QLineEdit), Text8(new QLineEdit), Combo1(new QComboBox), Label17(new QLabel),
      Text11(new QLineEdit), Command7(new QPushButton(QStringLiteral("eQSL"))), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("LOG"));
    HLQ = menus->addAction(QStringLiteral("QSL印刷"));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(Text1);
    layout->addWidget(Text8);
    Combo1->setEditable(true);
    layout->addWidget(Combo1);
    layout->addWidget(Label17);
    layout->addWidget(Text11);
    layout->addWidget(Command7);
}
