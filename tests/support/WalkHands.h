#pragma once
// The operator's hands in a random walk: an action written down as data
// (see WalkRecord) taken through the real input path, with clicks, keys, the
// input method, the menu bar and the clipboard; the simulated rig holding its
// answers back or paced as the settings sheet paces it.
#include "support/RigSimulator.h"
#include "support/WalkRecord.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

class PSK31MAIN;

namespace zvtest {

// The windows the operator can reach: while a modal one is open, only it and
// the windows it opened; a minimised one only when asked for.
QList<QWidget*> windowsOnScreen(bool minimised = false);
// The window of the action's class among them; null when none is there.
QWidget* windowOf(const WalkAction& a, bool minimised = false);

class WalkHands {
  public:
    explicit WalkHands(RigSimulator& rig);
    virtual ~WalkHands() = default;

    // Takes the action; what was done, in words.
    QString take(const WalkAction& a);
    // Arrow keys and Return in a menu or list, a button of a window, or Esc.
    virtual void answerOpen(QWidget* open, const WalkAction& how);

    // The last key was Esc in a main window that takes keys.
    bool escInMainWindow = false;

  protected:
    // Said just before an action is taken, for a step that never returns.
    virtual void remember(const QString& what) = 0;

    RigSimulator& rig_;

  private:
    QString macro(PSK31MAIN* main, const QString& where, const WalkAction& a);
    QString doubleClickASpot(const WalkAction& a);
    QString chooseInMenu(QWidget* window, const QString& where, const WalkAction& a);
    QString click(QWidget* window, const QString& where, const WalkAction& a);
    QString key(QWidget* window, const QString& where, const WalkAction& a);
    QString typeOrPaste(QWidget* window, const QString& where, const WalkAction& a);

    QTimer answersBack_;
};

} // namespace zvtest
