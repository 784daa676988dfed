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
// waited N ms. A failing walk writes its steps down and names the file;
// --walk-replay=FILE (ZV_WALK_REPLAY) takes those steps again.
#include "app/RunningProgram.h"

#include "core/Globals.h"

#include "platform/forms/dialogs/Dialogs.h"
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
#include "support/WalkHands.h"
#include "support/WalkRecord.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QJsonArray>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <limits>
#include <random>

namespace {

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

using zvtest::atPlace;
using zvtest::placeOf;
using Action = zvtest::WalkAction;

using zvtest::windowsOnScreen;

class Walk : public zvtest::WalkHands {
  public:
    Walk(unsigned long seed, zvtest::RigSimulator& rig, QString ini)
        : WalkHands(rig), seed(seed), record(ini.left(ini.lastIndexOf(QLatin1Char('/')))), rng_(seed),
          ini_(std::move(ini)) {
        // Each PTT command as the rig hears it, and what the program then believes of the key.
        lineWatch_ = QObject::connect(&rig, &zvtest::RigSimulator::pttHeard, &rig, [this](bool on) {
            record.noteLine(QStringLiteral("%1; the program: keyed by it %2, last sent %3")
                                .arg(on ? QStringLiteral("PTT on") : QStringLiteral("PTT off"))
                                .arg(rig::g.PttKeyedByCat)
                                .arg(rig::g.PttOnLastSent));
        });
    }
    ~Walk() override { QObject::disconnect(lineWatch_); }

    int pick(qsizetype n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, int(n) - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T> const T& any(const QList<T>& list) { return list[pick(list.size())]; }

    // One step; its description, as it is about to be taken.
    QString step() {
        const bool inner = inner_ > 0;
        if (!inner) record.beginStep(number, state());
        Action action;
        if (record.replaying())
            action = inner ? record.recordedMeanwhile() : record.recordedAction();
        else
            action = choose();
        const QString what = take(action);
        if (inner)
            record.noteMeanwhile(action);
        else
            record.noteTaken(action, what);
        return what;
    }

    // Writes the walk down, for a replay that fails the same way.
    QString writeDown() const {
        return record.writeDown(
            QStringLiteral("zv-walk-%1-%2.json").arg(seed).arg(QCoreApplication::applicationPid()),
            {{QStringLiteral("seed"), qint64(seed)}, {QStringLiteral("nestedMs"), nestedMs}});
    }

    // A question the program asks, answered as the operator might (in a
    // replay, as the operator did).
    QVariant answer(const ui::Asked& asked) {
        const QVariant given = record.replaying() ? record.recordedAnswer(asked.kind) : chooseAnswer(asked);
        record.noteAnswer(given);
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
                    answerOpen(open,
                               record.replaying() ? record.recordedOpenAnswer() : chooseOpenAnswer(open));
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

    // The operator's answer is written down before it is given.
    void answerOpen(QWidget* open, const Action& how) override {
        record.noteOpenAnswer(how);
        WalkHands::answerOpen(open, how);
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

    void remember(const QString& what) override {
        zvtest::noteForCrash(
            QStringLiteral("random walk, seed %1, step %2: %3\n").arg(seed).arg(number).arg(what));
        // A step acted in meanwhile hides the one that waits: each is said as it begins.
        if (trace && nestedMs > 0)
            std::fprintf(stderr, "%d begins%s: %s\n", number, inner_ ? " (meanwhile)" : "",
                         qUtf8Printable(what));
    }

  public:
    unsigned long seed = 0;
    int number = 0;
    bool trace = false;
    qint64 nestedMs = 0;
    // The walk so far, and in a replay the walk written down.
    zvtest::WalkRecord record;

  private:
    std::mt19937 rng_;
    QString ini_;
    QPointer<QWidget> open_;
    QElapsedTimer openFor_;
    bool stepping_ = false;
    int inner_ = 0;
    QElapsedTimer stepFor_;
    qint64 actAt_ = 0;
    QMetaObject::Connection lineWatch_;
};

class RandomWalk : public apptest::RunningProgram {};

TEST_F(RandomWalk, NothingTheOperatorDoesBreaksWhatMustAlwaysHold) {
    const unsigned long seed = zvtest::walkSetting("walk-seed", "ZV_WALK_SEED", 1);
    int steps = int(zvtest::walkSetting("walk-steps", "ZV_WALK_STEPS", 3000));
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
    walk.nestedMs = qint64(zvtest::walkSetting("walk-nested-ms", "ZV_WALK_NESTED_MS", 0));
    const QString replay = zvtest::walkText("walk-replay", "ZV_WALK_REPLAY");
    if (!replay.isEmpty()) {
        ASSERT_TRUE(walk.record.readFrom(replay)) << "no walk written down in " << replay.toStdString();
        walk.nestedMs = walk.record.recordedNestedMs();
        steps = walk.record.recordedSteps();
        std::printf("random walk: the %d steps written down in %s\n", steps, qUtf8Printable(replay));
    } else {
        std::printf("random walk: seed %lu, %d steps\n", seed, steps);
    }
    ui::script::answerBy([&walk](const ui::Asked& asked) { return walk.answer(asked); });
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&walk] { walk.answerOpenWindows(); });
    answering.start(50);
    zvtest::sayOnCrash(true);

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
    zvtest::sayOnCrash(false);
    ui::script::answerBy({});
    terminal::mainwindow::setProcessEndForTest({});
    qunsetenv("ZORVATEK_SPOT_PRIMARY");
    qunsetenv("ZORVATEK_SPOT_FALLBACK");
    std::printf("random walk: %d ends of the program met\n", ends);
    if (trace) std::fprintf(stderr, "the walk written down in %s\n", qUtf8Printable(walk.writeDown()));
}

} // namespace
