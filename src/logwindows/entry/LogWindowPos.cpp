#include "core/ini/IniValues.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/windows/WindowFrame.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"

namespace logwindows {

namespace {

constexpr int kTwipsPerPixel = 15;

template <class W> void restoreFromIcon() {
    if (!forms::isLoaded<W>()) return;
    QWidget& w = forms::get<W>();
    if (w.isMinimized()) w.showNormal();
}

} // namespace

void SaveLogWindowPos() {
    if (!forms::isLoaded<TEMP_LOG>()) return;
    const TEMP_LOG& w = forms::TEMP_LOG();
    if (w.isMinimized() || w.isMaximized()) return;
    const QString section = QStringLiteral("CFGPOS");
    const QPoint frame = winframe::framePlace(&w);
    core::PutIniText(section, "LOGPOSTop", QString::number(frame.y() * kTwipsPerPixel));
    core::PutIniText(section, "LOGPOSLeft", QString::number(frame.x() * kTwipsPerPixel));
}

void BringWindowToFront() {
    restoreFromIcon<PSK31MAIN>();
    restoreFromIcon<multi_ch>();
}

} // namespace logwindows
