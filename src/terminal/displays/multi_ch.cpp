#include "terminal/displays/multi_ch.h"

#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/TopHighBar.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/MultiChModes.h"
#include "terminal/displays/MultiChPos.h"

#include <QCloseEvent>
#include <QMouseEvent>

using namespace terminal::displays;

namespace {

constexpr int kStatusBarHeight = 300;
constexpr int kWrapMargin = 400;

QScrollBar* frequencyBar(QWidget* parent) {
    QScrollBar* s = ui::makeTopHigh(parent);
    s->setRange(pskcore::LowestHz, pskcore::HighestHz);
    return s;
}

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

} // namespace

multi_ch::multi_ch()
    : RichTextBox1(new RichTextPane(this)), RichTextBox2(new RichTextPane(this)),
      VScroll1(frequencyBar(this)), VScroll2(frequencyBar(this)), Label1(label(QStringLiteral("Ch2"), this)),
      Label2(label(QStringLiteral("Ch3"), this)), Label3(label(QStringLiteral("Hz"), this)),
      Label4(label(QStringLiteral("Hz"), this)), Label5(label(QString(), this)),
      Label6(label(QString(), this)), Command1(new QPushButton(QStringLiteral("=>To Ch1"), this)),
      Command2(new QPushButton(QStringLiteral("=>To Ch1"), this)),
      StatusBar1(new StatusPanels({60, 0, 0}, this)) {
    setWindowTitle(QStringLiteral("Multi Channel Display"));
    for (QPushButton* b : {Command1, Command2}) {
        b->setToolTip(QStringLiteral("Ch1 と入れ替えます"));
        colour::setBackColor(b, 0xC0FFC0);
    }
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setText(1, QStringLiteral("Close"));
    StatusBar1->panel(1)->setToolTip(QStringLiteral("多重受信を終了します"));
    StatusBar1->panel(2)->setToolTip(QStringLiteral("ここをｸﾘｯｸするとCh2のPSK-MODEが変えられます"));
    StatusBar1->panel(3)->setToolTip(QStringLiteral("ここをｸﾘｯｸするとCh3のPSK-MODEが変えられます"));
    for (RichTextPane* pane : {RichTextBox1, RichTextBox2}) {
        // The panes' own edit menus would cover the window's pop-ups.
        pane->setContextMenuPolicy(Qt::PreventContextMenu);
        pane->viewport()->installEventFilter(this);
    }
    buildMenus();
    applyPlaces(designPlaces());
    // The displays show the bars from the start, also where a bar is not moved.
    Label5->setText(QString::number(VScroll1->value()));
    Label6->setText(QString::number(VScroll2->value()));
    connect(VScroll1, &QScrollBar::valueChanged, this, &multi_ch::SetCh2FreqFromScroll);
    connect(VScroll2, &QScrollBar::valueChanged, this, &multi_ch::SetCh3FreqFromScroll);
    connect(Command1, &QPushButton::clicked, this, [this] { Command_Click(1); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command_Click(2); });
    connect(StatusBar1, &StatusPanels::panelClicked, this,
            [this](int panel, int) { StatusBar1_PanelClick(panel); });
    connect(RichTextBox1, &RichTextPane::mouseUp, this,
            [this](const QPoint& at) { RichTextBox_MouseUp(1, at); });
    connect(RichTextBox2, &RichTextPane::mouseUp, this,
            [this](const QPoint& at) { RichTextBox_MouseUp(2, at); });
    resize(twips::toPx(kMultiDefaultWidth), twips::toPx(kMultiDefaultHeight));
}

QWidget* multi_ch::control(MultiControl c) const {
    const std::array<QWidget*, MultiControlCount> controls = {RichTextBox1, RichTextBox2, Label1,   Label2,
                                                              Label3,       Label4,       Label5,   Label6,
                                                              Command1,     Command2,     VScroll1, VScroll2};
    return controls[std::size_t(c)];
}

MultiPlaces multi_ch::places() const {
    MultiPlaces p{};
    for (int c = 0; c < MultiControlCount; ++c) {
        const TwipsLayout::Rect r = tw.rect(control(MultiControl(c)));
        p[std::size_t(c)] = {r.left, r.top, r.width, r.height};
    }
    return p;
}

void multi_ch::applyPlaces(const MultiPlaces& p) {
    for (int c = 0; c < MultiControlCount; ++c) {
        const Place& at = p[std::size_t(c)];
        tw.place(control(MultiControl(c)), at.left, at.top, std::max(0, at.width), std::max(0, at.height));
    }
}

// The window's outer size, as stored and as its layout counts.
int multi_ch::widthTw() const {
    return twips::fromPx(width() + winframe::framePx(this).width());
}

int multi_ch::heightTw() const {
    return twips::fromPx(height() + winframe::framePx(this).height());
}

void multi_ch::setSizeTw(int w, int h) {
    const QSize frame = winframe::framePx(this);
    resize(std::max(1, twips::toPx(w) - frame.width()), std::max(1, twips::toPx(h) - frame.height()));
}

void multi_ch::Form_Load() {
    loading_ = true;
    showModes();
    applyFonts();
    MultiOnTop = core::IniStored(QStringLiteral("MultiDSP"), QStringLiteral("TOPV")).value_or(QString());
    MultiHorizontalText =
        core::IniStored(QStringLiteral("MultiDSP"), QStringLiteral("HORZ")).value_or(QString());
    MultiHorizontal = MultiHorizontalText == QLatin1String("YES") ? 1 : 0;
    placeWindow();
    const QString pos = QStringLiteral("multi_pos");
    // Places stored for the other arrangement (HORZ changed while the window
    // was not saved) would be garbled by this one's resizing: arranged anew.
    const MultiPlaces stored =
        placesFromKeys(designPlaces(), [&pos](const QString& key) { return core::IniWhole(pos, key); });
    if (core::IniStored(pos, QStringLiteral("R1H")) && placesFit(stored, MultiHorizontal == 1))
        applyPlaces(stored);
    else
        ArrangeMultiCh();
    layout = {widthTw(), heightTw(), places()};
    for (RichTextPane* pane : {RichTextBox1, RichTextBox2}) {
        pane->setWrapMargin(twips::toPx(kWrapMargin));
        pane->setText(QString());
    }
    loading_ = false;
}

void multi_ch::placeWindow() {
    const QString pos = QStringLiteral("CFGPOS");
    const QRect screen = winframe::screenPx();
    int top = 0, left = 0, w = kMultiDefaultWidth, h = kMultiDefaultHeight;
    if (core::IniStored(pos, QStringLiteral("MDPOSTop"))) {
        // A value that is no number, or a place off the screen, takes its default.
        top = core::IniWhole(pos, QStringLiteral("MDPOSTop")).value_or(0);
        left = core::IniWhole(pos, QStringLiteral("MDPOSLeft")).value_or(0);
        const std::optional<int> sw = core::IniWhole(pos, QStringLiteral("MDPOSWidth"));
        const std::optional<int> sh = core::IniWhole(pos, QStringLiteral("MDPOSHeight"));
        // So is a size larger than the screen: the window's edges stay within reach.
        if (sw && *sw > 0 && *sw <= twips::fromPx(screen.width())) w = *sw;
        if (sh && *sh > 0 && *sh <= twips::fromPx(screen.height())) h = *sh;
    } else {
        // The first opening is stacked, whatever HORZ holds.
        MultiHorizontal = 0;
    }
    setSizeTw(w, h);
    winframe::placeOnScreen(this, left, top);
}

void multi_ch::applyFonts() {
    const core::Globals& g = core::g;
    for (RichTextPane* pane : {RichTextBox1, RichTextBox2}) {
        QFont f = pane->font();
        if (const std::optional<int> size = core::WholeNumber(g.MultiFontSize); size && *size > 0)
            f.setPointSize(*size);
        f.setBold(g.MultiFontBold == QLatin1String("True"));
        f.setItalic(g.MultiFontItalic == QLatin1String("True"));
        pane->setFont(f);
    }
}

void multi_ch::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int bar = twips::toPx(kStatusBarHeight);
    StatusBar1->setGeometry(0, height() - bar, width(), bar);
    if (!loading_) Form_Resize();
}

void multi_ch::Form_Resize() {
    const int W = widthTw();
    const int H = heightTw();
    if (W == layout.W0 && H == layout.H0) return;
    applyPlaces(resized(layout, W, H, MultiHorizontal == 1));
    layout = {W, H, places()};
}

bool multi_ch::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

void multi_ch::closeEvent(QCloseEvent* e) {
    if (!e->spontaneous()) {
        e->accept();
        if (forms::isLoaded<multi_ch>()) forms::unload<multi_ch>();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) e->ignore();
}

void multi_ch::Form_QueryUnload(bool& cancel) {
    if (AnyEngineTransmits()) {
        cancel = true;
        return;
    }
    CloseMultiChannel(false);
}

bool multi_ch::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (watched == RichTextBox1->viewport())
            RichTextBox_MouseDown(1, m->button(), m->globalPosition().toPoint());
        if (watched == RichTextBox2->viewport())
            RichTextBox_MouseDown(2, m->button(), m->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, e);
}
