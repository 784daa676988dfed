// The text editor's window: its controls, loading and unloading, the text
// box in its two modes, the stock texts and the layout label.
#include "sstv/overlay/mojiinput.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/TopHighBar.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShownLines.h"
#include "platform/os/Paths.h"
#include "sstv/overlay/SSTVMACRO.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvWindowPlace.h"
#include "sstv/workshop/SstvTitles.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QMouseEvent>

namespace {

const QString kCaption = QStringLiteral("文字加工");
const QString kPos = QStringLiteral("MojiInput_POS");
const QString kGrad = QStringLiteral("GradColor");
const QString kMacFile = QStringLiteral("MACmenu.DAT");
constexpr int RightButton = 2;

QRadioButton* outlineOption(const QString& caption, QColor back) {
    auto* option = new QRadioButton(caption);
    if (back.isValid()) {
        colour::setBackColor(option, colour::toRef(back));
        // A dark option ("黒", "青") writes its caption in white to be read.
        if (back.lightness() < 128) colour::setForeColor(option, 0xFFFFFF);
    }
    return option;
}

QScrollBar* verticalBar(int top, int bottom) {
    QScrollBar* bar = ui::makeTopHigh();
    bar->setRange(bottom, top);
    // The top end is the largest value; an arrow step is one.
    bar->setSingleStep(1);
    return bar;
}

QString macFile() {
    return paths::join(paths::programFolder(), kMacFile);
}

} // namespace

mojiinput::mojiinput()
    : Frame1(new QGroupBox(QStringLiteral("文字入力"), this)), Text1(new QLineEdit(Frame1)),
      Command3(new QPushButton(QStringLiteral("マクロ文"), this)), List2(new QListWidget(this)),
      Command1(new QPushButton(QStringLiteral("フォント 種"), this)),
      Command2(new QPushButton(QStringLiteral("フォント 色"), this)),
      Command10(new QPushButton(QStringLiteral("お気に入りFONT"), this)), List1(new QListWidget(this)),
      Check1(new QCheckBox(QStringLiteral("太字（bold）"), this)),
      Check2(new QCheckBox(QStringLiteral("斜体（Italic）"), this)),
      Label1(new QLabel(QStringLiteral("サイズ"), this)), VScroll1(verticalBar(32767, 0)),
      Label2(new QLabel(this)), Label3(new QLabel(this)),
      Frame2(new QGroupBox(QStringLiteral("縁取り"), this)),
      Frame3(new QGroupBox(QStringLiteral("（タイトルバーの）グラデーション"), this)),
      GradBar{verticalBar(255, 0), verticalBar(255, 0), verticalBar(255, 0)}, GradLabel{new QLabel(Frame3),
                                                                                        new QLabel(Frame3),
                                                                                        new QLabel(Frame3)},
      Label7(new QLabel(QStringLiteral("現状水平展開固定です  またタイトルバー編集にのみ有効です"), this)),
      Label8(new QLabel(QStringLiteral("水平展開"), this)),
      Label9(new QLabel(QStringLiteral("タイトルバーの文字は色のみ変更できます"), this)),
      menuBar(new QMenuBar(this)) {
    buildControls();
    layOut();
    connectControls();
}

void mojiinput::buildControls() {
    setWindowTitle(kCaption);
    setWindowFlag(Qt::Tool);
    mojicls = menuBar->addAction(QStringLiteral("閉じる"));
    Command3->setToolTip(QStringLiteral("右クリックでマクロ文編集"));
    Command10->setToolTip(QStringLiteral("右クリックで現在FONTを登録します。"));
    List2->addItems({QStringLiteral("CQ SSTV"), QStringLiteral("de %m"), QStringLiteral("UR RSV %r!")});
    List2->hide();
    List1->hide();
    ui::showItemsCut(List1);
    ui::showItemsCut(List2);
    VScroll1->setParent(this);
    const std::pair<int, const char*> outlines[] = {{0, "無"},  {1, "黒"},  {10, "青"}, {11, "緑"},
                                                    {13, "赤"}, {15, "黄"}, {16, "白"}};
    for (const auto& [index, caption] : outlines) {
        const auto row = sstv::OutlineFor(index);
        Option1[std::size_t(index)] =
            outlineOption(QString::fromUtf8(caption), index == 0 ? QColor() : colour::fromRef(row->colour));
        Option1[std::size_t(index)]->setParent(Frame2);
    }
    for (int c = 0; c < 3; ++c) {
        GradBar[std::size_t(c)]->setParent(Frame3);
        Option2[std::size_t(c)] = new QRadioButton(Frame3);
    }
    Frame3->setEnabled(false);
}

void mojiinput::layOut() {
    resize(372, 396);
    const int top = menuBar->sizeHint().height();
    Frame1->setGeometry(4, top, 364, 52);
    Text1->setGeometry(8, 20, 348, 24);
    // The stock texts lie over the text area.
    List2->setGeometry(twips::toPx(120), twips::toPx(600), twips::toPx(4800), twips::toPx(1500));
    Command3->setGeometry(4, top + 56, 88, 26);
    Command1->setGeometry(96, top + 56, 88, 26);
    Command2->setGeometry(188, top + 56, 88, 26);
    Command10->setGeometry(280, top + 56, 88, 26);
    List1->setGeometry(120, top + 84, 248, 120);
    Check1->setGeometry(8, top + 88, 110, 22);
    Check2->setGeometry(8, top + 110, 110, 22);
    Label1->setGeometry(124, top + 88, 40, 22);
    VScroll1->setGeometry(164, top + 86, 16, 48);
    Label2->setGeometry(188, top + 86, 120, 26);
    Label3->setGeometry(312, top + 86, 56, 26);
    Frame2->setGeometry(4, top + 140, 364, 48);
    int x = 6;
    for (QRadioButton* option : Option1)
        if (option) {
            option->setGeometry(x, 20, 48, 22);
            x += 51;
        }
    Frame3->setGeometry(4, top + 192, 364, 116);
    for (int c = 0; c < 3; ++c) {
        const int left = 12 + c * 118;
        GradBar[std::size_t(c)]->setGeometry(left, 20, 16, 88);
        GradLabel[std::size_t(c)]->setGeometry(left + 22, 20, 40, 22);
        Option2[std::size_t(c)]->setGeometry(left + 22, 48, 22, 22);
    }
    Label7->setGeometry(4, top + 312, 364, 20);
    Label8->setGeometry(4, top + 334, 80, 20);
    Label9->setGeometry(4, top + 356, 364, 20);
}

void mojiinput::Form_Load() {
    sstv::Globals& s = sstv::g;
    List2->setGeometry(twips::toPx(120), twips::toPx(600), twips::toPx(4800), twips::toPx(1500));
    setBar(0, s.GradRed);
    setBar(1, s.GradGreen);
    setBar(2, s.GradBlue);
    GradKept = {s.GradRed, s.GradGreen, s.GradBlue};
    Option2[std::size_t(std::clamp(s.GradChannel, 0, 2))]->setChecked(true);
    Option2_Click(s.GradChannel);
    HorizontalLayout = 1;
    sstv::RestorePlace(this, kPos);
    SyncStyleChecks();
    if (QLabel* line = selectedTitle()) {
        line->setFrameShape(QFrame::NoFrame);
        line->show();
    }
    Text1->clear();
    readFavourites();
    UpdateFontSample();
    readStockTexts();
    sstv::SetTopmost(this, true);
}

void mojiinput::readStockTexts() {
    if (const auto entries = sstv::ReadListFile(macFile(), false)) {
        List2->clear();
        List2->addItems(*entries);
    }
}

void mojiinput::Form_Unload() {
    sstv::StorePlace(this, kPos);
    const core::IniKey keys[] = {"Grad_R", "Grad_G", "Grad_B"};
    for (int c = 0; c < 3; ++c)
        core::PutIniNumber(kGrad, keys[c], GradBar[std::size_t(c)]->value());
    core::PutIniNumber(kGrad, "FixPos", sstv::g.GradChannel);
    sstv::SetTopmost(this, false);
    sstv::Globals& s = sstv::g;
    // The store asks nothing: a title the settings cannot hold is said here.
    if (s.TitleBarEditing == 1 && core::IniHolds(Text1->text(), Frame1->title()))
        core::PutIniText(QStringLiteral("SSTV_Gen"), "TitleStr", Text1->text());
    s.TitleBarEditing = 0;
    setWindowTitle(kCaption);
    if (forms::isLoaded<SSTVForm>()) {
        SSTVForm& f = forms::SSTVForm();
        f.Image1->hide();
        f.Picture8->unsetCursor();
    }
    s.TitlePlaceArmed = 0;
    // A line placed but never typed does not hold on to the canvas's clicks.
    s.TitleEditOpen = 0;
    sstv::titles.SstvTitleRefreshOn = 0;
    // The stock texts go back only with what changed: a list left as it was
    // read leaves the file's bytes alone; without a file, the designer's go in.
    QStringList entries;
    for (int i = 0; i < List2->count(); ++i)
        entries << List2->item(i)->text();
    if (!sstv::WriteListFile(macFile(), entries))
        ui::msgBox(QStringLiteral("定型文を保存できませんでした: ") + QDir::toNativeSeparators(macFile()),
                   ui::OkOnly | ui::Exclamation);
}

void mojiinput::closeEvent(QCloseEvent* e) {
    // The close box unloads the window; it is never only hidden.
    e->ignore();
    CloseByOperator();
}

void mojiinput::CloseByOperator() {
    if (sstv::g.TitleBarEditing == 1 && !core::IniHolds(Text1->text(), Frame1->title())) {
        activateWindow();
        Text1->setFocus();
        return;
    }
    forms::unload<mojiinput>();
}

void mojiinput::mouseMoveEvent(QMouseEvent* e) {
    unsetCursor();
    QWidget::mouseMoveEvent(e);
}

QLabel* mojiinput::selectedTitle() const {
    if (!forms::isLoaded<SSTVForm>()) return nullptr;
    const std::vector<QLabel*>& labels = forms::SSTVForm().Label1;
    const int i = sstv::g.SelectedTitle;
    return i >= 0 && std::size_t(i) < labels.size() ? labels[std::size_t(i)] : nullptr;
}

void mojiinput::Text1_Change() {
    sstv::Globals& s = sstv::g;
    const QString text = Text1->text();
    if (s.TitleBarEditing != 1) {
        if (text.isEmpty()) {
            // The line keeps its last text; it stops following the QSO boxes.
            sstv::titles.SstvTitleRefreshOn = 0;
            return;
        }
        sstv::titles.SstvTitleRefreshOn = 1;
        const int i = s.SelectedTitle;
        while (sstv::titles.SstvTitleLines.size() <= i)
            sstv::titles.SstvTitleLines.append(QString());
        sstv::titles.SstvTitleLines[i] = text;
        sstv::SstvRefreshTitles();
        s.TitleEditOpen = 0;
        return;
    }
    if (!forms::isLoaded<SSTVForm>()) return;
    SSTVForm& f = forms::SSTVForm();
    f.Picture14->clear();
    f.DrawGradient(f.Picture14);
    s.SstvTitleBarText = text;
    f.Label4->setText(sstv::SstvExpandMacros(s.SstvTitleBarText));
    f.Label4->adjustSize();
}

void mojiinput::EnterTitleBarMode(const QString& text) {
    Text1->setText(text);
    setWindowTitle(QStringLiteral("文字加工　タイトル文字編集中  完了後はこれを閉じてください"));
    Frame3->setEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(Command10), static_cast<QWidget*>(VScroll1)})
        w->setEnabled(false);
    // The bar's text takes a colour only: bold and italic are not offered at all.
    Check1->hide();
    Check2->hide();
}

void mojiinput::Command3_MouseDown(int Button) {
    if (Button != RightButton) {
        List2->show();
        List2->raise();
        List2->setFocus();
        return;
    }
    SSTVMACRO& macros = forms::SSTVMACRO();
    macros.show();
}

void mojiinput::List2_Click(const QString& entry) {
    Text1->setText(entry);
    List2->hide();
}

void mojiinput::Label8_Click() {
    HorizontalLayout = HorizontalLayout == 1 ? 0 : 1;
    Label8->setText(HorizontalLayout == 0 ? QStringLiteral("垂直展開") : QStringLiteral("水平展開"));
    colour::setBackColor(Label8, 0xC0C0C0);
}
