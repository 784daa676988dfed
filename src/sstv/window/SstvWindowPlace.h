#pragma once
// The stored places of the SSTV side's windows (in twips) and their stay in
// the topmost band while they are shown. One table names each window's keys;
// every window comes back onto the screen, whole, whatever was stored.
#include <QString>

class QWidget;

namespace sstv {

// The window goes to its stored place by the one rule of every window, the
// top left corner when no top is stored; these windows are kept whole on
// the screen.
void RestorePlace(QWidget* window, const QString& section);
void StorePlace(const QWidget* window, const QString& section);
void SetTopmost(QWidget* window, bool on);

} // namespace sstv
