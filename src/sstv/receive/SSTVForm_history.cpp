// The history ring as the operator browses it, and the picture menu of the
// receive and history pictures: save, clipboard, QSL hand-off, enlarged view.
#include "core/Globals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/library/SstvQslHandOff.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

constexpr int RightButton = 2;
const sstveng::Rect kWhole{0, 0, 320, 256};

} // namespace

void SSTVForm::HScroll1_Change() {
    const int value = HScroll1->value();
    const int wrapped = sstv::WrapHistoryIndex(value);
    // Past either end the ring goes round; the value set runs this again.
    if (wrapped != value) return HScroll1->setValue(wrapped);
    sstv::g.HistoryIndex = value;
    Label15->setText(QString::number(value));
    Picture9->clear();
    showHistoryFile();
}

// The history picture on show into Picture9 and HistoryDib; a missing or
// unreadable file leaves the box empty and HistoryDib as it was.
bool SSTVForm::showHistoryFile() {
    sstveng::SstvEngine& e = sstveng::lib();
    std::int32_t loaded = e.LoadPicture(sstv::g.HistoryFolder + sstv::HistoryFileName(sstv::g.HistoryIndex));
    sstveng::Rect src;
    const bool shown = e.mmsGetDIBSize(&src, loaded) != 0;
    if (shown) {
        e.mmsDrawDIBdc(Picture9, kWhole, loaded, src, 4);
        if (sstv::g.dib.HistoryDib == 0) sstv::g.dib.HistoryDib = e.mmsCreateDIB(320, 256);
        e.mmsDrawDIBbmp(sstv::g.dib.HistoryDib, kWhole, loaded, src, 4);
    }
    sstv::ReleaseBitmap(loaded);
    return shown;
}

void SSTVForm::SSTab1_Click() {
    dropArmedPlacement();
    if (SSTab1->tabText(SSTab1->currentIndex()) != QStringLiteral("履歴")) return;
    if (HScroll1->value() == sstv::g.HistoryIndex)
        HScroll1_Change();
    else
        HScroll1->setValue(sstv::g.HistoryIndex);
}

void SSTVForm::Picture1_MouseUp(int Button) {
    if (Button != RightButton) return;
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    if (s.dib.PickedPictureDib == 0) s.dib.PickedPictureDib = e.mmsCreateDIB(320, 256);
    e.mmsDrawDIBbmp(s.dib.PickedPictureDib, kWhole, s.dib.RxDib, {0, 0, s.RxImageWidth, s.RxImageHeight}, 4);
    PopupSource = QStringLiteral("Picture1");
    PopupPic->popup(QCursor::pos());
}

void SSTVForm::Picture9_MouseUp(int Button) {
    if (Button != RightButton) return;
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    if (s.dib.PickedPictureDib == 0) s.dib.PickedPictureDib = e.mmsCreateDIB(320, 256);
    e.mmsDrawDIBbmp(s.dib.PickedPictureDib, kWhole, s.dib.HistoryDib, kWhole, 4);
    PopupSource = QStringLiteral("Picture9");
    PopupPic->popup(QCursor::pos());
}

void SSTVForm::goClip_Click() {
    // The inset is no longer part of the sent picture: the canvas stops showing it too.
    sstv::g.InsetShown = 0;
    Picture11->hide();
    Picture12->hide();
    clipboard::empty();
    sstveng::lib().mmsCopyDIB(sstv::g.dib.PickedPictureDib);
}

// A bitmap of its own holding the picked picture, so that a picture ending
// while a dialog is open cannot change what is saved; the caller releases it.
std::int32_t SSTVForm::workCopyOfPicked() {
    sstveng::SstvEngine& e = sstveng::lib();
    const std::int32_t work = e.mmsCreateDIB(320, 256);
    e.mmsDrawDIBbmp(work, kWhole, sstv::g.dib.PickedPictureDib, kWhole, 4);
    return work;
}

void SSTVForm::SaveRcvFile_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    const bool live = PopupSource == QLatin1String("Picture1");
    if (live) e.mmsStopScan(0);
    std::int32_t work = workCopyOfPicked();
    const QString proposed =
        sstv::g.RcvDatFolder + sstv::ReceivedPictureName(core::g.HisCall, sysclock::jstNow());
    const QString chosen = sstv::ChooseBmpToSave(QStringLiteral("受信画像保存"), proposed,
                                                 QStringLiteral("受信画像 (*.BMP *.bmp)"));
    if (!chosen.isEmpty()) {
        if (e.mmsSaveDIB(chosen, work) != 1)
            ui::msgBox(QStringLiteral("画像を保存できませんでした: ") + QDir::toNativeSeparators(chosen),
                       ui::OkOnly);
    }
    sstv::ReleaseBitmap(work);
    if (live) e.mmsStopScan(1);
}

void SSTVForm::QSLsashikomi_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    std::int32_t work = workCopyOfPicked();
    const QString picture = paths::join(paths::programFolder(), QStringLiteral("TmpBMP.BMP"));
    const bool written = e.mmsSaveDIB(picture, work) == 1;
    sstv::ReleaseBitmap(work);
    // The hand-off names the picture only once the picture is there.
    if (written) sstv::HandOffToQsl(picture);
}

void SSTVForm::Picture9_DblClick() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    if (s.dib.PickedPictureDib == 0) s.dib.PickedPictureDib = e.mmsCreateDIB(320, 256);
    if (e.mmsDrawDIBbmp(s.dib.PickedPictureDib, kWhole, s.dib.HistoryDib, kWhole, 4) == 0) return;
    ShowEnlarged(s.dib.PickedPictureDib, kWhole);
}

void SSTVForm::bigview_Click() {
    // The item has already changed its check mark: checked now means it was not.
    if (bigview->isChecked()) {
        forms::Bigviewer().show();
        sstv::g.BigViewOn = 1;
    } else {
        forms::unload<Bigviewer>();
        sstv::g.BigViewOn = 0;
    }
}
