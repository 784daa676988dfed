#pragma once
// The stored places of the SSTV side's small windows (TopPos and LeftPos, in
// twips) and their stay in the topmost band while they are shown.
#include <QString>

class QWidget;

namespace sstv {

// The window goes to its stored place: 0 for an edge outside the screen,
// the top left corner when no top is stored.
void RestorePlace(QWidget* window, const QString& section);
void StorePlace(const QWidget* window, const QString& section);
void SetTopmost(QWidget* window, bool on);

} // namespace sstv
