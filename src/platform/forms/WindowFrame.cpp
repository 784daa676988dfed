#include "platform/forms/WindowFrame.h"

#include <QStyle>
#include <QWidget>

namespace winframe {

QSize framePx(const QWidget* window) {
    const QStyle* s = window->style();
    const int border = s->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int title = s->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {2 * border, title + 2 * border};
}

int onScreenTw(int placeTw, int screenExtentTw) {
    return placeTw < 0 || placeTw >= screenExtentTw ? 0 : placeTw;
}

} // namespace winframe
