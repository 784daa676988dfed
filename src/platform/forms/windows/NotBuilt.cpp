#include "platform/forms/windows/NotBuilt.h"

#include <QActionGroup>
#include <QEvent>

namespace notbuilt {
namespace {

// A disabled group keeps its items disabled whatever is asked of each one.
QActionGroup* greyedGroup(QObject* window) {
    auto* group = new QActionGroup(window);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    group->setEnabled(false);
    return group;
}

// A button has no such group: it is put back to grey whenever it is enabled.
class ButtonHold : public QObject {
  public:
    explicit ButtonHold(QAbstractButton* button) : QObject(button) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::EnabledChange) {
            auto* button = static_cast<QAbstractButton*>(watched);
            if (button->isEnabled()) button->setEnabled(false);
        }
        return false;
    }
};

} // namespace

void hold(QObject* window, const QList<QAction*>& items) {
    QActionGroup* group = greyedGroup(window);
    for (QAction* a : items)
        group->addAction(a);
}

void hold(const QList<QAbstractButton*>& buttons) {
    for (QAbstractButton* b : buttons) {
        b->setEnabled(false);
        b->installEventFilter(new ButtonHold(b));
    }
}

} // namespace notbuilt
