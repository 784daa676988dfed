#include "platform/forms/windows/WindowFrame.h"

#include "platform/forms/colour/Colour.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

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

namespace {

// How long a window just shown may take to be framed, and how often it is looked at.
constexpr int kFramingMsecs = 3000;
constexpr int kPollMsecs = 20;
const char kPlacerName[] = "zv-frame-placer";

// What the window manager's frame adds around the inside; nothing before the
// window is framed (or without a window manager).
QMargins frameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QPoint offsetOf(const QMargins& frame) {
    return {frame.left(), frame.top()};
}

QPoint frameOffset(const QWidget* window) {
    return offsetOf(frameMargins(window));
}

// Where the frame of a window kept whole within the area stands, given the
// frame it has; the window is made smaller where it must be.
QPoint keptWhole(QWidget* window, QPoint place, const QRect& area, const QMargins& frame) {
    // A window not shown yet and not sized by its code has no size of its own:
    // its layout's wish stands for it.
    const bool sized = window->isVisible() || window->testAttribute(Qt::WA_Resized);
    const QSize size = sized ? window->size() : window->size().expandedTo(window->sizeHint());
    const QRect kept = wholeOnScreen(QRect(place, size), area, frame);
    if (kept.size() != size) window->resize(kept.size());
    return kept.topLeft();
}

// Watches a window from its show until its frame is known, then puts the
// frame at the place; a window kept whole is kept so with that frame around it.
class FramePlacer : public QObject {
  public:
    FramePlacer(QWidget* window, QPoint place, std::optional<QRect> wholeIn)
        : QObject(window), window_(window), place_(place), wholeIn_(wholeIn) {
        setObjectName(QString::fromLatin1(kPlacerName));
        connect(&poll_, &QTimer::timeout, this, &FramePlacer::settle);
        window->installEventFilter(this);
        if (window->isVisible()) watch();
    }

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != window_ || e->type() != QEvent::Show || poll_.isActive()) return false;
        // A window sized after it was placed is kept whole at the size it is shown with.
        if (wholeIn_) window_->move(keptWhole(window_, place_, *wholeIn_, frameMargins(window_)));
        // The window manager gives the frame in its own time, with no event
        // to the window: from the show on, it is looked for a while.
        watch();
        return false;
    }

  private:
    void watch() {
        poll_.start(kPollMsecs);
        QTimer::singleShot(kFramingMsecs, this, [this] { deleteLater(); });
    }
    void settle() {
        if (!window_ || !window_->isVisible()) return;
        const QMargins frame = frameMargins(window_);
        if (offsetOf(frame).isNull()) return;
        poll_.stop();
        window_->removeEventFilter(this);
        const QPoint place = wholeIn_ ? keptWhole(window_, place_, *wholeIn_, frame) : place_;
        const QPoint inside = place + offsetOf(frame);
        if (window_->geometry().topLeft() != inside) window_->setGeometry(QRect(inside, window_->size()));
        deleteLater();
    }

    QPointer<QWidget> window_;
    QPoint place_;
    std::optional<QRect> wholeIn_;
    QTimer poll_;
};

// Puts the window's frame at the place, kept whole within the area when one is given.
void placeFrameIn(QWidget* window, QPoint place, std::optional<QRect> wholeIn) {
    // A place given anew replaces one still waiting for the frame.
    for (QObject* earlier :
         window->findChildren<QObject*>(QString::fromLatin1(kPlacerName), Qt::FindDirectChildrenOnly))
        delete earlier;
    const QMargins frame = window->isVisible() ? frameMargins(window) : QMargins();
    const QPoint kept = wholeIn ? keptWhole(window, place, *wholeIn, frame) : place;
    if (!offsetOf(frame).isNull()) {
        window->setGeometry(QRect(kept + offsetOf(frame), window->size()));
        return;
    }
    window->move(kept);
    new FramePlacer(window, place, wholeIn);
}

} // namespace

QPoint framePlace(const QWidget* window) {
    return window->geometry().topLeft() - frameOffset(window);
}

QRect screenPx() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QRect wholeOnScreen(const QRect& window, const QRect& screen, const QMargins& frame) {
    const QSize around(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize outer = (window.size() + around).boundedTo(screen.size());
    const int left = std::clamp(window.left(), screen.left(), screen.left() + screen.width() - outer.width());
    const int top = std::clamp(window.top(), screen.top(), screen.top() + screen.height() - outer.height());
    return {QPoint(left, top), outer - around};
}

namespace {
// Whole, clear of the desktop's panels too.
QRect freeArea() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : screenPx();
}
} // namespace

void placeOnScreen(QWidget* window, int leftTw, int topTw) {
    const QRect screen = screenPx();
    const int left = twips::toPx(onScreenTw(leftTw, twips::fromPx(screen.width())));
    const int top = twips::toPx(onScreenTw(topTw, twips::fromPx(screen.height())));
    placeFrameIn(window, screen.topLeft() + QPoint(left, top), freeArea());
}

void keepOnScreen(QWidget* window) {
    // A hidden window is placed as it opens.
    if (!window->isVisible()) return;
    if (QLayout* layout = window->layout()) layout->activate();
    placeFrameIn(window, framePlace(window), freeArea());
}

void placeFrame(QWidget* window, QPoint place) {
    placeFrameIn(window, place, std::nullopt);
}

} // namespace winframe
