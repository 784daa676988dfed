#include "terminal/displays/multi_ch.h"

#include "platform/NotBuilt.h"

#include <QGridLayout>

multi_ch::multi_ch()
    : RichTextBox1(new RichTextPane), RichTextBox2(new RichTextPane),
      VScroll1(new QScrollBar(Qt::Horizontal)), VScroll2(new QScrollBar(Qt::Horizontal)),
      Label1(new QLabel(QStringLiteral("Ch2"))), Label2(new QLabel(QStringLiteral("Ch3"))),
      Label3(new QLabel(QStringLiteral("Hz"))), Label4(new QLabel(QStringLiteral("Hz"))), Label5(new QLabel),
      Label6(new QLabel), Command1(new QPushButton(QStringLiteral("=>To Ch1"))),
      Command2(new QPushButton(QStringLiteral("=>To Ch1"))) {
    setWindowTitle(QStringLiteral("多重受信"));
    for (QScrollBar* s : {VScroll1, VScroll2})
        s->setRange(100, 3500);
    connect(VScroll1, &QScrollBar::valueChanged, this, &multi_ch::SetCh2FreqFromScroll);
    connect(VScroll2, &QScrollBar::valueChanged, this, &multi_ch::SetCh3FreqFromScroll);
    Command1->setToolTip(QStringLiteral("Ch1 と入れ替えます"));
    Command2->setToolTip(QStringLiteral("Ch1 と入れ替えます"));
    notbuilt::hold({Command1, Command2});
    auto* grid = new QGridLayout(this);
    grid->addWidget(Command1, 0, 0);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(VScroll1, 0, 2);
    grid->addWidget(Label5, 0, 3);
    grid->addWidget(Label3, 0, 4);
    grid->addWidget(RichTextBox1, 1, 0, 1, 5);
    grid->addWidget(Command2, 2, 0);
    grid->addWidget(Label2, 2, 1);
    grid->addWidget(VScroll2, 2, 2);
    grid->addWidget(Label6, 2, 3);
    grid->addWidget(Label4, 2, 4);
    grid->addWidget(RichTextBox2, 3, 0, 1, 5);
    resize(600, 400);
}
