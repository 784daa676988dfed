#include "support/Popups.h"

#include "support/ProgramFolder.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QEventLoop>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>

namespace zvtest {

QMenu* popupByClick(QWidget* control, Qt::MouseButton button, QPoint at) {
    QTest::mouseClick(control, button, {}, at.isNull() ? control->rect().center() : at);
    waitUntil([] { return QApplication::activePopupWidget() != nullptr; });
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

namespace {

// The entry of the pop-up that leads to the item: the item itself, or the
// submenu (at any depth) that holds it; null when none does.
QAction* entryLeadingTo(QMenu* popup, QAction* item) {
    for (QAction* entry : popup->actions()) {
        if (entry == item) return entry;
        if (entry->menu() && entryLeadingTo(entry->menu(), item)) return entry;
    }
    return nullptr;
}

// The menu bar that shows the item, directly or through its menus; null when none does.
QMenuBar* barShowing(QAction* item) {
    for (QObject* holder : item->associatedObjects()) {
        if (auto* bar = qobject_cast<QMenuBar*>(holder)) return bar;
        if (auto* menu = qobject_cast<QMenu*>(holder))
            if (QMenuBar* bar = barShowing(menu->menuAction())) return bar;
    }
    return nullptr;
}

// Runs the operator's key or click from inside an event loop, as a real one
// arrives: a window that the action unloads then stays until that loop has the
// control back, also when the action runs a loop of its own meanwhile.
void fromEventLoop(const std::function<void()>& action) {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        action();
        loop.quit();
    });
    loop.exec();
}

} // namespace

bool chooseInPopup(QMenu* popup, QAction* item) {
    if (!popup) return false;
    QAction* entry = entryLeadingTo(popup, item);
    const qsizetype steps = popup->actions().size();
    for (qsizetype i = 0; entry && i < steps && popup->activeAction() != entry; ++i)
        QTest::keyClick(popup, Qt::Key_Down);
    if (!entry || popup->activeAction() != entry) {
        QTest::keyClick(popup, Qt::Key_Escape);
        return false;
    }
    if (entry != item) {
        QMenu* submenu = entry->menu();
        QTest::keyClick(popup, Qt::Key_Right);
        if (!waitUntil([submenu] { return QApplication::activePopupWidget() == submenu; })) {
            QTest::keyClick(popup, Qt::Key_Escape);
            return false;
        }
        return chooseInPopup(submenu, item);
    }
    QSignalSpy chosen(item, &QAction::triggered);
    fromEventLoop([popup] { QTest::keyClick(popup, Qt::Key_Return); });
    return chosen.count() == 1;
}

void chooseInNextPopup(QAction* item) {
    QTimer::singleShot(0, item, [item] {
        waitUntil([] { return QApplication::activePopupWidget() != nullptr; });
        chooseInPopup(qobject_cast<QMenu*>(QApplication::activePopupWidget()), item);
    });
}

bool chooseByClick(QWidget* control, QAction* item, Qt::MouseButton button, QPoint at) {
    return chooseInPopup(popupByClick(control, button, at), item);
}

bool chooseInCombo(QComboBox* list, int i) {
    QTest::mouseClick(list, Qt::LeftButton);
    QAbstractItemView* view = list->view();
    if (!waitUntil([view] { return view->isVisible(); })) return false;
    QSignalSpy chosen(list, &QComboBox::activated);
    view->setCurrentIndex(list->model()->index(i, list->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
    return chosen.count() == 1 && chosen.front().front().toInt() == i;
}

bool chooseInMenuBar(QMenuBar* bar, QAction* item) {
    if (bar->actions().contains(item)) {
        QSignalSpy chosen(item, &QAction::triggered);
        fromEventLoop(
            [bar, item] { QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item).center()); });
        return chosen.count() == 1;
    }
    for (QAction* title : bar->actions()) {
        if (!title->isVisible() || !title->menu() || !entryLeadingTo(title->menu(), item)) continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        if (!waitUntil([title] { return QApplication::activePopupWidget() == title->menu(); })) return false;
        return chooseInPopup(title->menu(), item);
    }
    return false;
}

bool chooseMenuItem(QAction* item) {
    QMenuBar* bar = barShowing(item);
    if (!bar) return false;
    QWidget* window = bar->window();
    if (!window->isVisible()) {
        window->show();
        if (!zvtest::waitExposed(window)) return false;
    }
    return chooseInMenuBar(bar, item);
}

bool chooseInList(QComboBox* box, int index) {
    if (index < 0 || index >= box->count()) return false;
    QSignalSpy chosen(box, &QComboBox::activated);
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const QRect arrow =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, arrow.center());
    QAbstractItemView* list = box->view();
    if (!waitUntil([list] { return list->isVisible(); })) return false;
    // In the open list the arrow keys move to the entry and Return takes it.
    for (int i = 0; i < box->count() && list->currentIndex().row() != index; ++i)
        QTest::keyClick(list, list->currentIndex().row() < index ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    return chosen.count() == 1 && chosen.front().front().toInt() == index;
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
