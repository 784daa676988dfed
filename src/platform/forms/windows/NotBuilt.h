#pragma once
// Menu items and buttons whose work is not built yet. They are greyed, and stay
// greyed when the window's own logic (its load, a mode change, the log link)
// enables them; that logic keeps the state it asked for, which shows the day
// the item's work is built and its hold goes.
#include <QAbstractButton>
#include <QAction>
#include <QList>

namespace notbuilt {

// The items of one window, held by that window.
void hold(QObject* window, const QList<QAction*>& items);
void hold(const QList<QAbstractButton*>& buttons);

} // namespace notbuilt
