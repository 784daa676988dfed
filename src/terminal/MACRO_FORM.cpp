#include "terminal/MACRO_FORM.h"

#include "platform/Colour.h"

#include <QGridLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
const QString kRegisteringCaption = QStringLiteral("ショートカットキー登録中    (ALT+ A～Z)を押します");
} // namespace

MACRO_FORM::MACRO_FORM()
    : SSTab1(new QTabWidget), Label6(new QLabel(QStringLiteral("1頁目"))),
      Label3(new QLabel(kRegisteringCaption)), Frame1(new QGroupBox(QStringLiteral("CW ID List"))),
      Command1(new QPushButton(QStringLiteral("OK"))), Command2(new QPushButton(QStringLiteral("Can"))) {
    setWindowTitle(QStringLiteral("MACRO文　作成"));
    auto* menu = new QMenuBar(this);
    MACSAVE = menu->addAction(QStringLiteral("設定完了"));
    SETCAN = menu->addAction(QStringLiteral("設定中止"));
    CWIDSET = menu->addAction(QStringLiteral("ＣＷＩＤ参照・設定"));
    MACCLR = menu->addAction(QStringLiteral("新規マクロ作成"));
    MCHLP = menu->addAction(QStringLiteral("Ｈｅｌｐ"));

    for (int i = 0; i < macros::kCount; ++i) {
        auto* page = new QWidget;
        auto* box = new QVBoxLayout(page);
        Text2[i] = new QLineEdit;
        Text1[i] = new QPlainTextEdit;
        box->addWidget(Text2[i]);
        box->addWidget(Text1[i]);
        SSTab1->addTab(page, QString());
        setNameColour(i, colour::kWindowBackground);
    }

    auto* cwBox = new QGridLayout(Frame1);
    for (int n = 0; n < 5; ++n) {
        Text3[n] = new QLineEdit;
        cwBox->addWidget(new QLabel(QStringLiteral("CWID%1").arg(n + 1)), n, 0);
        cwBox->addWidget(Text3[n], n, 1);
    }
    cwBox->addWidget(Command1, 5, 0);
    cwBox->addWidget(Command2, 5, 1);
    Frame1->hide();
    Label3->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(Label6);
    layout->addWidget(SSTab1);
    layout->addWidget(new QLabel(QStringLiteral(
        "  ﾏｸﾛ変数>>>   'MYCALL'    'HISCALL'   'HISNAME'   'HISQTH'   'HISRST'   'TXON'   'TXOFF'")));
    layout->addWidget(
        new QLabel(QStringLiteral("'CP'  'CWID'  'CWIDn'(n=1～5)  'TIME'  'GREET'  'NOW'  'NUMB'  "
                                  "'LOGTIME'  'RIGCALL'  'RPTx'(x=秒 最大65)  'VARITYPE'  'TXBPSK'  "
                                  "'TXQPSKU'  'TXQPSKL'  'RXBPSK'  'RXQPSKU'  'RXQPSKL'")));
    layout->addWidget(new QLabel(QStringLiteral("= -> BT   + -> AR   * -> SK")));
    layout->addWidget(Label3);
    layout->addWidget(Frame1);
    resize(720, 520);
}

void MACRO_FORM::Form_Load() {}

void MACRO_FORM::setNameColour(int i, std::uint32_t ref) {
    nameColours_[static_cast<std::size_t>(i)] = ref;
    QPalette p = Text2[i]->palette();
    p.setColor(QPalette::Base, colour::fromRef(ref));
    Text2[i]->setPalette(p);
}
