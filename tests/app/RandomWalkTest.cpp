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
// waited N ms.
#include "app/RunningProgram.h"

#include "core/Globals.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/os/Cp932.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "rig/RigGlobals.h"
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
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFont>
#include <QInputMethodEvent>
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

    // One step; its description, as it is about to be taken.
    QString step() {
        // An open menu or list takes the operator's next key or click first.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            const QString what =
                QStringLiteral("answered the open ") + QString::fromLatin1(popup->metaObject()->className());
            remember(what);
            answer(popup);
            return what;
        }
        const QList<QWidget*> windows = windowsOnScreen();
        if (windows.isEmpty()) return restoreFromTaskBar();
        QWidget* window = any(windows);
        const QString where = QString::fromLatin1(window->metaObject()->className());
        switch (pick(11)) {
        case 0:
        case 1:
            return chooseMenuItem(window, where);
        case 2:
        case 3:
        case 4:
            return click(window, where);
        case 5:
        case 6:
            return key(window, where);
        case 7:
            return type(window, where);
        case 8:
            return paste(window, where);
        case 9:
            return changeClipboard();
        default:
            return meetAWait(window, where);
        }
    }

    // A question the program asks, answered as the operator might.
    QVariant answer(const ui::Asked& asked) {
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
                if (open) answer(open);
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

  private:
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

    void answer(QWidget* open) {
        if (open->inherits("QComboBoxPrivateContainer") || qobject_cast<QMenu*>(open)) {
            if (chance(70)) {
                for (int i = pick(8); i >= 0; --i)
                    QTest::keyClick(open, Qt::Key_Down);
                QTest::keyClick(open, Qt::Key_Return);
            } else {
                QTest::keyClick(open, Qt::Key_Escape);
            }
            return;
        }
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : open->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled()) buttons << b;
        if (!buttons.isEmpty() && chance(60))
            QTest::mouseClick(any(buttons), Qt::LeftButton);
        else
            QTest::keyClick(open, Qt::Key_Escape);
    }

  public:
    // What must hold after every step; empty when it holds.
    QString broken() {
        if (QApplication::activeModalWidget() == nullptr && windowsOnScreen(true).isEmpty())
            return QStringLiteral("no window of the program is on the screen");
        if (!zvtest::waitUntil([&] { return !rig_.ptt || rig::nb().anyEngineSends(); }, kUnkeyedWithinMsecs))
            return QStringLiteral("the rig is keyed while no engine sends (mode %1)").arg(core::g.OpMode);
        if (escInMainWindow && !zvtest::waitUntil([&] { return !rig_.ptt; }, kUnkeyedWithinMsecs))
            return QStringLiteral("the rig is still keyed after Esc (sending: PSK %1, RTTY %2, "
                                  "MMVARI %3, SSTV %4; mode %5; shortcut wait %6)")
                .arg(core::g.Transmitting)
                .arg(core::g.MmttyTxOn)
                .arg(core::g.MmvariTxOn)
                .arg(sstv::g.SstvTxActive)
                .arg(core::g.OpMode)
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

    // Every window is minimised (the suspend item): the operator's click on
    // the task bar brings one back.
    QString restoreFromTaskBar() {
        const QList<QWidget*> minimised = windowsOnScreen(true);
        if (minimised.isEmpty()) return QStringLiteral("no window on the screen");
        QWidget* w = any(minimised);
        const QString what =
            QStringLiteral("restored the minimised ") + QString::fromLatin1(w->metaObject()->className());
        remember(what);
        w->showNormal();
        w->activateWindow();
        return what;
    }

    // A step that meets one of the program's waits.
    QString meetAWait(QWidget* window, const QString& where) {
        auto* main = qobject_cast<PSK31MAIN*>(window);
        switch (pick(5)) {
        case 0:
            if (!main) break;
            remember(where + QStringLiteral(" scan button"));
            QTest::mouseClick(main->Command11, Qt::LeftButton);
            return where + QStringLiteral(" scan button");
        case 1: {
            if (!main) break;
            const int n = pick(36);
            const QString text = any(kRigMacros);
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
        case 2:
            return doubleClickASpot(window, where);
        case 3: {
            // The rig keeps its answers back for a while, as a busy one does.
            const int ms = 200 + pick(1500);
            rig_.holdingAnswers = true;
            answersBack_.start(ms);
            return QStringLiteral("the rig holds its answers back %1 ms").arg(ms);
        }
        default: {
            // The pause between paced commands, as the settings sheet sets it.
            static const QStringList paces{QStringLiteral("0"), QStringLiteral("300"),
                                           QStringLiteral("1000")};
            rig::g.RigInterval = any(paces);
            return QStringLiteral("the rig paced at ") + rig::g.RigInterval + QStringLiteral(" ms");
        }
        }
        return click(window, where);
    }

    // A spot double-clicked in the spot window, opened from the window's menu first.
    QString doubleClickASpot(QWidget* window, const QString& where) {
        if (!forms::isLoaded<ClusterData>() || !forms::ClusterData().isVisible()) {
            QAction* item = nullptr;
            if (auto* main = qobject_cast<PSK31MAIN*>(window)) item = main->dxinfo;
            if (auto* sstvWindow = qobject_cast<SSTVForm*>(window)) item = sstvWindow->dxinfo;
            auto* bar = window->findChild<QMenuBar*>();
            if (!item || !bar || !item->isEnabled()) return click(window, where);
            const QString what = where + QStringLiteral(" menu ") + item->text();
            remember(what);
            zvtest::chooseInMenuBar(bar, item);
            return what;
        }
        QTableWidget* grid = forms::ClusterData().MSFlexGrid1;
        if (grid->rowCount() < 2 || !grid->isVisible()) return click(window, where);
        const int row = 1 + pick(grid->rowCount() - 1);
        const QRect cell = grid->visualRect(grid->model()->index(row, pick(grid->columnCount())));
        const QString what = QStringLiteral("ClusterData spot in row %1 double-clicked").arg(row);
        remember(what);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        return what;
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

    QString chooseMenuItem(QWidget* window, const QString& where) {
        auto* bar = window->findChild<QMenuBar*>();
        if (!bar || !bar->isVisible()) return click(window, where);
        QList<QAction*> items;
        QList<QMenu*> menus;
        for (QAction* a : bar->actions()) {
            if (a->menu())
                menus << a->menu();
            else if (a->isVisible() && a->isEnabled() && !a->isSeparator() && !isEnd(a))
                items << a; // an item of the bar itself ("DX情報")
        }
        while (!menus.isEmpty()) {
            QMenu* menu = menus.takeFirst();
            for (QAction* a : menu->actions()) {
                if (!a->isVisible() || !a->isEnabled() || a->isSeparator()) continue;
                if (a->menu())
                    menus << a->menu();
                else if (!isEnd(a))
                    items << a;
            }
        }
        if (items.isEmpty()) return click(window, where);
        QPointer<QAction> item = any(items);
        const QString what = where + QStringLiteral(" menu ") + item->text();
        remember(what);
        zvtest::chooseInMenuBar(bar, item);
        return what;
    }

    // The end of the program is no step of the walk.
    static bool isEnd(const QAction* a) {
        return (forms::isLoaded<PSK31MAIN>() && a == forms::PSK31MAIN().pEnd) ||
               (forms::isLoaded<SSTVForm>() && a == forms::SSTVForm().pEnd);
    }

    QString click(QWidget* window, const QString& where) {
        QList<QWidget*> found;
        leaves(window, found);
        if (found.isEmpty()) return QStringLiteral("nothing to click in ") + where;
        QWidget* target = any(found);
        const QPoint at(pick(target->width()), pick(target->height()));
        const Qt::MouseButton button = chance(20) ? Qt::RightButton : Qt::LeftButton;
        const QString what =
            QStringLiteral("%1 %2 %3 clicked at %4,%5")
                .arg(where, target->objectName(), QString::fromLatin1(target->metaObject()->className()))
                .arg(at.x())
                .arg(at.y());
        remember(what);
        if (chance(5)) {
            QTest::mouseDClick(target, button, {}, at);
        } else if (chance(10)) {
            // Held as a finger holds it, about 100 ms, while the stations'
            // text keeps arriving; what the press opened may be gone by the release.
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

    QWidget* box(QWidget* window) {
        const QList<QWidget*> boxes = apptest::editableBoxes(window);
        if (boxes.isEmpty()) return nullptr;
        QWidget* b = any(boxes);
        QTest::mouseClick(b, Qt::LeftButton);
        return b->focusProxy() ? b->focusProxy() : b;
    }

    QString key(QWidget* window, const QString& where) {
        const QKeyCombination key = any(kKeys);
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != window) target = chance(50) ? box(window) : window;
        if (!target) target = window;
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

    QString type(QWidget* window, const QString& where) {
        QWidget* target = box(window);
        if (!target) return click(window, where);
        const QString text = any(kTexts);
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

    QString paste(QWidget* window, const QString& where) {
        QWidget* target = box(window);
        if (!target) return click(window, where);
        const QString state = changeClipboard();
        const QString what =
            where + QStringLiteral(" Ctrl+V into ") + target->objectName() + QStringLiteral(", ") + state;
        remember(what);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        return what;
    }

    QString changeClipboard() {
        switch (pick(3)) {
        case 0:
            clipboard::empty();
            return QStringLiteral("clipboard emptied");
        case 1:
            QGuiApplication::clipboard()->setMimeData(new QMimeData);
            return QStringLiteral("clipboard offering nothing");
        default: {
            const QString text = any(kTexts);
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
};

class RandomWalk : public apptest::RunningProgram {};

TEST_F(RandomWalk, NothingTheOperatorDoesBreaksWhatMustAlwaysHold) {
    const unsigned long seed = setting("walk-seed", "ZV_WALK_SEED", 1);
    const int steps = int(setting("walk-steps", "ZV_WALK_STEPS", 3000));
    std::printf("random walk: seed %lu, %d steps\n", seed, steps);
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
            << "seed " << seed << ", step " << walk.number << ": " << what.toStdString();
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
        ASSERT_TRUE(broken.isEmpty()) << "seed " << seed << ", step " << walk.number << ": "
                                      << what.toStdString() << ": " << broken.toStdString();
        ui::script::clearAsked();
    }
    for (const int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE})
        std::signal(sig, SIG_DFL);
    ui::script::answerBy({});
    terminal::mainwindow::setProcessEndForTest({});
    qunsetenv("ZORVATEK_SPOT_PRIMARY");
    qunsetenv("ZORVATEK_SPOT_FALLBACK");
    std::printf("random walk: %d ends of the program met\n", ends);
}

} // namespace
