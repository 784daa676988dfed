#include "logwindows/entry/TEMP_LOG.h"

#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/LogEntryFields.h"
#include "logwindows/lookups/AreaCodes.h"
#include "platform/forms/text/ShownLines.h"
#include "platform/forms/text/TextRule.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

QLineEdit* box(int maxChars) {
    auto* b = new QLineEdit;
    ui::setTextLimit(b, maxChars);
    return b;
}

QPushButton* button(const QString& caption, const QString& tip) {
    auto* b = new QPushButton(caption);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

// The new-page notice spoke of this entry.
void TEMP_LOG::Form_Unload() {
    logwindows::EndNewPageNotice();
}

TEMP_LOG::TEMP_LOG() : menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("LOG"));
    buildFields();
    buildButtons();
    buildMenus();
    buildSearch();

    auto* grid = new QGridLayout;
    const auto row = [grid](int r, const QString& caption, QWidget* w, int span = 1) {
        grid->addWidget(new QLabel(caption), r, 0);
        grid->addWidget(w, r, 1, 1, span);
    };
    auto* callRow = new QHBoxLayout;
    callRow->addWidget(Text1, 3);
    callRow->addWidget(new QLabel(QStringLiteral("/")));
    callRow->addWidget(Text2, 1);
    grid->addWidget(new QLabel(QStringLiteral("CallSign")), 0, 0);
    grid->addLayout(callRow, 0, 1, 1, 3);
    row(1, QStringLiteral("Date"), Text3);
    grid->addWidget(Label4, 1, 2);
    grid->addWidget(Text4, 1, 3);
    row(2, QStringLiteral("His"), Text5);
    grid->addWidget(new QLabel(QStringLiteral("My")), 2, 2);
    grid->addWidget(Text6, 2, 3);
    grid->addWidget(Label7, 3, 0);
    grid->addWidget(Combo1, 3, 1);
    grid->addWidget(Label17, 3, 2, 1, 2);
    grid->addWidget(Label8, 4, 0);
    grid->addWidget(Text8, 4, 1);
    grid->addWidget(List1, 4, 2, 2, 2);
    grid->addWidget(Label9, 5, 0);
    grid->addWidget(Text9, 5, 1);
    row(6, QStringLiteral("GL"), Text10);
    auto* qslRow = new QHBoxLayout;
    qslRow->addWidget(Text11);
    qslRow->addWidget(Text16);
    qslRow->addWidget(Text17);
    grid->addWidget(new QLabel(QStringLiteral("QSL S R")), 6, 2);
    grid->addLayout(qslRow, 6, 3);
    grid->addWidget(Label11, 7, 0);
    grid->addWidget(Text12, 7, 1, 1, 3);
    grid->addWidget(Label12, 8, 0);
    grid->addWidget(Text13, 8, 1, 1, 3);
    grid->addWidget(Label14, 9, 0);
    grid->addWidget(Text14, 9, 1, 1, 3);
    grid->addWidget(Label15, 10, 0);
    grid->addWidget(Text15, 10, 1, 1, 3);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Command5, Command2, Command3, Command6, Command4, Command8, Command9, Command7})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addLayout(grid);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);
    connectHandlers();
    fields_ = new logwindows::LogEntryFields(*this);
    new logwindows::AreaCodes(*this);
}

// The boxes' filter reads this window's members: it goes first, so that the
// focus leaving a box as the boxes are destroyed reaches no half-gone window.
TEMP_LOG::~TEMP_LOG() {
    delete fields_;
}

void TEMP_LOG::buildSearch() {
    Frame2 = new QGroupBox(QStringLiteral("頭文字検索"));
    Label16 = new QLabel;
    Text18 = box(1);
    Command1 = new QPushButton(QStringLiteral("Cancel"));
    auto* row = new QHBoxLayout(Frame2);
    row->addWidget(Label16);
    row->addWidget(Text18);
    row->addWidget(Command1);
    Frame2->hide();
    Text9->setToolTip(QStringLiteral("ダブルクリックで頭文字入力"));
    JCCG = new QMenu(QStringLiteral("市郡区"), this);
    CCTY = JCCG->addAction(QStringLiteral("市"));
    CGUN = JCCG->addAction(QStringLiteral("郡"));
    CKU = JCCG->addAction(QStringLiteral("区"));
    CTWN = JCCG->addAction(QStringLiteral("町"));
    CVLI = JCCG->addAction(QStringLiteral("村"));
    CDX = JCCG->addAction(QStringLiteral("ＤＸ"));
}

void TEMP_LOG::buildFields() {
    Text1 = box(20);
    Text2 = box(20);
    Text3 = box(10);
    Text4 = box(6);
    Label4 = new QLabel(QStringLiteral("Time(JST)"));
    Text5 = box(12);
    Text6 = box(12);
    Label7 = new QLabel(QStringLiteral("MHz"));
    Combo1 = new QComboBox;
    Combo1->setEditable(true);
    Combo1->addItems(logwindows::kBands);
    Label17 = new QLabel;
    Label8 = new QLabel(QStringLiteral("Mode ▼"));
    Text8 = box(16);
    List1 = new QListWidget;
    List1->setMaximumHeight(60);
    ui::showItemsCut(List1);
    Label9 = new QLabel(QStringLiteral("Code"));
    Text9 = box(6);
    Text10 = box(6);
    Text11 = box(1);
    Text16 = box(1);
    Text17 = box(1);
    Label11 = new QLabel(QStringLiteral("Name(F8)"));
    Text12 = box(64);
    Label12 = new QLabel(QStringLiteral("QTH"));
    Text13 = box(128);
    Label14 = new QLabel(QStringLiteral("Rem1"));
    Text14 = box(254);
    Label15 = new QLabel(QStringLiteral("Rem2"));
    Text15 = box(254);
    StatusBar1 = new StatusPanels({160, 0});
    StatusBar1->setToolTip(QStringLiteral("右クリックでINDEX再構築します。"));
    // The room the search frame leaves when it is hidden is not the status bar's.
    StatusBar1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TEMP_LOG::buildButtons() {
    Command5 = button(QStringLiteral("<<"), QStringLiteral("-100"));
    Command2 = button(QStringLiteral("<"), QStringLiteral("-1"));
    Command3 = button(QStringLiteral(">"), QStringLiteral("+1"));
    Command6 = button(QStringLiteral(">>"), QStringLiteral("+100"));
    Command4 = button(QStringLiteral("新"), QStringLiteral("新規データ"));
    // Its place is kept while it is hidden: shown after a save, it does not
    // grow the window under the operator's hand.
    QSizePolicy keepPlace = Command4->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    Command4->setSizePolicy(keepPlace);
    Command4->hide();
    Command7 = button(QStringLiteral("eQSL"), {});
    Command8 = button(QStringLiteral("Strt"), QStringLiteral("e-QSLへのデータ抽出開始点をSETします"));
    Command9 = button(QStringLiteral("End"), QStringLiteral("e-QSLへのデータ抽出終了点をSETします"));
    Command8->setEnabled(false);
    Command9->setEnabled(false);
}

void TEMP_LOG::buildMenus() {
    LSave = menus->addAction(QStringLiteral("LOG保存(F1)"));
    Contest = menus->addAction(QStringLiteral("連続保存(Contest)"));
    Contest->setVisible(false);
    QSOEND = menus->addAction(QStringLiteral("終了時間"));
    HLQ = menus->addAction(QStringLiteral("QSL印刷"));
    LT = menus->addAction(QStringLiteral("LocalTime=> "));
    QMenu* services = menus->addMenu(QStringLiteral("電子QSL"));
    GOEQSL = services->addAction(QStringLiteral("eQSLのサイトへ"));
    GOQSOBANK = services->addAction(QStringLiteral("ＱＳＯＢａｎｋのサイトへ"));
    LCan = menus->addAction(QStringLiteral("閉（Esc）"));
    LOGHLP = menus->addAction(QStringLiteral("Help"));
}

void TEMP_LOG::connectHandlers() {
    connect(LSave, &QAction::triggered, this, &TEMP_LOG::LSave_Click);
    connect(Contest, &QAction::triggered, this, &TEMP_LOG::Contest_Click);
    connect(HLQ, &QAction::triggered, this, &TEMP_LOG::HLQ_Click);
    connectEqslButton();
    connect(GOEQSL, &QAction::triggered, this, &TEMP_LOG::GOEQSL_Click);
    connect(GOQSOBANK, &QAction::triggered, this, &TEMP_LOG::GOQSOBANK_Click);
    connect(LCan, &QAction::triggered, this, &TEMP_LOG::LCan_Click);
    connect(LOGHLP, &QAction::triggered, this, [] {
        terminal::mainwindow::OpenHelpAt(QString::fromLatin1(terminal::mainwindow::kLogEntrySection));
    });
    connect(QSOEND, &QAction::triggered, this, &TEMP_LOG::QSOEND_Click);
    connect(Command4, &QPushButton::clicked, this, &TEMP_LOG::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, [this] { BrowseClick(-100); });
    connect(Command2, &QPushButton::clicked, this, [this] { BrowseClick(-1); });
    connect(Command3, &QPushButton::clicked, this, [this] { BrowseClick(1); });
    connect(Command6, &QPushButton::clicked, this, [this] { BrowseClick(100); });
    connect(Command8, &QPushButton::clicked, this, &TEMP_LOG::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &TEMP_LOG::Command9_Click);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Text8->setText(item->text());
        Text8->setFocus();
    });
    connect(StatusBar1, &StatusPanels::panelClicked, this,
            [this](int, int button) { StatusBar1_MouseUp(button); });
    // The window sees every key before its boxes do.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}
