// The SSTV engine's notices: the job (redraw), the transmit state (PTT by
// CAT), a picture starting and ending (the history ring), the FSK ID (the
// picture saved under the call).
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniValues.h"
#include "logwindows/entry/QsoDoor.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/sstvengine/SstvEngine.h"
#include "rig/RigCommands.h"
#include "sstv/receive/Bigviewer.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "sstv/window/SstvRoutines.h"
#include "terminal/engines/EngineStop.h"

#include <QDir>

namespace {

constexpr int ShortPictureLines = 240;
constexpr int MessageMsecs = 3000;

bool pttByCat() {
    return core::g.PttPortControl.trimmed() == QLatin1String("0");
}

// Pictures of 240 lines are shown 320 x 240, all others 320 x 256.
int shownHeight() {
    return sstv::g.RxImageHeight == ShortPictureLines ? ShortPictureLines : 256;
}

sstveng::Rect rxSource() {
    return {0, 0, sstv::g.RxImageWidth, sstv::g.RxImageHeight};
}

} // namespace

void SSTVForm::SstvEngineWndProc(std::int32_t msg, std::int32_t wParam, std::int32_t lParam) {
    if (msg != sstveng::SstvMsgEngine) return;
    try {
        switch (wParam) {
        case sstveng::NtfJob:
            return onJob();
        case sstveng::NtfTxState:
            return onTxState(lParam);
        case sstveng::NtfRxPicture:
            return lParam == 1 ? onPictureStart() : onPictureEnd();
        case sstveng::NtfFskId:
            return onFskId();
        default:
            return;
        }
    } catch (const std::exception& e) {
        qWarning("SSTV notice %d: %s", int(wParam), e.what());
    }
}

void SSTVForm::drawRx(PictureBox* box, int width, int height) {
    sstveng::lib().mmsDrawDIBdc(box, {0, 0, width, height}, sstv::g.dib.RxDib, rxSource(), 4);
}

void SSTVForm::onJob() {
    sstveng::SstvEngine& e = sstveng::lib();
    const sstv::Bitmaps& d = sstv::g.dib;
    e.mmsDoJob(1);
    drawRx(Picture1, 320, shownHeight());
    if (sstv::g.BigViewOn == 1)
        drawRx(forms::Bigviewer().Picture1, sstv::g.BigViewWidth, sstv::g.BigViewHeight);
    const sstveng::Rect whole{0, 0, 320, 256};
    e.mmsDrawDIBdc(Picture2, whole, d.RxPreviewDib, whole, 4);
    // The level bitmap is shown whole.
    const sstveng::Rect level{0, 0, 600, 100};
    e.mmsDrawDIBdc(Picture6, level, d.TuneDibs[2], level, 4);
    const sstveng::Rect tune{0, 0, 330, 108};
    e.mmsDrawDIBdc(Picture4, tune, d.TuneDibs[0], tune, 4);
    e.mmsDrawDIBdc(Picture5, tune, d.TuneDibs[1], tune, 4);
    e.mmsSetBitmap(d.RxDib, d.RxPreviewDib, d.TxDib);
    const int pos = e.mmsGetPos(core::g.MacroTxOn);
    Line1->setPoints(Line1->x1(), pos, Line1->x2(), pos);
}

void SSTVForm::onTxState(std::int32_t lParam) {
    if (lParam == 1) {
        // Not keyed (a stop under way, the rig's line lost): nothing is sent.
        if (pttByCat() && !terminal::engines::KeyRigForStart()) return sstveng::lib().mmsSendStop();
        sstv::g.SstvTxActive = 1;
        Line1->setPoints(50, Line1->y1(), 100, Line1->y2());
        colour::setBackColor(Command9, colour::kButtonFace);
        return;
    }
    rig::RigPttOff();
    sstv::g.SstvTxActive = 0;
    Line1->setPoints(0, Line1->y1(), 50, Line1->y2());
    Picture10->setScale(Picture10->scaleWidth(), 256);
}

void SSTVForm::onPictureStart() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    s.RxMode = e.mmsGetMode(0);
    s.RxModeName = sstv::SstvEngineString(e.mmsGetModeName(s.RxMode));
    const std::int32_t word = e.mmsGetImageSize(s.RxMode);
    s.RxSizeBits = sstv::IntToBitString(word, 32);
    const sstv::PictureSize size = sstv::SizeFromWord(word);
    s.RxImageWidth = size.width;
    s.RxImageHeight = size.height;
    e.mmsFillDIB(s.dib.RxDib, e.mmsGetClearColor());
    Picture1->clear();
    Picture10->setScale(Picture10->scaleWidth(), 256);
    SSTab1->setTabText(0, QStringLiteral("受信 %1x%2").arg(size.width).arg(size.height));
    Combo1->blockSignals(true);
    Combo1->setCurrentIndex(s.RxMode);
    Combo1->blockSignals(false);
    Combo1_Click();
}

void SSTVForm::showTimedFailure(const QString& path) {
    core::g.StatusMessage = QStringLiteral("画像を保存できませんでした: ") + QDir::toNativeSeparators(path);
    core::ShowTimedMessage(core::g.StatusMessage, MessageMsecs);
}

void SSTVForm::onPictureEnd() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    const sstveng::Rect dst{0, 0, 320, shownHeight()};
    const int next = sstv::NextHistoryIndex(s.HistoryIndex);
    drawRx(Picture9, 320, shownHeight());
    sstv::ReleaseBitmap(s.dib.LastRxPictureDib);
    s.dib.LastRxPictureDib = e.mmsCreateDIB(320, 256);
    e.mmsDrawDIBbmp(s.dib.LastRxPictureDib, dst, s.dib.RxDib, rxSource(), 4);
    const QString path = s.HistoryFolder + sstv::HistoryFileName(next);
    const bool saved = e.mmsSaveDIB(path, s.dib.LastRxPictureDib) == 1;
    if (!saved) showTimedFailure(path);
    if (s.SstvAutoPaste == QLatin1String("1")) {
        sstv::ReleaseBitmap(s.dib.InsetDib);
        s.dib.InsetDib = e.mmsCreateDIB(320, 256);
        e.mmsDrawDIBbmp(s.dib.InsetDib, dst, s.dib.RxDib, rxSource(), 4);
        SstvDrawDib(s.dib.InsetDib);
    }
    // A picture that was not saved takes no number: the history keeps no gap.
    if (!saved) return;
    s.HistoryIndex = next;
    if (HScroll1->value() == s.HistoryIndex)
        HScroll1_Change();
    else
        HScroll1->setValue(s.HistoryIndex);
    core::PutIniText(QStringLiteral("BMP_POS"), "HistoryNum", QString::number(s.HistoryIndex));
}

void SSTVForm::onFskId() {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    const QString call = sstv::CleanFskId(sstv::SstvEngineString(e.mmsGetFSKID()));
    // The picture is saved under the call before the call box changes, from a
    // bitmap of its own at the picture's size.
    std::int32_t work = e.mmsCreateDIB(s.RxImageWidth, s.RxImageHeight);
    e.mmsDrawDIBbmp(work, rxSource(), s.dib.RxDib, rxSource(), 4);
    const QString path =
        s.RcvDatFolder + sstv::ReceivedPictureName(call, sysclock::jstNow()) + QStringLiteral(".bmp");
    if (e.mmsSaveDIB(path, work) != 1) showTimedFailure(path);
    sstv::ReleaseBitmap(work);
    // Arriving by itself, the call never replaces a QSO the boxes hold: it is
    // said on the message line instead.
    logwindows::QsoBoxesDoor(logwindows::DropCause::FskId, call);
}

void SSTVForm::SstvDrawDib(std::int32_t Dib) {
    sstveng::SstvEngine& e = sstveng::lib();
    sstv::Globals& s = sstv::g;
    Picture11->show();
    Picture11->ensureCanvas();
    Picture11->clear();
    if (e.mmsGetDIBSize(&s.SstvSrcRect, Dib) == 0) return;
    const sstveng::Rect dst{0, 0, int(Picture11->scaleWidth()), int(Picture11->scaleHeight())};
    e.mmsDrawDIBdc(Picture11, dst, Dib, s.SstvSrcRect, 4);
    if (s.InsetBorderOn == 1) {
        Picture12->setBackColor(colour::fromRef(s.InsetBorderColor));
        Picture12->show();
    } else {
        Picture12->hide();
    }
    Picture11->update();
    Command16->setEnabled(true);
    SSTab2->setCurrentIndex(1);
    s.InsetShown = 1;
}

void SSTVForm::Command16_Click() {
    sstv::g.InsetShown = 0;
    Picture11->clear();
    Picture12->clear();
    Picture11->hide();
    Picture12->hide();
    Picture11->setGeometry(insetHome_);
    Picture12->setGeometry(borderHome_);
}
