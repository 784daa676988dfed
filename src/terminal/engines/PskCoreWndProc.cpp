#include "terminal/engines/PskCoreWndProc.h"

#include "core/Globals.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QLabel>

namespace terminal::engines {

void PskCoreWndProc(std::int32_t Msg, std::int32_t wParam, std::int32_t lParam) {
    if (core::g.EngineMsgHold == 1) return;
    switch (Msg) {
    case pskcore::PskMsgDisplay:
        PskDisplayTick();
        break;
    case pskcore::PskMsgRxChar:
        PskReceivedByte(wParam, lParam);
        break;
    case pskcore::PskMsgStatus:
        PskStatus(wParam);
        break;
    case pskcore::PskMsgImd:
        PskImd(wParam, lParam);
        break;
    case pskcore::PskMsgClockError:
        PskClockError(wParam, lParam);
        break;
    default:
        break;
    }
}

void PskImd(int value, int channel) {
    QLabel* label = forms::PSK31MAIN().Label15;
    if (channel == core::g.ImdChannel || channel == core::g.ImdChannel + pskcore::SatelliteFlag)
        label->setText(QString::number(value) + QStringLiteral("db"));
    else
        label->setText(QStringLiteral("No Data"));
}

void PskClockError(int ppm, int channel) {
    if (channel != core::g.ImdChannel) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    const QString text = QString::number(ppm) + QStringLiteral("ppm");
    w.Label12->setText(text);
    if (core::g.PpmShowBoth == QLatin1String("YES")) w.Label38->setText(text);
}

} // namespace terminal::engines
