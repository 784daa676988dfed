#include "platform/forms/WindowFrame.h"

#include "platform/forms/Colour.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

// What the window manager's frame adds above and left of the inside; nothing
// before the window is framed (or without a window manager).
QPoint frameOffset(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    if (!handle) return {};
    const QMargins m = handle->frameMargins();
    return {m.left(), m.top()};
}

// Watches a window from its show until its frame is known, then puts the frame at the place.
class FramePlacer : public QObject {
  public:
    FramePlacer(QWidget* window, QPoint place) : QObject(window), window_(window), place_(place) {
        setObjectName(QString::fromLatin1(kPlacerName));
        connect(&poll_, &QTimer::timeout, this, &FramePlacer::settle);
        window->installEventFilter(this);
        if (window->isVisible()) watch();
    }

    bool eventFilter(QObject* watched, QEvent* e) override {
        // The window manager gives the frame in its own time, with no event
        // to the window: from the show on, it is looked for a while.
        if (watched == window_ && e->type() == QEvent::Show && !poll_.isActive()) watch();
        return false;
    }

  private:
    void watch() {
        poll_.start(kPollMsecs);
        QTimer::singleShot(kFramingMsecs, this, [this] { deleteLater(); });
    }
    void settle() {
        if (!window_ || !window_->isVisible()) return;
        const QPoint offset = frameOffset(window_);
        if (offset.isNull()) return;
        poll_.stop();
        window_->removeEventFilter(this);
        const QPoint inside = place_ + offset;
        if (window_->geometry().topLeft() != inside) window_->setGeometry(QRect(inside, window_->size()));
        deleteLater();
    }

    QPointer<QWidget> window_;
    QPoint place_;
    QTimer poll_;
};

} // namespace

QPoint framePlace(const QWidget* window) {
    return window->geometry().topLeft() - frameOffset(window);
}

QRect screenPx() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QRect wholeOnScreen(const QRect& window, const QRect& screen) {
    const QSize size = window.size().boundedTo(screen.size());
    const int left = std::clamp(window.left(), screen.left(), screen.left() + screen.width() - size.width());
    const int top = std::clamp(window.top(), screen.top(), screen.top() + screen.height() - size.height());
    return {QPoint(left, top), size};
}

void placeOnScreen(QWidget* window, int leftTw, int topTw, Keep keep) {
    const QRect screen = screenPx();
    const int left = twips::toPx(onScreenTw(leftTw, twips::fromPx(screen.width())));
    const int top = twips::toPx(onScreenTw(topTw, twips::fromPx(screen.height())));
    QPoint place = screen.topLeft() + QPoint(left, top);
    if (keep == Keep::Whole) {
        // A window not shown yet has no size of its own: its layout's wish
        // stands for it. It keeps clear of the desktop's panels.
        const QSize size =
            window->isVisible() ? window->size() : window->size().expandedTo(window->sizeHint());
        const QScreen* s = QGuiApplication::primaryScreen();
        const QRect kept = wholeOnScreen(QRect(place, size), s ? s->availableGeometry() : screen);
        if (kept.size() != size) window->resize(kept.size());
        place = kept.topLeft();
    }
    placeFrame(window, place);
}

void placeFrame(QWidget* window, QPoint place) {
    // A place given anew replaces one still waiting for the frame.
    for (QObject* earlier :
         window->findChildren<QObject*>(QString::fromLatin1(kPlacerName), Qt::FindDirectChildrenOnly))
        delete earlier;
    const QPoint offset = window->isVisible() ? frameOffset(window) : QPoint();
    if (!offset.isNull()) {
        window->setGeometry(QRect(place + offset, window->size()));
        return;
    }
    window->move(place);
    new FramePlacer(window, place);
}

} // namespace winframe
