// The SSTV window's controls and menus, and where they stand.
#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/TopHighBar.h"
#include "platform/forms/windows/ScrolledBody.h"
#include "platform/sstvengine/SstvModes.h"
#include "sstv/window/SSTVForm.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int PictureWidth = 320;
constexpr int PictureHeight = 256;
constexpr int MessageLeftTwips = 5520;
constexpr int MessageTopTwips = 2200;
constexpr int MessageMinWidth = 120;

PictureBox* pictureBox(double scaleW, double scaleH, int w, int h) {
    auto* box = new PictureBox;
    box->setScale(scaleW, scaleH);
    box->setFixedSize(w, h);
    return box;
}

QPushButton* button(const QString& caption, bool enabled = true) {
    auto* b = new QPushButton(caption);
    b->setEnabled(enabled);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QScrollBar* verticalScale(int top) {
    // The largest value stands at the top.
    QScrollBar* s = ui::makeTopHigh();
    s->setRange(0, top);
    s->setPageStep(1);
    s->setFixedHeight(60);
    return s;
}

} // namespace

SSTVForm::SSTVForm()
    : SSTab1(new QTabWidget), Picture1(pictureBox(320, 256, PictureWidth, PictureHeight)),
      Picture9(pictureBox(320, 256, PictureWidth, PictureHeight)),
      Picture2(pictureBox(320, 256, PictureWidth, PictureHeight)), Picture10(pictureBox(100, 616, 10, 256)),
      Line1(Picture10->addLine(Qt::red)), Picture4(pictureBox(330, 108, 330, 108)),
      Picture5(pictureBox(330, 108, 330, 108)), Picture6(pictureBox(600, 100, 330, 20)),
      HScroll1(new QScrollBar(Qt::Horizontal)), Label15(new QLabel), Combo1(new QComboBox),
      Command11(button(QStringLiteral("手動受信"))), Command15(button(QStringLiteral("再同期"))),
      Command20(button(QStringLiteral("再同期"))), Command17(button(QStringLiteral("傾調整"))),
      Command21(button(QStringLiteral("傾調整"))), Command2(button(QStringLiteral("clk補正更新"), false)),
      Command22(button(QStringLiteral("clk補正更新"))), Command12(button(QStringLiteral("AFC"))),
      Command13(button(QStringLiteral("LMS"))), Command4(button(QStringLiteral("ﾁｭｰﾆﾝｸﾞｲﾝｼﾞｹｰﾀ設定"))),
      Frame12(new QGroupBox(QStringLiteral("Tuning Indicator"))), VScroll1(verticalScale(7)),
      VScroll2(verticalScale(3)), VScroll3(verticalScale(3)), Label10(new QLabel), Label13(new QLabel),
      Label17(new QLabel), SSTab2(new QTabWidget),
      Picture3(pictureBox(320, 256, PictureWidth, PictureHeight)),
      Picture8(pictureBox(320, 256, PictureWidth, PictureHeight)), Picture11(new PictureBox(Picture8)),
      Picture12(new PictureBox(Picture8)), Combo2(new QComboBox),
      Command9(button(QStringLiteral("送信( f12)"))), Command14(button(QStringLiteral("Tune"))),
      Command10(button(QStringLiteral("CWID"))), Command6(button(QStringLiteral("画読込"))),
      Command16(button(QStringLiteral("挿絵の消去"), false)), Command18(button(QStringLiteral("クリヤ"))),
      Command19(button(QStringLiteral("WinTitle"))),
      Check3(new QCheckBox(QStringLiteral("240サイズに押し込める"))),
      Check5(new QCheckBox(QStringLiteral("自動挿絵"))),
      Check6(new QCheckBox(QStringLiteral("タイトルバーを入れる"))), Label4(new QLabel(Picture8)),
      Timer6(new QTimer(this)), Text1(new QsoBox), Text7(new QsoBox), Text5(new QsoBox),
      List4(new QListWidget(this)), Text14(new QsoBox), Text11(new QLineEdit(QStringLiteral("001"))),
      Check4(new QCheckBox), Check1(new QCheckBox(QStringLiteral("Time=UTC"))),
      Command1(button(QStringLiteral("LOG作成"), false)), Command7(button(QStringLiteral("消去"), false)),
      Text3(new QLineEdit), Text16(new QLineEdit), Label40(new QLabel),
      StatusBar1(new StatusPanels({200, 80, 0})) {
    setWindowTitle(QStringLiteral("ZORVATEK SSTV-mode"));
    Timer6->setInterval(200);
    Text3->setReadOnly(true);
    Text3->hide();
    Text16->setReadOnly(true);
    buildReceiveSide();
    buildTransmitSide();
    buildQsoBoxes();

    // The pictures and their controls scroll on a screen too small for them;
    // the QSO boxes and the status bar stay in view below them.
    auto* body = new QWidget;
    auto* top = new QGridLayout(body);
    top->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(SSTab1);
    pictures->addWidget(Picture10);
    left->addLayout(pictures);
    left->addWidget(Picture4);
    left->addWidget(Picture5);
    left->addWidget(Picture6);
    top->addLayout(left, 0, 0);
    top->addWidget(receiveControls(), 0, 1);
    top->addWidget(SSTab2, 0, 2);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(ui::scrolledBody(body), 1);
    outer->addWidget(qsoArea());
    outer->addWidget(StatusBar1);
    buildMenus();
    // The tuning frame floats over the receive picture when shown: it takes no room
    // of its own, so the window keeps its size and its place on the screen.
    Frame12->setParent(this);
    Frame12->setAutoFillBackground(true);
    Frame12->hide();
    // The message line is laid over the window at its own place for its few
    // seconds: it takes no room, so the window never grows for a message.
    Text3->setParent(this);
    connect(Text3, &QLineEdit::textChanged, this, &SSTVForm::placeMessageLine);
    outer->setMenuBar(menuBar);
    connectReceive();
    connectQso();
    connectMenus();
    connectTransmit();
    // Its whole size (Qt would open a window at two thirds of the screen at
    // most); the place makes it smaller where the screen is.
    resize(sizeHint());
}

void SSTVForm::placeMessageLine() {
    const QPoint at(twips::toPx(MessageLeftTwips), twips::toPx(MessageTopTwips));
    const QMargins frame = Text3->textMargins() + QMargins(8, 0, 8, 0);
    const int wanted = Text3->fontMetrics().horizontalAdvance(Text3->text()) + frame.left() + frame.right();
    Text3->setGeometry(at.x(), at.y(),
                       std::clamp(wanted, MessageMinWidth, std::max(MessageMinWidth, width() - at.x())),
                       Text3->sizeHint().height());
    Text3->raise();
}

void SSTVForm::buildReceiveSide() {
    auto* history = new QWidget;
    auto* h = new QGridLayout(history);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(Picture9, 0, 0, 1, 2);
    h->addWidget(HScroll1, 1, 0);
    h->addWidget(Label15, 1, 1);
    HScroll1->setRange(0, 321);
    HScroll1->setPageStep(1);
    // Left goes back through the ring, Right forward.
    HScroll1->setInvertedControls(false);
    SSTab1->addTab(Picture1, QStringLiteral("受信画"));
    SSTab1->addTab(history, QStringLiteral("履歴"));
    SSTab1->addTab(Picture2, QStringLiteral("同期"));
    for (int i = 0; i < sstveng::ModeCount; ++i)
        Combo1->addItem(sstveng::modeName(i));
    static const std::pair<int, const char*> checks[] = {{23, "自動消去"}, {24, "自動傾斜"}, {25, "自動同期"},
                                                         {26, "自動停止"}, {27, "自動再開"}, {30, "FSKID受"}};
    for (const auto& [i, caption] : checks)
        Check2[std::size_t(i)] = new QCheckBox(QString::fromUtf8(caption));
    const char* bpf[] = {"Off", "Broad", "Sharp", "vySharp"};
    for (int i = 0; i < 4; ++i)
        Option2[std::size_t(i)] = new QRadioButton(QString::fromLatin1(bpf[i]));
    const char* lms[] = {"Nsmz", "AN-Fst", "AN-Slw"};
    for (int i = 0; i < 3; ++i)
        Option1[std::size_t(i)] = new QRadioButton(QString::fromLatin1(lms[i]));
    buildTuningControls();
    Picture1->installEventFilter(this);
    Picture9->installEventFilter(this);
}

void SSTVForm::buildTuningControls() {
    const QString methods[] = {QStringLiteral("off"), QStringLiteral("FFT"), QStringLiteral("FM　Dec")};
    for (int i = 0; i < 3; ++i)
        Option3[std::size_t(i)] = new QRadioButton(methods[i]);
    auto* g = new QGridLayout(Frame12);
    const std::pair<QString, std::pair<QScrollBar*, QLabel*>> scales[] = {
        {QStringLiteral("スペクトラム感度"), {VScroll1, Label10}},
        {QStringLiteral("スペクトラム応答速度"), {VScroll2, Label13}},
        {QStringLiteral("スペクトラム残像表示"), {VScroll3, Label17}},
    };
    int column = 0;
    for (const auto& [caption, controls] : scales) {
        g->addWidget(new QLabel(caption), 0, column);
        g->addWidget(controls.first, 1, column);
        g->addWidget(controls.second, 2, column);
        ++column;
    }
    // The method goes under the scales, so that the frame fits over the receive picture.
    auto* method = new QGroupBox(QStringLiteral("スペクトラム方式"));
    auto* m = new QHBoxLayout(method);
    for (QRadioButton* o : Option3)
        m->addWidget(o);
    g->addWidget(method, 3, 0, 1, column);
    Frame12->hide();
}

QWidget* SSTVForm::receiveControls() {
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->addWidget(new QLabel(QStringLiteral("RX Mode")));
    v->addWidget(Combo1);
    for (QPushButton* b : {Command11, Command15, Command20, Command17, Command21, Command2, Command22})
        v->addWidget(b);
    auto* afc = new QHBoxLayout;
    afc->addWidget(Command12);
    afc->addWidget(Command13);
    v->addLayout(afc);
    for (int i : {23, 24, 25, 26, 27, 30})
        v->addWidget(Check2[std::size_t(i)]);
    auto* bpf = new QGroupBox(QStringLiteral("ＢＰＦ"));
    auto* b = new QVBoxLayout(bpf);
    for (QRadioButton* o : Option2)
        b->addWidget(o);
    v->addWidget(bpf);
    auto* lms = new QGroupBox(QStringLiteral("LMS Filter"));
    auto* l = new QVBoxLayout(lms);
    for (QRadioButton* o : Option1)
        l->addWidget(o);
    v->addWidget(lms);
    v->addWidget(Command4);
    v->addStretch();
    return box;
}

void SSTVForm::buildTransmitSide() {
    buildWorkshop();
    auto* send = new QWidget;
    auto* s = new QGridLayout(send);
    s->addWidget(Picture3, 0, 0, 1, 3);
    s->addWidget(new QLabel(QStringLiteral("TX Mode")), 1, 0);
    s->addWidget(Combo2, 1, 1, 1, 2);
    s->addWidget(Command9, 2, 0);
    s->addWidget(Command14, 2, 1);
    s->addWidget(Command10, 2, 2);
    for (int i = 0; i < sstveng::ModeCount; ++i)
        Combo2->addItem(sstveng::modeName(i));

    auto* workshop = new QWidget;
    auto* w = new QGridLayout(workshop);
    w->addWidget(Picture8, 0, 0, 1, 3);
    w->addWidget(Command6, 1, 0);
    w->addWidget(Command16, 1, 1);
    w->addWidget(Command18, 1, 2);
    w->addWidget(Command8, 2, 0);
    w->addWidget(Command19, 2, 1);
    auto* b = new QHBoxLayout(Frame13);
    const std::pair<int, const char*> borders[] = {{0, "無"},  {1, "黒"},  {10, "青"}, {11, "緑"},
                                                   {13, "赤"}, {15, "黄"}, {16, "白"}};
    for (const auto& [i, caption] : borders) {
        Option4[std::size_t(i)] = new QRadioButton(QString::fromUtf8(caption));
        b->addWidget(Option4[std::size_t(i)]);
    }
    w->addWidget(Frame13, 3, 0, 1, 3);
    Picture11->setScale(320, 256);
    Picture12->setScale(320, 256);
    Picture11->setGeometry(60, 50, 160, 128);
    Picture12->setGeometry(57, 47, 166, 134);
    Picture12->stackUnder(Picture11);
    Picture11->hide();
    Picture12->hide();
    insetHome_ = Picture11->geometry();
    borderHome_ = Picture12->geometry();

    auto* f = new QVBoxLayout(Frame8);
    f->addWidget(Check3);
    f->addWidget(Check5);
    f->addWidget(Check6);
    f->addStretch();
    SSTab2->addTab(send, QStringLiteral("送信画"));
    SSTab2->addTab(workshop, QStringLiteral("調理場"));
    SSTab2->addTab(Frame8, QStringLiteral("設定"));
}

void SSTVForm::buildQsoBoxes() {
    makeQsoControls();
    Text1->setToolTip(QStringLiteral("↓ or ﾀﾞﾌﾞﾙｸﾘｯｸでLOGを検索します"));
    Text11->hide();
    VScroll4 = verticalScale(32766);
    VScroll4->setValue(1);
    VScroll4->setFixedHeight(24);
    VScroll4->hide();
    List4->hide();
}

QWidget* SSTVForm::qsoArea() {
    auto* box = new QWidget;
    auto* g = new QGridLayout(box);
    const std::pair<QLabel*, QWidget*> cells[] = {{Label2, Text1},
                                                  {new QLabel(QStringLiteral("His Name")), Text7},
                                                  {Label5, Text5},
                                                  {Label47, Text14},
                                                  {new QLabel, Text11}};
    int column = 0;
    for (const auto& [label, control] : cells) {
        g->addWidget(label, 0, column);
        g->addWidget(control, 1, column);
        ++column;
    }
    g->addWidget(VScroll4, 1, column++);
    g->addWidget(Command3, 0, column);
    Check4->setText(QStringLiteral("xx/CALL"));
    Check4->setToolTip(
        QStringLiteral("\"/\" のあるコールの順序: チェックなし CALL/xx、チェックあり xx/CALL（前置の国）"));
    g->addWidget(Check4, 1, column++);
    g->addWidget(Check1, 1, column++);
    g->addWidget(Command1, 1, column++);
    g->addWidget(Command7, 1, column++);
    g->addWidget(Text16, 1, column++);
    g->addWidget(Label40, 1, column);
    return box;
}

void SSTVForm::buildMenus() {
    menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("ファイル"));
    pEnd = file->addAction(QStringLiteral("終了(&X)"));
    connect(pEnd, &QAction::triggered, this, &SSTVForm::pEnd_Click);

    PMS = menuBar->addMenu(QStringLiteral("モード選択"));
    const char* modes[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)", "RTTY", "CW", "SSTV"};
    for (int i = 0; i < 6; ++i) {
        PSKMODE[std::size_t(i)] = PMS->addAction(QString::fromLatin1(modes[i]));
        PSKMODE[std::size_t(i)]->setCheckable(true);
        connect(PSKMODE[std::size_t(i)], &QAction::triggered, this, [this, i] { PSKMODE_Click(i); });
    }
    // CW is keyed by the running RTTY program, which does not run beside SSTV:
    // the item stands in the list but cannot be chosen from here.
    PSKMODE[std::size_t(core::ModeCw)]->setEnabled(false);
    QMenu* sub = PMS->addMenu(QStringLiteral("MMVARI"));
    const char* subs[] = {"GMSK",      "FSK",       "FSK-W",     "BPSK",     "bpsk(STD)",
                          "rtty(LSB)", "rtty(USB)", "mfsk(LSB)", "mfsk(USB)"};
    for (int i = 10; i <= 18; ++i) {
        mmvMODE[std::size_t(i)] = sub->addAction(QString::fromLatin1(subs[i - 10]));
        connect(mmvMODE[std::size_t(i)], &QAction::triggered, this, [this, i] { mmvMODE_Click(i); });
    }

    QMenu* settings = menuBar->addMenu(QStringLiteral("設定"));
    PSKCFG = settings->addAction(QStringLiteral("環境設定"));
    mmsCFG = settings->addAction(QStringLiteral("エンジン設定"));
    connect(mmsCFG, &QAction::triggered, this, &SSTVForm::mmsCFG_Click);
    CONON = settings->addAction(QStringLiteral("Contestモード"));
    TRVon = settings->addAction(QStringLiteral("Transverter ON"));
    VOLTX = settings->addAction(QStringLiteral("送信音量 調整"));
    VOLRX = settings->addAction(QStringLiteral("受信音量 調整"));

    QMenu* view = menuBar->addMenu(QStringLiteral("表示"));
    bigview = view->addAction(QStringLiteral("大画面受信"));
    bigview->setCheckable(true);
    connect(bigview, &QAction::triggered, this, &SSTVForm::bigview_Click);
    PicLibShow = view->addAction(QStringLiteral("サムネール表示"));
    HLDAT_VIEW = view->addAction(QStringLiteral("Hamlog Data表示"));
    TB_ON = view->addAction(QStringLiteral("タイトルバー入れ"));
    TB_ON->setCheckable(true);
    dxinfo = view->addAction(QStringLiteral("DX Cluster"));
    STVHelp = menuBar->addAction(QStringLiteral("Ｈｅｌｐ"));
    for (QAction* later : {PSKCFG, CONON, TRVon, VOLTX, VOLRX, PicLibShow, dxinfo, STVHelp})
        later->setEnabled(false);
    buildPictureMenu();
}

void SSTVForm::buildPictureMenu() {
    PopupPic = new QMenu(this);
    ToB4TxPic = PopupPic->addAction(QStringLiteral("送信画へ挿絵"));
    SaveRcvFile = PopupPic->addAction(QStringLiteral("受信画を保存する。"));
    goClip = PopupPic->addAction(QStringLiteral("クリックボードへ"));
    QSLsashikomi = PopupPic->addAction(QStringLiteral("QSLへ差込指定"));
    connect(SaveRcvFile, &QAction::triggered, this, &SSTVForm::SaveRcvFile_Click);
    connect(goClip, &QAction::triggered, this, &SSTVForm::goClip_Click);
    connect(QSLsashikomi, &QAction::triggered, this, &SSTVForm::QSLsashikomi_Click);
}
