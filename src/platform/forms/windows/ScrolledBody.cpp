#include "platform/forms/windows/ScrolledBody.h"

#include <QScrollBar>

namespace ui {

namespace {

class FittingScrollArea : public QScrollArea {
  public:
    // QScrollArea caps its wish at a few dozen lines: the window would open
    // smaller than its body on any screen. Room for the vertical bar is asked
    // too, so that a window cut short to fit needs no horizontal one.
    QSize sizeHint() const override {
        if (!widget()) return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

} // namespace

QScrollArea* scrolledBody(QWidget* body) {
    auto* area = new FittingScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(body);
    // What lies behind (a tab page's face) shows through, as without the area.
    area->viewport()->setAutoFillBackground(false);
    return area;
}

} // namespace ui
