#include "sstv/SSTVForm.h"

#include <QGridLayout>

SSTVForm::SSTVForm()
    : Text3(new QLineEdit), Text16(new QLineEdit), Label40(new QLabel), Picture3(new PictureBox),
      Picture8(new PictureBox) {
    setWindowTitle(QStringLiteral("ZORVATEK SSTV"));
    Picture3->setScale(320, 256);
    Picture8->setScale(320, 256);
    Picture3->setMinimumSize(320, 256);
    Picture8->setMinimumSize(320, 256);
    Text3->setReadOnly(true);
    Text3->hide();
    auto* grid = new QGridLayout(this);
    grid->addWidget(Picture3, 0, 0);
    grid->addWidget(Picture8, 0, 1);
    grid->addWidget(Text16, 1, 0);
    grid->addWidget(Label40, 1, 1);
    grid->addWidget(Text3, 2, 0, 1, 2);
}
