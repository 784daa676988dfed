#include "terminal/displays/MultiChPos.h"

#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace terminal::displays {
namespace {

constexpr std::uint32_t kSelectedChannel = 0x02DB17;
constexpr std::uint32_t kOtherChannel = 0xC0FFC0;

} // namespace

void SaveMultiChPos() {
    const ::multi_ch& w = forms::multi_ch();
    // One read and one write of the settings file for all the keys.
    const core::IniBatch batch;
    const QScreen* s = QGuiApplication::primaryScreen();
    const QPoint origin = s ? s->geometry().topLeft() : QPoint();
    auto put = [](const char* section, const core::IniKey& key, int value) {
        core::PutIniText(QString::fromLatin1(section), key, QString::number(value));
    };
    put("CFGPOS", "MDPOSTop", twips::fromPx(w.pos().y() - origin.y()));
    put("CFGPOS", "MDPOSLeft", twips::fromPx(w.pos().x() - origin.x()));
    put("CFGPOS", "MDPOSWidth", w.widthTw());
    put("CFGPOS", "MDPOSHeight", w.heightTw());
    const QString cfg = QStringLiteral("PSKCFG");
    core::PutIniNumber(cfg, "RX2Freq", w.VScroll1->value());
    core::PutIniNumber(cfg, "RX3Freq", w.VScroll2->value());
    for (const auto& [key, value] : layoutKeys(w.places()))
        put("multi_pos", core::IniKey::built(key), value);
}

void ArrangeMultiCh() {
    ::multi_ch& w = forms::multi_ch();
    const bool horizontal = w.MultiHorizontal == 1;
    const auto [width, height] = arrangedSize(horizontal);
    const int W = width ? width : w.widthTw();
    const int H = height ? height : w.heightTw();
    // The window's new size is the baseline before the places are set, so the
    // resize it raises moves nothing and the listed places stand.
    w.layout.W0 = W;
    w.layout.H0 = H;
    w.setSizeTw(W, H);
    const MultiPlaces p = arranged(w.places(), W, H, horizontal);
    w.applyPlaces(p);
    w.layout.places = p;
    // A new arrangement asked for by the operator is kept at once: the window
    // may be unloaded before its next close saves it.
    if (!w.isLoading()) SaveMultiChPos();
}

bool AnyEngineTransmits() {
    const core::Globals& g = core::g;
    return g.Transmitting == 1 || g.MmvariTxOn == 1 || g.MmttyTxOn == 1;
}

void CloseMultiChannel(bool fromPanel) {
    core::Globals& g = core::g;
    PSK31MAIN& main = forms::PSK31MAIN();
    if (fromPanel && g.OpMode == core::ModeMmvari) {
        main.MMVARI->set(mmvari::PRxOn, 1, false);
        main.MMVARI->set(mmvari::PRxOn, 2, false);
    } else {
        for (LineShape* l : {main.Line11, main.Line12, main.Line13, main.Line14})
            l->setVisible(false);
        main.Label8->setText(QStringLiteral(" Ch1"));
        main.Label43->hide();
        main.Label44->hide();
        if (fromPanel) engines::SetSpectrumRange(g.RxFreqHz);
    }
    main.Text5->setFocus();
    colour::setBackColor(main.Command15, kSelectedChannel);
    colour::setBackColor(main.Command16, kOtherChannel);
    colour::setBackColor(main.Command17, kOtherChannel);
    for (QPushButton* b : {main.Command15, main.Command16, main.Command17})
        b->setEnabled(false);
    SaveMultiChPos();
    g.ImdChannel = 0;
    g.ChannelDisplay = 1;
    if (!fromPanel) engines::SetSpectrumRange(g.RxFreqHz);
    forms::unload<::multi_ch>();
}

} // namespace terminal::displays
