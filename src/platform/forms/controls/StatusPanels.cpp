#include "platform/forms/controls/StatusPanels.h"

#include <QMouseEvent>

StatusPanels::StatusPanels(const QList<int>& widths, QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int w : widths) {
        auto* l = new QLabel;
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->installEventFilter(this);
        if (w > 0) {
            l->setMinimumWidth(w);
            addPermanentWidget(l, 0);
        } else {
            addPermanentWidget(l, 1);
        }
        panels_.append(l);
    }
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        const int i = static_cast<int>(panels_.indexOf(static_cast<QLabel*>(watched)));
        if (i >= 0) {
            const auto* me = static_cast<QMouseEvent*>(e);
            emit panelClicked(i + 1, me->button() == Qt::RightButton ? 2 : 1);
        }
    }
    return QStatusBar::eventFilter(watched, e);
}
