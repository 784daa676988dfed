#pragma once
// A random walk's record: each step as the operator took it, as plain data
// (what was done, to what, the answers given meanwhile and the state it was
// taken in), written down when the walk fails and taken again by a replay.
// What a step does depends on when the program's events come, so a seed alone
// does not say the walk again; the record does.
#include <QAction>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMenuBar>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace zvtest {

// One step's action: windows by class, controls by their place among their
// siblings, menu items by their captions.
using WalkAction = QJsonObject;

// A control's place in its window: class, name and rank among its siblings of
// that class and name, from the window down.
QJsonArray placeOf(QWidget* w);
// The control at that place in the window; null when there is none.
QWidget* atPlace(QWidget* window, const QJsonArray& place);
// A visible menu item by the captions that lead to it from the bar.
QAction* itemAt(QMenuBar* bar, const QJsonArray& captions);

// A walk's setting: --FLAG=N after the test program's own arguments, or the
// environment variable, or the default.
unsigned long walkSetting(const char* flag, const char* variable, unsigned long otherwise);
QString walkText(const char* flag, const char* variable);

// What the walk is doing, said on the standard error if the process ends by a
// crash signal while sayOnCrash is on.
void noteForCrash(const QString& what);
void sayOnCrash(bool on);

class WalkRecord {
  public:
    // `folder` is the program folder of this run: answers naming a place in
    // it are written down relative to it, as each run has a new one.
    explicit WalkRecord(QString folder) : folder_(std::move(folder)) {}
    ~WalkRecord();
    WalkRecord(const WalkRecord&) = delete;
    WalkRecord& operator=(const WalkRecord&) = delete;

    // Writes each step down as it is taken, in the temporary folder as
    // `name`, so that a walk that crashes leaves its replay; a walk that
    // passes takes the file away again.
    void journalTo(const QString& name, const QJsonObject& about);

    // Takes the steps of a walk written down before instead of random ones.
    bool readFrom(const QString& file);
    bool replaying() const { return !replay_.isEmpty(); }
    int recordedSteps() const { return int(replay_.size()); }
    // The wait before acting inside a step, as the walk written down had it.
    qint64 recordedNestedMs() const { return recordedNestedMs_; }

    // A new step, taken in `state`; a replay says when the state differs.
    void beginStep(int number, const QString& state);
    // The step's action, written down before it is taken.
    void noteTaking(const WalkAction& action);
    void noteTaken(const WalkAction& action, const QString& what);
    // A step taken while the step under way waits.
    void noteMeanwhile(const WalkAction& action);
    // A question answered; in a replay the answer given before.
    void noteAnswer(const QVariant& given);
    QVariant recordedAnswer(const QString& kind);
    // What happened on the rig's line meanwhile (a PTT command heard, with
    // what the program believes of the key), with its time in the walk: a
    // walk that does not replay can still be read.
    void noteLine(const QString& what);
    // An open menu or modal window answered.
    void noteOpenAnswer(const WalkAction& how);
    WalkAction recordedOpenAnswer() { return recordedList("openAnswers", openTaken_).toObject(); }
    // In a replay, the step's action and the next one taken meanwhile.
    WalkAction recordedAction() const { return recorded_.value(QStringLiteral("do")).toObject(); }
    WalkAction recordedMeanwhile() { return recordedList("meanwhile", meanwhileTaken_).toObject(); }

    // Writes the walk down in the temporary folder as `name`, with what is
    // said about it as a whole (the seed, the wait before acting, ...); the
    // file's path, or why there is none.
    QString writeDown(const QString& name, const QJsonObject& about) const;

  private:
    QJsonValue recordedList(const char* key, int& taken) const;
    void noteLists();
    void journal(const QJsonObject& line) const;

    QString folder_;
    QList<QJsonObject> steps_;
    QJsonArray answers_, openAnswers_, meanwhile_, line_;
    QElapsedTimer clock_;
    QList<QJsonObject> replay_;
    qint64 recordedNestedMs_ = 0;
    QJsonObject recorded_;
    int answersTaken_ = 0, openTaken_ = 0, meanwhileTaken_ = 0;
    QString journalFile_;
    mutable int journal_ = -1;
};

} // namespace zvtest
