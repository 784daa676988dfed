// The SSTV window's side of the picture library: opening it, telling it of a
// new transmit folder, and taking its pictures into the workshop and the
// enlarged viewer.
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "sstv/workshop/SstvCompose.h"

#include <QAction>

namespace {

constexpr int StretchMode = 4;

} // namespace

void SSTVForm::PicLibShow_Click() {
    forms::PiclibForm().show();
    sstv::g.PiclibOpen = 1;
}

// Choosing another tab and coming back lists and draws the transmit tab anew.
void SSTVForm::RefreshLibraryTxTab() {
    if (sstv::g.PiclibOpen != 1 || !forms::isLoaded<PiclibForm>()) return;
    QTabWidget* tabs = forms::PiclibForm().SSTab1;
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
}

void SSTVForm::LibraryToWorkshop(std::int32_t picture) {
    drawIntoCanvas(picture, sstv::CanvasWidth, sstv::CanvasHeight);
    redrawInsetIfShown();
    Picture8->update();
    SSTab2->setCurrentIndex(1);
}

void SSTVForm::LibraryToInset(std::int32_t picture) {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    Picture11->show();
    Picture11->ensureCanvas();
    Picture11->clear();
    if (e.mmsGetDIBSize(&s.SstvSrcRect, picture) == 0) return;
    sstv::ReleaseBitmap(s.dib.InsetDib);
    s.dib.InsetDib = e.mmsCreateDIB(sstv::CanvasWidth, sstv::CanvasHeight);
    s.SstvDstRect = {0, 0, sstv::CanvasWidth, sstv::CanvasHeight};
    e.mmsDrawDIBbmp(s.dib.InsetDib, s.SstvDstRect, picture, s.SstvSrcRect, StretchMode);
    SstvDrawDib(s.dib.InsetDib);
}

void SSTVForm::ShowEnlarged(std::int32_t picture, const sstveng::Rect& source) {
    sstv::Globals& s = sstv::g;
    s.BigViewOn = 0;
    bigview->setChecked(false);
    Bigviewer& viewer = forms::Bigviewer();
    viewer.Picture1->clear();
    viewer.show();
    sstveng::lib().mmsDrawDIBdc(viewer.Picture1, {0, 0, s.BigViewWidth, s.BigViewHeight}, picture, source,
                                StretchMode);
}
