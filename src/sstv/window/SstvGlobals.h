#pragma once
// Shared state of SSTV, alive while the SSTV window is loaded (HistoryIndex
// survives runs through the configuration). One instance, sstv::g.
#include "platform/sstvengine/SstvDrawing.h"

#include <QString>
#include <array>
#include <cstdint>

namespace sstv {

// The engine's bitmaps, by handle (0 none). Each is released once, then 0.
struct Bitmaps {
    std::int32_t RxDib = 0;                 // 800 x 616, the engine's receive buffer
    std::int32_t RxPreviewDib = 0;          // 320 x 256, the engine's second buffer (Picture2)
    std::int32_t TxDib = 0;                 // 800 x 616, the engine's transmit buffer
    std::int32_t CanvasDib = 0;             // 320 x 256, the workshop canvas
    std::int32_t LastRxPictureDib = 0;      // the last finished received picture
    std::int32_t PickedPictureDib = 0;      // the picture last right-clicked
    std::int32_t HistoryDib = 0;            // the history picture on show
    std::int32_t InsetDib = 0;              // the inset of the transmit picture
    std::int32_t TxRenderDib = 0;           // the last transmit rendering
    std::array<std::int32_t, 3> TuneDibs{}; // spectrum, waterfall, level
};

struct Globals {
    // 1 while the SSTV engine transmits (from its PTT notice).
    int SstvTxActive = 0;

    Bitmaps dib;
    sstveng::Rect SstvSrcRect{0, 0, 320, 256};
    sstveng::Rect SstvDstRect{0, 0, 320, 256};

    int RxMode = 6;
    QString RxModeName;
    QString RxSizeBits;
    int RxImageWidth = 320;
    int RxImageHeight = 256;
    int TxMode = 6;
    int TxImageWidth = 320;
    int TxImageHeight = 256;

    // Picture folders, each ending in a separator; the newest history number 1..320.
    QString TxBmpFolder;
    // The transmit folder chosen while the window is up that the settings
    // could not keep: it stands for the stored one until the window goes.
    QString TxBmpFolderUnkept;
    QString RcvDatFolder;
    QString HistoryFolder;
    int HistoryIndex = 1;

    QString SstvAutoPaste = QStringLiteral("0");
    QString SstvTitleBarOn = QStringLiteral("0");
    QString SstvTitleBarText;
    QString SstvFskId;

    int BigViewOn = 0;
    int BigViewWidth = 640;
    int BigViewHeight = 512;

    int GradRed = 155, GradGreen = 255, GradBlue = 255, GradChannel = 2;
    std::uint32_t InsetBorderColor = 0xFFFFFF;
    int InsetBorderOn = 0;
    int InsetShown = 0;
    std::uint32_t OutlineRgb = 0xFFFFFF;
    int OutlineOn = 0;

    int PiclibOpen = 0;
    std::array<int, 9> PiclibPageState{7, 7, 7, 0, 7, 0, 7, 0, 7};
    int SelectedTitle = 0;
    // Title editing on the canvas: 1 while the editor works on the title bar
    // (the canvas and the title lines ignore the mouse), while the next canvas
    // click places a new title line, and from its placing until text is typed.
    int TitleBarEditing = 0;
    int TitlePlaceArmed = 0;
    int TitleEditOpen = 0;
    // The outline option chosen last; a new title line takes it.
    int OutlineChoice = 0;
    int SstvTitleCount = 0;
    int Squeeze240 = 0;
    int SpecBaseHz = 500;
    int SpecSpanHz = 2500;
};

extern Globals g;

} // namespace sstv
