// A seeded random walk over the program's windows: menus, buttons, boxes and
// panes clicked, keys (F1-F12, Esc, Ctrl+L, Ctrl+C, Ctrl+V and others) and
// text typed or pasted, the clipboard full, emptied or offering nothing, every
// question answered at random; among its steps the waits the program meets
// (the scan button, macros that read the rig, a spot double-clicked, the rig
// answering slowly, holding an answer back or splitting it), and what befalls
// a station (the rig unplugged and plugged back, its cable pulled at the
// rig's end, or put on a rig of another family, and put back, the RTTY
// program stopped, resumed or killed, the
// spot server failing, the log held by another program); now and then the
// operator ends the program, which starts again, or opens a window not met
// yet by its own way in. The rig's family, its polling, its line speed and
// the log (the library link's, the logging program's window or none) are
// chosen from the seed at the start; a rig unplugged while keyed may come
// back keyed, and then hears the release first, as does a keyed rig whose
// cable is put back. It acts only on windows an operator can reach: a
// minimised one is restored from the task bar first; a settings box the sheet
// refuses to store is mended, as the operator would. After each step what must
// always hold is checked: the program lives (an end is said, and the program
// started again), the rig is not held keyed while no engine sends, nor left unkeyed
// while one sends, no PTT on is written after Esc in a main window (unless the
// operator asked to send since, or the macro editor waits for a shortcut key)
// and the PTT is off a moment after it, and the settings file is whole
// Shift-JIS with CR LF. The suite walks a few seeds; a walk by hand walks
// once, with its seed and number of steps: --walk-seed=N --walk-steps=N after
// the test program's own arguments, or ZV_WALK_SEED and ZV_WALK_STEPS. For a
// hunt by hand, --walk-nested-ms=N (ZV_WALK_NESTED_MS) lets the operator act
// meanwhile, two steps deep at most, once a step has waited N ms. A failing
// walk writes its steps down and names the file; --walk-replay=FILE
// (ZV_WALK_REPLAY) takes those steps again, with the station it started with.
#include "app/RunningProgram.h"

#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniStore.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"
#include "platform/os/ProcessStop.h"
#include "platform/programs/spotsrv/SpotPageBuilder.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigNeighbours.h"
#include "settings/sheet/CFGSHEET.h"
#include "spots/ClusterData.h"
#include "sstv/overlay/mojiinput.h"
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
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <utility>

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
const QStringList kTexts{QStringLiteral("CQ CQ de JA1ZVK"), QStringLiteral("QQ2ABC"), QStringLiteral("599"),
                         QStringLiteral("こんにちは"), QStringLiteral("1500"), QStringLiteral("-1"),
                         QStringLiteral("ｱｲｳ 73"), QStringLiteral("€½"), QStringLiteral("/\\\"'%<>&"),
                         QString(300, QLatin1Char('W')),
                         // Look-alikes: the wave dash and the minus as Shift-JIS holds them, the
                         // yen sign and the accented letter it does not.
                         QStringLiteral("〜 − ¥ é"), QStringLiteral("QTH 東京〜横浜 −5 ¥100 café")};
// Storable texts the operator types over a box the settings sheet refuses.
const QStringList kMends{QStringLiteral("10"), QStringLiteral("QQ2ABC"), QStringLiteral("1500")};

// Macros that read the rig before and while they send.
const QStringList kRigMacros{QStringLiteral("'TXON''RIGCALL'CQ CQ de 'MYCALL' 'MYCALL' pse k"),
                             QStringLiteral("'RIGCALL'QQ2ABC de 'MYCALL' 'TXOFF'"),
                             QStringLiteral("'TXON'RIG 'RIGCALL' 'TXOFF''RPT3'")};
const QByteArray kSpotPath("/wwdigi.html");
const QList<spotsrv::Spot> kSpots{{"2330", "14070.5", "QQ1ZZA", "PSK31 1000HZ", "QQ2ZZB"},
                                  {"2329", "7035.0", "QQ3ZZC", "RTTY CQ", "QQ2ZZB"},
                                  {"2328", "14010.0", "QQ4ZZD", "CQ TEST", "QQ2ZZB"}};

// An engine whose end notice is lost is stopped by the rig's key watch after a
// few of its ticks; on a loaded machine timers run late: the limit is a safety net.
constexpr int kUnkeyedWithinMsecs = zvtest::kSafetyNetMsecs;
// A step's own waits (an engine's stop, a window swap) run late there too.
constexpr int kStepWithinMsecs = 60000;
// A scan that has run this long waits for the operator.
constexpr int kStepWaitsMsecs = 5000;
// The operator ends the program about once in so many steps.
constexpr int kEndOneStepIn = 400;

using zvtest::atPlace;
using zvtest::placeOf;
using Action = zvtest::WalkAction;

using zvtest::windowsOnScreen;

// What befalls the station rather than what the operator does.
bool befalls(const Action& a) {
    static const QStringList befalling{QStringLiteral("clipboard"),    QStringLiteral("rigHolds"),
                                       QStringLiteral("rigSplits"),    QStringLiteral("rigPaced"),
                                       QStringLiteral("rigUnplugged"), QStringLiteral("rigPluggedBack"),
                                       QStringLiteral("rigCable"),     QStringLiteral("rtty"),
                                       QStringLiteral("spots"),        QStringLiteral("logHeld")};
    return befalling.contains(a.value(QStringLiteral("do")).toString());
}

class Walk : public zvtest::WalkHands {
  public:
    Walk(unsigned long seed, zvtest::RigPlug& plug, zvtest::LoopbackHttpServer& spots, QString ini)
        : WalkHands(plug, spots, kSpotPath, spotsrv::primaryPage(QStringLiteral("WW"), kSpots)), seed(seed),
          record(ini.left(ini.lastIndexOf(QLatin1Char('/')))), rng_(seed), ini_(std::move(ini)) {
        watchRig(*plug.plugged());
    }
    ~Walk() override { QObject::disconnect(lineWatch_); }

    int pick(qsizetype n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, int(n) - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T> const T& any(const QList<T>& list) { return list[pick(list.size())]; }

    // One step; its description, as it is about to be taken.
    QString step() {
        const bool inner = inner_ > 0;
        if (!inner) {
            record.beginStep(number, state());
            reached.sending += rig::nb().anyEngineTransmits() ? 1 : 0;
            reached.rtty += core::MmttyProgram().isRunning() ? 1 : 0;
            reached.sheet += forms::isLoaded<CFGSHEET>() && forms::CFGSHEET().isVisible() ? 1 : 0;
            reached.portOpen += rig::g.RigPortOpen == 1 && rig::g.RigLineLost == 0 ? 1 : 0;
            for (QWidget* w : windowsOnScreen(true))
                reached.windows.insert(QString::fromLatin1(w->metaObject()->className()));
        }
        Action action;
        if (record.replaying())
            action = inner ? record.recordedMeanwhile() : record.recordedAction();
        else
            action = choose();
        // The operator's stop stands until the operator acts again; a key-on
        // heard while it stands, written after it, is a fault. The place on
        // the line is taken before Esc: a key-on already written may cross after.
        if (action.value(QStringLiteral("do")).toString() == QLatin1String("rtty")) {
            ++reached.rttyHands;
            reached.rttyHandsMet += core::MmttyProgram().isRunning() || rttyStopped() ? 1 : 0;
        }
        const bool stop = isStop(action);
        if (stop || !befalls(action)) stopStands_ = false;
        if (stop) {
            zvtest::RigSimulator* rig = plug_.plugged();
            stopMark_ = rig ? rig->markLine() : 0;
            stopAt_.start();
            stopStands_ = true;
        }
        // Set first: a step taken meanwhile, while the send waits, may be the stop.
        if (isSend(action)) sentFrom_ = action.value(QStringLiteral("window")).toString();
        lastAction_ = action;
        if (!inner) actedMeanwhile_ = false;
        if (!inner) record.noteTaking(action);
        const QString what = take(action);
        // Esc taken by the macro editor's wait for a shortcut key stops nothing.
        if (stop && !escInMainWindow) {
            stopStands_ = false;
            keyedAfterStop_.clear();
        }
        reached.stops += stop && escInMainWindow ? 1 : 0;
        // Esc's release is checked while only what befalls the station
        // happened during its step: an operator who acted meanwhile (F12, a
        // macro) may have asked to send again.
        if (!inner && actedMeanwhile_) escInMainWindow = false;
        if (inner) {
            record.noteMeanwhile(action);
        } else {
            record.noteTaken(action, what);
            stepTaken();
        }
        return what;
    }

    // Writes the walk down, for a replay that fails the same way.
    QString writeDown() const { return record.writeDown(fileName(), about()); }
    // Each step as it is taken, so that a walk that crashes leaves its replay too.
    void journal() { record.journalTo(fileName(), about()); }
    QString fileName() const {
        return QStringLiteral("zv-walk-%1-%2.json").arg(seed).arg(QCoreApplication::applicationPid());
    }
    QJsonObject about() const {
        return {{QStringLiteral("seed"), qint64(seed)},
                {QStringLiteral("nestedMs"), nestedMs},
                {QStringLiteral("station"), atStart}};
    }

    // A question the program asks, answered as the operator might (in a
    // replay, as the operator did).
    QVariant answer(const ui::Asked& asked) {
        stopStands_ = false;
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
        const zvtest::RigSimulator* rig = plug_.plugged();
        return QStringLiteral("rig keyed %1; PttKeyedByCat %2, last PTT command a key-on %3, port open %4, "
                              "line lost %5, key watch %6 (idle ticks %7); recording or play-back %8; "
                              "sending: PSK %9, RTTY %10, MMVARI %11, SSTV %12; mode %13")
            .arg(rig ? QString::number(rig->ptt) : QStringLiteral("(unplugged)"))
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

    // The walk's own record of the rig's line: each PTT command as the rig
    // hears it, what the program then believes of the key, and a key-on after
    // the operator's stop.
    void watchRig(zvtest::RigSimulator& rig) override {
        QObject::disconnect(lineWatch_);
        stopMark_ = 0; // a rig plugged in anew heard nothing before the stop
        // A rig that came back keyed while no over runs is owed its release
        // before anything else; an over still running, or one still starting
        // (keyed before its engine sends: a macro that reads the rig first,
        // the multi-mode engine's start), may key it again, and so may one
        // started since (an F12, a timed repeat): the key's table lets its
        // key-on take the release's place, and its end releases the rig. A
        // PTT on the program holds no key for is heard before the release.
        rigBack(rig, false);
        lineWatch_ = QObject::connect(&rig, &zvtest::RigSimulator::pttHeard, &rig, [this, &rig](bool on) {
            record.noteLine(QStringLiteral("%1; the program: keyed by it %2, last sent %3")
                                .arg(on ? QStringLiteral("PTT on") : QStringLiteral("PTT off"))
                                .arg(rig::g.PttKeyedByCat)
                                .arg(rig::g.PttOnLastSent));
            reached.keyOns += on ? 1 : 0;
            keyOnLost_ = false;
            releaseUnknown_ = false;
            if (std::exchange(releaseOwed_, false) && on && rig::g.PttKeyedByCat != 1 && !stopStands_ &&
                heardBeforeRelease_.isEmpty())
                heardBeforeRelease_ =
                    QStringLiteral("the rig plugged back keyed heard a PTT on before its release (%1)")
                        .arg(keyState());
            const bool textFamily =
                rig.family() == QLatin1String("KENWOOD") || rig.family() == QLatin1String("JST-245");
            const qint64 length =
                rig.commands.isEmpty() ? 0 : rig.commands.last().size() + (textFamily ? 1 : 0);
            if (on && stopStands_ && keyedAfterStop_.isEmpty() && rig.heardSoFar() >= stopMark_ + length)
                keyedAfterStop_ =
                    QStringLiteral("a PTT on written %1 ms after Esc, with no request to send since (%2)")
                        .arg(stopAt_.elapsed())
                        .arg(keyState());
        });
    }

    // A rig back on its line, plugged in anew or its cable put back: kept
    // keyed while no over runs or starts (an over keyed before its engine
    // sends: a macro that reads the rig first, the multi-mode engine's
    // start), it is owed its release before anything else; an over may key
    // it again.
    void rigBack(const zvtest::RigSimulator& rig, bool cable) override {
        if (cable) noteReleaseUnknown(rig);
        // Back keyed while the program keys an over: the key it kept is the
        // one that over asked for (its key-on went out while the cable was out).
        if (!rig.ptt || rig::g.PttKeyedByCat == 1) releaseUnknown_ = false;
        releaseOwed_ =
            rig.ptt && !rig::nb().anyEngineSends() && rig::g.PttKeyedByCat == 0 && !releaseUnknown_;
        keyOnLost_ = cable && !rig.ptt && rig::g.PttKeyedByCat == 1;
        reached.keptKeys += rig.ptt ? 1 : 0;
    }

    // A release written while the rig's cable was out, on a line the program
    // never reads (VFOCHECK=NO but on an ICOM bus, or an FT900): it cannot
    // know the release went nowhere, and the README says so. Its rig stays
    // keyed until the next over's key reaches it (left out until then).
    void noteReleaseUnknown(const zvtest::RigSimulator& rig) {
        // Written while an engine still winds down after Esc, too: the
        // program holds neither the key nor a release owed.
        const bool answers = rig::g.RigType == QLatin1String("ICOM") ||
                             (rig::g.RigPollMode >= 1 && rig::g.RigType != QLatin1String("FT900"));
        if (!answers && rig.ptt && rig::g.PttKeyedByCat == 0 && rig::g.PttOnLastSent == 0)
            releaseUnknown_ = true;
    }

  private:
    // Esc in a main window: the operator's stop.
    static bool isStop(const Action& a) {
        const QString window = a.value(QStringLiteral("window")).toString();
        return a.value(QStringLiteral("do")).toString() == QLatin1String("key") &&
               QKeySequence(a.value(QStringLiteral("key")).toString()) == QKeySequence(Qt::Key_Escape) &&
               (window == QLatin1String("PSK31MAIN") || window == QLatin1String("SSTVForm"));
    }

    // F12 in a main window: the operator asks to send.
    static bool isSend(const Action& a) {
        const QString window = a.value(QStringLiteral("window")).toString();
        return a.value(QStringLiteral("do")).toString() == QLatin1String("key") &&
               QKeySequence(a.value(QStringLiteral("key")).toString()) == QKeySequence(Qt::Key_F12) &&
               (window == QLatin1String("PSK31MAIN") || window == QLatin1String("SSTVForm"));
    }

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
            actedMeanwhile_ = actedMeanwhile_ || !befalls(lastAction_);
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
        stopStands_ = false;
        record.noteOpenAnswer(how);
        WalkHands::answerOpen(open, how);
    }

  public:
    // What must hold after every step; empty when it holds.
    QString broken() {
        if (QApplication::activeModalWidget() == nullptr && windowsOnScreen(true).isEmpty())
            return QStringLiteral("no window of the program is on the screen");
        if (!keyedAfterStop_.isEmpty()) return std::exchange(keyedAfterStop_, QString());
        if (!heardBeforeRelease_.isEmpty()) return std::exchange(heardBeforeRelease_, QString());
        // The rig may be unplugged meanwhile (a step's own timer does not
        // unplug it); with its cable out, nothing the program writes reaches it.
        const auto keyed = [this] { return plug_.plugged() && plug_.plugged()->ptt && !releaseUnknown_; };
        const auto cableIn = [this] { return plug_.plugged() && plug_.plugged()->cableIn(); };
        if (plug_.plugged() && !cableIn()) noteReleaseUnknown(*plug_.plugged());
        if (!zvtest::waitUntil([&] { return !keyed() || !cableIn() || rig::nb().anyEngineSends(); },
                               kUnkeyedWithinMsecs))
            return QStringLiteral("the rig is keyed while no engine sends%1 (%2)")
                .arg(releaseOwed_ ? QStringLiteral(": plugged back keyed, it never heard its release")
                                  : QString())
                .arg(keyState());
        // An over keyed while the cable was out: its key-on went nowhere, and
        // the program hears nothing of it (left out until the rig hears a PTT
        // command or the over ends). An over that ran on while the rig was
        // unplugged is keyed again on the rig plugged back.
        if (!rig::nb().anyEngineSends() && rig::g.PttKeyedByCat == 0) keyOnLost_ = false;
        // On a line that is up, to a rig keyed by CAT.
        const auto keyable = [this] {
            const zvtest::RigSimulator* rig = plug_.plugged();
            return rig && rig->cableIn() && !keyOnLost_ && rig::g.RigPortOpen == 1 &&
                   rig::g.RigLineLost == 0 && rig::nb().pttByCat() &&
                   rig->family() != QLatin1String("FT767") && rig->family() != QLatin1String("JST-245");
        };
        if (!zvtest::waitUntil([&] { return !keyable() || keyed() || !rig::nb().anyEngineSends(); },
                               kUnkeyedWithinMsecs))
            return QStringLiteral("an engine sends while the rig is not keyed (%1)").arg(keyState());
        if (escInMainWindow &&
            !zvtest::waitUntil([&] { return !keyed() || !cableIn(); }, kUnkeyedWithinMsecs))
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
        // The settings sheet refused a box: the operator mends it more often
        // than not; and closes the sheet now and then.
        for (QWidget* w : windows)
            if (auto* sheet = qobject_cast<CFGSHEET*>(w); sheet && chance(60)) {
                if (chance(15))
                    return chooseMenuItem(sheet,
                                          [](QAction* a) { return a->text() == QStringLiteral("設定完了"); });
                if (QLineEdit* box = refusedBox(sheet)) {
                    Action a = act("mend", sheet);
                    a[QStringLiteral("box")] =
                        placeOf(box->parentWidget() && qobject_cast<QComboBox*>(box->parentWidget())
                                    ? box->parentWidget()
                                    : box);
                    a[QStringLiteral("text")] = any(kMends);
                    return a;
                }
            }
        // The operator thinks better of a send just asked for; while a
        // transmission goes, what stops it or befalls it comes oftener;
        // otherwise the operator sends now and then (F12).
        const QString sentFrom = std::exchange(sentFrom_, QString());
        if (!sentFrom.isEmpty() && chance(30)) {
            Action a = act("key");
            a[QStringLiteral("window")] = sentFrom;
            a[QStringLiteral("key")] = QKeySequence(Qt::Key_Escape).toString();
            return a;
        }
        // The RTTY program stalls now and then while it runs.
        if (core::MmttyProgram().isRunning() && !rttyStopped() && chance(5)) {
            Action a = act("rtty");
            a[QStringLiteral("how")] = QStringLiteral("stop");
            a[QStringLiteral("ms")] = chance(20) ? 4000 + pick(4000) : 100 + pick(1500);
            return a;
        }
        if (rig::nb().anyEngineTransmits()) {
            if (chance(25)) return chooseWhileSending(windows);
        } else if (chance(rttyStopped() ? 30 : 4)) {
            // Oftener while the RTTY program is stopped: the operator does not know.
            for (QWidget* w : windows)
                if (qobject_cast<PSK31MAIN*>(w) || qobject_cast<SSTVForm*>(w)) {
                    Action a = act("key", w);
                    a[QStringLiteral("key")] = QKeySequence(Qt::Key_F12).toString();
                    return a;
                }
        }
        // Now and then the operator opens a window not met yet by its own way in.
        if (chance(3))
            if (Action door = chooseDoor(windows); !door.isEmpty()) return door;
        QWidget* window = any(windows);
        // Now and then the operator ends the program (and starts it again).
        if (pick(kEndOneStepIn) == 0 && (qobject_cast<PSK31MAIN*>(window) || qobject_cast<SSTVForm*>(window)))
            return chooseMenuItem(window, {}, true);
        switch (pick(12)) {
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
        case 10:
            return chooseBefalling();
        default:
            return chooseWait(window);
        }
    }

    // A click that opens a window this walk has not met, where a window on the
    // screen has the way in: its button, or first the tab that holds it.
    Action chooseDoor(const QList<QWidget*>& windows) {
        using Find = QWidget* (*)(QWidget*);
        static const struct {
            Find widget;
            bool right;
            const char* opens;
        } doors[]{// The workshop canvas clicked twice: the title lines' editor.
                  {[](QWidget* w) -> QWidget* {
                       auto* f = qobject_cast<SSTVForm*>(w);
                       return f ? f->Picture8 : nullptr;
                   },
                   false, "mojiinput"},
                  {[](QWidget* w) -> QWidget* {
                       auto* f = qobject_cast<mojiinput*>(w);
                       return f ? f->Command3 : nullptr;
                   },
                   true, "SSTVMACRO"},
                  {[](QWidget* w) -> QWidget* {
                       auto* f = qobject_cast<SSTVForm*>(w);
                       return f ? f->Command22 : nullptr;
                   },
                   false, "SoundClkADJ"},
                  {[](QWidget* w) -> QWidget* {
                       auto* f = qobject_cast<CFGSHEET*>(w);
                       return f ? f->Command20 : nullptr;
                   },
                   false, "CLKadj"}};
        for (const auto& door : doors) {
            if (reached.windows.contains(QLatin1String(door.opens))) continue;
            for (QWidget* window : windows) {
                QWidget* target = door.widget(window);
                if (!target || !target->isEnabled()) continue;
                QPoint at = target->rect().center();
                bool right = door.right;
                if (!target->isVisible()) {
                    // On a tab of its own: that tab first.
                    QWidget* page = target;
                    QTabWidget* tabs = nullptr;
                    for (; page && page != window; page = page->parentWidget()) {
                        tabs = qobject_cast<QTabWidget*>(
                            page->parentWidget() ? page->parentWidget()->parentWidget() : nullptr);
                        if (tabs && tabs->indexOf(page) >= 0) break;
                    }
                    if (!tabs || !page || page == window || !tabs->isVisible()) continue;
                    target = tabs->tabBar();
                    at = tabs->tabBar()->tabRect(tabs->indexOf(page)).center();
                    right = false;
                }
                Action a = act("click", window);
                a[QStringLiteral("target")] = placeOf(target);
                a[QStringLiteral("x")] = at.x();
                a[QStringLiteral("y")] = at.y();
                a[QStringLiteral("right")] = right;
                a[QStringLiteral("how")] = QStringLiteral("click");
                return a;
            }
        }
        return {};
    }

    // The first box the sheet would refuse at its close, as it names them.
    static QLineEdit* refusedBox(CFGSHEET* sheet) {
        for (QLineEdit* box : sheet->findChildren<QLineEdit*>())
            if (box->isModified() && box->isEnabled() && !core::IniUncarried(box->text()).isEmpty())
                return box;
        return nullptr;
    }

    Action chooseWhileSending(const QList<QWidget*>& windows) {
        for (QWidget* w : windows)
            if ((qobject_cast<PSK31MAIN*>(w) || qobject_cast<SSTVForm*>(w)) && chance(50)) {
                Action a = act("key", w);
                a[QStringLiteral("key")] = QKeySequence(Qt::Key_Escape).toString();
                return a;
            }
        return chooseBefalling();
    }

    // What befalls the station: its rig, the RTTY program, the spot server, the log.
    Action chooseBefalling() {
        if (!plug_.plugged() && chance(60)) return pluggedBack();
        // The RTTY program is met in one mode only: when it runs, it is met
        // oftener; when it does not, the operator goes to RTTY first.
        const bool rtty = core::MmttyProgram().isRunning();
        int which = rtty && chance(50) ? 3 : pick(7);
        if ((which == 3 || which == 4) && !rtty && !rttyStopped()) {
            for (QWidget* w : windowsOnScreen())
                if (auto* main = qobject_cast<PSK31MAIN*>(w);
                    main && main->PSKMODE[core::ModeRtty]->isEnabled())
                    return chooseMenuItem(main,
                                          [main](QAction* a) { return a == main->PSKMODE[core::ModeRtty]; });
            // Out of reach: what befalls the rig instead.
            which = pick(3);
        }
        switch (which) {
        case 6: {
            // Now and then past the logging library's own wait for its log.
            Action a = act("logHeld");
            a[QStringLiteral("ms")] = chance(20) ? 5500 + pick(1500) : 100 + pick(2000);
            return a;
        }
        case 0: {
            Action a = act("rigHolds");
            a[QStringLiteral("ms")] = 200 + pick(1500);
            return a;
        }
        case 1: {
            // Whole again at times, split at others.
            Action a = act("rigSplits");
            a[QStringLiteral("ms")] = chance(30) ? 0 : 5 + pick(300);
            return a;
        }
        case 2:
            if (zvtest::RigSimulator* rig = plug_.plugged(); rig && chance(50)) {
                // The cable pulled at the rig's end, or put back; every other
                // pull puts it on a rig of another family (by the step, so
                // that a seed walks as before).
                Action a = act("rigCable");
                a[QStringLiteral("in")] = !rig->cableIn();
                a[QStringLiteral("other")] = rig->cableIn() && number % 2 == 1;
                return a;
            }
            return plug_.plugged() ? act("rigUnplugged") : pluggedBack();
        case 3:
        case 4: {
            static const QStringList hows{QStringLiteral("stop"), QStringLiteral("stop"),
                                          QStringLiteral("resume"), QStringLiteral("kill")};
            Action a = act("rtty");
            a[QStringLiteral("how")] = any(hows);
            // Now and then past the few seconds after which the program is taken as silent.
            a[QStringLiteral("ms")] = chance(20) ? 4000 + pick(4000) : 100 + pick(1500);
            return a;
        }
        default: {
            Action a = act("spots");
            a[QStringLiteral("state")] = pick(4);
            a[QStringLiteral("ms")] = 500 + pick(3000);
            return a;
        }
        }
    }

    // Keyed as it was left, now and then: a rig unplugged while keyed.
    Action pluggedBack() {
        Action a = act("rigPluggedBack");
        a[QStringLiteral("keptKey")] = chance(50);
        return a;
    }

    // A step that meets one of the program's waits.
    Action chooseWait(QWidget* window) {
        auto* main = qobject_cast<PSK31MAIN*>(window);
        switch (pick(6)) {
        case 5:
            // A mode change: the engines start and stop (the RTTY program among them).
            if (!main) break;
            return chooseMenuItem(window, [main](QAction* a) {
                return std::find(main->PSKMODE.begin(), main->PSKMODE.end(), a) != main->PSKMODE.end();
            });
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
        case 3:
            return chooseBefalling();
        default: {
            // The pause between paced commands, as the settings sheet sets it.
            static const QStringList paces{QStringLiteral("0"), QStringLiteral("300"),
                                           QStringLiteral("1000")};
            Action a = act("rigPaced");
            a[QStringLiteral("ms")] = any(paces);
            // For a while: a rig read command by command a second apart
            // throughout would take the walk past its time.
            a[QStringLiteral("steps")] = 10 + pick(40);
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

    // An item of the window's menus; with `only`, one of those it takes; with
    // `ending`, the item that ends the program.
    Action chooseMenuItem(QWidget* window, const std::function<bool(QAction*)>& only = {},
                          bool ending = false) {
        auto* bar = window->findChild<QMenuBar*>();
        if (!bar || !bar->isVisible()) return chooseClick(window);
        QList<QJsonArray> items;
        QList<std::pair<QMenu*, QJsonArray>> menus;
        for (QAction* a : bar->actions()) {
            if (a->menu())
                menus.append({a->menu(), QJsonArray{a->text()}});
            else if (a->isVisible() && a->isEnabled() && !a->isSeparator() && isEnd(a) == ending &&
                     (!only || only(a)))
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
                else if (isEnd(a) == ending && (!only || only(a)))
                    items << path;
            }
        }
        if (items.isEmpty()) return chooseClick(window);
        Action a = act("menu", window);
        a[QStringLiteral("item")] = any(items);
        return a;
    }

    // The end of the program, a step of its own.
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
    QJsonObject atStart;
    // How much of the walk met what: steps taken while an engine sent, while
    // the RTTY program ran, while the settings sheet was open; Esc as a stop;
    // key-ons the rig heard.
    struct {
        int sending = 0, rtty = 0, sheet = 0, portOpen = 0, stops = 0, keyOns = 0, keptKeys = 0;
        int rttyHands = 0, rttyHandsMet = 0;
        QSet<QString> windows;
    } reached;
    // The walk so far, and in a replay the walk written down.
    zvtest::WalkRecord record;

  private:
    std::mt19937 rng_;
    QString ini_;
    // The operator's stop: since when, the place on the line when it was
    // given, and a key-on written after it.
    bool stopStands_ = false;
    qint64 stopMark_ = 0;
    QElapsedTimer stopAt_;
    QString keyedAfterStop_;
    // A rig plugged back keyed has not heard its release yet; what it heard before it.
    bool releaseOwed_ = false;
    QString heardBeforeRelease_;
    // An over keyed while the rig's cable was out, not heard by the rig yet.
    bool keyOnLost_ = false;
    bool releaseUnknown_ = false;
    // The main window F12 was just pressed in.
    QString sentFrom_;
    // The step last taken, inner steps too; the operator acted during the step.
    Action lastAction_;
    bool actedMeanwhile_ = false;
    QPointer<QWidget> open_;
    QElapsedTimer openFor_;
    bool stepping_ = false;
    int inner_ = 0;
    QElapsedTimer stepFor_;
    qint64 actAt_ = 0;
    QMetaObject::Connection lineWatch_;
};

// The seeds the suite walks, each a test of its own within the suite's time.
// Together their stations reach every family, poll setting, line speed and
// log link (the test below keeps it so): 3 FT920 polled at 2400 baud, the
// library link; 6 FT1000MP at 19200, the logging program's window; 7 KENWOOD
// at 2400, no log; 9 FT900 read at 2400, no log; 21 ICOM polled at 19200, the
// library link; 31 FT817 at 1200 (the slowest line), the logging program's
// window; 58 JST-245 read at 9600, the library link; 69 FT847 polled at
// 9600, the logging program's window; 210 FT767 at 4800, the logging
// program's window (an FT767 read on every event takes four paced commands:
// at a slow pace such a walk runs near the suite's limit).
const unsigned long kSeeds[]{3, 6, 7, 9, 21, 31, 58, 69, 210};
constexpr int kSuiteSteps = 1500;

const QStringList kFamilies{QStringLiteral("FT1000MP"), QStringLiteral("FT920"), QStringLiteral("FT900"),
                            QStringLiteral("FT847"),    QStringLiteral("FT817"), QStringLiteral("FT767"),
                            QStringLiteral("KENWOOD"),  QStringLiteral("ICOM"),  QStringLiteral("JST-245")};
const QStringList kPolls{QStringLiteral("NO"), QStringLiteral("YES"), QStringLiteral("YesP")};
const QStringList kBauds{QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
                         QStringLiteral("9600"), QStringLiteral("19200")};
const apptest::LogLink kLogs[]{apptest::LogLink::None, apptest::LogLink::Library, apptest::LogLink::Window};

// The station a walk starts with, from its seed: the rig's family, polling
// and line speed, and the log by either link or none.
apptest::AtStart atStartFor(unsigned long seed) {
    std::mt19937 rng(std::uint32_t(seed) ^ 0x5A17u);
    const auto any = [&rng](const QStringList& l) {
        return l[std::uniform_int_distribution<int>(0, int(l.size()) - 1)(rng)];
    };
    apptest::AtStart r;
    r.family = any(kFamilies);
    r.vfoCheck = any(kPolls);
    r.baud = any(kBauds);
    r.log = kLogs[rng() % 3];
    return r;
}

TEST(RandomWalkSeeds, TogetherReachEveryFamilyPollSettingLineSpeedAndLogLink) {
    QSet<QString> families, polls, bauds;
    QSet<int> logs;
    for (const unsigned long seed : kSeeds) {
        const apptest::AtStart at = atStartFor(seed);
        families.insert(at.family);
        polls.insert(at.vfoCheck);
        bauds.insert(at.baud);
        logs.insert(int(at.log));
    }
    EXPECT_EQ(families, QSet<QString>(kFamilies.begin(), kFamilies.end()));
    EXPECT_EQ(polls, QSet<QString>(kPolls.begin(), kPolls.end()));
    EXPECT_EQ(bauds, QSet<QString>(kBauds.begin(), kBauds.end()));
    EXPECT_EQ(logs.size(), std::size(kLogs));
}

QJsonObject toJson(const apptest::AtStart& r) {
    return {{QStringLiteral("family"), r.family},
            {QStringLiteral("vfoCheck"), r.vfoCheck},
            {QStringLiteral("baud"), r.baud},
            {QStringLiteral("log"), int(r.log)}};
}

class RandomWalk : public apptest::RunningProgram, public ::testing::WithParamInterface<unsigned long> {
  protected:
    // A walk by hand (a seed given, or a replay) walks once, in the first seed's place.
    void SetUp() override {
        replay = zvtest::walkText("walk-replay", "ZV_WALK_REPLAY");
        const bool byHand = !replay.isEmpty() || !zvtest::walkText("walk-seed", "ZV_WALK_SEED").isEmpty();
        if (byHand && GetParam() != kSeeds[0]) {
            skipped_ = true;
            GTEST_SKIP() << "a walk by hand walks once";
        }
        seed = zvtest::walkSetting("walk-seed", "ZV_WALK_SEED", GetParam());
        if (!replay.isEmpty()) {
            QFile f(replay);
            const QJsonObject written =
                f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
            // A replay's failure names the walk it replays.
            seed = written.value(QStringLiteral("seed")).toInteger(qint64(seed));
        }
        atStart = atStartFor(seed);
        if (!replay.isEmpty()) {
            QFile f(replay);
            const QJsonObject rig = f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll())
                                                                      .object()
                                                                      .value(QStringLiteral("station"))
                                                                      .toObject()
                                                                : QJsonObject();
            atStart.family = rig.value(QStringLiteral("family")).toString(atStart.family);
            atStart.vfoCheck = rig.value(QStringLiteral("vfoCheck")).toString(atStart.vfoCheck);
            atStart.baud = rig.value(QStringLiteral("baud")).toString(atStart.baud);
            // Written as a yes or no before the window link came in.
            const QJsonValue log = rig.value(QStringLiteral("log"));
            if (log.isBool()) atStart.log = log.toBool() ? apptest::LogLink::Library : apptest::LogLink::None;
            if (log.isDouble()) atStart.log = apptest::LogLink(std::clamp(log.toInt(), 0, 2));
        }
        RunningProgram::SetUp();
    }
    void TearDown() override {
        if (!skipped_) RunningProgram::TearDown();
    }

    unsigned long seed = 0;
    QString replay;

  private:
    bool skipped_ = false;
};

INSTANTIATE_TEST_SUITE_P(Seeds, RandomWalk, ::testing::ValuesIn(kSeeds));

// The programs other than this one that run with the program folder as
// theirs: what a run started (the logging program, the RTTY program).
QList<qint64> programsOf(const QString& folder) {
    const QByteArray home = "ZORVATEK_HOME=" + QFile::encodeName(folder);
    QList<qint64> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const qint64 pid = entry.toLongLong();
        QFile environment(QStringLiteral("/proc/%1/environ").arg(entry));
        if (pid <= 0 || pid == QCoreApplication::applicationPid() || !environment.open(QIODevice::ReadOnly))
            continue;
        if (environment.readAll().split('\0').contains(home) && process::running(pid)) found << pid;
    }
    return found;
}

TEST_P(RandomWalk, NothingTheOperatorDoesBreaksWhatMustAlwaysHold) {
    int steps = int(zvtest::walkSetting("walk-steps", "ZV_WALK_STEPS", kSuiteSteps));
    // Every step on the standard error, for a walk by hand.
    const bool trace = !qEnvironmentVariableIsEmpty("ZV_WALK_TRACE");
    const zvtest::OpenedUrls browser(
        {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")});
    // The spot window reads its page from a server of ours.
    zvtest::LoopbackHttpServer spotServer;
    spotServer.setPage(kSpotPath, spotsrv::primaryPage(QStringLiteral("WW"), kSpots));
    qputenv("ZORVATEK_SPOT_PRIMARY", spotServer.url(QString()).toUtf8());
    qputenv("ZORVATEK_SPOT_FALLBACK", spotServer.url(QString()).toUtf8());
    // An end the walk reaches (an exit item in a menu it answers) is said, and
    // the program is started again.
    bool ended = false;
    terminal::mainwindow::setProcessEndForTest([&ended] { ended = true; });
    int ends = 0;
    Walk walk(seed, *this, spotServer, path(QStringLiteral("ZORVATEK.INI")));
    walk.atStart = toJson(atStart);
    if (atStart.log != apptest::LogLink::None) walk.setLog(path(QStringLiteral("HAMLOG.HDB")));
    walk.trace = trace;
    walk.nestedMs = qint64(zvtest::walkSetting("walk-nested-ms", "ZV_WALK_NESTED_MS", 0));
    if (!replay.isEmpty()) {
        ASSERT_TRUE(walk.record.readFrom(replay)) << "no walk written down in " << replay.toStdString();
        walk.nestedMs = walk.record.recordedNestedMs();
        steps = walk.record.recordedSteps();
        std::printf("random walk: the %d steps written down in %s\n", steps, qUtf8Printable(replay));
    } else {
        std::printf("random walk: seed %lu, %d steps\n", seed, steps);
    }
    std::printf("random walk: a %s rig at %s baud, VFOCHECK=%s, %s\n", qUtf8Printable(atStart.family),
                qUtf8Printable(atStart.baud), qUtf8Printable(atStart.vfoCheck),
                atStart.log == apptest::LogLink::Library  ? "the log by the library link"
                : atStart.log == apptest::LogLink::Window ? "the log by the logging program's window"
                                                          : "no log");
    ui::script::answerBy([&walk](const ui::Asked& asked) { return walk.answer(asked); });
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&walk] { walk.answerOpenWindows(); });
    answering.start(50);
    zvtest::sayOnCrash(true);
    walk.journal();

    QElapsedTimer walking;
    walking.start();
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
        if (trace)
            std::fprintf(stderr, "%d (%lld ms): %s\n", walk.number, walking.elapsed(), qUtf8Printable(what));
        ASSERT_TRUE(zvtest::waitForPostedEvents(kStepWithinMsecs))
            << "seed " << seed << ", step " << walk.number << ": " << what.toStdString()
            << "; the walk written down in " << walk.writeDown().toStdString();
        if (ended) {
            ended = false;
            ++ends;
            std::printf("random walk, seed %lu, step %d: %s ended the program; started again\n", seed,
                        walk.number, qUtf8Printable(what));
            ASSERT_TRUE(zvtest::waitUntil([&] { return programsOf(folder()).isEmpty(); }))
                << "seed " << seed << ", step " << walk.number << ": programs the run started outlive it";
            startup::StartUp();
            ASSERT_TRUE(zvtest::waitUntil(
                [] {
                    return (forms::isLoaded<PSK31MAIN>() && forms::PSK31MAIN().isVisible()) ||
                           (forms::isLoaded<SSTVForm>() && forms::SSTVForm().isVisible());
                },
                kStepWithinMsecs))
                << "seed " << seed << ", step " << walk.number << ": the program does not start again";
        }
        QElapsedTimer checking;
        checking.start();
        const QString broken = walk.broken();
        if (trace && checking.elapsed() >= 500)
            std::fprintf(stderr, "%d: checked in %lld ms (%s)\n", walk.number, checking.elapsed(),
                         qUtf8Printable(walk.keyState()));
        ASSERT_TRUE(broken.isEmpty())
            << "seed " << seed << ", step " << walk.number << ": " << what.toStdString() << ": "
            << broken.toStdString() << "; the walk written down in " << walk.writeDown().toStdString();
        ui::script::clearAsked();
    }
    // What the last step set going: everything the program wrote to the rig by
    // the time its events have run out is heard, and checked once more.
    ASSERT_TRUE(zvtest::waitForPostedEvents(kStepWithinMsecs));
    if (zvtest::RigSimulator* rig = plugged(); rig && rig::g.RigPortOpen == 1 && rig::g.RigLineLost == 0)
        zvtest::waitForRigToCatchUp(*rig);
    const QString broken = walk.broken();
    ASSERT_TRUE(broken.isEmpty()) << "seed " << seed << ", after the last step: " << broken.toStdString()
                                  << "; the walk written down in " << walk.writeDown().toStdString();
    zvtest::sayOnCrash(false);
    ui::script::answerBy({});
    terminal::mainwindow::setProcessEndForTest({});
    qunsetenv("ZORVATEK_SPOT_PRIMARY");
    qunsetenv("ZORVATEK_SPOT_FALLBACK");
    std::printf("random walk: %d ends of the program met; steps while sending %d, while the RTTY program ran "
                "%d, in the settings sheet %d, with the rig's line up %d; %d stops by Esc, %d key-ons, "
                "%d rigs plugged back keyed; the RTTY program met by %d of %d hands\n",
                ends, walk.reached.sending, walk.reached.rtty, walk.reached.sheet, walk.reached.portOpen,
                walk.reached.stops, walk.reached.keyOns, walk.reached.keptKeys, walk.reached.rttyHandsMet,
                walk.reached.rttyHands);
    QStringList windows(walk.reached.windows.begin(), walk.reached.windows.end());
    windows.sort();
    std::printf("random walk: the windows met: %s; %d steps in %lld s\n",
                qUtf8Printable(windows.join(QLatin1Char(' '))), steps, walking.elapsed() / 1000);
    if (trace) std::fprintf(stderr, "the walk written down in %s\n", qUtf8Printable(walk.writeDown()));
}

} // namespace
