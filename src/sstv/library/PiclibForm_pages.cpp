// The picture library's listing and drawing: each tab's folder listed, a page
// of thumbnails made anew from the files, paging both ways and the choice of
// the transmit folder.
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/library/PicLibrary.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvTxFolder.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include <algorithm>

namespace {

constexpr int StretchMode = 4;

// The busy pointer while a piece of work runs.
class BusyPointer {
  public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

int& pageValue(int slot) {
    return sstv::g.PiclibPageState[std::size_t(slot)];
}

} // namespace

void PiclibForm::ListPictureFiles(const QString& Folder) {
    forms::letEventsRun();
    List1.clear();
    FileCount = 0;
    const QDir dir(Folder);
    if (Folder.isEmpty() || !dir.exists() || !dir.isReadable()) {
        ui::msgBox(QDir::toNativeSeparators(Folder) + QStringLiteral("が見つかりません"), ui::OkOnly);
        FolderError = 1;
        return;
    }
    List1 = sstv::LibraryPictureNames(dir.entryList(QDir::Files | QDir::Hidden, QDir::NoSort));
    FileCount = int(List1.size());
}

// A folder that cannot be listed leaves no box holding a file of another
// folder, so that no action works on a file the tab does not show.
bool PiclibForm::listTab(int tab) {
    ListPictureFiles(folderOf(tab));
    if (FolderError == 0) return true;
    FolderError = 0;
    for (std::size_t i = 0; i < BoxPath.size(); ++i) {
        BoxPath[i].clear();
        boxesOf(tab)[i]->ensureCanvas();
        boxesOf(tab)[i]->clear();
    }
    return false;
}

void PiclibForm::showTabPage(int tab) {
    forgetBoxes();
    if (!listTab(tab)) return;
    const sstv::TabPageSlots tabSlots = sstv::LibraryTabSlots(tab);
    int& start = pageValue(tabSlots.start);
    // A folder shorter than the page kept for the tab starts at its first file.
    if (start < 0 || start >= FileCount) start = 0;
    pageValue(tabSlots.end) = sstv::LibraryPageEnd(start, FileCount);
    labelOf(tab)->setText(sstv::LibraryPageLabel(start, pageValue(tabSlots.end), FileCount));
    forms::letEventsRun();
    if (unloaded_) return;
    drawPage(tab, start);
}

void PiclibForm::SSTab1_Click() {
    BusyPointer busy;
    // The boxes' files are those of the tab left: none may be acted on from now.
    forgetBoxes();
    forms::letEventsRun();
    if (unloaded_) return;
    const int tab = SSTab1->currentIndex();
    if (tab < 0 || tab > 2) return;
    GetFol->setEnabled(tab == 0);
    showTabPage(tab);
    if (unloaded_) return;
    // A later tab change may have come while this one drew: the tab shown decides.
    LibSave->setEnabled(SSTab1->currentIndex() == 2);
}

void PiclibForm::forgetBoxes() {
    for (QString& path : BoxPath)
        path.clear();
}

void PiclibForm::DrawTxPage(int& Start) {
    drawPage(0, Start);
}

void PiclibForm::DrawRxPage(int& Start) {
    drawPage(1, Start);
}

void PiclibForm::DrawHistoryPage(int& Start) {
    drawPage(2, Start);
}

// A file that is not a readable picture leaves its box blank but keeps its
// path, and the page goes on.
void PiclibForm::drawPage(int tab, int& Start) {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    const int drawing = ++drawings_;
    const QString folder = folderOf(tab);
    const QStringList names = List1;
    // Every box gets its new path as it is drawn; until then it names no file.
    forgetBoxes();
    for (int i = 0; i < sstv::LibraryBoxes; ++i) {
        PictureBox* box = boxesOf(tab)[std::size_t(i)];
        box->ensureCanvas();
        box->clear();
        const int index = Start + i;
        QString& path = BoxPath[std::size_t(i)];
        if (index < 0 || index >= names.size()) {
            path.clear();
            continue;
        }
        {
            BusyPointer busy;
            path = paths::join(folder, names[index]);
            std::int32_t picture = e.LoadPicture(path);
            if (e.mmsGetDIBSize(&s.SstvSrcRect, picture) != 0) {
                s.SstvDstRect = {0, 0, sstv::ThumbWidth, sstv::ThumbHeight};
                e.mmsDrawDIBdc(box, s.SstvDstRect, picture, s.SstvSrcRect, StretchMode);
            }
            sstv::ReleaseBitmap(picture);
            box->update();
        }
        forms::letEventsRun();
        // A newer drawing has taken the boxes over, or the window has gone.
        if (unloaded_ || drawing != drawings_) return;
    }
    pageValue(sstv::LibraryTabSlots(tab).last) = Start + sstv::LibraryBoxes - 1;
}

void PiclibForm::turnPage(bool forward) {
    const int tab = SSTab1->currentIndex();
    if (tab < 0 || tab > 2) return;
    forgetBoxes();
    const sstv::TabPageSlots tabSlots = sstv::LibraryTabSlots(tab);
    int& start = pageValue(tabSlots.start);
    const sstv::LibraryPage page =
        forward ? sstv::NextLibraryPage(pageValue(tabSlots.last), FileCount)
                : sstv::PreviousLibraryPage(start, pageValue(tabSlots.last), FileCount);
    start = page.start;
    pageValue(tabSlots.end) = page.end;
    labelOf(tab)->setText(sstv::LibraryPageLabel(page.start, page.end, FileCount));
    forms::letEventsRun();
    if (unloaded_) return;
    drawPage(tab, start);
}

void PiclibForm::Command3_Click() {
    turnPage(false);
}

void PiclibForm::Command4_Click() {
    turnPage(true);
}

void PiclibForm::GetFol_Click() {
    const QString current = sstv::ReadTxBmpFolder();
    const QString chosen = core::IniHeldChoice(
        [&] {
            return ui::openFileName(QStringLiteral("画像ﾌｧｲﾙ選択"), current,
                                    QStringLiteral("画像ﾌｧｲﾙ (*.BMP *.JPG *.JPEG *.bmp *.jpg *.jpeg)"));
        },
        core::StoredPart::Folder);
    const QString file = paths::fromStored(chosen);
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return;
    // A picture at the root has the root as its folder.
    const QString folder = file.left(std::max<qsizetype>(slash, 1));
    if (sstv::SameFolder(folder, current)) return;
    sstv::StoreTxBmpFolder(folder);
    GetFol->setEnabled(true);
    showTabPage(0);
    LibSave->setEnabled(false);
}
