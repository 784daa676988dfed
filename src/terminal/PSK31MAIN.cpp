#include "terminal/PSK31MAIN.h"

#include <QVBoxLayout>

PSK31MAIN::PSK31MAIN()
    : RichTextBox1(new RichTextPane), Text3(new QLineEdit), Check2(new QCheckBox(QStringLiteral("UTC"))) {
    setWindowTitle(QStringLiteral("ZORVATEK"));
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(RichTextBox1);
    layout->addWidget(Check2);
    layout->addWidget(Text3);
    Text3->setReadOnly(true);
    Text3->hide();
    setCentralWidget(central);
    resize(800, 600);
}
