#pragma once
// Stored window sizes are outer sizes, frame and title bar included, while Qt
// sizes a window by its inside. The frame is taken from the style, the same
// whether the window is shown or not and whatever the window manager does, so
// that a size stored and read back is the size that was stored.
#include <QSize>

class QWidget;

namespace winframe {

// What the frame and the title bar add to the inside: width and height in pixels.
QSize framePx(const QWidget* window);
// A stored place (twips from the screen's top or left) that lies off the
// screen, beyond its extent or before its start, becomes 0.
int onScreenTw(int placeTw, int screenExtentTw);

} // namespace winframe
