// The picture library's window: its tabs of thumbnail boxes, its menus, its
// place on the screen, its opening and closing.
#include "sstv/library/PiclibForm.h"

#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/waits/Waits.h"
#include "sstv/library/PicLibrary.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvPlaces.h"
#include "sstv/window/SstvWindowPlace.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString kPos = QStringLiteral("Picture_Viewer_POS");
constexpr int BoxWidthTwips = 1995;
constexpr int BoxHeightTwips = 1656;
const QColor kBoxBack(0xF0, 0xF0, 0xF0);

} // namespace

PiclibForm::PiclibForm()
    : SSTab1(new QTabWidget(this)), Label1(new QLabel(this)), Label2(new QLabel(this)),
      Label3(new QLabel(this)), Command3(new QPushButton(QStringLiteral("<"), this)),
      Command4(new QPushButton(QStringLiteral(">"), this)), menuBar(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("画像ライブラリ"));
    SSTab1->addTab(buildTab(Picture1, Label1), QStringLiteral("送信画"));
    SSTab1->addTab(buildTab(Picture2, Label2), QStringLiteral("受信画"));
    SSTab1->addTab(buildTab(Picture3, Label3), QStringLiteral("履歴画"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
    buildMenus();
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1_Click(); });
    connect(Command3, &QPushButton::clicked, this, &PiclibForm::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &PiclibForm::Command4_Click);
}

QWidget* PiclibForm::buildTab(std::array<PictureBox*, 8>& boxes, QLabel* label) {
    auto* frame = new QWidget;
    auto* grid = new QGridLayout(frame);
    const QSize boxSize(twips::toPx(BoxWidthTwips), twips::toPx(BoxHeightTwips));
    for (int i = 0; i < sstv::LibraryBoxes; ++i) {
        auto* box = new PictureBox(frame);
        box->setFixedSize(boxSize);
        box->setScale(boxSize.width(), boxSize.height());
        box->setBackColor(kBoxBack);
        box->installEventFilter(this);
        connect(box, &PictureBox::mouseUp, this,
                [this, i](int button, double, double) { Picture_MouseUp(i, button); });
        grid->addWidget(box, i % 4, i / 4);
        boxes[std::size_t(i)] = box;
    }
    label->setFont(QFont(QStringLiteral("Arial")));
    label->setParent(frame);
    grid->addWidget(label, 4, 0, 1, 2);
    return frame;
}

void PiclibForm::buildMenus() {
    PCLS = menuBar->addAction(QStringLiteral("閉じる"));
    GetFol = menuBar->addAction(QStringLiteral("フォルダ指定"));
    connect(PCLS, &QAction::triggered, this, [] { forms::unload<PiclibForm>(); });
    connect(GetFol, &QAction::triggered, this, &PiclibForm::GetFol_Click);

    PopUpLib = new QMenu(this);
    fnDisp = PopUpLib->addAction(QStringLiteral("FileName="));
    PopUpLib->addSeparator();
    setB4pic = PopUpLib->addAction(QStringLiteral("調理場へ送る"));
    PopUpLib->addSeparator();
    setB4picSm = PopUpLib->addAction(QStringLiteral("調理場へ送る（挿絵）"));
    PopUpLib->addSeparator();
    QSLset = PopUpLib->addAction(QStringLiteral("QSLへ差込指定"));
    PopUpLib->addSeparator();
    LibSave = PopUpLib->addAction(QStringLiteral("名前を付けて保存"));
    PopUpLib->addSeparator();
    LibDelete = PopUpLib->addAction(QStringLiteral("削除"));
    PopUpLib->addSeparator();
    LibDeleteNoKakunin = PopUpLib->addAction(QStringLiteral("削除（確認なし）"));
    connect(setB4pic, &QAction::triggered, this, &PiclibForm::setB4pic_Click);
    connect(setB4picSm, &QAction::triggered, this, &PiclibForm::setB4picSm_Click);
    connect(QSLset, &QAction::triggered, this, &PiclibForm::QSLset_Click);
    connect(LibSave, &QAction::triggered, this, &PiclibForm::LibSave_Click);
    connect(LibDelete, &QAction::triggered, this, &PiclibForm::LibDelete_Click);
    connect(LibDeleteNoKakunin, &QAction::triggered, this, &PiclibForm::LibDeleteNoKakunin_Click);
}

void PiclibForm::Form_Load() {
    LibSave->setEnabled(false);
    FolderError = 0;
    placeWindow();
    SSTab1->setCurrentIndex(0);
    GetFol->setEnabled(true);
    sstv::g.SstvSrcRect = {0, 0, 800, 616};
    sstv::g.SstvDstRect = {0, 0, 320, 256};
    show();
    forms::letEventsRun();
    if (unloaded_) return;
    showTabPage(0);
}

void PiclibForm::placeWindow() {
    sstv::RestorePlace(this, kPos);
}

void PiclibForm::closeEvent(QCloseEvent* e) {
    e->ignore();
    forms::unload<PiclibForm>();
}

void PiclibForm::Form_Unload() {
    unloaded_ = true;
    sstv::StorePlace(this, kPos);
    sstv::g.PiclibOpen = 0;
}

bool PiclibForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (int tab = 0; tab < 3; ++tab) {
            const auto& boxes = boxesOf(tab);
            const auto it = std::find(boxes.begin(), boxes.end(), watched);
            if (it == boxes.end()) continue;
            Picture_DblClick(int(it - boxes.begin()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

std::array<PictureBox*, 8>& PiclibForm::boxesOf(int tab) {
    return tab == 0 ? Picture1 : tab == 1 ? Picture2 : Picture3;
}

QLabel* PiclibForm::labelOf(int tab) {
    return tab == 0 ? Label1 : tab == 1 ? Label2 : Label3;
}

QString PiclibForm::folderOf(int tab) const {
    const sstv::Globals& s = sstv::g;
    return tab == 0 ? s.TxBmpFolder : tab == 1 ? s.RcvDatFolder : s.HistoryFolder;
}
