#include "terminal/displays/MultiChPos.h"

#include "core/IniValues.h"
#include "platform/Colour.h"
#include "terminal/displays/multi_ch.h"

#include <QGuiApplication>
#include <QScreen>

namespace terminal::displays {

void SaveMultiChPos() {
    const ::multi_ch& w = forms::multi_ch();
    const QScreen* s = QGuiApplication::primaryScreen();
    const QPoint origin = s ? s->geometry().topLeft() : QPoint();
    const QString pos = QStringLiteral("CFGPOS");
    auto put = [&pos](const char* key, int px) {
        core::PutIniText(pos, QString::fromLatin1(key), QString::number(twips::fromPx(px)));
    };
    put("MDPOSTop", w.pos().y() - origin.y());
    put("MDPOSLeft", w.pos().x() - origin.x());
    put("MDPOSWidth", w.frameGeometry().width());
    put("MDPOSHeight", w.frameGeometry().height());
    const QString cfg = QStringLiteral("PSKCFG");
    core::PutIniNumber(cfg, QStringLiteral("RX2Freq"), w.VScroll1->value());
    core::PutIniNumber(cfg, QStringLiteral("RX3Freq"), w.VScroll2->value());
}

} // namespace terminal::displays
