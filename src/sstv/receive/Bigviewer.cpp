#include "sstv/receive/Bigviewer.h"

#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvPlaces.h"
#include "sstv/window/SstvWindowPlace.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

namespace {

const QString kPos = QStringLiteral("Picture_BigViewer_POS");
constexpr int PictureLeft = 4;

QSize screenTwips() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const QSize px = s ? s->availableGeometry().size() : QSize(1024, 768);
    return {twips::fromPx(px.width()), twips::fromPx(px.height())};
}

} // namespace

Bigviewer::Bigviewer() : Picture1(new PictureBox(this)), menuBar(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("PictureView"));
    fEnd = menuBar->addAction(QStringLiteral("閉じる"));
    connect(fEnd, &QAction::triggered, this, [] { forms::unload<Bigviewer>(); });
    const sstv::ViewerSize smallest = sstv::ViewerFromWidth(sstv::ViewerMinimumWidth);
    setMinimumSize(twips::toPx(smallest.windowWidth), twips::toPx(smallest.windowHeight));
}

void Bigviewer::Form_Load() {
    LayoutReady = 0;
    const QSize screen = screenTwips();
    int width = sstv::ViewerDefaultWidth;
    if (core::IniWhole(kPos, QStringLiteral("TopPos")))
        width = core::IniWholeOr(kPos, QStringLiteral("WidthPos"), sstv::ViewerDefaultWidth);
    // A stored width past the screen (or damaged) would open a window beyond it.
    width = sstv::ViewerWidthOnScreen(width, screen.width(), screen.height());
    const sstv::ViewerSize v = sstv::ViewerFromWidth(width);
    layOut(v.windowWidth, v.windowHeight);
    sstv::RestorePlace(this, kPos);
    LayoutReady = 1;
}

// Sizes in twips; the picture box's pixels become the viewer's drawing size.
void Bigviewer::layOut(int windowWidth, int windowHeight) {
    const sstv::ViewerSize v = sstv::ViewerResized(windowWidth, windowHeight, LastWidth);
    LastWidth = v.windowWidth;
    const QSize window(twips::toPx(v.windowWidth), twips::toPx(v.windowHeight));
    laidOut_ = window;
    if (size() != window) resize(window);
    const int top = menuBar->sizeHint().height();
    Picture1->setGeometry(PictureLeft, top, twips::toPx(v.pictureWidth), twips::toPx(v.pictureHeight));
    Picture1->setScale(Picture1->width(), Picture1->height());
    sstv::g.BigViewWidth = Picture1->width();
    sstv::g.BigViewHeight = Picture1->height();
}

void Bigviewer::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The size of the last layout comes back here; only a size the operator gave is laid out.
    if (LayoutReady == 0 || isMinimized() || size() == laidOut_) return;
    // Compared in pixels: twips do not survive the round trip exactly.
    const int widthTwips = width() == laidOut_.width() ? LastWidth : twips::fromPx(width());
    layOut(widthTwips, twips::fromPx(height()));
}

void Bigviewer::closeEvent(QCloseEvent* e) {
    e->ignore();
    forms::unload<Bigviewer>();
}

void Bigviewer::Form_Unload() {
    sstv::g.BigViewOn = 0;
    if (forms::isLoaded<SSTVForm>()) forms::SSTVForm().bigview->setChecked(false);
    core::PutIniText(kPos, "TopPos", QString::number(twips::fromPx(y())));
    core::PutIniText(kPos, "LeftPos", QString::number(twips::fromPx(x())));
    core::PutIniText(kPos, "WidthPos", QString::number(LastWidth));
}
