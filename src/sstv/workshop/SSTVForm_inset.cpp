// The inset picture on the canvas (from a file or a received picture), its
// border, its handles and dragging; the rubber band and the picture box
// elements it makes, with their moving, filling and removal.
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/sstvengine/SstvEngine.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvCompose.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr int StretchMode = 4;
constexpr int LeftButton = 1;
constexpr int RightButton = 2;
constexpr std::uint32_t LightGreen = 0xDFFFDF;
const sstveng::Rect kWhole{0, 0, sstv::CanvasWidth, sstv::CanvasHeight};
const QColor kElementBack(0xF0, 0xF0, 0xF0);

} // namespace

void SSTVForm::makeInsetFromPicked() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    if (s.dib.PickedPictureDib == 0) return;
    sstv::ReleaseBitmap(s.dib.InsetDib);
    s.dib.InsetDib = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
    s.SstvSrcRect = s.SstvDstRect = kWhole;
    e.mmsDrawDIBbmp(s.dib.InsetDib, kWhole, s.dib.PickedPictureDib, kWhole, StretchMode);
    SstvDrawDib(s.dib.InsetDib);
}

void SSTVForm::GetSASHIfile_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    std::int32_t picture = openPicture(false);
    if (picture == 0) return;
    sstveng::Rect src;
    if (e.mmsGetDIBSize(&src, picture) != 0) {
        if (s.dib.PickedPictureDib == 0)
            s.dib.PickedPictureDib = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
        e.mmsDrawDIBbmp(s.dib.PickedPictureDib, kWhole, picture, src, StretchMode);
        makeInsetFromPicked();
    }
    sstv::ReleaseBitmap(picture);
}

void SSTVForm::ToB4TxPic_Click() {
    Picture11->show();
    Picture11->ensureCanvas();
    Picture11->clear();
    makeInsetFromPicked();
}

void SSTVForm::Option4_MouseUp(int Index) {
    sstv::Globals& s = sstv::g;
    const auto choice = sstv::BorderFor(Index);
    if (!choice) return;
    s.InsetBorderColor = choice->colour;
    s.InsetBorderOn = choice->on;
    const QString section = QStringLiteral("BackColor");
    core::PutIniText(section, "PBCcode", QString::number(s.InsetBorderColor));
    core::PutIniText(section, "PBCmode", QString::number(s.InsetBorderOn));
    if (s.InsetShown != 1) return focusBack();
    Picture12->setGeometry(sstv::BorderAround(Picture11->geometry()));
    // SstvDrawDib shows or hides the border by the new choice.
    const bool transmitTabShown = SSTab2->currentIndex() == 0;
    SstvDrawDib(s.dib.InsetDib);
    // The transmit picture is rendered again by way of the tabs.
    SSTab2->setCurrentIndex(1);
    if (transmitTabShown) SSTab2->setCurrentIndex(0);
}

void SSTVForm::Frame13_Click() {
    if (rig::g.RigPortOpen == 1) rig::RigStartPolling();
}

void SSTVForm::Command8_Click() {
    if (BandMode == 0) {
        BandMode = 1;
        colour::setBackColor(Command8, LightGreen);
        unsetCursor();
        sstv::g.TitlePlaceArmed = 0;
        return;
    }
    BandMode = 0;
    colour::setBackColor(Command8, colour::kButtonFace);
}

// ---- The canvas ----

void SSTVForm::Picture8_MouseDown(int Button, double X, double Y) {
    if (sstv::g.TitleBarEditing == 1) return;
    if (Button == RightButton) {
        // The menu opened from the canvas works on the canvas.
        TargetKind.clear();
        return popupPictureMenu();
    }
    if (InsetHandle == sstv::LowerRight || InsetHandle == sstv::UpperRight) {
        resizeStartX_ = std::nearbyint(X);
        resizeStartWidth_ = Picture11->width();
        resizeStartHeight_ = Picture11->height();
        resizeStartTop_ = Picture11->y();
        InsetResizing = 1;
        return;
    }
    titleCanvasDown(X, Y);
}

void SSTVForm::Picture8_MouseMove(int Button, double X, double Y) {
    if (sstv::g.TitleBarEditing == 1) return;
    const bool following = markerFollows(Button, X, Y);
    if (!following && Button == LeftButton && BandMode == 1) {
        DrawSelectionRect(0, 0, BandEndX, BandEndY);
        BandEndX = X;
        BandEndY = Y;
        DrawSelectionRect(0, 0, BandEndX, BandEndY);
        return;
    }
    if (!following && InsetResizing == 0) unsetCursor();
    if (sstv::g.InsetShown == 0) return;
    if (InsetResizing == 1) {
        const sstv::ResizeStart start{resizeStartX_, resizeStartWidth_, resizeStartHeight_, resizeStartTop_};
        const QRect inset =
            sstv::ResizedInset(Picture11->geometry(), start, sstv::InsetHandle(InsetHandle), X);
        Picture11->setGeometry(inset);
        Picture12->setGeometry(sstv::BorderAround(inset));
        SstvDrawDib(sstv::g.dib.InsetDib);
        Picture12->update();
        return;
    }
    InsetHandle = sstv::HandleAt(Picture11->geometry(), QPointF(X, Y));
    if (InsetHandle == sstv::LowerRight) setCursor(Qt::SizeFDiagCursor);
    if (InsetHandle == sstv::UpperRight) setCursor(Qt::SizeBDiagCursor);
}

void SSTVForm::Picture8_MouseUp(int, double, double) {
    if (sstv::g.TitleBarEditing == 1) return;
    unsetCursor();
    InsetResizing = 0;
    if (BandMode != 1) return;
    BandDone = 1;
    DrawSelectionRect(0, 0, BandEndX, BandEndY);
}

void SSTVForm::DrawSelectionRect(double X1, double Y1, double X2, double Y2) {
    const QRect band(QPoint(int(std::nearbyint(X1)), int(std::nearbyint(Y1))),
                     QPoint(int(std::nearbyint(X2)), int(std::nearbyint(Y2))));
    const bool drawn = band.width() > 1 && band.height() > 1;
    if (drawn) {
        // An inverting dotted frame: drawn twice, it is gone.
        Picture8->ensureCanvas();
        QPainter p(&Picture8->canvas());
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.drawRect(band.adjusted(0, 0, -1, -1));
    }
    Picture8->update();
    if (BandDone != 1) return;
    BandDone = 0;
    // The next band starts from nothing: this one is gone from the canvas.
    BandEndX = BandEndY = 0;
    if (!drawn) return;
    const int index = ++ElementCounter;
    auto* element = new PictureBox(Picture8);
    element->setGeometry(band.x(), band.y(), band.width() - 1, band.height() - 1);
    element->setScale(element->width(), element->height());
    element->setBackColor(kElementBack);
    connect(element, &PictureBox::mouseDown, this,
            [this, index](int b, double x, double y) { Picture13_MouseDown(index, b, x, y); });
    connect(element, &PictureBox::mouseMove, this,
            [this, index](int b, double x, double y) { Picture13_MouseMove(index, b, x, y); });
    connect(element, &PictureBox::mouseUp, this,
            [this, index](int b, double, double) { Picture13_MouseUp(index, b); });
    Picture13.insert(index, element);
    element->show();
    element->ensureCanvas();
    Picture8->update();
}

// ---- Picture box elements ----

void SSTVForm::Picture13_MouseDown(int, int, double X, double Y) {
    setCursor(Qt::SizeAllCursor);
    elementGrab_ = QPointF(std::nearbyint(X), std::nearbyint(Y));
    TargetElement = 0;
    TargetKind.clear();
}

void SSTVForm::Picture13_MouseMove(int Index, int Button, double X, double Y) {
    PictureBox* element = Picture13.value(Index);
    if (!element || Button != LeftButton) return;
    element->move(element->x() + int(std::nearbyint(X - elementGrab_.x())),
                  element->y() + int(std::nearbyint(Y - elementGrab_.y())));
}

void SSTVForm::Picture13_MouseUp(int Index, int Button) {
    if (Button == RightButton) {
        removeElement(Index);
    } else {
        TargetElement = Index;
        TargetKind = QStringLiteral("pic13");
        popupPictureMenu();
    }
    unsetCursor();
}

void SSTVForm::removeElement(int Index) {
    PictureBox* element = Picture13.take(Index);
    if (!element) return;
    element->hide();
    forms::destroyLater(element);
    Picture8->update();
}

// ---- Moving the inset ----

void SSTVForm::Picture11_MouseDown(int, double X, double Y) {
    setCursor(Qt::SizeAllCursor);
    insetGrab_ = Picture11->toPixels(X, Y);
}

void SSTVForm::Picture11_MouseMove(int Button, double X, double Y) {
    if (sstv::g.InsetShown != 1) return;
    if (InsetResizing == 1) {
        InsetHandle = sstv::NoHandle;
        unsetCursor();
    } else {
        setCursor(Qt::SizeAllCursor);
    }
    if (Button == 0) return;
    const QPointF at = Picture11->toPixels(X, Y);
    Picture11->move(Picture11->x() + int(std::nearbyint(at.x() - insetGrab_.x())),
                    Picture11->y() + int(std::nearbyint(at.y() - insetGrab_.y())));
    Picture12->setGeometry(sstv::BorderAround(Picture11->geometry()));
}
