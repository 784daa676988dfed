#include "support/Popups.h"

#include "support/ProgramFolder.h"

#include <QActionGroup>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace zvtest {

QMenu* popupByClick(QWidget* control, Qt::MouseButton button, QPoint at) {
    QTest::mouseClick(control, button, {}, at.isNull() ? control->rect().center() : at);
    waitUntil([] { return QApplication::activePopupWidget() != nullptr; });
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

bool chooseInPopup(QMenu* popup, QAction* item) {
    if (!popup) return false;
    const qsizetype steps = popup->actions().size();
    for (qsizetype i = 0; i < steps && popup->activeAction() != item; ++i)
        QTest::keyClick(popup, Qt::Key_Down);
    if (popup->activeAction() != item) {
        QTest::keyClick(popup, Qt::Key_Escape);
        return false;
    }
    QSignalSpy chosen(item, &QAction::triggered);
    QTest::keyClick(popup, Qt::Key_Return);
    return chosen.count() == 1;
}

bool chooseByClick(QWidget* control, QAction* item, Qt::MouseButton button, QPoint at) {
    return chooseInPopup(popupByClick(control, button, at), item);
}

bool chooseInMenuBar(QMenuBar* bar, QAction* item) {
    if (bar->actions().contains(item)) {
        QSignalSpy chosen(item, &QAction::triggered);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item).center());
        return chosen.count() == 1;
    }
    for (QAction* title : bar->actions()) {
        if (!title->menu() || !title->menu()->actions().contains(item)) continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        if (!waitUntil([title] { return QApplication::activePopupWidget() == title->menu(); })) return false;
        return chooseInPopup(title->menu(), item);
    }
    return false;
}

bool enabledOnceBuilt(QAction* item) {
    QActionGroup* hold = item->actionGroup();
    if (!hold || hold->isEnabled()) return item->isEnabled();
    hold->setEnabled(true);
    const bool enabled = item->isEnabled();
    hold->setEnabled(false);
    return enabled;
}

} // namespace zvtest
