// The transmit tab and sending: choosing a tab renders the composed picture
// at the transmit mode's size into the engine's transmit bitmap; the send
// button starts or stops the transmission.
#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvCompose.h"
#include "sstv/workshop/SstvTitles.h"

#include <QPainter>

namespace {

constexpr int StretchMode = 4;
constexpr std::uint32_t LightGreen = 0xDFFFDF;

// A layer of the canvas copied onto the transmit picture at its place.
void copyLayer(QImage& onto, PictureBox* layer) {
    layer->ensureCanvas();
    QPainter p(&onto);
    p.drawImage(layer->pos(), layer->canvas());
}

} // namespace

void SSTVForm::setProgressFor(int txLines) {
    const sstv::TxGeometry geo = sstv::GeometryFor(txLines, sstv::g.Squeeze240);
    Picture10->setScale(Picture10->scaleWidth(), geo.progressScale);
    Line2->setPoints(0, sstv::ShortLines, sstv::CanvasWidth, sstv::ShortLines);
    Line2->setVisible(geo.markerShown);
}

void SSTVForm::dropArmedPlacement() {
    unsetCursor();
    Picture8->unsetCursor();
    // A placement armed on the canvas does not wait through another tab.
    sstv::g.TitlePlaceArmed = 0;
}

void SSTVForm::SSTab2_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    dropArmedPlacement();
    const QString caption = SSTab2->tabText(SSTab2->currentIndex());
    if (caption.contains(QStringLiteral("送信"))) {
        // The %-values are those of this moment: the call typed, the time now.
        sstv::SstvRefreshTitles();
        sstv::ReleaseBitmap(s.dib.TxRenderDib);
        const sstv::TxGeometry geo = sstv::GeometryFor(s.TxImageHeight, s.Squeeze240);
        s.dib.TxRenderDib = e.mmsCreateDIB(sstv::CanvasWidth, geo.renderHeight);
        composeTxPicture({0, 0, sstv::CanvasWidth, geo.sourceBottom},
                         {0, 0, sstv::CanvasWidth, geo.drawnBottom});
        s.SstvSrcRect = s.SstvDstRect = {0, 0, sstv::CanvasWidth, geo.drawnBottom};
        e.mmsDrawDCbmp(s.dib.TxRenderDib, s.SstvDstRect, Picture3, s.SstvSrcRect, StretchMode);
        s.SstvDstRect = {0, 0, s.TxImageWidth, s.TxImageHeight};
        e.mmsDrawDIBbmp(s.dib.TxDib, s.SstvDstRect, s.dib.TxRenderDib, s.SstvSrcRect, StretchMode);
        e.mmsSetBitmap(s.dib.RxDib, s.dib.RxPreviewDib, s.dib.TxDib);
    } else if (caption.contains(QStringLiteral("調理場"))) {
        setProgressFor(s.TxImageHeight);
        if (s.SstvTitleBarOn == QLatin1String("1")) {
            Picture14->clear();
            DrawGradient(Picture14);
            Label4->setText(sstv::SstvExpandMacros(s.SstvTitleBarText));
            Label4->adjustSize();
        }
    } else {
        sstv::ReleaseBitmap(s.dib.TxRenderDib);
    }
    Timer6->start();
}

// The canvas, its layers and the title lines into Picture3: source lines of
// the canvas into drawn lines of the picture.
void SSTVForm::composeTxPicture(const sstveng::Rect& source, const sstveng::Rect& drawn) {
    sstv::Globals& s = sstv::g;
    Picture3->ensureCanvas();
    Picture3->clear();
    s.SstvSrcRect = source;
    s.SstvDstRect = drawn;
    sstveng::lib().mmsDrawDIBdc(Picture3, drawn, s.dib.CanvasDib, source, StretchMode);
    SstvStretchCopy();
}

// The text goes onto a copy of the band, so that the band on the canvas
// (under its label) never collects older texts.
void SSTVForm::copyTitleBar(QImage& onto) {
    DrawGradient(Picture14);
    QImage bar = Picture14->canvas();
    QFont font = Label4->font();
    font.setBold(true);
    {
        QPainter p(&bar);
        p.setFont(font);
        p.setPen(colour::fromRef(colour::foreColor(Label4)));
        p.drawText(QRectF(Label4->pos(), QSizeF(bar.size())), Qt::AlignLeft | Qt::AlignTop, Label4->text());
    }
    QPainter(&onto).drawImage(Picture14->pos(), bar);
}

void SSTVForm::SstvStretchCopy() {
    QImage& onto = Picture3->canvas();
    const sstv::Globals& s = sstv::g;
    // The layers and the title lines go onto the picture in the canvas's own
    // stacking order (bottom first), so that what is sent is what the canvas shows.
    for (QObject* child : Picture8->children()) {
        if (auto* title = qobject_cast<QLabel*>(child)) {
            printTitleOnTxPicture(title);
            continue;
        }
        auto* layer = qobject_cast<PictureBox*>(child);
        if (!layer || layer->isHidden()) continue;
        if (layer == Picture14) {
            copyTitleBar(onto);
        } else if (layer == Picture12) {
            if (s.InsetShown == 0 || s.InsetBorderOn != 1) continue;
            Picture12->clear();
            copyLayer(onto, Picture12);
            Picture12->update();
        } else if (layer == Picture11) {
            if (s.InsetShown == 0) continue;
            copyLayer(onto, Picture11);
            Picture11->update();
        } else if (Picture13.key(layer, -1) >= 0) {
            copyLayer(onto, layer);
        }
    }
    Picture3->update();
    Timer6->start();
}

void SSTVForm::Command9_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    // A picture sent while something waits goes once the wait is over.
    if (s.SstvTxActive == 0 && !forms::mayActNow(forms::Request::Start, [] {
            if (forms::isLoaded<SSTVForm>() && sstv::g.SstvTxActive == 0) forms::SSTVForm().Command9_Click();
        }))
        return;
    if (s.SstvTxActive != 0) {
        e.mmsSendStop();
        Picture10->setScale(Picture10->scaleWidth(), s.RxImageHeight);
        colour::setBackColor(Command9, colour::kButtonFace);
    } else if (!canvasLeftEmpty() || emptyCanvasAgreed()) {
        Timer6->start();
        const sstv::PictureSize size = sstv::SizeFromWord(e.mmsGetImageSize(s.TxMode));
        s.TxImageWidth = size.width;
        s.TxImageHeight = size.height;
        setProgressFor(s.TxImageHeight);
        e.mmsSendPic(s.TxMode);
        colour::setBackColor(Command9, LightGreen);
    }
    focusBack();
}

bool SSTVForm::canvasLeftEmpty() const {
    const sstv::Globals& s = sstv::g;
    if (s.InsetShown == 1) return false;
    // The title bar is a picture of its own, whatever its text.
    if (Picture14->isVisibleTo(Picture8)) return false;
    for (std::size_t i = 1; i < Label1.size(); ++i)
        if (!Label1[i]->text().isEmpty()) return false;
    for (PictureBox* element : Picture13)
        if (element->isVisibleTo(Picture8)) return false;
    const QImage* background = sstveng::lib().bitmap(s.dib.CanvasDib);
    if (!background || background->isNull()) return true;
    const QRgb first = background->pixel(0, 0);
    for (int y = 0; y < background->height(); ++y)
        for (int x = 0; x < background->width(); ++x)
            if (background->pixel(x, y) != first) return false;
    return true;
}

bool SSTVForm::emptyCanvasAgreed() {
    // The window comes back from another mode with an empty canvas and the
    // first transmit mode: both are said before a picture of one colour goes out.
    const QString prompt = QStringLiteral("送信画が作られていません（調理場は一色のままです）。\r\n"
                                          "このまま %1 で送信しますか？")
                               .arg(Combo2->currentText());
    return ui::msgBox(prompt, ui::YesNo | ui::Question | ui::DefaultButton2) == ui::Yes;
}

void SSTVForm::Combo2_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    s.TxMode = Combo2->currentIndex();
    const std::int32_t word = e.mmsGetImageSize(s.TxMode);
    s.RxSizeBits = sstv::IntToBitString(word, 32);
    const sstv::PictureSize size = sstv::SizeFromWord(word);
    s.TxImageWidth = size.width;
    s.TxImageHeight = size.height;
    SSTab2->setTabText(0, QStringLiteral("送信 %1x%2").arg(size.width).arg(size.height));
    SSTab2->setCurrentIndex(1);
    SSTab2->setCurrentIndex(0);
    Timer6->start();
}

void SSTVForm::Check3_Click() {
    sstv::g.Squeeze240 = Check3->isChecked() ? 1 : 0;
    if (sstv::g.Squeeze240 == 1) Line2->setVisible(false);
}
