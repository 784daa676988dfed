// A seeded random walk over the program's windows: menus, buttons, boxes and
// panes clicked, keys (F1-F12, Esc, Ctrl+L, Ctrl+C, Ctrl+V and others) and
// text typed or pasted, the clipboard full, emptied or offering nothing, every
// question answered at random; among its steps the waits the program meets
// (the scan button, macros that read the rig, a spot double-clicked, the rig
// answering slowly or holding an answer back). It acts only on windows an
// operator can reach: a minimised one is restored from the task bar first.
// After each step what must always hold is checked: the program lives (an end
// is said, and the program started again), the rig is not held keyed while no
// engine sends, its PTT is off a moment after Esc in a main window (unless the
// macro editor waits for a shortcut key), and the settings file is whole
// Shift-JIS with CR LF. The seed and the number of steps: --walk-seed=N
// --walk-steps=N after the test program's own arguments, or ZV_WALK_SEED and
// ZV_WALK_STEPS. For a hunt by hand, --walk-nested-ms=N (ZV_WALK_NESTED_MS)
// lets the operator act meanwhile, two steps deep at most, once a step has
// waited N ms. What a step does depends on when the program's events come, so
// a seed alone does not say the walk again: a failing walk writes its steps
// down (each action, the answers given and the state it was taken in) and
// names the file; --walk-replay=FILE (ZV_WALK_REPLAY) takes those steps again.
#include "app/RunningProgram.h"

#include "core/Globals.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/os/Cp932.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigNeighbours.h"
#include "spots/ClusterData.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "startup/Startup.h"
#include "support/LoopbackHttpServer.h"
#include "support/OpenedUrls.h"
#include "support/Popups.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <unistd.h>

namespace {

// What the walk is doing, for the end by a crash as well.
char lastStep[512] = "starting";

void sayLastStep(int sig) {
    const ssize_t ignored = ::write(STDERR_FILENO, lastStep, std::strlen(lastStep));
    (void)ignored;
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

unsigned long setting(const char* flag, const char* variable, unsigned long otherwise) {
    const QString prefix = QStringLiteral("--%1=").arg(QLatin1String(flag));
    for (const QString& a : QCoreApplication::arguments())
        if (a.startsWith(prefix)) return a.mid(prefix.size()).toULong();
    const QByteArray v = qgetenv(variable);
    return v.isEmpty() ? otherwise : v.toULong();
}

const QList<QKeyCombination> kKeys{Qt::Key_F1,
                                   Qt::Key_F2,
                                   Qt::Key_F3,
                                   Qt::Key_F4,
                                   Qt::Key_F5,
                                   Qt::Key_F6,
                                   Qt::Key_F7,
                                   Qt::Key_F8,
                                   Qt::Key_F9,
                                   Qt::Key_F10,
                                   Qt::Key_F11,
                                   Qt::Key_F12,
                                   Qt::Key_Escape,
                                   Qt::Key_Return,
                                   Qt::Key_Tab,
                                   Qt::Key_Backspace,
                                   Qt::Key_Delete,
                                   Qt::Key_Insert,
                                   Qt::Key_Up,
                                   Qt::Key_Down,
                                   Qt::Key_PageUp,
                                   Qt::Key_End,
                                   Qt::ControlModifier | Qt::Key_L,
                                   Qt::ControlModifier | Qt::Key_C,
                                   Qt::ControlModifier | Qt::Key_V,
                                   Qt::ControlModifier | Qt::Key_M,
                                   Qt::ShiftModifier | Qt::Key_Insert,
                                   Qt::AltModifier | Qt::Key_F4};
const QStringList kTexts{
    QStringLiteral("CQ CQ de JA1ZVK"), QStringLiteral("QQ2ABC"), QStringLiteral("599"),
    QStringLiteral("こんにちは"),      QStringLiteral("1500"),   QStringLiteral("-1"),
    QStringLiteral("ｱｲｳ 73"),          QStringLiteral("€½"),     QStringLiteral("/\\\"'%<>&"),
    QString(300, QLatin1Char('W'))};

// Macros that read the rig before and while they send.
const QStringList kRigMacros{QStringLiteral("'TXON''RIGCALL'CQ CQ de 'MYCALL' 'MYCALL' pse k"),
                             QStringLiteral("'RIGCALL'QQ2ABC de 'MYCALL' 'TXOFF'"),
                             QStringLiteral("'TXON'RIG 'RIGCALL' 'TXOFF''RPT3'")};
const QList<spotsrv::Spot> kSpots{{"2330", "14070.5", "QQ1ZZA", "PSK31 1000HZ", "QQ2ZZB"},
                                  {"2329", "7035.0", "QQ3ZZC", "RTTY CQ", "QQ2ZZB"},
                                  {"2328", "14010.0", "QQ4ZZD", "CQ TEST", "QQ2ZZB"}};

// An engine whose end notice is lost is stopped by the rig's key watch after a
// few of its ticks; on a loaded machine timers run late, so the limit is wide.
constexpr int kUnkeyedWithinMsecs = 15000;
// A step's own waits (an engine's stop, a window swap) run late there too.
constexpr int kStepWithinMsecs = 60000;
// A scan that has run this long waits for the operator.
constexpr int kStepWaitsMsecs = 5000;

// One step as the operator took it, as plain data: what was done, to what
// (windows by class, controls by their place among their siblings, menu items
// by their captions), with the answers given meanwhile and the state it was
// taken in. A walk that fails writes its steps down; a replay takes them again
// as they stand, whatever the random numbers would give.
using Action = QJsonObject;

// A control's place in its window: class, name and rank among its siblings of
// that class and name, from the window down.
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

// A menu item by the captions that lead to it from the bar.
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

class Walk {
  public:
    Walk(unsigned long seed, zvtest::RigSimulator& rig, QString ini)
        : seed(seed), rng_(seed), rig_(rig), ini_(std::move(ini)) {
        answersBack_.setSingleShot(true);
        QObject::connect(&answersBack_, &QTimer::timeout, [&rig] {
            rig.holdingAnswers = false;
            rig.releaseAnswers();
        });
    }

    int pick(qsizetype n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, int(n) - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T> const T& any(const QList<T>& list) { return list[pick(list.size())]; }

    // Takes the steps of a walk written down before instead of random ones.
    bool replayFrom(const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return false;
        const QJsonObject doc = QJsonDocument::fromJson(f.readAll()).object();
        for (const QJsonValue& v : doc.value(QStringLiteral("steps")).toArray())
            replay_ << v.toObject();
        nestedMs = doc.value(QStringLiteral("nestedMs")).toInteger();
        return !replay_.isEmpty();
    }
    int replaySteps() const { return int(replay_.size()); }

    // One step; its description, as it is about to be taken.
    QString step() {
        const bool inner = inner_ > 0;
        QJsonObject taken;
        if (!inner) {
            taken = {{QStringLiteral("n"), number}, {QStringLiteral("state"), state()}};
            if (!replay_.isEmpty()) {
                const QJsonObject recorded = replay_.value(number - 1);
                if (recorded.value(QStringLiteral("state")).toString() !=
                    taken.value(QStringLiteral("state")))
                    std::fprintf(stderr, "replay, step %d: taken in another state: recorded %s\n", number,
                                 qUtf8Printable(recorded.value(QStringLiteral("state")).toString()));
                recorded_ = recorded;
                answersTaken_ = openTaken_ = meanwhileTaken_ = 0;
            }
            steps_.append(taken);
            answers_ = {};
            openAnswers_ = {};
            meanwhile_ = {};
        }
        Action action;
        if (!replay_.isEmpty())
            action = inner ? recordedList("meanwhile", meanwhileTaken_).toObject()
                           : recorded_.value(QStringLiteral("do")).toObject();
        else
            action = choose();
        const QString what = perform(action);
        if (inner) {
            meanwhile_.append(action);
        } else {
            taken[QStringLiteral("do")] = action;
            taken[QStringLiteral("what")] = what;
        }
        QJsonObject& last = steps_.back();
        if (!inner) last = taken;
        last[QStringLiteral("answers")] = answers_;
        last[QStringLiteral("openAnswers")] = openAnswers_;
        last[QStringLiteral("meanwhile")] = meanwhile_;
        return what;
    }

    // Writes the walk down, for a replay that fails the same way.
    QString writeDown() const {
        const QString file = QDir::temp().filePath(
            QStringLiteral("zv-walk-%1-%2.json").arg(seed).arg(QCoreApplication::applicationPid()));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) return QStringLiteral("(not written: %1)").arg(f.errorString());
        QJsonArray steps;
        for (const QJsonObject& s : steps_)
            steps.append(s);
        f.write(QJsonDocument(QJsonObject{{QStringLiteral("seed"), qint64(seed)},
                                          {QStringLiteral("nestedMs"), nestedMs},
                                          {QStringLiteral("steps"), steps}})
                    .toJson());
        return file;
    }

    // A question the program asks, answered as the operator might (in a
    // replay, as the operator did).
    QVariant answer(const ui::Asked& asked) {
        // The program folder is a new one in each run: written down by its place.
        const QString folder = ini_.left(ini_.lastIndexOf(QLatin1Char('/')));
        const QLatin1String here("$FOLDER");
        QVariant given;
        if (!replay_.isEmpty()) {
            given = fromJson(asked.kind, recordedList("answers", answersTaken_));
            if (given.typeId() == QMetaType::QString) given = given.toString().replace(here, folder);
        } else {
            given = chooseAnswer(asked);
        }
        QJsonValue written = toJson(given);
        if (written.isString()) written = written.toString().replace(folder, here);
        answers_.append(written);
        noteAnswers();
        return given;
    }

    // A menu or a modal window left open for a while is answered: an item or
    // a button at random, or Esc.
    void answerOpenWindows() {
        QWidget* open = QApplication::activePopupWidget();
        if (!open) open = QApplication::activeModalWidget();
        if (open != open_) {
            open_ = open;
            openFor_.start();
            return;
        }
        if (open && openFor_.elapsed() >= 300) {
            openFor_.start();
            // Answered inside a step (its handler waits, events run): said, so
            // that a failing step shows what the operator did meanwhile.
            if (trace && stepping_)
                std::fprintf(stderr, "%d (meanwhile): answered the open %s\n", number,
                             open->metaObject()->className());
            // Out of this tick: a box the answer opens runs its own loop, and
            // the ticks must go on to answer it.
            QTimer::singleShot(0, [this, open = QPointer<QWidget>(open)] {
                if (open)
                    answerOpen(open, replay_.isEmpty() ? chooseOpenAnswer(open)
                                                       : recordedList("openAnswers", openTaken_).toObject());
            });
        } else if (!open) {
            actWhileStepWaits();
            endLongScan();
        }
    }

    void stepBegins() {
        stepping_ = true;
        actAt_ = nestedMs;
        stepFor_.start();
    }
    void stepEnds() { stepping_ = false; }

    // What the key of the rig stands at, as the rig link and the engines say.
    QString keyState() const {
        return QStringLiteral("rig keyed %1; PttKeyedByCat %2, last PTT command a key-on %3, port open %4, "
                              "line lost %5, key watch %6 (idle ticks %7); recording or play-back %8; "
                              "sending: PSK %9, RTTY %10, MMVARI %11, SSTV %12; mode %13")
            .arg(rig_.ptt)
            .arg(rig::g.PttKeyedByCat)
            .arg(rig::g.PttOnLastSent)
            .arg(rig::g.RigPortOpen)
            .arg(rig::g.RigLineLost)
            .arg(rig::keyWatch().isActive())
            .arg(rig::g.KeyIdleTicks)
            .arg(core::g.RecPlayState)
            .arg(core::g.Transmitting)
            .arg(core::g.MmttyTxOn)
            .arg(core::g.MmvariTxOn)
            .arg(sstv::g.SstvTxActive)
            .arg(core::g.OpMode);
    }

  private:
    // The state a step is taken in: what the operator sees, and the key.
    QString state() const {
        QStringList on;
        for (QWidget* w : windowsOnScreen())
            on << QString::fromLatin1(w->metaObject()->className());
        on.sort();
        QWidget* popup = QApplication::activePopupWidget();
        return QStringLiteral("windows %1; popup %2; %3")
            .arg(on.join(QLatin1Char(',')),
                 popup ? QString::fromLatin1(popup->metaObject()->className()) : QStringLiteral("none"),
                 keyState());
    }

    // Answers come during the step and after it, while its events run out.
    void noteAnswers() {
        if (steps_.isEmpty()) return;
        steps_.back()[QStringLiteral("answers")] = answers_;
        steps_.back()[QStringLiteral("openAnswers")] = openAnswers_;
    }

    QJsonValue recordedList(const char* key, int& taken) const {
        const QJsonArray list = recorded_.value(QLatin1String(key)).toArray();
        return taken < list.size() ? list[taken++] : QJsonValue();
    }

    QVariant chooseAnswer(const ui::Asked& asked) {
        if (asked.kind == QLatin1String("msgBox")) {
            static const QList<QList<int>> buttons{{ui::Ok},
                                                   {ui::Ok, ui::Cancel},
                                                   {ui::Abort, ui::Retry, ui::Ignore},
                                                   {ui::Yes, ui::No, ui::Cancel},
                                                   {ui::Yes, ui::No},
                                                   {ui::Retry, ui::Cancel}};
            const int set = asked.style & 7;
            return set < buttons.size() ? any(buttons[set]) : ui::Ok;
        }
        if (chance(40)) return {};
        if (asked.kind == QLatin1String("inputBox")) return any(kTexts);
        if (asked.kind == QLatin1String("colour"))
            return QVariant::fromValue(QColor::fromRgb(std::uint32_t(rng_())));
        if (asked.kind == QLatin1String("font"))
            return QVariant::fromValue(QFont(QStringLiteral("Noto Sans CJK JP"), 8 + pick(10)));
        return ini_.left(ini_.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/WALK") +
               QString::number(pick(3));
    }

    // Off in the suite's own run: what a step's waits let happen meanwhile
    // depends on the machine's speed, and a seed would no longer say the walk.
    // The step runs out of the answering tick, so that a box it opens is answered.
    void actWhileStepWaits() {
        if (nestedMs == 0 || !stepping_ || inner_ >= 2 || stepFor_.elapsed() < actAt_) return;
        ++inner_;
        actAt_ = std::numeric_limits<qint64>::max();
        QTimer::singleShot(0, [this] {
            const bool esc = escInMainWindow;
            const QString what = step();
            if (trace) std::fprintf(stderr, "%d (meanwhile): %s\n", number, qUtf8Printable(what));
            escInMainWindow = esc;
            --inner_;
            actAt_ = stepFor_.elapsed() + 300;
        });
    }

    // A scan runs inside its button's handler until a signal rises above the
    // line or the operator clicks the button again: one that has run a while
    // is ended so, and the walk goes on.
    void endLongScan() {
        if (!stepping_ || stepFor_.elapsed() < kStepWaitsMsecs || !forms::isLoaded<PSK31MAIN>() ||
            core::g.WfDrawState != 1)
            return;
        QTest::mouseClick(forms::PSK31MAIN().Command11, Qt::LeftButton);
        stepFor_.start();
    }

    Action chooseOpenAnswer(QWidget* open) {
        if (open->inherits("QComboBoxPrivateContainer") || qobject_cast<QMenu*>(open))
            return chance(70) ? Action{{QStringLiteral("downs"), pick(8) + 1}} : Action{};
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : open->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled()) buttons << b;
        if (!buttons.isEmpty() && chance(60)) return {{QStringLiteral("button"), placeOf(any(buttons))}};
        return {};
    }

    // Arrow keys and Return in a menu or list, a button of a window, or Esc.
    void answerOpen(QWidget* open, const Action& how) {
        openAnswers_.append(how);
        noteAnswers();
        if (how.contains(QStringLiteral("downs"))) {
            for (int i = how.value(QStringLiteral("downs")).toInt(); i > 0; --i)
                QTest::keyClick(open, Qt::Key_Down);
            QTest::keyClick(open, Qt::Key_Return);
        } else if (QWidget* b = atPlace(open, how.value(QStringLiteral("button")).toArray());
                   b && how.contains(QStringLiteral("button"))) {
            QTest::mouseClick(b, Qt::LeftButton);
        } else {
            QTest::keyClick(open, Qt::Key_Escape);
        }
    }

  public:
    // What must hold after every step; empty when it holds.
    QString broken() {
        if (QApplication::activeModalWidget() == nullptr && windowsOnScreen(true).isEmpty())
            return QStringLiteral("no window of the program is on the screen");
        if (!zvtest::waitUntil([&] { return !rig_.ptt || rig::nb().anyEngineSends(); }, kUnkeyedWithinMsecs))
            return QStringLiteral("the rig is keyed while no engine sends (%1)").arg(keyState());
        if (escInMainWindow && !zvtest::waitUntil([&] { return !rig_.ptt; }, kUnkeyedWithinMsecs))
            return QStringLiteral("the rig is still keyed after Esc (%1; shortcut wait %2)")
                .arg(keyState())
                .arg(core::g.ShortcutRegistering);
        QFile file(ini_);
        if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("the settings file is gone");
        const QByteArray bytes = file.readAll();
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
                return QStringLiteral("a line of the settings file ends in LF alone");
            if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
                return QStringLiteral("a line of the settings file ends in CR alone");
        }
        if (cp932::decode(bytes).contains(QChar::ReplacementCharacter))
            return QStringLiteral("the settings file is no whole Shift-JIS");
        return {};
    }

  private:
    // The windows the operator can reach: while a modal one is open, only it
    // and the windows it opened; a minimised one only when asked for.
    static QList<QWidget*> windowsOnScreen(bool minimised = false) {
        QWidget* modal = QApplication::activeModalWidget();
        QList<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (minimised || !w->isMinimized()) && !qobject_cast<QMenu*>(w) &&
                !w->inherits("QComboBoxPrivateContainer") && !w->inherits("QTipLabel") &&
                (!modal || w == modal || modal->isAncestorOf(w)))
                windows << w;
        return windows;
    }

    static QWidget* windowOf(const Action& a, bool minimised = false) {
        const QString cls = a.value(QStringLiteral("window")).toString();
        for (QWidget* w : windowsOnScreen(minimised))
            if (QString::fromLatin1(w->metaObject()->className()) == cls) return w;
        return nullptr;
    }

    static Action act(const char* what, QWidget* window = nullptr) {
        Action a{{QStringLiteral("do"), QLatin1String(what)}};
        if (window) a[QStringLiteral("window")] = QString::fromLatin1(window->metaObject()->className());
        return a;
    }

    // The random choice of a step, as data.
    Action choose() {
        // An open menu or list takes the operator's next key or click first.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            Action a = act("popup");
            a[QStringLiteral("how")] = chooseOpenAnswer(popup);
            return a;
        }
        const QList<QWidget*> windows = windowsOnScreen();
        if (windows.isEmpty()) {
            const QList<QWidget*> minimised = windowsOnScreen(true);
            return minimised.isEmpty() ? act("nothing") : act("restore", any(minimised));
        }
        QWidget* window = any(windows);
        switch (pick(11)) {
        case 0:
        case 1:
            return chooseMenuItem(window);
        case 2:
        case 3:
        case 4:
            return chooseClick(window);
        case 5:
        case 6:
            return chooseKey(window);
        case 7:
            return chooseTyping(window, "type");
        case 8:
            return chooseTyping(window, "paste");
        case 9:
            return chooseClipboard();
        default:
            return chooseWait(window);
        }
    }

    // A step that meets one of the program's waits.
    Action chooseWait(QWidget* window) {
        auto* main = qobject_cast<PSK31MAIN*>(window);
        switch (pick(5)) {
        case 0:
            if (!main) break;
            return act("scan", window);
        case 1: {
            if (!main) break;
            Action a = act("macro", window);
            a[QStringLiteral("n")] = pick(36);
            a[QStringLiteral("text")] = any(kRigMacros);
            return a;
        }
        case 2:
            return chooseSpot(window);
        case 3: {
            // The rig keeps its answers back for a while, as a busy one does.
            Action a = act("rigHolds");
            a[QStringLiteral("ms")] = 200 + pick(1500);
            return a;
        }
        default: {
            // The pause between paced commands, as the settings sheet sets it.
            static const QStringList paces{QStringLiteral("0"), QStringLiteral("300"),
                                           QStringLiteral("1000")};
            Action a = act("rigPaced");
            a[QStringLiteral("ms")] = any(paces);
            return a;
        }
        }
        return chooseClick(window);
    }

    // A spot double-clicked in the spot window, opened from the window's menu first.
    Action chooseSpot(QWidget* window) {
        if (!forms::isLoaded<ClusterData>() || !forms::ClusterData().isVisible()) {
            QAction* item = nullptr;
            if (auto* main = qobject_cast<PSK31MAIN*>(window)) item = main->dxinfo;
            if (auto* sstvWindow = qobject_cast<SSTVForm*>(window)) item = sstvWindow->dxinfo;
            auto* bar = window->findChild<QMenuBar*>();
            if (!item || !bar || !item->isEnabled()) return chooseClick(window);
            Action a = act("menu", window);
            a[QStringLiteral("item")] = QJsonArray{item->text()};
            return a;
        }
        QTableWidget* grid = forms::ClusterData().MSFlexGrid1;
        if (grid->rowCount() < 2 || !grid->isVisible()) return chooseClick(window);
        Action a = act("spot");
        a[QStringLiteral("row")] = 1 + pick(grid->rowCount() - 1);
        a[QStringLiteral("column")] = pick(grid->columnCount());
        return a;
    }

    static void leaves(QWidget* w, QList<QWidget*>& found) {
        bool inner = false;
        for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c->isVisible() && !c->isWindow()) {
                inner = true;
                leaves(c, found);
            }
        if ((!inner || qobject_cast<QAbstractButton*>(w)) && w->isEnabled()) found << w;
    }

    Action chooseMenuItem(QWidget* window) {
        auto* bar = window->findChild<QMenuBar*>();
        if (!bar || !bar->isVisible()) return chooseClick(window);
        QList<QJsonArray> items;
        QList<std::pair<QMenu*, QJsonArray>> menus;
        for (QAction* a : bar->actions()) {
            if (a->menu())
                menus.append({a->menu(), QJsonArray{a->text()}});
            else if (a->isVisible() && a->isEnabled() && !a->isSeparator() && !isEnd(a))
                items << QJsonArray{a->text()}; // an item of the bar itself ("DX情報")
        }
        while (!menus.isEmpty()) {
            const auto [menu, captions] = menus.takeFirst();
            for (QAction* a : menu->actions()) {
                if (!a->isVisible() || !a->isEnabled() || a->isSeparator()) continue;
                QJsonArray path = captions;
                path.append(a->text());
                if (a->menu())
                    menus.append({a->menu(), path});
                else if (!isEnd(a))
                    items << path;
            }
        }
        if (items.isEmpty()) return chooseClick(window);
        Action a = act("menu", window);
        a[QStringLiteral("item")] = any(items);
        return a;
    }

    // The end of the program is no step of the walk.
    static bool isEnd(const QAction* a) {
        return (forms::isLoaded<PSK31MAIN>() && a == forms::PSK31MAIN().pEnd) ||
               (forms::isLoaded<SSTVForm>() && a == forms::SSTVForm().pEnd);
    }

    Action chooseClick(QWidget* window) {
        QList<QWidget*> found;
        leaves(window, found);
        if (found.isEmpty()) return act("nothing", window);
        QWidget* target = any(found);
        Action a = act("click", window);
        a[QStringLiteral("target")] = placeOf(target);
        a[QStringLiteral("x")] = pick(target->width());
        a[QStringLiteral("y")] = pick(target->height());
        a[QStringLiteral("right")] = chance(20);
        // Held as a finger holds it, about 100 ms, while the stations' text keeps arriving.
        a[QStringLiteral("how")] = chance(5)    ? QStringLiteral("double")
                                   : chance(10) ? QStringLiteral("held")
                                                : QStringLiteral("click");
        return a;
    }

    // A box of the window clicked first, for what is typed or pasted into it.
    QJsonValue chooseBox(QWidget* window) {
        const QList<QWidget*> boxes = apptest::editableBoxes(window);
        if (boxes.isEmpty()) return QJsonValue();
        return placeOf(any(boxes));
    }

    Action chooseKey(QWidget* window) {
        Action a = act("key", window);
        a[QStringLiteral("key")] = QKeySequence(any(kKeys)).toString();
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == window)
            a[QStringLiteral("focus")] = true;
        else if (chance(50))
            a[QStringLiteral("box")] = chooseBox(window);
        return a;
    }

    Action chooseTyping(QWidget* window, const char* what) {
        const QJsonValue box = chooseBox(window);
        if (box.isNull()) return chooseClick(window);
        Action a = act(what, window);
        a[QStringLiteral("box")] = box;
        if (QLatin1String(what) == QLatin1String("type"))
            a[QStringLiteral("text")] = any(kTexts);
        else
            a[QStringLiteral("clipboard")] = chooseClipboard();
        return a;
    }

    Action chooseClipboard() {
        Action a = act("clipboard");
        const int state = pick(3);
        a[QStringLiteral("state")] = state;
        if (state == 2) a[QStringLiteral("text")] = any(kTexts);
        return a;
    }

    // ---- Taking a step ----

    QString perform(const Action& a) {
        const QString what = a.value(QStringLiteral("do")).toString();
        if (what == QLatin1String("popup")) {
            QWidget* popup = QApplication::activePopupWidget();
            if (!popup) return QStringLiteral("no open popup");
            const QString said =
                QStringLiteral("answered the open ") + QString::fromLatin1(popup->metaObject()->className());
            remember(said);
            answerOpen(popup, a.value(QStringLiteral("how")).toObject());
            return said;
        }
        if (what == QLatin1String("clipboard")) return changeClipboard(a);
        if (what == QLatin1String("rigHolds")) {
            const int ms = a.value(QStringLiteral("ms")).toInt();
            rig_.holdingAnswers = true;
            answersBack_.start(ms);
            return QStringLiteral("the rig holds its answers back %1 ms").arg(ms);
        }
        if (what == QLatin1String("rigPaced")) {
            rig::g.RigInterval = a.value(QStringLiteral("ms")).toString();
            return QStringLiteral("the rig paced at ") + rig::g.RigInterval + QStringLiteral(" ms");
        }
        if (what == QLatin1String("spot")) return doubleClickASpot(a);
        if (what == QLatin1String("restore")) {
            QWidget* w = windowOf(a, true);
            if (!w) return QStringLiteral("no window to restore");
            const QString said =
                QStringLiteral("restored the minimised ") + a.value(QStringLiteral("window")).toString();
            remember(said);
            w->showNormal();
            w->activateWindow();
            return said;
        }
        QWidget* window = windowOf(a);
        const QString where = a.value(QStringLiteral("window")).toString();
        if (!window) return QStringLiteral("no ") + where + QStringLiteral(" on the screen for: ") + what;
        if (what == QLatin1String("menu")) return chooseInMenu(window, where, a);
        if (what == QLatin1String("click")) return click(window, where, a);
        if (what == QLatin1String("key")) return key(window, where, a);
        if (what == QLatin1String("type") || what == QLatin1String("paste"))
            return typeOrPaste(window, where, a);
        if (what == QLatin1String("scan")) {
            remember(where + QStringLiteral(" scan button"));
            QTest::mouseClick(static_cast<PSK31MAIN*>(window)->Command11, Qt::LeftButton);
            return where + QStringLiteral(" scan button");
        }
        if (what == QLatin1String("macro")) return macro(static_cast<PSK31MAIN*>(window), where, a);
        return QStringLiteral("nothing to do in ") + where;
    }

    QString macro(PSK31MAIN* main, const QString& where, const Action& a) {
        const int n = a.value(QStringLiteral("n")).toInt();
        const QString text = a.value(QStringLiteral("text")).toString();
        const QString what = where + QStringLiteral(" macro %1 reading the rig: ").arg(n + 1) + text;
        remember(what);
        MACRO_FORM& store = forms::MACRO_FORM();
        terminal::macros::putInStore(store, n, {QStringLiteral("RIG%1").arg(n), 0xC0FFC0, text});
        terminal::macros::rebuildShortcuts(store);
        QPointer<QPushButton> button = main->Command8[std::size_t(n)];
        QTest::mousePress(button, Qt::LeftButton);
        if (button) QTest::mouseRelease(button, Qt::LeftButton);
        return what;
    }

    QString doubleClickASpot(const Action& a) {
        if (!forms::isLoaded<ClusterData>()) return QStringLiteral("no spot window");
        QTableWidget* grid = forms::ClusterData().MSFlexGrid1;
        const int row = a.value(QStringLiteral("row")).toInt();
        const int column = a.value(QStringLiteral("column")).toInt();
        if (row >= grid->rowCount() || column >= grid->columnCount()) return QStringLiteral("no such spot");
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        const QString what = QStringLiteral("ClusterData spot in row %1 double-clicked").arg(row);
        remember(what);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        return what;
    }

    QString chooseInMenu(QWidget* window, const QString& where, const Action& a) {
        auto* bar = window->findChild<QMenuBar*>();
        QPointer<QAction> item = itemAt(bar, a.value(QStringLiteral("item")).toArray());
        if (!item) return where + QStringLiteral(" has no such menu item");
        const QString what = where + QStringLiteral(" menu ") + item->text();
        remember(what);
        zvtest::chooseInMenuBar(bar, item);
        return what;
    }

    QString click(QWidget* window, const QString& where, const Action& a) {
        QWidget* target = atPlace(window, a.value(QStringLiteral("target")).toArray());
        if (!target) return QStringLiteral("nothing to click in ") + where;
        const QPoint at(a.value(QStringLiteral("x")).toInt(), a.value(QStringLiteral("y")).toInt());
        const Qt::MouseButton button =
            a.value(QStringLiteral("right")).toBool() ? Qt::RightButton : Qt::LeftButton;
        const QString how = a.value(QStringLiteral("how")).toString();
        const QString what =
            QStringLiteral("%1 %2 %3 clicked at %4,%5")
                .arg(where, target->objectName(), QString::fromLatin1(target->metaObject()->className()))
                .arg(at.x())
                .arg(at.y());
        remember(what);
        if (how == QLatin1String("double")) {
            QTest::mouseDClick(target, button, {}, at);
        } else if (how == QLatin1String("held")) {
            // What the press opened may be gone by the release.
            QPointer<QWidget> held = target;
            QTest::mousePress(target, button, {}, at);
            QElapsedTimer finger;
            finger.start();
            while (finger.elapsed() < 100)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (held) QTest::mouseRelease(held, button, {}, at);
            return what + QStringLiteral(", held");
        } else {
            QTest::mouseClick(target, button, {}, at);
        }
        return what;
    }

    static QWidget* clickBox(QWidget* window, const QJsonValue& place) {
        QWidget* b = atPlace(window, place.toArray());
        if (!b) return nullptr;
        QTest::mouseClick(b, Qt::LeftButton);
        return b->focusProxy() ? b->focusProxy() : b;
    }

    QString key(QWidget* window, const QString& where, const Action& a) {
        const QKeyCombination key = QKeySequence(a.value(QStringLiteral("key")).toString())[0];
        QWidget* target = nullptr;
        if (a.value(QStringLiteral("focus")).toBool()) target = QApplication::focusWidget();
        if (a.contains(QStringLiteral("box"))) target = clickBox(window, a.value(QStringLiteral("box")));
        if (!target || target->window() != window) target = window;
        const QString what = where + QStringLiteral(" key ") + QKeySequence(key).toString();
        remember(what);
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
        // While the macro editor waits for a shortcut key the main windows
        // take no key, Esc neither: the sending goes on.
        const bool editorWaits = forms::isLoaded<MACRO_FORM>() && forms::MACRO_FORM().Label3->isVisible();
        escInMainWindow = key.key() == Qt::Key_Escape && !editorWaits &&
                          (qobject_cast<PSK31MAIN*>(window) || qobject_cast<SSTVForm*>(window));
        return what;
    }

    QString typeOrPaste(QWidget* window, const QString& where, const Action& a) {
        QWidget* target = clickBox(window, a.value(QStringLiteral("box")));
        if (!target) return QStringLiteral("no box to type into in ") + where;
        if (a.value(QStringLiteral("do")).toString() == QLatin1String("paste")) {
            const QString state = changeClipboard(a.value(QStringLiteral("clipboard")).toObject());
            const QString what =
                where + QStringLiteral(" Ctrl+V into ") + target->objectName() + QStringLiteral(", ") + state;
            remember(what);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            return what;
        }
        const QString text = a.value(QStringLiteral("text")).toString();
        const QString what =
            where + QStringLiteral(" typed into ") + target->objectName() + QStringLiteral(": ") + text;
        remember(what);
        typeInto(target, text);
        return what;
    }

    // Keys for what a keyboard has, the input method's commit for the rest.
    static void typeInto(QWidget* target, const QString& text) {
        QPointer<QWidget> alive = target;
        for (const QChar c : text) {
            if (!alive) return;
            if (c.unicode() < 0x80) {
                QTest::keyClicks(alive, QString(c));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QCoreApplication::sendEvent(alive, &commit);
            }
        }
    }

    static QString changeClipboard(const Action& a) {
        switch (a.value(QStringLiteral("state")).toInt()) {
        case 0:
            clipboard::empty();
            return QStringLiteral("clipboard emptied");
        case 1:
            QGuiApplication::clipboard()->setMimeData(new QMimeData);
            return QStringLiteral("clipboard offering nothing");
        default: {
            const QString text = a.value(QStringLiteral("text")).toString();
            clipboard::hold(text);
            return QStringLiteral("clipboard holding ") + text;
        }
        }
    }

    void remember(const QString& what) {
        std::snprintf(lastStep, sizeof lastStep, "random walk, seed %lu, step %d: %s\n", seed, number,
                      qUtf8Printable(what));
        // A step acted in meanwhile hides the one that waits: each is said as it begins.
        if (trace && nestedMs > 0)
            std::fprintf(stderr, "%d begins%s: %s\n", number, inner_ ? " (meanwhile)" : "",
                         qUtf8Printable(what));
    }

  public:
    unsigned long seed = 0;
    int number = 0;
    bool escInMainWindow = false;
    bool trace = false;
    qint64 nestedMs = 0;

  private:
    std::mt19937 rng_;
    zvtest::RigSimulator& rig_;
    QString ini_;
    QPointer<QWidget> open_;
    QElapsedTimer openFor_;
    bool stepping_ = false;
    int inner_ = 0;
    QElapsedTimer stepFor_;
    qint64 actAt_ = 0;
    QTimer answersBack_;
    // The walk so far, and in a replay the walk written down.
    QList<QJsonObject> steps_;
    QJsonArray answers_, openAnswers_, meanwhile_;
    QList<QJsonObject> replay_;
    QJsonObject recorded_;
    int answersTaken_ = 0, openTaken_ = 0, meanwhileTaken_ = 0;
};

class RandomWalk : public apptest::RunningProgram {};

TEST_F(RandomWalk, NothingTheOperatorDoesBreaksWhatMustAlwaysHold) {
    const unsigned long seed = setting("walk-seed", "ZV_WALK_SEED", 1);
    int steps = int(setting("walk-steps", "ZV_WALK_STEPS", 3000));
    // Every step on the standard error, for a walk by hand.
    const bool trace = !qEnvironmentVariableIsEmpty("ZV_WALK_TRACE");
    const zvtest::OpenedUrls browser(
        {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")});
    // The spot window reads its page from a server of ours.
    zvtest::LoopbackHttpServer spotServer;
    spotServer.setPage("/wwdigi.html", spotsrv::primaryPage(QStringLiteral("WW"), kSpots));
    qputenv("ZORVATEK_SPOT_PRIMARY", spotServer.url(QString()).toUtf8());
    qputenv("ZORVATEK_SPOT_FALLBACK", spotServer.url(QString()).toUtf8());
    // An end the walk reaches (an exit item in a menu it answers) is said, and
    // the program is started again.
    bool ended = false;
    terminal::mainwindow::setProcessEndForTest([&ended] { ended = true; });
    int ends = 0;
    Walk walk(seed, rig(), path(QStringLiteral("ZORVATEK.INI")));
    walk.trace = trace;
    walk.nestedMs = qint64(setting("walk-nested-ms", "ZV_WALK_NESTED_MS", 0));
    QString replay;
    for (const QString& a : QCoreApplication::arguments())
        if (a.startsWith(QLatin1String("--walk-replay="))) replay = a.mid(14);
    if (replay.isEmpty()) replay = qEnvironmentVariable("ZV_WALK_REPLAY");
    if (!replay.isEmpty()) {
        ASSERT_TRUE(walk.replayFrom(replay)) << "no walk written down in " << replay.toStdString();
        steps = walk.replaySteps();
        std::printf("random walk: the %d steps written down in %s\n", steps, qUtf8Printable(replay));
    } else {
        std::printf("random walk: seed %lu, %d steps\n", seed, steps);
    }
    ui::script::answerBy([&walk](const ui::Asked& asked) { return walk.answer(asked); });
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&walk] { walk.answerOpenWindows(); });
    answering.start(50);
    for (const int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE})
        std::signal(sig, sayLastStep);

    for (walk.number = 1; walk.number <= steps; ++walk.number) {
        walk.escInMainWindow = false;
        // From an event loop, as the window system's events come: a window
        // that the step unloads stays until that loop has the control back.
        QString what;
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            walk.stepBegins();
            what = walk.step();
            walk.stepEnds();
            loop.quit();
        });
        loop.exec();
        if (trace) std::fprintf(stderr, "%d: %s\n", walk.number, qUtf8Printable(what));
        ASSERT_TRUE(zvtest::waitForPostedEvents(kStepWithinMsecs))
            << "seed " << seed << ", step " << walk.number << ": " << what.toStdString()
            << "; the walk written down in " << walk.writeDown().toStdString();
        if (ended) {
            ended = false;
            ++ends;
            std::printf("random walk, seed %lu, step %d: %s ended the program; started again\n", seed,
                        walk.number, qUtf8Printable(what));
            startup::StartUp();
            ASSERT_TRUE(zvtest::waitUntil(
                [] {
                    return (forms::isLoaded<PSK31MAIN>() && forms::PSK31MAIN().isVisible()) ||
                           (forms::isLoaded<SSTVForm>() && forms::SSTVForm().isVisible());
                },
                kStepWithinMsecs))
                << "seed " << seed << ", step " << walk.number << ": the program does not start again";
        }
        const QString broken = walk.broken();
        ASSERT_TRUE(broken.isEmpty())
            << "seed " << seed << ", step " << walk.number << ": " << what.toStdString() << ": "
            << broken.toStdString() << "; the walk written down in " << walk.writeDown().toStdString();
        ui::script::clearAsked();
    }
    for (const int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE})
        std::signal(sig, SIG_DFL);
    ui::script::answerBy({});
    terminal::mainwindow::setProcessEndForTest({});
    qunsetenv("ZORVATEK_SPOT_PRIMARY");
    qunsetenv("ZORVATEK_SPOT_FALLBACK");
    std::printf("random walk: %d ends of the program met\n", ends);
    if (trace) std::fprintf(stderr, "the walk written down in %s\n", qUtf8Printable(walk.writeDown()));
}

} // namespace
