// What the operator does with one thumbnail: its menu (into the workshop, as
// the inset, to the QSL program, saved under a new name, deleted) and the
// enlarged view on a double click.
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/library/PicLibrary.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/library/SstvQslHandOff.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvCompose.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

constexpr int RightButton = 2;
constexpr int StretchMode = 4;

// The SSTV window the pictures go to; the library is open only beside it.
SSTVForm* sstvWindow() {
    return forms::isLoaded<SSTVForm>() ? &forms::SSTVForm() : nullptr;
}

} // namespace

void PiclibForm::Picture_MouseUp(int Index, int Button) {
    if (Button != RightButton) return;
    SelectedBox = Index;
    // The menu stays open while the page goes on drawing: its actions keep to
    // the file it names now, whatever the box shows by the time one is chosen.
    MenuPath = BoxPath[std::size_t(Index)];
    fnDisp->setText(sstv::LibraryFileName(MenuPath));
    PopUpLib->popup(QCursor::pos());
}

std::int32_t PiclibForm::loadPicture(const QString& path) {
    if (path.isEmpty()) return 0;
    sstveng::SstvEngine& e = sstveng::lib();
    std::int32_t picture = e.LoadPicture(path);
    if (e.mmsGetDIBSize(&sstv::g.SstvSrcRect, picture) == 0) {
        sstv::ReleaseBitmap(picture);
        sstv::ShowUnreadablePicture(path);
        return 0;
    }
    return picture;
}

void PiclibForm::Picture_DblClick(int Index) {
    SSTVForm* window = sstvWindow();
    if (!window) return;
    std::int32_t picture = loadPicture(BoxPath[std::size_t(Index)]);
    if (picture == 0) return;
    window->ShowEnlarged(picture, sstv::g.SstvSrcRect);
    sstv::ReleaseBitmap(picture);
}

void PiclibForm::setB4pic_Click() {
    SSTVForm* window = sstvWindow();
    if (!window) return;
    std::int32_t picture = loadPicture(MenuPath);
    if (picture == 0) return;
    window->LibraryToWorkshop(picture);
    sstv::ReleaseBitmap(picture);
}

void PiclibForm::setB4picSm_Click() {
    SSTVForm* window = sstvWindow();
    if (!window) return;
    std::int32_t picture = loadPicture(MenuPath);
    if (picture == 0) return;
    window->LibraryToInset(picture);
    sstv::ReleaseBitmap(picture);
}

// The QSL program is told only of a picture that is there.
void PiclibForm::QSLset_Click() {
    if (MenuPath.isEmpty()) return;
    if (!QFileInfo(MenuPath).isFile()) return sstv::ShowUnreadablePicture(MenuPath);
    sstv::HandOffToQsl(MenuPath);
}

void PiclibForm::LibSave_Click() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    std::int32_t picture = loadPicture(MenuPath);
    if (picture == 0) return;
    std::int32_t work = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
    s.SstvDstRect = {0, 0, sstv::CanvasWidth, sstv::CanvasHeight};
    e.mmsDrawDIBbmp(work, s.SstvDstRect, picture, s.SstvSrcRect, StretchMode);
    sstv::ReleaseBitmap(picture);
    const QString chosen = sstv::ChooseBmpToSave(QStringLiteral("受信画像保存"), s.RcvDatFolder,
                                                 QStringLiteral("受信画像 (*.BMP *.bmp)"));
    if (!chosen.isEmpty() && e.mmsSaveDIB(chosen, work) != 1)
        ui::msgBox(QStringLiteral("画像を保存できませんでした: ") + QDir::toNativeSeparators(chosen),
                   ui::OkOnly);
    sstv::ReleaseBitmap(work);
}

void PiclibForm::LibDelete_Click() {
    deleteSelected(true);
}

void PiclibForm::LibDeleteNoKakunin_Click() {
    deleteSelected(false);
}

// The page is drawn again from its own start, so the later files move up;
// its label stays as it was.
void PiclibForm::deleteSelected(bool ask) {
    const QString path = MenuPath;
    if (path.isEmpty()) return;
    if (ask && ui::msgBox(QDir::toNativeSeparators(path) + QStringLiteral("\r\nを削除します、宜しいですか？"),
                          ui::YesNo | ui::Question, QStringLiteral("ZOR-SSTV")) != ui::Yes)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QFile::remove(path);
    MenuPath.clear();
    for (QString& shown : BoxPath)
        if (shown == path) shown.clear();
    const int tab = SSTab1->currentIndex();
    if (tab >= 0 && tab <= 2 && listTab(tab))
        drawPage(tab, sstv::g.PiclibPageState[std::size_t(sstv::LibraryTabSlots(tab).start)]);
    QGuiApplication::restoreOverrideCursor();
}
