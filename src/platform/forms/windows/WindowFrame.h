#pragma once
// Stored window sizes are outer sizes, frame and title bar included, while Qt
// sizes a window by its inside. The frame is taken from the style, the same
// whether the window is shown or not and whatever the window manager does, so
// that a size stored and read back is the size that was stored.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace winframe {

// What the frame and the title bar add to the inside: width and height in pixels.
QSize framePx(const QWidget* window);
// A stored place (twips from the screen's top or left) that lies off the
// screen, beyond its extent or before its start, becomes 0.
int onScreenTw(int placeTw, int screenExtentTw);

// The screen windows open on, in pixels.
QRect screenPx();

// A window kept whole on the screen, frame and title bar included (pixels):
// the rectangle's corner is the frame's place and its size the inside's, as
// placeFrame and QWidget::resize take them; the frame adds what its margins
// say (nothing where there is none). It comes out no larger than the screen
// can hold with its frame, moved in just far enough to be whole on it.
QRect wholeOnScreen(const QRect& window, const QRect& screen, const QMargins& frame = {});

// Puts the window's frame at a stored place, in twips from the screen's
// top-left corner (with onScreenTw on each axis), then moves it in just far
// enough to be whole on the screen's free area, made smaller where it must be
// and its minimum lets it: every window opens by this one rule. One that fits
// opens whole; one that cannot opens at the free area's top or left edge, its
// title bar, menus and close box on the screen. The size it has when it is
// shown counts, and the window manager's frame around it once that is known.
void placeOnScreen(QWidget* window, int leftTw, int topTw);

// A shown window that has grown (a part of it shown, its layout asking for
// more room) takes the same rule: its layout grows it now, and it is moved in
// just far enough to be whole on the screen's free area, made smaller where it
// must be and its minimum lets it.
void keepOnScreen(QWidget* window);

// Where the window's frame (its title bar included) stands, in pixels on the
// desktop: the place a window stores, so that putting it back with
// placeFrame gives the same place, run after run.
QPoint framePlace(const QWidget* window);
// Puts the window's frame at the place. A window manager frames a window only
// once it is shown, and a place given before that is taken for the inside of
// the window, which would leave the title bar above the place (and above the
// screen at the top): the frame is put at the place again as soon as it is
// known.
void placeFrame(QWidget* window, QPoint place);

} // namespace winframe
