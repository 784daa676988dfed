#include "support/WalkHands.h"

#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "platform/forms/text/Clipboard.h"
#include "rig/RigGlobals.h"
#include "spots/ClusterData.h"
#include "sstv/window/SSTVForm.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <atomic>
#include <chrono>
#include <csignal>
#include <sqlite3.h>

namespace zvtest {

namespace {

QWidget* clickBox(QWidget* window, const QJsonValue& place) {
    QWidget* b = atPlace(window, place.toArray());
    if (!b) return nullptr;
    QTest::mouseClick(b, Qt::LeftButton);
    return b->focusProxy() ? b->focusProxy() : b;
}

// Keys for what a keyboard has, the input method's commit for the rest.
void typeInto(QWidget* target, const QString& text) {
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

QString changeClipboard(const WalkAction& a) {
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

} // namespace

WalkHands::WalkHands(RigPlug& plug, LoopbackHttpServer& spots, QByteArray spotPath, QByteArray spotPage)
    : plug_(plug), spots_(spots), spotPath_(std::move(spotPath)), spotPage_(std::move(spotPage)) {
    answersBack_.setSingleShot(true);
    QObject::connect(&answersBack_, &QTimer::timeout, [this] {
        if (RigSimulator* rig = plug_.plugged()) {
            rig->holdingAnswers = false;
            rig->releaseAnswers();
        }
    });
    rttyBack_.setSingleShot(true);
    QObject::connect(&rttyBack_, &QTimer::timeout, [this] { resumeRtty(); });
}

WalkHands::~WalkHands() {
    resumeRtty();
    if (logHolder_.joinable()) logHolder_.join();
}

void WalkHands::stepTaken() {
    // The pace the settings had comes back, unless the settings set another meanwhile.
    if (pacedSteps_ > 0 && --pacedSteps_ == 0 && rig::g.RigInterval == pacedAt_)
        rig::g.RigInterval = paceBefore_;
}

void WalkHands::resumeRtty() {
    rttyBack_.stop();
    if (stoppedPid_ > 0) ::kill(pid_t(stoppedPid_), SIGCONT);
    stoppedPid_ = 0;
}

// What befalls the station, not the operator's hands.
QString WalkHands::befall(const QString& what, const WalkAction& a) {
    const int ms = a.value(QStringLiteral("ms")).toInt();
    RigSimulator* rig = plug_.plugged();
    if (what == QLatin1String("rigHolds")) {
        if (!rig) return QStringLiteral("no rig to hold its answers");
        rig->holdingAnswers = true;
        answersBack_.start(ms);
        return QStringLiteral("the rig holds its answers back %1 ms").arg(ms);
    }
    if (what == QLatin1String("rigSplits")) {
        if (!rig) return QStringLiteral("no rig to split its answers");
        rig->splitDelayMs = ms;
        return QStringLiteral("the rig splits its answers, the second half %1 ms later").arg(ms);
    }
    if (what == QLatin1String("rigUnplugged")) {
        if (!rig) return QStringLiteral("no rig to unplug");
        remember(QStringLiteral("the rig unplugged"));
        answersBack_.stop();
        // What the program wrote before the pull is on the wire: a key it
        // released there is not one the rig kept, however late a busy
        // machine lets the simulated line deliver it.
        rig->hearAllWritten();
        keyedWhenPulled_ = rig->ptt;
        plug_.unplug();
        return QStringLiteral("the rig unplugged");
    }
    if (what == QLatin1String("rigCable")) {
        if (!rig) return QStringLiteral("no rig for the cable");
        const bool in = a.value(QStringLiteral("in")).toBool();
        if (rig->cableIn() == in)
            return in ? QStringLiteral("the rig's cable is in") : QStringLiteral("the rig's cable is out");
        remember(in ? QStringLiteral("the rig's cable put back") : QStringLiteral("the rig's cable pulled"));
        if (!in) {
            answersBack_.stop();
            if (a.value(QStringLiteral("other")).toBool()) {
                const bool icom = rig->family() == QLatin1String("ICOM");
                rig->putOtherRigOnLine(icom ? QStringLiteral("KENWOOD") : QStringLiteral("ICOM"));
                return QStringLiteral("the rig's cable put on another rig");
            }
            rig->pullCable();
            return QStringLiteral("the rig's cable pulled at the rig");
        }
        rig->plugCableBack();
        rigBack(*rig, true);
        return QStringLiteral("the rig's cable put back") +
               (rig->ptt ? QStringLiteral(", the rig keyed") : QString());
    }
    if (what == QLatin1String("rigPluggedBack")) {
        if (rig) return QStringLiteral("the rig is plugged in already");
        remember(QStringLiteral("the rig plugged back"));
        // A rig unplugged while keyed may come back keyed, as it was left.
        const bool keyed = a.value(QStringLiteral("keptKey")).toBool() && keyedWhenPulled_;
        if (!plug_.plugBack(keyed)) return QStringLiteral("the rig could not be plugged back");
        watchRig(*plug_.plugged());
        return keyed ? QStringLiteral("the rig plugged back, still keyed")
                     : QStringLiteral("the rig plugged back");
    }
    if (what == QLatin1String("rtty")) {
        // The RTTY program as it runs now; its number is taken from the program.
        const QString how = a.value(QStringLiteral("how")).toString();
        const qint64 pid = core::MmttyProgram().isRunning() ? core::mm.MmttyPid : 0;
        if (how == QLatin1String("resume")) {
            if (stoppedPid_ <= 0) return QStringLiteral("no RTTY program stopped");
            QElapsedTimer since;
            since.start();
            resumeRtty();
            // Until it speaks again: what it says of the commands it missed comes first.
            const bool heard =
                waitUntil([&since] { return core::MmttyProgram().heardWithin(since.elapsed()); }, 5000);
            return heard ? QStringLiteral("the RTTY program resumed")
                         : QStringLiteral("the RTTY program resumed, and silent");
        }
        if (pid <= 0) return QStringLiteral("no RTTY program running to ") + how;
        remember(QStringLiteral("the RTTY program ") + how);
        if (how == QLatin1String("kill")) {
            if (pid == stoppedPid_) stoppedPid_ = 0;
            ::kill(pid_t(pid), SIGKILL);
            return QStringLiteral("the RTTY program killed");
        }
        resumeRtty();
        ::kill(pid_t(pid), SIGSTOP);
        stoppedPid_ = pid;
        rttyBack_.start(ms);
        return QStringLiteral("the RTTY program stopped for %1 ms").arg(ms);
    }
    if (what == QLatin1String("logHeld")) {
        if (logFile_.isEmpty()) return QStringLiteral("no log to hold");
        // Held from another thread, as another program holds it: the program's
        // own waits on the log run out or end as it is let go.
        if (logHeld_) return QStringLiteral("the log is held already");
        if (logHolder_.joinable()) logHolder_.join();
        logHeld_ = true;
        logHolder_ = std::thread([this, file = QFile::encodeName(logFile_), ms] {
            sqlite3* db = nullptr;
            if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK) {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            }
            sqlite3_close(db);
            logHeld_ = false;
        });
        return QStringLiteral("the log held by another program for %1 ms").arg(ms);
    }
    // The spot server: serving, failing with an error, sending what is no page, or slow.
    const int state = a.value(QStringLiteral("state")).toInt();
    spots_.setDelay(state == 3 ? ms : 0);
    if (state == 1)
        spots_.setPage(spotPath_, QByteArrayLiteral("<html>500</html>"), 500);
    else if (state == 2)
        spots_.setPage(spotPath_, QByteArrayLiteral("\x82\xa0<tr><td>QQ1</td><td><td>\xff\xfe"));
    else
        spots_.setPage(spotPath_, spotPage_);
    static const char* const said[]{"serves its page", "fails with an error", "sends what is no page",
                                    "answers slowly"};
    return QStringLiteral("the spot server ") + QLatin1String(said[state & 3]);
}

QList<QWidget*> windowsOnScreen(bool minimised) {
    QWidget* modal = QApplication::activeModalWidget();
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (minimised || !w->isMinimized()) && !qobject_cast<QMenu*>(w) &&
            !w->inherits("QComboBoxPrivateContainer") && !w->inherits("QTipLabel") &&
            (!modal || w == modal || modal->isAncestorOf(w)))
            windows << w;
    return windows;
}

QWidget* windowOf(const WalkAction& a, bool minimised) {
    const QString cls = a.value(QStringLiteral("window")).toString();
    for (QWidget* w : windowsOnScreen(minimised))
        if (QString::fromLatin1(w->metaObject()->className()) == cls) return w;
    return nullptr;
}

QString WalkHands::take(const WalkAction& a) {
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
    static const QStringList befalling{QStringLiteral("rigHolds"),       QStringLiteral("rigSplits"),
                                       QStringLiteral("rigCable"),       QStringLiteral("rigUnplugged"),
                                       QStringLiteral("rigPluggedBack"), QStringLiteral("rtty"),
                                       QStringLiteral("spots"),          QStringLiteral("logHeld")};
    if (befalling.contains(what)) return befall(what, a);
    if (what == QLatin1String("rigPaced")) {
        const QString before = pacedSteps_ > 0 ? paceBefore_ : rig::g.RigInterval;
        rig::g.RigInterval = a.value(QStringLiteral("ms")).toString();
        // For a number of steps (written down since; before, for good).
        pacedSteps_ = a.value(QStringLiteral("steps")).toInt();
        paceBefore_ = before;
        pacedAt_ = rig::g.RigInterval;
        return pacedSteps_ > 0
                   ? QStringLiteral("the rig paced at %1 ms for %2 steps")
                         .arg(rig::g.RigInterval)
                         .arg(pacedSteps_)
                   : QStringLiteral("the rig paced at ") + rig::g.RigInterval + QStringLiteral(" ms");
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
    if (what == QLatin1String("type") || what == QLatin1String("paste")) return typeOrPaste(window, where, a);
    if (what == QLatin1String("mend")) return mend(window, where, a);
    if (what == QLatin1String("scan")) {
        remember(where + QStringLiteral(" scan button"));
        QTest::mouseClick(static_cast<PSK31MAIN*>(window)->Command11, Qt::LeftButton);
        return where + QStringLiteral(" scan button");
    }
    if (what == QLatin1String("macro")) return macro(static_cast<PSK31MAIN*>(window), where, a);
    return QStringLiteral("nothing to do in ") + where;
}

QString WalkHands::macro(PSK31MAIN* main, const QString& where, const WalkAction& a) {
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

QString WalkHands::doubleClickASpot(const WalkAction& a) {
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

QString WalkHands::chooseInMenu(QWidget* window, const QString& where, const WalkAction& a) {
    auto* bar = window->findChild<QMenuBar*>();
    QPointer<QAction> item = itemAt(bar, a.value(QStringLiteral("item")).toArray());
    if (!item) return where + QStringLiteral(" has no such menu item");
    const QString what = where + QStringLiteral(" menu ") + item->text();
    remember(what);
    chooseInMenuBar(bar, item);
    return what;
}

QString WalkHands::click(QWidget* window, const QString& where, const WalkAction& a) {
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

QString WalkHands::key(QWidget* window, const QString& where, const WalkAction& a) {
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

QString WalkHands::typeOrPaste(QWidget* window, const QString& where, const WalkAction& a) {
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

// A box whose text cannot be stored, mended as the operator mends it: its tab
// clicked, the box clicked, its text selected and typed over.
QString WalkHands::mend(QWidget* window, const QString& where, const WalkAction& a) {
    QWidget* box = atPlace(window, a.value(QStringLiteral("box")).toArray());
    if (!box) return QStringLiteral("no box to mend in ") + where;
    for (QWidget* w = box; w && w != window; w = w->parentWidget()) {
        auto* tabs =
            qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
        const int tab = tabs ? tabs->indexOf(w) : -1;
        if (tab >= 0 && tabs->currentIndex() != tab)
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab).center());
    }
    QWidget* target = clickBox(window, a.value(QStringLiteral("box")));
    if (!target) return QStringLiteral("no box to mend in ") + where;
    const QString text = a.value(QStringLiteral("text")).toString();
    const QString what =
        where + QStringLiteral(" mended ") + target->objectName() + QStringLiteral(": ") + text;
    remember(what);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    typeInto(target, text);
    return what;
}

// Arrow keys and Return in a menu or list, a button of a window, or Esc.
void WalkHands::answerOpen(QWidget* open, const WalkAction& how) {
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

} // namespace zvtest
