#pragma once
// The operator's hands in a random walk: an action written down as data
// (see WalkRecord) taken through the real input path, with clicks, keys, the
// input method, the menu bar and the clipboard; and what befalls the station
// meanwhile: the simulated rig holding its answers back, splitting them,
// paced as the settings sheet paces it, unplugged and plugged back; the RTTY
// program stopped, resumed or killed; the spot server failing; the log held
// by another program for a while.
#include "support/LoopbackHttpServer.h"
#include "support/RigSimulator.h"
#include "support/WalkRecord.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <thread>

class PSK31MAIN;

namespace zvtest {

// The windows the operator can reach: while a modal one is open, only it and
// the windows it opened; a minimised one only when asked for.
QList<QWidget*> windowsOnScreen(bool minimised = false);
// The window of the action's class among them; null when none is there.
QWidget* windowOf(const WalkAction& a, bool minimised = false);

// The rig on its line: unplugged (its device name gone, its line hung up)
// and plugged back (a new rig of the family on that name; keyed, as a rig
// whose cable was pulled while it sent stays keyed).
class RigPlug {
  public:
    virtual ~RigPlug() = default;
    // Null while unplugged.
    virtual RigSimulator* plugged() = 0;
    virtual void unplug() = 0;
    virtual bool plugBack(bool keyed = false) = 0;
};

class WalkHands {
  public:
    // The spot server serves `spotPage` at `spotPath` while it does not fail.
    WalkHands(RigPlug& plug, LoopbackHttpServer& spots, QByteArray spotPath, QByteArray spotPage);
    // A program stopped by the walk runs again.
    virtual ~WalkHands();

    // Takes the action; what was done, in words.
    QString take(const WalkAction& a);
    // Arrow keys and Return in a menu or list, a button of a window, or Esc.
    virtual void answerOpen(QWidget* open, const WalkAction& how);

    // The last key was Esc in a main window that takes keys.
    bool escInMainWindow = false;

    // After each step of the operator's: a pace of the rig set for some steps runs out.
    void stepTaken();
    // Runs the RTTY program stopped by the walk again.
    void resumeRtty();
    bool rttyStopped() const { return stoppedPid_ > 0; }
    // The log of the library link, which another program may hold.
    void setLog(const QString& file) { logFile_ = file; }

  protected:
    // Said just before an action is taken, for a step that never returns.
    virtual void remember(const QString& what) = 0;
    // A rig plugged back: the walk watches its line as it did the one before.
    virtual void watchRig(RigSimulator& rig) = 0;
    // A rig back on its line (plugged back, or its cable put back), keyed or not.
    virtual void rigBack(const RigSimulator& rig, bool cable) = 0;

    RigPlug& plug_;

  private:
    QString macro(PSK31MAIN* main, const QString& where, const WalkAction& a);
    QString doubleClickASpot(const WalkAction& a);
    QString chooseInMenu(QWidget* window, const QString& where, const WalkAction& a);
    QString click(QWidget* window, const QString& where, const WalkAction& a);
    QString key(QWidget* window, const QString& where, const WalkAction& a);
    QString typeOrPaste(QWidget* window, const QString& where, const WalkAction& a);
    QString mend(QWidget* window, const QString& where, const WalkAction& a);
    QString befall(const QString& what, const WalkAction& a);

    LoopbackHttpServer& spots_;
    QByteArray spotPath_, spotPage_;
    QTimer answersBack_;
    QTimer rttyBack_;
    qint64 stoppedPid_ = 0;
    // A pace of the rig that lasts this many more steps, the pace it replaced,
    // and the pace it set.
    int pacedSteps_ = 0;
    QString paceBefore_, pacedAt_;
    // The rig was keyed when its cable was pulled.
    bool keyedWhenPulled_ = false;
    QString logFile_;
    std::thread logHolder_;
    std::atomic<bool> logHeld_ = false;
};

} // namespace zvtest
