// The workshop canvas and picture files: the background loaded from a file
// (button and menu), dropped or pasted, the transmit picture saved, the
// canvas cleared, and the menu "送信画加工".
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniStore.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvCompose.h"
#include "sstv/workshop/SstvTitles.h"
#include "sstv/workshop/SstvTxFolder.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int StretchMode = 4;
constexpr int RightButton = 2;
constexpr int MessageMsecs = 3000;
QString folderOf(const QString& file) {
    return QFileInfo(file).absolutePath();
}

} // namespace

void SSTVForm::popupPictureMenu() {
    txpicarg->popup(QCursor::pos());
}

// The open dialog of the workshop; the loaded picture (the caller releases
// it), or 0 when the operator cancelled or the file cannot be read.
std::int32_t SSTVForm::openPicture(bool storeFolder) {
    const auto ask = [] {
        return ui::openFileName(QStringLiteral("画像ﾌｧｲﾙ選択"), sstv::ReadTxBmpFolder(),
                                QStringLiteral("画像ﾌｧｲﾙ (*.BMP *.JPG *.bmp *.jpg *.JPEG *.jpeg)"));
    };
    // Where the folder is kept, one the settings cannot name is refused as it is chosen.
    const QString chosen = storeFolder ? core::IniHeldChoice(ask, core::StoredPart::Folder) : ask();
    if (chosen.isEmpty()) return 0;
    LastPictureFile = chosen;
    if (storeFolder) sstv::StoreTxBmpFolder(folderOf(chosen));
    const std::int32_t picture = sstveng::lib().LoadPicture(chosen);
    if (picture == 0) sstv::ShowUnreadablePicture(chosen);
    return picture;
}

// The whole picture stretched to width x height at the top left of the
// canvas bitmap and of the canvas box.
void SSTVForm::drawIntoCanvas(std::int32_t picture, int width, int height) {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    // A pasted picture may have left the canvas bitmap at another size.
    sstveng::Rect size;
    if (e.mmsGetDIBSize(&size, s.dib.CanvasDib) == 0 || size.right != sstv::CanvasWidth ||
        size.bottom != sstv::CanvasHeight) {
        sstv::ReleaseBitmap(s.dib.CanvasDib);
        s.dib.CanvasDib = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
        e.mmsDrawDIBdc(Picture8, {0, 0, sstv::CanvasWidth, sstv::CanvasHeight}, s.dib.CanvasDib,
                       {0, 0, sstv::CanvasWidth, sstv::CanvasHeight}, StretchMode);
    }
    if (e.mmsGetDIBSize(&s.SstvSrcRect, picture) == 0) return;
    s.SstvDstRect = {0, 0, width, height};
    e.mmsDrawDIBbmp(s.dib.CanvasDib, s.SstvDstRect, picture, s.SstvSrcRect, StretchMode);
    e.mmsDrawDIBdc(Picture8, s.SstvDstRect, picture, s.SstvSrcRect, StretchMode);
}

void SSTVForm::redrawInsetIfShown() {
    if (sstv::g.InsetShown == 1 && sstv::g.dib.InsetDib != 0) SstvDrawDib(sstv::g.dib.InsetDib);
}

void SSTVForm::Command6_Click() {
    std::int32_t picture = openPicture(false);
    if (picture == 0) return;
    drawIntoCanvas(picture, sstv::CanvasWidth, sstv::CanvasHeight);
    redrawInsetIfShown();
    Timer6->start();
    if (const QString folder = folderOf(LastPictureFile); !sstv::SameFolder(folder, sstv::g.TxBmpFolder)) {
        sstv::StoreTxBmpFolder(folder);
        RefreshLibraryTxTab();
    }
    sstv::ReleaseBitmap(picture);
}

void SSTVForm::Getfile_Click() {
    std::int32_t picture = openPicture(true);
    if (picture == 0) return;
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    PictureBox* element = TargetKind == QLatin1String("pic13") ? Picture13.value(TargetElement) : nullptr;
    if (element) {
        if (e.mmsGetDIBSize(&s.SstvSrcRect, picture) != 0) {
            s.SstvDstRect = {0, 0, int(element->scaleWidth()), int(element->scaleHeight())};
            e.mmsDrawDIBdc(element, s.SstvDstRect, picture, s.SstvSrcRect, StretchMode);
            element->update();
        }
    } else {
        drawIntoCanvas(picture, sstv::CanvasWidth, sstv::CanvasHeight);
    }
    redrawInsetIfShown();
    Timer6->start();
    Picture8->update();
    sstv::ReleaseBitmap(picture);
}

void SSTVForm::Pasteclip_Click() {
    PictureBox* element = TargetKind == QLatin1String("pic13") ? Picture13.value(TargetElement) : nullptr;
    if (!element) return PasteOntoCanvas();
    sstveng::SstvEngine& e = sstveng::lib();
    std::int32_t pasted = e.mmsPasteDIB();
    if (pasted == 0) sstv::ShowUnpastablePicture();
    sstveng::Rect src;
    if (e.mmsGetDIBSize(&src, pasted) != 0) {
        const sstveng::Rect dst{0, 0, int(element->scaleWidth()), int(element->scaleHeight())};
        e.mmsDrawDIBdc(element, dst, pasted, src, StretchMode);
        element->update();
    }
    sstv::ReleaseBitmap(pasted);
    Timer6->start();
}

void SSTVForm::PasteOntoCanvas() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    const std::int32_t pasted = e.mmsPasteDIB();
    if (pasted == 0) sstv::ShowUnpastablePicture();
    if (pasted != 0) {
        sstv::ReleaseBitmap(s.dib.CanvasDib);
        s.dib.CanvasDib = pasted;
        if (e.mmsGetDIBSize(&s.SstvSrcRect, s.dib.CanvasDib) != 0) {
            s.SstvDstRect = {0, 0, s.SstvSrcRect.right, s.SstvSrcRect.bottom};
            Picture8->clear();
            e.mmsDrawDIBdc(Picture8, s.SstvDstRect, s.dib.CanvasDib, s.SstvSrcRect, StretchMode);
            redrawInsetIfShown();
        }
    }
    Timer6->start();
}

void SSTVForm::Picture8_DropFiles(const QStringList& files) {
    const auto file = sstv::DroppedFile(files);
    if (!file) return;
    if (!sstv::IsPictureName(*file)) {
        core::g.StatusMessage = QStringLiteral("ファイルの形式が異なります。");
        core::ShowTimedMessage(core::g.StatusMessage, MessageMsecs);
        return;
    }
    std::int32_t picture = sstveng::lib().LoadPicture(*file);
    if (picture == 0) return sstv::ShowUnreadablePicture(*file);
    const QSize target = sstv::DropTarget(sstv::g.TxImageWidth, sstv::g.TxImageHeight);
    drawIntoCanvas(picture, target.width(), target.height());
    Timer6->start();
    sstv::ReleaseBitmap(picture);
}

void SSTVForm::Savefile_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    const QString chosen =
        sstv::ChooseBmpToSave(QStringLiteral("送信画像保存"), sstv::ReadTxBmpFolder() + QLatin1Char('/'),
                              QStringLiteral("送信画像 (*.BMP *.bmp)"));
    if (chosen.isEmpty()) return;
    const sstveng::Rect whole{0, 0, sstv::CanvasWidth, sstv::CanvasHeight};
    sstv::ReleaseBitmap(s.dib.TxRenderDib);
    s.dib.TxRenderDib = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
    composeTxPicture(whole, whole);
    s.SstvSrcRect = s.SstvDstRect = whole;
    e.mmsDrawDCbmp(s.dib.TxRenderDib, whole, Picture3, whole, StretchMode);
    if (e.mmsSaveDIB(chosen, s.dib.TxRenderDib) != 1)
        ui::msgBox(QStringLiteral("画像を保存できませんでした: ") + QDir::toNativeSeparators(chosen),
                   ui::OkOnly);
}

void SSTVForm::Command18_MouseDown(int Button) {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    if (Button == RightButton) {
        const auto chosen = ui::chooseColour(colour::fromRef(std::uint32_t(e.mmsGetClearColor())));
        if (!chosen) return;
        Picture8->setBackColor(*chosen);
        e.mmsSetClearColor(std::int32_t(colour::toRef(*chosen)));
        Timer6->start();
        return;
    }
    Picture3->clear();
    const std::int32_t clear = e.mmsGetClearColor();
    e.mmsFillDIB(s.dib.CanvasDib, clear);
    e.mmsFillDIB(s.dib.TxDib, clear);
    const sstveng::Rect whole{0, 0, sstv::CanvasWidth, sstv::CanvasHeight};
    Picture8->clear();
    e.mmsDrawDIBdc(Picture8, whole, s.dib.CanvasDib, whole, StretchMode);
    Picture8->update();
    sstv::ReleaseBitmap(s.dib.InsetDib);
    s.dib.InsetDib = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
    Command16_Click();
    sstv::ClearTitleLabels();
}

void SSTVForm::Picture3_MouseUp(int Button) {
    unsetCursor();
    if (Button != RightButton) return;
    TargetKind.clear();
    SSTab2->setCurrentIndex(1);
    popupPictureMenu();
}
