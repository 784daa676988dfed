#include "support/WalkRecord.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QJsonDocument>
#include <QMenu>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace zvtest {

namespace {

// Written before each action, read only by the crash handler.
char lastStep[512] = "starting";
char journalNote[1024] = "";

void sayLastStep(int sig) {
    for (const char* said : {lastStep, journalNote}) {
        const ssize_t ignored = ::write(STDERR_FILENO, said, std::strlen(said));
        (void)ignored;
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

constexpr int kCrashSignals[]{SIGSEGV, SIGABRT, SIGBUS, SIGFPE};

QJsonValue toJson(const QVariant& v) {
    if (!v.isValid()) return QJsonValue();
    if (v.typeId() == QMetaType::QColor) return v.value<QColor>().name();
    if (v.typeId() == QMetaType::QFont) return v.value<QFont>().pointSize();
    if (v.typeId() == QMetaType::Int) return v.toInt();
    return v.toString();
}

QVariant fromJson(const QString& kind, const QJsonValue& v) {
    if (v.isNull() || v.isUndefined()) return {};
    if (kind == QLatin1String("colour")) return QVariant::fromValue(QColor(v.toString()));
    if (kind == QLatin1String("font"))
        return QVariant::fromValue(QFont(QStringLiteral("Noto Sans CJK JP"), v.toInt()));
    if (v.isDouble()) return v.toInt();
    return v.toString();
}

const QLatin1String kFolder("$FOLDER");

} // namespace

QJsonArray placeOf(QWidget* w) {
    QJsonArray place;
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        int rank = 0;
        for (QObject* o : w->parentWidget()->children()) {
            if (o == w) break;
            if (o->isWidgetType() && o->objectName() == w->objectName() &&
                std::strcmp(o->metaObject()->className(), w->metaObject()->className()) == 0)
                ++rank;
        }
        place.prepend(QStringLiteral("%1|%2|%3")
                          .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                          .arg(rank));
    }
    return place;
}

QWidget* atPlace(QWidget* window, const QJsonArray& place) {
    QWidget* w = window;
    for (const QJsonValue& v : place) {
        const QStringList part = v.toString().split(QLatin1Char('|'));
        if (!w || part.size() != 3) return nullptr;
        int rank = part[2].toInt();
        QWidget* found = nullptr;
        for (QObject* o : w->children()) {
            if (!o->isWidgetType() || o->objectName() != part[1] ||
                QString::fromLatin1(o->metaObject()->className()) != part[0])
                continue;
            if (rank-- == 0) {
                found = static_cast<QWidget*>(o);
                break;
            }
        }
        w = found;
    }
    return w;
}

QAction* itemAt(QMenuBar* bar, const QJsonArray& captions) {
    QList<QAction*> level = bar ? bar->actions() : QList<QAction*>();
    QAction* found = nullptr;
    for (const QJsonValue& caption : captions) {
        found = nullptr;
        for (QAction* a : level)
            if (a->text() == caption.toString() && a->isVisible()) {
                found = a;
                break;
            }
        if (!found) return nullptr;
        level = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

QString walkText(const char* flag, const char* variable) {
    const QString prefix = QStringLiteral("--%1=").arg(QLatin1String(flag));
    for (const QString& a : QCoreApplication::arguments())
        if (a.startsWith(prefix)) return a.mid(prefix.size());
    return qEnvironmentVariable(variable);
}

unsigned long walkSetting(const char* flag, const char* variable, unsigned long otherwise) {
    const QString v = walkText(flag, variable);
    return v.isEmpty() ? otherwise : v.toULong();
}

void noteForCrash(const QString& what) {
    std::snprintf(lastStep, sizeof lastStep, "%s", qUtf8Printable(what));
}

void sayOnCrash(bool on) {
    for (const int sig : kCrashSignals)
        std::signal(sig, on ? sayLastStep : SIG_DFL);
}

WalkRecord::~WalkRecord() {
    if (journal_ < 0) return;
    ::close(journal_);
    QFile::remove(journalFile_);
}

void WalkRecord::journalTo(const QString& name, const QJsonObject& about) {
    journalFile_ = QDir::temp().filePath(name);
    journal_ =
        ::open(QFile::encodeName(journalFile_).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::snprintf(journalNote, sizeof journalNote, "the walk written down in %s\n",
                  qUtf8Printable(journalFile_));
    journal(about);
}

// One line a write: what reached the file stays there whatever happens to the process.
void WalkRecord::journal(const QJsonObject& line) const {
    if (journal_ < 0) return;
    const QByteArray bytes = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    const ssize_t ignored = ::write(journal_, bytes.constData(), size_t(bytes.size()));
    (void)ignored;
}

// A walk written down whole, or the lines of a journal: what the walk was,
// then each step, a step written again replacing the one before.
bool WalkRecord::readFrom(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = f.readAll();
    QJsonObject doc = QJsonDocument::fromJson(bytes).object();
    if (doc.isEmpty()) {
        QList<QByteArray> lines = bytes.split('\n');
        doc = QJsonDocument::fromJson(lines.takeFirst()).object();
        QJsonArray steps;
        for (const QByteArray& line : lines) {
            const QJsonObject step = QJsonDocument::fromJson(line).object();
            const int n = step.value(QStringLiteral("n")).toInt();
            if (n < 1) continue;
            while (steps.size() < n)
                steps.append(QJsonObject());
            steps[n - 1] = step;
        }
        doc[QStringLiteral("steps")] = steps;
    }
    for (const QJsonValue& v : doc.value(QStringLiteral("steps")).toArray())
        replay_ << v.toObject();
    recordedNestedMs_ = doc.value(QStringLiteral("nestedMs")).toInteger();
    return !replay_.isEmpty();
}

void WalkRecord::beginStep(int number, const QString& state) {
    if (replaying()) {
        recorded_ = replay_.value(number - 1);
        // A walk written by hand says no state.
        if (recorded_.contains(QStringLiteral("state")) &&
            recorded_.value(QStringLiteral("state")).toString() != state)
            std::fprintf(stderr, "replay, step %d: taken in another state: recorded %s\n", number,
                         qUtf8Printable(recorded_.value(QStringLiteral("state")).toString()));
        answersTaken_ = openTaken_ = meanwhileTaken_ = 0;
    }
    if (!steps_.isEmpty()) journal(steps_.back());
    steps_.append({{QStringLiteral("n"), number}, {QStringLiteral("state"), state}});
    answers_ = {};
    openAnswers_ = {};
    meanwhile_ = {};
    line_ = {};
    if (!clock_.isValid()) clock_.start();
}

void WalkRecord::noteLine(const QString& what) {
    line_.append(QJsonObject{{QStringLiteral("ms"), clock_.isValid() ? clock_.elapsed() : 0},
                             {QStringLiteral("what"), what}});
    noteLists();
}

void WalkRecord::noteTaking(const WalkAction& action) {
    steps_.back()[QStringLiteral("do")] = action;
    journal(steps_.back());
}

void WalkRecord::noteTaken(const WalkAction& action, const QString& what) {
    steps_.back()[QStringLiteral("do")] = action;
    steps_.back()[QStringLiteral("what")] = what;
    noteLists();
}

void WalkRecord::noteMeanwhile(const WalkAction& action) {
    meanwhile_.append(action);
    noteLists();
}

void WalkRecord::noteAnswer(const QVariant& given) {
    QJsonValue written = toJson(given);
    if (written.isString()) written = written.toString().replace(folder_, kFolder);
    answers_.append(written);
    noteLists();
}

QVariant WalkRecord::recordedAnswer(const QString& kind) {
    QVariant given = fromJson(kind, recordedList("answers", answersTaken_));
    if (given.typeId() == QMetaType::QString) given = given.toString().replace(kFolder, folder_);
    return given;
}

void WalkRecord::noteOpenAnswer(const WalkAction& how) {
    openAnswers_.append(how);
    noteLists();
}

QString WalkRecord::writeDown(const QString& name, const QJsonObject& about) const {
    const QString file = QDir::temp().filePath(name);
    // The whole walk takes the place of its journal, and stays.
    if (journal_ >= 0) {
        ::close(std::exchange(journal_, -1));
        if (file != journalFile_) QFile::remove(journalFile_);
    }
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly)) return QStringLiteral("(not written: %1)").arg(f.errorString());
    QJsonArray steps;
    for (const QJsonObject& s : steps_)
        steps.append(s);
    QJsonObject doc = about;
    doc[QStringLiteral("steps")] = steps;
    f.write(QJsonDocument(doc).toJson());
    return file;
}

QJsonValue WalkRecord::recordedList(const char* key, int& taken) const {
    const QJsonArray list = recorded_.value(QLatin1String(key)).toArray();
    return taken < list.size() ? list[taken++] : QJsonValue();
}

// Answers come during the step and after it, while its events run out.
void WalkRecord::noteLists() {
    if (steps_.isEmpty()) return;
    QJsonObject& last = steps_.back();
    last[QStringLiteral("answers")] = answers_;
    last[QStringLiteral("openAnswers")] = openAnswers_;
    last[QStringLiteral("meanwhile")] = meanwhile_;
    last[QStringLiteral("line")] = line_;
}

} // namespace zvtest
